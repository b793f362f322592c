#include "support/faulty_file_system.h"

#include <algorithm>

namespace mirudanto::testing {
namespace {

QString NameOf(FileOperation operation) {
  switch (operation) {
    case FileOperation::Read: return QStringLiteral("read");
    case FileOperation::Write: return QStringLiteral("write");
    case FileOperation::Rename: return QStringLiteral("rename");
    case FileOperation::Link: return QStringLiteral("link");
    case FileOperation::Unlink: return QStringLiteral("unlink");
    case FileOperation::MakeFolder: return QStringLiteral("make folder");
    case FileOperation::FlushFolder: return QStringLiteral("flush");
    case FileOperation::Look: return QStringLiteral("look");
    case FileOperation::Lock: return QStringLiteral("lock");
  }
  return QString();
}

}  // namespace

bool Changes(FileOperation operation) {
  switch (operation) {
    case FileOperation::Write:
    case FileOperation::Rename:
    case FileOperation::Link:
    case FileOperation::Unlink:
    case FileOperation::MakeFolder: return true;
    default: return false;
  }
}

FaultyFileSystem::FaultyFileSystem() : next_(platform::CurrentFileSystem()) {
  platform::InstallFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() { platform::InstallFileSystem(&next_); }

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

void FaultyFileSystem::Leave(FileOperation operation) {
  if (after_) after_(operation);
}

QByteArray FaultyFileSystem::Read(const QString& path) {
  Enter(FileOperation::Read, path);
  QByteArray bytes = next_.Read(path);
  Leave(FileOperation::Read);
  return bytes;
}

void FaultyFileSystem::Write(const QString& path, const QByteArray& bytes, bool flush) {
  Enter(FileOperation::Write, path);
  next_.Write(path, bytes, flush);
  Leave(FileOperation::Write);
}

void FaultyFileSystem::Rename(const QString& from, const QString& to) {
  Enter(FileOperation::Rename, to);
  next_.Rename(from, to);
  Leave(FileOperation::Rename);
}

bool FaultyFileSystem::Link(const QString& from, const QString& to) {
  Enter(FileOperation::Link, to);
  const bool linked = hardLinks_ && next_.Link(from, to);
  if (linked) Leave(FileOperation::Link);
  return linked;
}

void FaultyFileSystem::Unlink(const QString& path) {
  Enter(FileOperation::Unlink, path);
  next_.Unlink(path);
  Leave(FileOperation::Unlink);
}

void FaultyFileSystem::MakeFolder(const QString& path) {
  Enter(FileOperation::MakeFolder, path);
  next_.MakeFolder(path);
  Leave(FileOperation::MakeFolder);
}

void FaultyFileSystem::FlushFolder(const QString& path) {
  Enter(FileOperation::FlushFolder, path);
  next_.FlushFolder(path);
  Leave(FileOperation::FlushFolder);
}

platform::PathKind FaultyFileSystem::Look(const QString& path) {
  Enter(FileOperation::Look, path);
  const platform::PathKind kind = next_.Look(path);
  Leave(FileOperation::Look);
  return kind;
}

bool FaultyFileSystem::Lock(const QString& path, platform::LockMode mode) {
  // Letting go is no call that can fail: it is what ends every hold.
  if (mode == platform::LockMode::Unlocked) return next_.Lock(path, mode);
  Enter(FileOperation::Lock, path);
  const bool locked = next_.Lock(path, mode);
  Leave(FileOperation::Lock);
  return locked;
}

}  // namespace mirudanto::testing
