#include "support/power_loss_file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "core/failure.h"
#include "platform/drives.h"
#include "platform/file_transaction.h"

namespace mirudanto::testing {
namespace {

const QChar kSeparator('\\');

QString Normal(const QString& path) { return path.left(1).toLower() + path.mid(1); }
QString FolderOf(const QString& path) { return Normal(path.left(path.lastIndexOf(kSeparator))); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }
QString Child(const QString& folder, const QString& name) { return folder + kSeparator + name; }

const QStringList kDrives{QStringLiteral("c:"), QStringLiteral("a:")};

bool IsHidden(const QString& path) { return NameOf(path).startsWith(QStringLiteral(".~")); }

}  // namespace

PowerLossFileSystem::Start PowerLossFileSystem::StartOf(const DriveState& state,
                                                         const std::set<QString>& drives) {
  Start start;
  for (const QString& drive : drives) start.folders[drive];
  for (const QString& folder : state.folders) {
    start.folders[folder];
    start.folders[FolderOf(folder)][NameOf(folder)] = Node{true, -1};
  }
  for (const auto& [path, bytes] : state.files) {
    const int id = start.files++;
    start.contents[id] = bytes;
    start.folders[FolderOf(path)][NameOf(path)] = Node{false, id};
  }
  return start;
}

PowerLossFileSystem::PowerLossFileSystem() : next_(platform::CurrentFileSystem()) {
  for (const QString& drive : kDrives) {
    if (!platform::Drives::Root(drive[0]).isEmpty() &&
        QFileInfo(platform::Drives::Root(drive[0])).isDir()) {
      Load(drive);
    }
  }
  kept_ = now_;
  began_ = {now_, flushed_, nextFile_};
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

PowerLossFileSystem::PowerLossFileSystem(const PowerLossFileSystem& killed, GoingOn)
    : next_(platform::CurrentFileSystem()),
      hardLinks_(killed.hardLinks_),
      nextFile_(killed.nextFile_),
      now_(killed.now_),
      kept_(killed.kept_),
      pending_(killed.pending_),
      written_(killed.written_),
      flushed_(killed.flushed_),
      began_(killed.began_) {
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
      flushed_[id] = written_[id] = file.readAll();
      entries[entry.fileName()] = Node{false, id};
    }
  }
}

void PowerLossFileSystem::Check() const {
  if (PowerLost()) throw Failure(FailureKind::OtherIO);
}

void PowerLossFileSystem::Step(StepKind kind) {
  ++steps_;
  kinds_.push_back(kind);
}

bool PowerLossFileSystem::Recorded(const QString& path) const {
  const QString record = Child(Normal(platform::DataRootOf(path)), platform::kRecordName);
  const auto folder = now_.find(FolderOf(record));
  return folder != now_.end() && folder->second.count(NameOf(record)) != 0;
}

bool PowerLossFileSystem::FlushFails() {
  if (++flushes_ != failFlush_) return false;
  failedAt_ = steps_ + 1;
  return true;
}

void PowerLossFileSystem::Set(const QString& path, std::optional<Node> node, const QString& from) {
  const QString folder = FolderOf(path);
  Folder& entries = now_[folder];
  if (!from.isEmpty()) entries.erase(from);
  if (node) {
    entries[NameOf(path)] = *node;
  } else {
    entries.erase(NameOf(path));
  }
  pending_.push_back({folder, NameOf(path), node, from});
}

QByteArray PowerLossFileSystem::Read(const QString& path) {
  Check();
  return next_.Read(path);
}

void PowerLossFileSystem::Write(const QString& path, const QByteArray& bytes, bool flush) {
  Check();
  const bool fails = flush && FlushFails();
  next_.Write(path, bytes, flush && !fails);
  const int id = nextFile_++;
  written_[id] = bytes;
  if (flush && !fails) flushed_[id] = bytes;
  Set(path, Node{false, id});
  if (fails) {
    // The disk's write removes a file it could not flush; the medium may
    // keep its name, and nothing of what was in it.
    next_.Unlink(path);
    Set(path, std::nullopt);
    Step(StepKind::Write);
    throw Failure(FailureKind::OtherIO);
  }
  Step(StepKind::Write);
}

void PowerLossFileSystem::Rename(const QString& from, const QString& to) {
  Check();
  next_.Rename(from, to);
  const Node node = now_[FolderOf(from)].at(NameOf(from));
  const Folder& target = now_[FolderOf(to)];
  const auto there = target.find(NameOf(to));
  // Two names of one file: nothing changes.
  if (there == target.end() || node.folder || there->second.file != node.file) {
    if (NameOf(to) == platform::kDoneName ||
        (!Recorded(to) && NameOf(from).startsWith(platform::kTemporaryMark) && !IsHidden(to))) {
      committed_ = true;
    }
    if (FolderOf(from) == FolderOf(to)) {
      Set(to, node, NameOf(from));
    } else {
      Set(from, std::nullopt);
      Set(to, node);
    }
  }
  Step(StepKind::Rename);
}

bool PowerLossFileSystem::Link(const QString& from, const QString& to) {
  Check();
  if (!hardLinks_ || !next_.Link(from, to)) return false;
  Set(to, now_[FolderOf(from)].at(NameOf(from)));
  Step(StepKind::Link);
  return true;
}

void PowerLossFileSystem::Unlink(const QString& path) {
  Check();
  next_.Unlink(path);
  // A data file deleted alone, without a record.
  if (!Recorded(path) && !IsHidden(path)) committed_ = true;
  Set(path, std::nullopt);
  Step(StepKind::Unlink);
}

