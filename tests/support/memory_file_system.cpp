#include "support/memory_file_system.h"

#include <algorithm>

#include "core/failure.h"

namespace mirudanto::testing {
namespace {

const QChar kSeparator('\\');

QString FolderOf(const QString& key) { return key.left(key.lastIndexOf(kSeparator)); }

}  // namespace

MemoryState MemoryState::Of(const DriveState& state) {
  MemoryState memory;
  memory.folders.reserve(static_cast<qsizetype>(state.folders.size()));
  for (const QString& folder : state.folders) memory.folders.insert(folder);
  memory.files.reserve(static_cast<qsizetype>(state.files.size()));
  for (const auto& [path, bytes] : state.files) memory.files.insert(path, bytes);
  return memory;
}

DriveState MemoryState::Ordered() const {
  DriveState state;
  for (const QString& folder : folders) state.folders.insert(folder);
  for (auto file = files.begin(); file != files.end(); ++file) state.files[file.key()] = file.value();
  return state;
}

std::size_t HashOf(const MemoryState& state) {
  std::size_t hash = 0;
  for (const QString& folder : state.folders) hash += HashOfFolder(folder);
  for (auto file = state.files.begin(); file != state.files.end(); ++file) {
    hash += HashOfFile(file.key(), file.value());
  }
  return hash;
}

MemoryFileSystem::MemoryFileSystem(MemoryState state, std::set<QString> drives)
    : next_(platform::CurrentFileSystem()), state_(std::move(state)), drives_(std::move(drives)) {
  platform::InstallFileSystem(this);
}

MemoryFileSystem::~MemoryFileSystem() { platform::InstallFileSystem(&next_); }

QString MemoryFileSystem::Key(const QString& path) const {
  // Most paths come as the state has them: shared, not copied.
  QString key = path;
  if (!key.isEmpty() && key.at(0).isUpper()) key[0] = key.at(0).toLower();
  while (key.endsWith(kSeparator)) key.chop(1);
  const auto drive = std::find_if(drives_.begin(), drives_.end(), [&](const QString& d) {
    return key.startsWith(d) && (key.size() == 2 || key.at(2) == kSeparator);
  });
  if (drive == drives_.end()) throw Failure(FailureKind::DiskNotReady);
  return key;
}

bool MemoryFileSystem::IsFolder(const QString& key) const {
  return key.size() == 2 || state_.folders.contains(key);
}

void MemoryFileSystem::Missing(const QString& key) const {
  throw Failure(IsFolder(FolderOf(key)) ? FailureKind::FileNotFound : FailureKind::PathNotFound);
}

void MemoryFileSystem::NeedFolderOf(const QString& key) const {
  if (!IsFolder(FolderOf(key))) throw Failure(FailureKind::PathNotFound);
}

const QByteArray& MemoryFileSystem::FileAt(const QString& key) const {
  const auto found = state_.files.constFind(key);
  if (found == state_.files.cend()) Missing(key);
  return found.value();
}

void MemoryFileSystem::SameFile(const QString& first, const QString& second) {
  const QString one = Key(first);
  if (!links_.contains(one)) links_.insert(one, nextLink_++);
  links_.insert(Key(second), links_.value(one));
}

QByteArray MemoryFileSystem::Read(const QString& path) { return FileAt(Key(path)); }

void MemoryFileSystem::Write(const QString& path, const QByteArray& bytes, bool) {
  const QString key = Key(path);
  NeedFolderOf(key);
  if (state_.files.contains(key) || IsFolder(key)) throw Failure(FailureKind::FileExists);
  state_.files.insert(key, bytes);
}

void MemoryFileSystem::Rename(const QString& from, const QString& to) {
  const QString source = Key(from);
  const QString target = Key(to);
  const QByteArray bytes = FileAt(source);
  NeedFolderOf(target);
  if (IsFolder(target)) throw Failure(FailureKind::PermissionDenied);
  if (source == target) return;
  const auto link = links_.constFind(source);
  if (link != links_.cend()) {
    const auto other = links_.constFind(target);
    if (other != links_.cend() && other.value() == link.value()) return;
  }
  state_.files.remove(source);
  state_.files.insert(target, bytes);
  links_.remove(target);
  if (const int number = links_.value(source, -1); number >= 0) {
    links_.remove(source);
    links_.insert(target, number);
  }
}

bool MemoryFileSystem::Link(const QString& from, const QString& to) {
  const QString source = Key(from);
  const QString target = Key(to);
  const QByteArray bytes = FileAt(source);
  NeedFolderOf(target);
  if (state_.files.contains(target) || IsFolder(target)) throw Failure(FailureKind::FileExists);
  state_.files.insert(target, bytes);
  if (!links_.contains(source)) links_.insert(source, nextLink_++);
  links_.insert(target, links_.value(source));
  return true;
}

void MemoryFileSystem::Unlink(const QString& path) {
  const QString key = Key(path);
  if (IsFolder(key)) throw Failure(FailureKind::FileNotFound);
  if (!state_.files.remove(key)) Missing(key);
  links_.remove(key);
}

void MemoryFileSystem::MakeFolder(const QString& path) {
  const QString key = Key(path);
  NeedFolderOf(key);
  if (state_.files.contains(key) || IsFolder(key)) throw Failure(FailureKind::FileExists);
  state_.folders.insert(key);
}

void MemoryFileSystem::FlushFolder(const QString& path) {
  const QString key = Key(path);
  if (!IsFolder(key)) Missing(key);
}

platform::PathKind MemoryFileSystem::Look(const QString& path) {
  const QString key = Key(path);
  if (IsFolder(key)) return platform::PathKind::Folder;
  return state_.files.contains(key) ? platform::PathKind::File : platform::PathKind::Missing;
}

bool MemoryFileSystem::Lock(const QString&, platform::LockMode) { return true; }

}  // namespace mirudanto::testing
