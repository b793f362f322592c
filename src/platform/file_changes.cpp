// Changes of several files as one transaction, and the finishing of changes a
// kill or a lost medium interrupted.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <set>

#include "core/failure.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace mirudanto::platform {
namespace {

const QChar kSeparator('\\');
const QByteArray kRecordHeader("change 1");
// The suffix of a hidden name: as long as the temporary files' that mkostemp
// names, and of the same letters.
constexpr qsizetype kSuffixLength = 6;
const QByteArray kRecordEnd("end");

QString FolderOf(const QString& path) { return path.left(path.lastIndexOf(kSeparator)); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }

// Only a name that is surely not there counts as absent: a change is judged
// complete from the absence of its temporary files, and a medium that cannot
// be read must not pass for one that has none.
bool ExistsNatively(const QString& nativePath) {
  struct stat st {};
  if (::lstat(QFile::encodeName(nativePath).constData(), &st) == 0) return true;
  if (errno == ENOENT) return false;
  throw Failure(FailureKindFromErrno(errno));
}

// The name of a temporary file, given by its path on this machine.
QString TemporaryName(const QString& temporary) {
  return temporary.mid(temporary.lastIndexOf(QChar('/')) + 1);
}

bool Exists(const QString& drivePath) { return ExistsNatively(Drives::Translate(drivePath)); }

QString RandomSuffix() {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString suffix;
  for (qsizetype k = 0; k < kSuffixLength; ++k) {
    suffix += QChar(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
  }
  return suffix;
}

// One file of a change as its record holds it.
struct Entry {
  QString path;       // drive form
  QString temporary;  // on this machine; empty for a deletion
  QString aside;      // drive form; empty when the file did not exist
  bool Deletes() const { return temporary.isEmpty(); }
};

// Every name relative to the record's folder, so that a medium's record
// still holds wherever the medium is mounted next.
QByteArray RecordBytes(const QString& folder, const std::vector<Entry>& entries) {
  QByteArray bytes = kRecordHeader + '\n';
  for (const Entry& entry : entries) {
    const QString relative = entry.path.mid(folder.size() + 1);
    bytes += (entry.Deletes() ? "D\t" : "W\t") + relative.toUtf8() + '\t' +
             TemporaryName(entry.temporary).toUtf8() +
             '\t' + (entry.aside.isEmpty() ? QByteArray() : NameOf(entry.aside).toUtf8()) + '\n';
  }
  return bytes + kRecordEnd + '\n';
}

bool IsSuffixLetter(QChar c) {
  return (c >= QChar('A') && c <= QChar('Z')) || (c >= QChar('a') && c <= QChar('z')) ||
         (c >= QChar('0') && c <= QChar('9'));
}

// A temporary or set-aside name of the file's own, in its own folder: nothing
// a damaged or planted record names can lie anywhere else.
bool IsOwnHiddenName(const QString& name, const QString& fileName) {
  const QString stem = kTemporaryMark + fileName + QChar('.');
  return name.size() == stem.size() + kSuffixLength && name.startsWith(stem) &&
         std::all_of(name.begin() + stem.size(), name.end(), IsSuffixLetter);
}

// The entries of a record; none when it is not one this program wrote whole
// (a record takes its name only once it is written whole, so that is a
// damaged or a foreign one).
std::optional<std::vector<Entry>> ParseRecord(const QString& folder, const QByteArray& bytes) {
  QList<QByteArray> lines = bytes.split('\n');
  if (lines.size() < 4 || lines.back() != QByteArray() || lines[lines.size() - 2] != kRecordEnd ||
      lines.front() != kRecordHeader) {
    return std::nullopt;
  }
  std::vector<Entry> entries;
  for (qsizetype k = 1; k < lines.size() - 2; ++k) {
    const QList<QByteArray> fields = lines[k].split('\t');
    if (fields.size() != 4 || (fields[0] != "W" && fields[0] != "D")) return std::nullopt;
    const QStringList parts = QString::fromUtf8(fields[1]).split(kSeparator);
    for (const QString& part : parts) {
      if (part.isEmpty() || part == QStringLiteral(".") || part == QStringLiteral("..") ||
          part.contains(QChar('/')) || part.startsWith(QChar('.'))) {
        return std::nullopt;
      }
    }
    Entry entry;
    entry.path = folder + kSeparator + parts.join(kSeparator);
    const QString fileFolder = FolderOf(entry.path);
    const QString temporary = QString::fromUtf8(fields[2]);
    const QString aside = QString::fromUtf8(fields[3]);
    if (fields[0] == "W") {
      if (!IsOwnHiddenName(temporary, parts.last())) return std::nullopt;
      entry.temporary = Drives::Translate(fileFolder) + QChar('/') + temporary;
    } else if (!temporary.isEmpty() || aside.isEmpty()) {
      return std::nullopt;
    }
    if (!aside.isEmpty()) {
      if (!IsOwnHiddenName(aside, parts.last())) return std::nullopt;
      entry.aside = fileFolder + kSeparator + aside;
    }
    entries.push_back(entry);
  }
  return entries;
}

std::set<QString> FoldersOf(const std::vector<Entry>& entries) {
  std::set<QString> folders;
  for (const Entry& entry : entries) folders.insert(FolderOf(entry.path));
  return folders;
}

bool AsideExists(const Entry& entry) { return !entry.aside.isEmpty() && Exists(entry.aside); }

// A change whose every new file has been renamed into place is complete:
// deletions come before the writes, so nothing of it is left to do but to
// let the old contents go. A failed rename leaves its temporary file, and an
// undo removes the temporary files only after the record, so a change that
// still has one had not reached its end.
bool ReachedItsEnd(const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    if (!entry.Deletes() && ExistsNatively(entry.temporary)) return false;
  }
  return true;
}

// Ends a change from its entries: undone, or completed when it had reached
// its end; the folders flushed (unless they just were) and the record
// removed; the leftovers go last, so that a kill meanwhile leaves a record
// that decides the same way again.
void Settle(FileSystem& files, const QString& record, const std::vector<Entry>& entries,
            bool flushed) {
  if (!ReachedItsEnd(entries)) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      if (AsideExists(*entry)) {
        files.PutBack(entry->aside, entry->path);
      } else if (entry->aside.isEmpty() && Exists(entry->path)) {
        // A file the change created.
        files.DeleteFile(entry->path);
      }
    }
  }
  if (!flushed) {
    for (const QString& folder : FoldersOf(entries)) files.SyncFolder(folder);
  }
  files.RemoveRecord(record);
  for (const Entry& entry : entries) {
    if (!entry.Deletes()) files.DiscardTemporary(entry.temporary);
    if (AsideExists(entry)) files.DiscardTemporary(Drives::Translate(entry.aside));
  }
}

