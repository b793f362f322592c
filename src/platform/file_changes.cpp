// Changes of several files as one transaction, and the finishing of changes a
// kill or a lost medium interrupted.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <set>

#include "core/failure.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace mirudanto::platform {
namespace {

const QChar kSeparator('\\');
const QByteArray kRecordHeader("change 1");
const QByteArray kRecordEnd("end");

QString FolderOf(const QString& path) { return path.left(path.lastIndexOf(kSeparator)); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }

bool ExistsNatively(const QString& nativePath) {
  struct stat st {};
  return ::lstat(QFile::encodeName(nativePath).constData(), &st) == 0;
}

QString RandomSuffix() {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString suffix;
  for (int k = 0; k < 6; ++k) {
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
    const QString temporary = entry.temporary.mid(entry.temporary.lastIndexOf(QChar('/')) + 1);
    bytes += (entry.Deletes() ? "D\t" : "W\t") + relative.toUtf8() + '\t' + temporary.toUtf8() +
             '\t' + (entry.aside.isEmpty() ? QByteArray() : NameOf(entry.aside).toUtf8()) + '\n';
  }
  return bytes + kRecordEnd + '\n';
}

// The entries of a record; none when the record is not whole (a record takes
// its name only once it is written whole, so that is a damaged one).
std::optional<std::vector<Entry>> ParseRecord(const QString& folder, const QByteArray& bytes) {
  QList<QByteArray> lines = bytes.split('\n');
  if (lines.size() < 3 || lines.front() != kRecordHeader || lines.back() != QByteArray() ||
      lines[lines.size() - 2] != kRecordEnd) {
    return std::nullopt;
  }
  std::vector<Entry> entries;
  for (qsizetype k = 1; k < lines.size() - 2; ++k) {
    const QList<QByteArray> fields = lines[k].split('\t');
    if (fields.size() != 4 || (fields[0] != "W" && fields[0] != "D")) return std::nullopt;
    const QString relative = QString::fromUtf8(fields[1]);
    if (relative.isEmpty() || relative.split(kSeparator).contains(QStringLiteral(".."))) {
      return std::nullopt;
    }
    Entry entry;
    entry.path = folder + kSeparator + relative;
    const QString fileFolder = FolderOf(entry.path);
    if (fields[0] == "W") {
      if (fields[2].isEmpty()) return std::nullopt;
      entry.temporary =
          Drives::Translate(fileFolder) + QChar('/') + QString::fromUtf8(fields[2]);
    }
    if (!fields[3].isEmpty()) entry.aside = fileFolder + kSeparator + QString::fromUtf8(fields[3]);
    if (entry.Deletes() && entry.aside.isEmpty()) return std::nullopt;
    entries.push_back(entry);
  }
  return entries;
}

std::set<QString> FoldersOf(const std::vector<Entry>& entries) {
  std::set<QString> folders;
  for (const Entry& entry : entries) folders.insert(FolderOf(entry.path));
  return folders;
}

bool AsideExists(const Entry& entry) {
  return !entry.aside.isEmpty() && ExistsNatively(Drives::Translate(entry.aside));
}

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
// its end; the folders flushed and the record removed; the leftovers go last,
// so that a kill meanwhile leaves a record that decides the same way again.
void Settle(FileSystem& files, const QString& record, const std::vector<Entry>& entries) {
  if (!ReachedItsEnd(entries)) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      if (AsideExists(*entry)) {
        files.PutBack(entry->aside, entry->path);
      } else if (entry->aside.isEmpty() && files.FileExists(entry->path)) {
        // A file the change created.
        files.DeleteFile(entry->path);
      }
    }
  }
  for (const QString& folder : FoldersOf(entries)) files.SyncFolder(folder);
  files.RemoveRecord(record);
  for (const Entry& entry : entries) {
    if (!entry.Deletes()) files.DiscardTemporary(entry.temporary);
    if (AsideExists(entry)) files.DiscardTemporary(Drives::Translate(entry.aside));
  }
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
  if (dir == nullptr) return records;
  while (const dirent* entry = ::readdir(dir)) {
    // Only the mark's first byte is looked at for most names: a folder of
    // thousands of statement files is read at every change.
    if (entry->d_name[0] != '.') continue;
    const QString name = QFile::decodeName(entry->d_name);
    if (IsCommitRecordName(name)) records.append(folder + kSeparator + name);
  }
  ::closedir(dir);
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
    if (files.FileExists(change.path)) entries.push_back({change.path, QString(), QString()});
    tell();
  }
  const std::size_t deletions = entries.size();
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
  } catch (...) {
    discardTemporaries();
    throw;
  }

  if (entries.size() == 1 || deletions == entries.size()) {
    // A single rename or deletion is all or nothing by itself, and deletions
    // alone have nothing to bring back.
    try {
      for (const Entry& entry : entries) {
        if (entry.Deletes()) {
          files.DeleteFile(entry.path);
        } else {
          files.ReplaceWithTemporary(entry.temporary, entry.path);
        }
      }
      for (const QString& folder : FoldersOf(entries)) files.SyncFolder(folder);
    } catch (...) {
      discardTemporaries();
      throw;
    }
    return;
  }

  for (Entry& entry : entries) {
    if (entry.Deletes() || files.FileExists(entry.path)) {
      entry.aside = FolderOf(entry.path) + kSeparator + QStringLiteral(".~saving.") +
                    NameOf(entry.path) + QChar('.') + RandomSuffix();
    }
  }
  const QString record =
      recordFolder + kSeparator + QStringLiteral(".~change.") + RandomSuffix();
  try {
    files.WriteRecord(record, RecordBytes(recordFolder, entries));
  } catch (...) {
    discardTemporaries();
    throw;
  }

  try {
    for (const Entry& entry : entries) {
      if (!entry.aside.isEmpty()) files.SetAside(entry.path, entry.aside);
      if (!entry.Deletes()) {
        files.ReplaceWithTemporary(entry.temporary, entry.path);
      } else if (files.FileExists(entry.path)) {
        files.DeleteFile(entry.path);
      }
    }
  } catch (...) {
    // Undone from the same record a later start would read. When the undo
    // fails as well, the record stays, held by this run: the next change
    // on the drive, or the next start, finishes it.
    try {
      Settle(files, record, entries);
    } catch (...) {
    }
    throw;
  }
  // Done: a failure from here on leaves the record of a complete change,
  // which is completed again, never undone.
  Settle(files, record, entries);
}

void FinishInterruptedChanges(const QString& folder) {
  FileSystem& files = CurrentFileSystem();
  for (const QString& record : RecordsIn(folder)) {
    const std::optional<QByteArray> bytes = files.TakeRecord(record);
    if (!bytes) continue;
    const std::optional<std::vector<Entry>> entries = ParseRecord(folder, *bytes);
    if (entries) {
      Settle(files, record, *entries);
    } else {
      // Never whole, so nothing was set aside or renamed by it.
      files.RemoveRecord(record);
    }
  }
}

bool LockDataRoot() {
  static int held = -1;
  if (held >= 0) return true;
  const QString root = Drives::Root(QChar('c'));
  if (root.isEmpty()) return false;
  const int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  held = fd;
  return true;
}

}  // namespace mirudanto::platform