void PowerLossFileSystem::MakeFolder(const QString& path) {
  Check();
  next_.MakeFolder(path);
  Set(path, Node{true, -1});
  now_[Normal(path)] = Folder();
  kept_[Normal(path)] = Folder();
  Step(StepKind::MakeFolder);
}

void PowerLossFileSystem::FlushFolder(const QString& path) {
  Check();
  if (FlushFails()) {
    Step(StepKind::Flush);
    throw Failure(FailureKind::OtherIO);
  }
  next_.FlushFolder(path);
  const QString folder = Normal(path);
  kept_[folder] = now_[folder];
  std::erase_if(pending_, [&](const Operation& operation) { return operation.folder == folder; });
  Step(StepKind::Flush);
}

platform::PathKind PowerLossFileSystem::Look(const QString& path) {
  Check();
  return next_.Look(path);
}

bool PowerLossFileSystem::Lock(const QString& path, platform::LockMode mode) {
  if (mode != platform::LockMode::Unlocked) Check();
  return next_.Lock(path, mode);
}

std::set<QString> PowerLossFileSystem::Drives() const {
  std::set<QString> drives;
  for (const QString& drive : kDrives) {
    if (began_.folders.count(drive) != 0) drives.insert(drive);
  }
  return drives;
}

DriveState PowerLossFileSystem::Durable(const std::vector<char>& kept) const {
  std::map<QString, Folder> folders = kept_;
  for (std::size_t k = 0; k < pending_.size(); ++k) {
    if (!kept[k]) continue;
    const Operation& operation = pending_[k];
    Folder& entries = folders[operation.folder];
    if (!operation.from.isEmpty()) entries.erase(operation.from);
    if (operation.node) {
      entries[operation.name] = *operation.node;
    } else {
      entries.erase(operation.name);
    }
  }
  return Walk(folders, [this](const Node& node) { return ContentOf(node); });
}

DriveState PowerLossFileSystem::Walk(
    const std::map<QString, Folder>& folders,
    const std::function<QByteArray(const Node&)>& content) const {
  DriveState state;
  const auto walk = [&](const auto& self, const QString& folder) -> void {
    const auto found = folders.find(folder);
    if (found == folders.end()) return;
    for (const auto& [name, node] : found->second) {
      const QString path = Child(folder, name);
      if (node.folder) {
        state.folders.insert(path);
        self(self, path);
      } else if (name != platform::kLockName) {
        state.files[path] = content(node);
      }
    }
  };
  for (const QString& drive : kDrives) {
    if (began_.folders.count(drive) != 0) walk(walk, drive);
  }
  return state;
}

}  // namespace mirudanto::testing

namespace mirudanto::testing {

QByteArray PowerLossFileSystem::ContentOf(const Node& node) const {
  const auto content = flushed_.find(node.file);
  return content == flushed_.end() ? QByteArray() : content->second;
}

DriveState PowerLossFileSystem::Now() const {
  return Walk(now_, [this](const Node& node) { return written_.at(node.file); });
}

std::vector<std::pair<QString, QString>> PowerLossFileSystem::NamesOfOneFile() const {
  std::map<int, QString> first;
  std::vector<std::pair<QString, QString>> names;
  for (const auto& [folder, entries] : now_) {
    for (const auto& [name, node] : entries) {
      if (node.folder) continue;
      const auto [named, isFirst] = first.emplace(node.file, Child(folder, name));
      if (!isFirst) names.emplace_back(named->second, Child(folder, name));
    }
  }
  return names;
}

PowerLossFileSystem::Choosing::Choosing(const PowerLossFileSystem& medium) : medium_(medium) {
  for (const Operation& operation : medium.pending_) {
    folders_ = folders_ || (operation.node && operation.node->folder);
  }
  if (!folders_) {
    base_ = MemoryState::Of(medium.Durable(std::vector<char>(medium.pending_.size(), 0)));
    hash_ = HashOf(base_);
  }
}

PowerLossFileSystem::Choosing::Chosen PowerLossFileSystem::Choosing::Choose(
    std::vector<char> kept) const {
  Chosen chosen;
  chosen.kept = std::move(kept);
  if (folders_) {
    chosen.hash = HashOf(medium_.Durable(chosen.kept));
    return chosen;
  }
  // No folder is made, so each folder is on the medium or not whatever the
  // choice: the choice's operations only name files in those that are.
  const auto& pending = medium_.pending_;
  for (std::size_t k = 0; k < pending.size(); ++k) {
    const Operation& operation = pending[k];
    if (!chosen.kept[k] || operation.name == platform::kLockName) continue;
    if (operation.folder.size() > 2 && !base_.folders.contains(operation.folder)) continue;
    if (!operation.from.isEmpty()) chosen.files[Child(operation.folder, operation.from)].reset();
    std::optional<QByteArray>& file = chosen.files[Child(operation.folder, operation.name)];
    if (operation.node) {
      file = medium_.ContentOf(*operation.node);
    } else {
      file.reset();
    }
  }
  chosen.hash = hash_;
  for (const auto& [path, bytes] : chosen.files) {
    const auto there = base_.files.constFind(path);
    if (there != base_.files.cend()) chosen.hash -= HashOfFile(path, there.value());
    if (bytes) chosen.hash += HashOfFile(path, *bytes);
  }
  return chosen;
}

MemoryState PowerLossFileSystem::Choosing::Durable(const Chosen& chosen) const {
  if (folders_) return MemoryState::Of(medium_.Durable(chosen.kept));
  MemoryState state = base_;
  for (const auto& [path, bytes] : chosen.files) {
    if (bytes) {
      state.files.insert(path, *bytes);
    } else {
      state.files.remove(path);
    }
  }
  return state;
}

}  // namespace mirudanto::testing