// The records this run left when a change could not be finished.
std::set<QString>& PendingRecords() {
  static std::set<QString> pending;
  return pending;
}

// Settles a change of this run; a record that cannot be settled is pending.
void SettleOrKeep(FileSystem& files, const QString& record, const std::vector<Entry>& entries,
                  bool flushed = false) {
  PendingRecords().insert(record);
  Settle(files, record, entries, flushed);
  PendingRecords().erase(record);
}

// The commit records in a folder, by their drive-form paths.
QStringList RecordsIn(const QString& folder) {
  QStringList records;
  QString native;
  try {
    native = Drives::Translate(folder);
  } catch (const Failure&) {
    return records;  // no medium: nothing there to finish
  }
  DIR* dir = ::opendir(QFile::encodeName(native).constData());
  if (dir == nullptr) {
    // A folder that cannot be read is not one without records.
    if (errno == ENOENT || errno == ENOTDIR) return records;
    throw Failure(FailureKindFromErrno(errno));
  }
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      const int error = errno;
      ::closedir(dir);
      if (error != 0) throw Failure(FailureKindFromErrno(error));
      break;
    }
    // Only the mark's first byte is looked at for most names: a folder of
    // thousands of statement files is read at every change.
    if (entry->d_name[0] != '.') continue;
    const QString name = QFile::decodeName(entry->d_name);
    if (IsCommitRecordName(name)) records.append(folder + kSeparator + name);
  }
  records.sort();
  return records;
}

