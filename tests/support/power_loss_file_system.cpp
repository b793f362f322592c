#include "support/power_loss_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/failure.h"
#include "platform/drives.h"

namespace mirudanto::testing {
namespace {

const QChar kSeparator('\\');

QString Normal(const QString& path) { return path.left(1).toLower() + path.mid(1); }
QString FolderOf(const QString& path) { return Normal(path.left(path.lastIndexOf(kSeparator))); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }
QString Child(const QString& folder, const QString& name) { return folder + kSeparator + name; }

const QStringList kDrives{QStringLiteral("c:"), QStringLiteral("a:")};

}  // namespace

PowerLossFileSystem::PowerLossFileSystem() : next_(platform::CurrentFileSystem()) {
  for (const QString& drive : kDrives) {
    if (!platform::Drives::Root(drive[0]).isEmpty() &&
        QFileInfo(platform::Drives::Root(drive[0])).isDir()) {
      Load(drive);
    }
  }
  kept_ = now_;
  flushed_ = written_;
  began_ = {now_, written_, nextFile_};
  platform::InstallFileSystem(this);
}

PowerLossFileSystem::PowerLossFileSystem(const Start& start)
    : next_(platform::CurrentFileSystem()),
      nextFile_(start.files),
      now_(start.folders),
      kept_(start.folders),
      written_(start.contents),
      flushed_(start.contents),
      began_(start) {
  platform::InstallFileSystem(this);
}

PowerLossFileSystem::~PowerLossFileSystem() { platform::InstallFileSystem(&next_); }

void PowerLossFileSystem::Load(const QString& folder) {
  Folder& entries = now_[folder];
  const QDir dir(platform::Drives::Translate(folder));
  for (const QFileInfo& entry :
       dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    if (entry.isDir()) {
      entries[entry.fileName()] = Node{true, -1};
      Load(Child(folder, entry.fileName()));
    } else {
      QFile file(entry.filePath());
      if (!file.open(QIODevice::ReadOnly)) throw Failure(FailureKind::OtherIO);
      const int id = nextFile_++;
      written_[id] = file.readAll();
      entries[entry.fileName()] = Node{false, id};
    }
  }
}

void PowerLossFileSystem::Check() const {
  if (PowerLost()) throw Failure(FailureKind::OtherIO);
}

void PowerLossFileSystem::Step() { ++steps_; }

QByteArray PowerLossFileSystem::Read(const QString& path) {
  Check();
  return next_.Read(path);
}

void PowerLossFileSystem::Write(const QString& path, const QByteArray& bytes, bool flush) {
  Check();
  next_.Write(path, bytes, flush);
  const int id = nextFile_++;
  written_[id] = bytes;
  // An unflushed file may keep its name but not what was in it.
  flushed_[id] = flush ? bytes : QByteArray();
  now_[FolderOf(path)][NameOf(path)] = Node{false, id};
  Step();
}

void PowerLossFileSystem::Rename(const QString& from, const QString& to) {
  Check();
  next_.Rename(from, to);
  Folder& source = now_[FolderOf(from)];
  const Node node = source.at(NameOf(from));
  Folder& target = now_[FolderOf(to)];
  const auto there = target.find(NameOf(to));
  // Two names of one file: nothing changes.
  if (there == target.end() || node.folder || there->second.file != node.file) {
    source.erase(NameOf(from));
    now_[FolderOf(to)][NameOf(to)] = node;
  }
  Step();
}

bool PowerLossFileSystem::Link(const QString& from, const QString& to) {
  Check();
  if (!hardLinks_ || !next_.Link(from, to)) return false;
  now_[FolderOf(to)][NameOf(to)] = now_[FolderOf(from)].at(NameOf(from));
  Step();
  return true;
}

void PowerLossFileSystem::Unlink(const QString& path) {
  Check();
  next_.Unlink(path);
  now_[FolderOf(path)].erase(NameOf(path));
  Step();
}

void PowerLossFileSystem::MakeFolder(const QString& path) {
  Check();
  next_.MakeFolder(path);
  now_[FolderOf(path)][NameOf(path)] = Node{true, -1};
  now_[Normal(path)] = Folder();
  kept_.try_emplace(Normal(path));
  Step();
}

void PowerLossFileSystem::FlushFolder(const QString& path) {
  Check();
  next_.FlushFolder(path);
  kept_[Normal(path)] = now_[Normal(path)];
  Step();
}

platform::PathKind PowerLossFileSystem::Look(const QString& path) {
  Check();
  return next_.Look(path);
}

bool PowerLossFileSystem::Lock(const QString& path, platform::LockMode mode) {
  if (mode != platform::LockMode::Unlocked) Check();
  return next_.Lock(path, mode);
}

PowerLossFileSystem::Folder PowerLossFileSystem::Durable(const QString& folder,
                                                         std::map<QString, Folder>& into) const {
  const auto kept = kept_.find(folder);
  Folder entries = kept == kept_.end() ? Folder() : kept->second;
  for (auto& [name, node] : entries) {
    if (node.folder) into[Child(folder, name)] = Durable(Child(folder, name), into);
  }
  return entries;
}

void PowerLossFileSystem::Restart() {
  std::map<QString, Folder> after;
  for (const QString& drive : kDrives) {
    if (now_.count(drive) != 0) after[drive] = Durable(drive, after);
  }
  // A file with two names now becomes two files, as the model has them from
  // here on; only what differs from the disk is written again.
  std::map<int, int> names;
  for (const auto& [folder, entries] : now_) {
    for (const auto& [name, node] : entries) {
      if (!node.folder) ++names[node.file];
    }
  }
  const auto native = [](const QString& path) { return platform::Drives::Translate(path); };
  for (auto folder = now_.rbegin(); folder != now_.rend(); ++folder) {
    if (after.count(folder->first) == 0 && QFileInfo(native(folder->first)).isDir()) {
      QDir(native(folder->first)).removeRecursively();
    }
  }
  std::map<int, QByteArray> contents;
  nextFile_ = 0;
  for (auto& [folder, entries] : after) {
    const QString path = native(folder);
    const auto was = now_.find(folder);
    const Folder before = was == now_.end() ? Folder() : was->second;
    if (was == now_.end()) QDir().mkpath(path);
    for (const auto& [name, node] : before) {
      if (entries.count(name) != 0) continue;
      if (node.folder) {
        QDir(path + QChar('/') + name).removeRecursively();
      } else {
        QFile::remove(path + QChar('/') + name);
      }
    }
    for (auto& [name, node] : entries) {
      if (node.folder) {
        QDir().mkpath(path + QChar('/') + name);
        continue;
      }
      const auto kept = flushed_.find(node.file);
      const QByteArray bytes = kept == flushed_.end() ? QByteArray() : kept->second;
      const auto there = before.find(name);
      const bool same = there != before.end() && !there->second.folder &&
                        there->second.file == node.file && names[node.file] == 1 &&
                        written_[node.file] == bytes;
      if (!same) {
        QFile::remove(path + QChar('/') + name);
        QFile file(path + QChar('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
          throw Failure(FailureKind::OtherIO);
        }
      }
      node.file = nextFile_++;
      contents[node.file] = bytes;
    }
  }
  now_ = after;
  kept_ = after;
  written_ = contents;
  flushed_ = contents;
  powerFor_ = -1;
  steps_ = 0;
}

}  // namespace mirudanto::testing
