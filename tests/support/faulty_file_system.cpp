#include "support/faulty_file_system.h"

#include <stdio.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "platform/drives.h"

namespace mirudanto::testing {
namespace {

QString NameOf(FileOperation operation) {
  switch (operation) {
    case FileOperation::Read: return QStringLiteral("read");
    case FileOperation::Write: return QStringLiteral("write");
    case FileOperation::FolderExists: return QStringLiteral("folder exists");
    case FileOperation::FileExists: return QStringLiteral("file exists");
    case FileOperation::CreateFolder: return QStringLiteral("create folder");
    case FileOperation::CreateTextFile: return QStringLiteral("create text file");
    case FileOperation::EnsureNewFile: return QStringLiteral("ensure new file");
    case FileOperation::Copy: return QStringLiteral("copy");
    case FileOperation::Delete: return QStringLiteral("delete");
    case FileOperation::Rename: return QStringLiteral("rename");
    case FileOperation::SetAside: return QStringLiteral("set aside");
    case FileOperation::PutBack: return QStringLiteral("put back");
    case FileOperation::SyncFolder: return QStringLiteral("sync");
    case FileOperation::WriteRecord: return QStringLiteral("record");
    case FileOperation::RemoveRecord: return QStringLiteral("remove record");
  }
  return QString();
}

}  // namespace

FaultyFileSystem::FaultyFileSystem() : next_(platform::CurrentFileSystem()) {
  platform::InstallFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() { platform::InstallFileSystem(&next_); }

void FaultyFileSystem::RenameAside(const QString& path, const QString& aside) {
  if (::rename(QFile::encodeName(platform::Drives::Translate(path)).constData(),
               QFile::encodeName(platform::Drives::Translate(aside)).constData()) != 0) {
    throw Failure(FailureKindFromErrno(errno));
  }
}

void FaultyFileSystem::Fail(FileOperation operation, int nth, FailureKind kind) {
  faults_.push_back({operation, nth, kind});
}

int FaultyFileSystem::Calls(FileOperation operation) const {
  return calls_[static_cast<std::size_t>(operation)];
}

void FaultyFileSystem::Enter(FileOperation operation, const QString& what) {
  const int call = ++calls_[static_cast<std::size_t>(operation)];
  const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
    return f.operation == operation && f.nth == call;
  });
  const bool fails = fault != faults_.end();
  log_.append(NameOf(operation) + QChar(' ') + what +
              (fails ? QStringLiteral(" failed") : QString()));
  if (fails) throw Failure(fault->kind);
}

}  // namespace mirudanto::testing