// The folder that holds every file of the change, where its record goes.
QString CommonFolder(const std::vector<FileChange>& changes) {
  QStringList common = FolderOf(changes.front().path).split(kSeparator);
  for (const FileChange& change : changes) {
    const QStringList parts = FolderOf(change.path).split(kSeparator);
    qsizetype same = 0;
    while (same < common.size() && same < parts.size() &&
           common[same].compare(parts[same], Qt::CaseInsensitive) == 0) {
      ++same;
    }
    common = common.mid(0, same);
  }
  // Files of two drives are never one change.
  if (common.isEmpty()) throw Failure(FailureKind::InvalidArgument);
  return common.join(kSeparator);
}

// Interrupted changes that could touch these files: records in their folders
// and in the folders above them.
void FinishChangesAround(const std::vector<FileChange>& changes) {
  std::set<QString> folders;
  for (const FileChange& change : changes) {
    for (QString folder = FolderOf(change.path);; folder = FolderOf(folder)) {
      folders.insert(folder);
      if (!folder.contains(kSeparator)) break;  // the drive itself
    }
  }
  for (const QString& folder : folders) FinishInterruptedChanges(folder);
}

}  // namespace

void WriteFilesTogether(const std::vector<FileContent>& files) {
  std::vector<FileChange> changes;
  changes.reserve(files.size());
  for (const FileContent& file : files) changes.push_back({file.path, file.bytes});
  ChangeFilesTogether(changes);
}

void ChangeFilesTogether(const std::vector<FileChange>& changes, const ChangeProgress& progress) {
  if (changes.empty()) return;
  const QString recordFolder = CommonFolder(changes);
  FinishPendingChanges(changes.front().path);
  FinishChangesAround(changes);
  FileSystem& files = CurrentFileSystem();
  const int total = static_cast<int>(changes.size());
  int done = 0;
  const auto tell = [&] {
    if (progress) progress(++done, total);
  };

  // Deletions first: once the last new file is in place the change is done.
  std::vector<Entry> entries;
  for (const FileChange& change : changes) {
    if (change.bytes) continue;
    if (Exists(change.path)) entries.push_back({change.path, QString(), QString()});
    tell();
  }
  const auto discardTemporaries = [&] {
    for (const Entry& entry : entries) {
      if (!entry.Deletes()) files.DiscardTemporary(entry.temporary);
    }
  };
  try {
    for (const FileChange& change : changes) {
      if (!change.bytes) continue;
      entries.push_back({change.path, files.WriteTemporary(change.path, *change.bytes), QString()});
      tell();
    }
    for (Entry& entry : entries) {
      // A file that cannot be looked at fails the change here: taken for a
      // new one, an undo would delete it.
      if (entry.Deletes() || Exists(entry.path)) {
        entry.aside = FolderOf(entry.path) + kSeparator + kTemporaryMark + NameOf(entry.path) +
                      QChar('.') + RandomSuffix();
      }
    }
  } catch (...) {
    discardTemporaries();
    throw;
  }
  if (entries.empty()) return;

  if (entries.size() == 1 && entries.front().aside.isEmpty()) {
    // One new file: there is nothing to bring back, and its rename is all or
    // nothing by itself.
    const Entry& entry = entries.front();
    try {
      files.ReplaceWithTemporary(entry.temporary, entry.path);
    } catch (...) {
      discardTemporaries();
      throw;
    }
    try {
      files.SyncFolder(FolderOf(entry.path));
    } catch (...) {
      // Not known to be on the medium, so not there at all.
      try {
        files.DeleteFile(entry.path);
      } catch (...) {
      }
      throw;
    }
    return;
  }

  const QString record = recordFolder + kSeparator + kCommitRecordMark + RandomSuffix();
  try {
    files.WriteRecord(record, RecordBytes(recordFolder, entries));
  } catch (...) {
    discardTemporaries();
    throw;
  }

  try {
    // Every old content is kept, and known to be kept, before the first
    // file changes: an undo after a power loss needs all of them.
    for (const Entry& entry : entries) {
      if (!entry.aside.isEmpty()) files.SetAside(entry.path, entry.aside);
    }
    for (const QString& folder : FoldersOf(entries)) files.SyncFolder(folder);
    for (const Entry& entry : entries) {
      if (!entry.Deletes()) {
        files.ReplaceWithTemporary(entry.temporary, entry.path);
      } else if (Exists(entry.path)) {
        files.DeleteFile(entry.path);
      }
    }
  } catch (...) {
    // Undone from the same record a later start would read. When the undo
    // fails as well, the record stays, held by this run: the next read or
    // change finishes it, or the next start.
    try {
      SettleOrKeep(files, record, entries);
    } catch (...) {
    }
    throw;
  }

  try {
    for (const QString& folder : FoldersOf(entries)) files.SyncFolder(folder);
  } catch (...) {
    // Every new file is in place, but not known to be on the medium: the
    // change failed, so it is undone. A new file given back its temporary
    // name marks the change as short of its end, for this undo and for the
    // record, should the undo fail too; no new record needs writing.
    try {
      const auto written = std::find_if(entries.rbegin(), entries.rend(),
                                        [](const Entry& entry) { return !entry.Deletes(); });
      files.SetAside(written->path,
                     FolderOf(written->path) + kSeparator + TemporaryName(written->temporary));
      SettleOrKeep(files, record, entries);
    } catch (...) {
      PendingRecords().insert(record);
    }
    throw;
  }
  // Done and on the medium: what fails from here on is only the tidying,
  // which a later read, change or start completes, never undoes.
  try {
    SettleOrKeep(files, record, entries, true);
  } catch (...) {
  }
}

