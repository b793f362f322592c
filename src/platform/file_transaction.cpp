// Changes of files as transactions kept with a rollback record, and the
// drive's lock that orders them between copies of the program.
#include "platform/file_transaction.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <thread>

#include "core/failure.h"

namespace mirudanto::platform {
namespace {

const QChar kSeparator('\\');
const QByteArray kRecordHeader("change 2");
const QByteArray kRecordEnd("end");

QString FolderOf(const QString& path) { return path.left(path.lastIndexOf(kSeparator)); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }
QString InRoot(const QString& root, const QString& name) { return root + kSeparator + name; }

bool IsSuffixLetter(QChar c) {
  return (c >= QChar('A') && c <= QChar('Z')) || (c >= QChar('a') && c <= QChar('z')) ||
         (c >= QChar('0') && c <= QChar('9'));
}

// A fresh hidden name for a file's temporary or set-aside content, in its
// own folder.
QString HiddenNameFor(const QString& path) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString name = kTemporaryMark + NameOf(path) + QChar('.');
  for (qsizetype k = 1; k < kHiddenSuffixLength; ++k) {
    name += QChar(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
  }
  return FolderOf(path) + kSeparator + name;
}

// One of the file's own hidden names: nothing that a damaged or planted
// record names can lie anywhere else, or be data.
bool IsOwnHiddenName(QStringView name, QStringView fileName) {
  const qsizetype stem = kTemporaryMark.size() + fileName.size() + 1;
  return name.size() == stem + kHiddenSuffixLength - 1 && name.startsWith(kTemporaryMark) &&
         name.mid(kTemporaryMark.size(), fileName.size()) == fileName &&
         name[stem - 1] == QChar('.') &&
         std::all_of(name.begin() + stem, name.end(), IsSuffixLetter);
}

// One file of a change as its record holds it; drive-form paths.
struct Entry {
  QString path;
  QString temporary;  // empty for a deletion
  QString aside;      // empty where the file did not exist
  bool Deletes() const { return temporary.isEmpty(); }
};

// Every name relative to the data root, so that a medium's record still
// holds wherever the medium is mounted next.
QByteArray RecordBytes(const QString& root, const std::vector<Entry>& entries) {
  QByteArray bytes = kRecordHeader + '\n';
  for (const Entry& entry : entries) {
    bytes += (entry.Deletes() ? "D\t" : "W\t") + entry.path.mid(root.size() + 1).toUtf8() + '\t' +
             (entry.Deletes() ? QByteArray() : NameOf(entry.temporary).toUtf8()) + '\t' +
             (entry.aside.isEmpty() ? QByteArray() : NameOf(entry.aside).toUtf8()) + '\n';
  }
  return bytes + kRecordEnd + '\n';
}

QString Joined(const QString& folder, QStringView name) {
  QString path;
  path.reserve(folder.size() + 1 + name.size());
  return path.append(folder).append(kSeparator).append(name);
}

// A path below the data root as a record holds it: no step out of it, and
// no hidden name on the way.
bool IsDataPath(QStringView relative) {
  for (const QStringView part : relative.tokenize(kSeparator)) {
    if (part.isEmpty() || part.startsWith(QChar('.')) || part.contains(QChar('/'))) return false;
  }
  return true;
}

// The entries of a record; none when it is not one this program wrote whole.
// Read on every recovery, so each line is taken apart in place.
std::optional<std::vector<Entry>> ParseRecord(const QString& root, const QByteArray& bytes) {
  const QByteArray head = kRecordHeader + '\n';
  const QByteArray tail = '\n' + kRecordEnd + '\n';
  const qsizetype body = bytes.size() - head.size() - tail.size() + 1;
  if (body < 0 || !bytes.startsWith(head) || !bytes.endsWith(tail)) return std::nullopt;
  const QString text = QString::fromUtf8(bytes.constData() + head.size(), body);
  std::vector<Entry> entries;
  for (QStringView line : QStringView(text).tokenize(QChar('\n'))) {
    if (line.isEmpty() && line.end() == text.constData() + text.size()) break;
    QStringView fields[4];
    qsizetype count = 0;
    for (const QStringView field : line.tokenize(QChar('\t'))) {
      if (count == 4) return std::nullopt;
      fields[count++] = field;
    }
    const bool writes = fields[0] == u"W";
    if (count != 4 || (!writes && fields[0] != u"D") || !IsDataPath(fields[1])) {
      return std::nullopt;
    }
    const QStringView name = fields[1].mid(fields[1].lastIndexOf(kSeparator) + 1);
    Entry entry;
    entry.path = Joined(root, fields[1]);
    const QString folder = FolderOf(entry.path);
    if (writes) {
      if (!IsOwnHiddenName(fields[2], name)) return std::nullopt;
      entry.temporary = Joined(folder, fields[2]);
    } else if (!fields[2].isEmpty() || fields[3].isEmpty()) {
      return std::nullopt;
    }
    if (!fields[3].isEmpty()) {
      if (!IsOwnHiddenName(fields[3], name)) return std::nullopt;
      entry.aside = Joined(folder, fields[3]);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::set<QString> FoldersOf(const std::vector<Entry>& entries) {
  std::set<QString> folders;
  for (const Entry& entry : entries) folders.insert(FolderOf(entry.path));
  return folders;
}

bool IsFile(FileSystem& files, const QString& path) {
  return files.Look(path) == PathKind::File;
}

// A folder that is gone holds nothing of the change, and has nothing to flush.
void FlushFolders(FileSystem& files, const std::vector<Entry>& entries) {
  for (const QString& folder : FoldersOf(entries)) {
    if (files.Look(folder) == PathKind::Folder) files.FlushFolder(folder);
  }
}

void RemoveIfThere(FileSystem& files, const QString& path) {
  if (!path.isEmpty() && IsFile(files, path)) files.Unlink(path);
}

// Puts every file back as it was before the change: each old content in
// place, each created file gone, the temporaries gone, and that on the
// medium. Taken again from the start after any stop, it ends the same.
void RollBack(FileSystem& files, const std::vector<Entry>& entries) {
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (!entry->aside.isEmpty()) {
      if (IsFile(files, entry->aside)) {
        files.Rename(entry->aside, entry->path);
        // Two names of one file: the rename leaves both.
        RemoveIfThere(files, entry->aside);
      }
      // Without its set-aside, the old file was never moved.
    } else {
      RemoveIfThere(files, entry->path);
    }
    RemoveIfThere(files, entry->temporary);
  }
  FlushFolders(files, entries);
}

// Removes the hidden files a change named, then the note that names them.
// Flushed before the note goes, so that none comes back unnamed.
void Tidy(FileSystem& files, const QString& note, const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    RemoveIfThere(files, entry.temporary);
    RemoveIfThere(files, entry.aside);
  }
  FlushFolders(files, entries);
  files.Unlink(note);
}

// The entries a note names; none where it is not whole. A note is on the
// medium whole before anything it names can be, so one cut short names
// nothing that was made.
std::vector<Entry> NamedBy(FileSystem& files, const QString& root, const QString& note) {
  return ParseRecord(root, files.Read(note)).value_or(std::vector<Entry>{});
}

// Rolls back the change of the record found in the data root; the caller
// holds it exclusively. A record that is not one this program wrote, or that
// cannot be rolled back where it lies, fails naming it.
void RollBackRecord(FileSystem& files, const QString& root) {
  const QString record = InRoot(root, kRecordName);
  const std::optional<std::vector<Entry>> entries = ParseRecord(root, files.Read(record));
  if (!entries) throw Failure(FailureKind::TypeMismatch, kRecordName);
  try {
    RollBack(files, *entries);
    files.Unlink(record);
    files.FlushFolder(root);
  } catch (const Failure& failure) {
    throw Failure(failure.Kind(), kRecordName);
  }
}

// Ends whatever an interrupted or finished change left in the data root; the
// caller holds it exclusively.
void Recover(FileSystem& files, const QString& root) {
  if (IsFile(files, InRoot(root, kRecordName))) RollBackRecord(files, root);
  // A draft names nothing made yet: the record it was to become was never
  // relied on.
  RemoveIfThere(files, InRoot(root, kDraftName));
  const QString done = InRoot(root, kDoneName);
  if (IsFile(files, done)) {
    // The commit may not be on the medium yet: the record must not come back
    // after its set-asides are gone.
    files.FlushFolder(root);
    Tidy(files, done, NamedBy(files, root, done));
  }
  const QString alone = InRoot(root, kAloneName);
  if (IsFile(files, alone)) Tidy(files, alone, NamedBy(files, root, alone));
}

// Whether a change's record is there, to be rolled back before a read.
bool HasRecord(FileSystem& files, const QString& root) {
  return files.Look(InRoot(root, kRecordName)) != PathKind::Missing;
}

// Whether a change must end what an earlier one left before its own.
bool NeedsRecovery(FileSystem& files, const QString& root) {
  for (const QString& name : {kRecordName, kDraftName, kDoneName, kAloneName}) {
    if (files.Look(InRoot(root, name)) != PathKind::Missing) return true;
  }
  return false;
}

// A record this program wrote, to be rolled back; one that is not is read
// beside.
bool HasOwnRecord(FileSystem& files, const QString& root) {
  return HasRecord(files, root) && ParseRecord(root, files.Read(InRoot(root, kRecordName)));
}

std::chrono::milliseconds& Patience() {
  static std::chrono::milliseconds patience{5000};
  return patience;
}

// Sets the lock, waiting for another copy's hold to end; "file in use" when
// it does not within the patience.
void WaitFor(FileSystem& files, const QString& root, LockMode mode) {
  const QString lock = InRoot(root, kLockName);
  const auto deadline = std::chrono::steady_clock::now() + Patience();
  auto pause = std::chrono::milliseconds(1);
  while (!files.Lock(lock, mode)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      throw Failure(FailureKind::PermissionDenied);
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

// This copy's holds, by data root.
struct Holds {
  int shared = 0;
  int exclusive = 0;
};
std::map<QString, Holds>& HoldsByRoot() {
  static std::map<QString, Holds> holds;
  return holds;
}

QString Key(const QString& root) { return root.toLower(); }

void LetGo(FileSystem& files, const QString& root) noexcept {
  try {
    files.Lock(InRoot(root, kLockName), LockMode::Unlocked);
  } catch (...) {
  }
}

// A change killed after its commit or its rename into place may have left it
// off the medium: what a read takes from it (to another drive, say) must not
// be undone by a later power loss. A flush, no write: the notes stay for the
// next change.
void FlushWhatTheNotesName(FileSystem& files, const QString& root) {
  if (IsFile(files, InRoot(root, kDoneName))) files.FlushFolder(root);
  const QString alone = InRoot(root, kAloneName);
  if (IsFile(files, alone)) FlushFolders(files, NamedBy(files, root, alone));
}

// Takes the drive to read. A record found there is rolled back first under
// the exclusive lock, then the drive is taken again, since another copy may
// have changed it in between; a record that is not this program's is read
// beside. One that cannot be rolled back fails the read, naming it.
void TakeToRead(FileSystem& files, const QString& root) {
  for (;;) {
    WaitFor(files, root, LockMode::Shared);
    if (!HasOwnRecord(files, root)) {
      FlushWhatTheNotesName(files, root);
      return;
    }
    LetGo(files, root);
    try {
      WaitFor(files, root, LockMode::Exclusive);
    } catch (const Failure& failure) {
      throw Failure(failure.Kind(), kRecordName);
    }
    if (HasOwnRecord(files, root)) RollBackRecord(files, root);
    LetGo(files, root);
  }
}

// Takes the drive to change it, ending first what an earlier change left.
void TakeToChange(FileSystem& files, const QString& root) {
  WaitFor(files, root, LockMode::Exclusive);
  if (NeedsRecovery(files, root)) Recover(files, root);
}

}  // namespace

QString DataRootOf(const QString& path) {
  const qsizetype first = path.indexOf(kSeparator);
  if (first < 0) return path;
  const qsizetype second = path.indexOf(kSeparator, first + 1);
  return second < 0 ? path : path.left(second);
}

DriveLock::DriveLock(const QString& path, Mode mode) : root_(DataRootOf(path)), mode_(mode) {
  FileSystem& files = CurrentFileSystem();
  Holds& holds = HoldsByRoot()[Key(root_)];
  const bool exclusive = mode == Mode::Exclusive;
  if (exclusive && holds.shared > 0 && holds.exclusive == 0) {
    // flock would let the shared lock go on the way to the exclusive one,
    // and another copy could change the drive under the read.
    throw std::logic_error(("a change inside a read of " + root_).toStdString());
  }
  if (holds.exclusive > 0 || holds.shared > 0) {
    ++(exclusive ? holds.exclusive : holds.shared);
    held_ = true;
    nested_ = true;
    return;
  }
  try {
    if (files.Look(root_) != PathKind::Folder) {  // nothing there to hold
      HoldsByRoot().erase(Key(root_));
      return;
    }
    if (exclusive) {
      TakeToChange(files, root_);
    } else {
      TakeToRead(files, root_);
    }
  } catch (...) {
    LetGo(files, root_);
    HoldsByRoot().erase(Key(root_));
    throw;
  }
  ++(exclusive ? holds.exclusive : holds.shared);
  held_ = true;
}

DriveLock::~DriveLock() {
  if (!held_) return;
  Holds& holds = HoldsByRoot()[Key(root_)];
  --(mode_ == Mode::Exclusive ? holds.exclusive : holds.shared);
  if (holds.exclusive + holds.shared > 0) return;
  LetGo(CurrentFileSystem(), root_);
  HoldsByRoot().erase(Key(root_));
}

void DriveLock::RecoverIfFree(const QString& path) {
  const QString root = DataRootOf(path);
  FileSystem& files = CurrentFileSystem();
  // A drive this copy holds has nothing of an interrupted change to end, and
  // its lock must not be let go here.
  if (const auto held = HoldsByRoot().find(Key(root));
      held != HoldsByRoot().end() && held->second.shared + held->second.exclusive > 0) {
    return;
  }
  try {
    if (files.Look(root) != PathKind::Folder) return;
    if (!files.Lock(InRoot(root, kLockName), LockMode::Exclusive)) {
      // Not kept open: a medium swapped meanwhile must be taken anew.
      LetGo(files, root);
      return;
    }
  } catch (const Failure&) {
    return;
  }
  try {
    if (NeedsRecovery(files, root)) Recover(files, root);
  } catch (const Failure&) {
  }
  LetGo(files, root);
}

void DriveLock::SetPatience(std::chrono::milliseconds patience) { Patience() = patience; }

FileTransaction::FileTransaction(const QString& path) : root_(DataRootOf(path)) { Hold(); }

FileTransaction::~FileTransaction() = default;

void FileTransaction::Hold() {
  if (!lock_ && CurrentFileSystem().Look(root_) == PathKind::Folder) {
    lock_.emplace(root_, DriveLock::Mode::Exclusive);
  }
}

void FileTransaction::CreateFolder(const QString& path) {
  FileSystem& files = CurrentFileSystem();
  files.MakeFolder(path);
  files.FlushFolder(FolderOf(path));
  Hold();
}

void FileTransaction::Change(FileChange file) { changes_.push_back(std::move(file)); }

namespace {

// Replaces or creates one file: its temporary is renamed over it. The note
// that names the temporary is on the medium before the temporary can be, so
// that whatever a cut keeps of it is found with one look and removed.
void WriteAlone(FileSystem& files, const QString& root, const Entry& entry,
                const QByteArray& bytes) {
  const QString note = InRoot(root, kAloneName);
  files.Write(note, RecordBytes(root, {entry}), true);
  try {
    files.FlushFolder(root);
    files.Write(entry.temporary, bytes, true);
    files.Rename(entry.temporary, entry.path);
  } catch (...) {
    // The note goes only after its temporary, and what cannot be removed
    // now is the drive's next hold's to remove.
    try {
      Tidy(files, note, {entry});
    } catch (...) {
    }
    throw;
  }
  // Renamed, the file has no old content to go back to: a failure to flush
  // its folder is reported with the file whole and new.
  files.FlushFolder(FolderOf(entry.path));
  // Done: a note that comes back names a temporary that is gone, and the
  // drive's next change removes it.
  try {
    files.Unlink(note);
  } catch (...) {
  }
}

}  // namespace

void FileTransaction::Commit(const ChangeProgress& progress) {
  std::vector<FileChange> changes;
  changes.swap(changes_);
  if (changes.empty()) return;
  for (const FileChange& change : changes) {
    // Files of two drives are never one change.
    if (Key(DataRootOf(change.path)) != Key(root_) || change.path.size() <= root_.size()) {
      throw Failure(FailureKind::InvalidArgument);
    }
  }
  Hold();
  FileSystem& files = CurrentFileSystem();
  // A hold nested in an outer one took the drive as that one left it: what
  // an earlier change within it left behind is ended first.
  if (lock_ && lock_->Nested() && NeedsRecovery(files, root_)) Recover(files, root_);
  const int total = static_cast<int>(changes.size());
  int done = 0;
  const auto tell = [&] {
    if (progress) progress(++done, total);
  };

  // The plan, under the hold: which files are there to be set aside.
  std::vector<Entry> entries;
  std::vector<const QByteArray*> contents;
  for (const FileChange& change : changes) {
    if (change.bytes) continue;
    if (IsFile(files, change.path)) {
      entries.push_back({change.path, QString(), HiddenNameFor(change.path)});
      contents.push_back(nullptr);
    }
    tell();
  }
  for (const FileChange& change : changes) {
    if (!change.bytes) continue;
    const PathKind kind = files.Look(change.path);
    if (kind == PathKind::Folder) throw Failure(FailureKind::PermissionDenied);
    entries.push_back({change.path, HiddenNameFor(change.path),
                       kind == PathKind::File ? HiddenNameFor(change.path) : QString()});
    contents.push_back(&*change.bytes);
  }
  if (entries.empty()) return;

  if (entries.size() == 1) {
    const Entry& entry = entries.front();
    if (entry.Deletes()) {
      files.Unlink(entry.path);
      files.FlushFolder(FolderOf(entry.path));
    } else {
      WriteAlone(files, root_, {entry.path, entry.temporary, QString()}, *contents.front());
      tell();
    }
    return;
  }

  // The record takes its name only once it is whole and flushed, so that a
  // record is never found half written.
  const QString draft = InRoot(root_, kDraftName);
  const QString record = InRoot(root_, kRecordName);
  try {
    files.Write(draft, RecordBytes(root_, entries), true);
    files.Rename(draft, record);
    files.FlushFolder(root_);
  } catch (...) {
    // Nothing of the change was made yet.
    try {
      RemoveIfThere(files, draft);
      RemoveIfThere(files, record);
      files.FlushFolder(root_);
    } catch (...) {
    }
    throw;
  }

  try {
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (entries[k].Deletes()) continue;
      files.Write(entries[k].temporary, *contents[k], true);
      tell();
    }
    // Every old content is kept, and known to be kept, before the first file
    // changes.
    for (const Entry& entry : entries) {
      if (!entry.aside.isEmpty() && !files.Link(entry.path, entry.aside)) {
        files.Rename(entry.path, entry.aside);
      }
    }
    FlushFolders(files, entries);
    for (const Entry& entry : entries) {
      if (!entry.Deletes()) {
        files.Rename(entry.temporary, entry.path);
      } else {
        RemoveIfThere(files, entry.path);
      }
    }
    FlushFolders(files, entries);
    // The commit.
    files.Rename(record, InRoot(root_, kDoneName));
  } catch (...) {
    // Rolled back from the record a later hold would read; when that fails
    // too, the record stays for the drive's next hold.
    try {
      RollBack(files, entries);
      files.Unlink(record);
      files.FlushFolder(root_);
    } catch (...) {
    }
    throw;
  }
  // A commit once made stands. Until it is on the medium the set-asides stay:
  // a failure here is reported with the files new, and the drive's next
  // change flushes the commit before it removes them.
  files.FlushFolder(root_);
  // What fails from here on is only the tidying, which the drive's next
  // change finishes.
  try {
    Tidy(files, InRoot(root_, kDoneName), entries);
  } catch (...) {
  }
}

QByteArray ReadFileBytes(const QString& path) {
  const DriveLock lock(path, DriveLock::Mode::Shared);
  return CurrentFileSystem().Read(path);
}

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  FileTransaction change(path);
  change.Change({path, bytes});
  change.Commit();
}

void WriteFilesTogether(const std::vector<FileContent>& files) {
  if (files.empty()) return;
  FileTransaction change(files.front().path);
  for (const FileContent& file : files) change.Change({file.path, file.bytes});
  change.Commit();
}

void ChangeFilesTogether(const std::vector<FileChange>& changes, const ChangeProgress& progress) {
  if (changes.empty()) return;
  FileTransaction change(changes.front().path);
  for (const FileChange& file : changes) change.Change(file);
  change.Commit(progress);
}

void CreateFolder(const QString& path) {
  FileTransaction change(path);
  change.CreateFolder(path);
}

void DeleteFile(const QString& path) {
  const DriveLock lock(path, DriveLock::Mode::Exclusive);
  FileSystem& files = CurrentFileSystem();
  files.Unlink(path);
  files.FlushFolder(FolderOf(path));
}

}  // namespace mirudanto::platform