void FinishInterruptedChanges(const QString& folder) {
  FileSystem& files = CurrentFileSystem();
  for (const QString& record : RecordsIn(folder)) {
    const std::optional<QByteArray> bytes = files.TakeRecord(record);
    if (!bytes) continue;
    const std::optional<std::vector<Entry>> entries = ParseRecord(folder, *bytes);
    // Not one this program wrote whole: nothing it names is touched, and it
    // stays for the user to see.
    if (!entries) throw Failure(FailureKind::TypeMismatch, NameOf(record));
    SettleOrKeep(files, record, *entries);
  }
}

void FinishPendingChanges(const QString& path) {
  if (PendingRecords().empty()) return;
  // Finishing reads and deletes files itself.
  static bool finishing = false;
  if (finishing) return;
  finishing = true;
  struct Done {
    ~Done() { finishing = false; }
  } done;
  const QString drive = path.left(2).toLower();
  const std::set<QString> pending = PendingRecords();
  for (const QString& record : pending) {
    if (record.left(2).toLower() != drive) continue;
    FinishInterruptedChanges(FolderOf(record));
    // Finished by another copy meanwhile, or gone with its medium: nothing
    // left here to read half changed.
    try {
      if (!ExistsNatively(Drives::Translate(record))) PendingRecords().erase(record);
    } catch (const Failure&) {
    }
  }
}

void HoldDataRoot(const std::function<void()>& alone) {
  static int held = -1;
  if (held >= 0) return;
  const QString root = Drives::Root(QChar('c'));
  if (root.isEmpty()) return;
  held = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (held < 0) return;
  if (::flock(held, LOCK_EX | LOCK_NB) == 0) {
    alone();
  } else if (errno != EWOULDBLOCK) {
    // No locks on this drive: a single user's copy, alone.
    alone();
    return;
  }
  // Shared from now on. The change of lock is not atomic: a copy starting in
  // between may have the folder to itself, while this one has begun no save.
  while (::flock(held, LOCK_SH) != 0 && errno == EINTR) {
  }
}

}  // namespace mirudanto::platform
