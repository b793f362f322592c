#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace mirudanto::platform {

// File operations on drive-form paths. Each fails with a Failure worded from
// the one table; none leaves a file half-written. Every change goes through
// one FileTransaction (file_transaction.h), under its drive's lock.

// The whole content of a file, read under the drive's shared lock.
QByteArray ReadFileBytes(const QString& path);

// Replaces the file whole: a failure, a kill or a power loss leaves the old
// file or the new one.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

struct FileContent {
  QString path;
  QByteArray bytes;
};
// Replaces several files of one drive as one change: after a failure, or
// after a kill or a power loss and the next use of the drive, every file is
// as it was before or as the change made it, never some of each.
void WriteFilesTogether(const std::vector<FileContent>& files);

// One file of a change: its new content, or none to delete it where it exists.
struct FileChange {
  QString path;
  std::optional<QByteArray> bytes;
};
// Told after each file of a change is prepared: how many of how many.
using ChangeProgress = std::function<void(int done, int total)>;
// WriteFilesTogether with deletions, and progress for a long change.
void ChangeFilesTogether(const std::vector<FileChange>& changes,
                         const ChangeProgress& progress = {});

bool FolderExists(const QString& path);
bool FileExists(const QString& path);
// Whether a file may be there: false only where no file surely is (nothing
// of that name, or a folder); a file that cannot be looked at may be.
bool FileMayExist(const QString& path);
// One level only, flushed in its parent: fails when the parent folder is
// missing, or when the folder exists already.
void CreateFolder(const QString& path);
// Fails as creating a new file there would: when a file of that name exists,
// or its folder is missing. Nothing is created, so a write that follows and
// fails leaves no empty file behind.
void EnsureNewFile(const QString& path);
// Deletes one file, for good once it returns.
void DeleteFile(const QString& path);

// The writer's hidden files carry these marks at the start of their names,
// so that no listing, backup or copy takes them for data: temporary files and
// set-aside old contents one, the lock and the change's record another.
inline const QString kTemporaryMark = QStringLiteral(".~saving.");
inline const QString kCommitRecordMark = QStringLiteral(".~change.");
// A temporary or set-aside name: the mark, the file's name, "." and six
// letters or digits.
constexpr qsizetype kHiddenSuffixLength = 7;

enum class PathKind { Missing, File, Folder };
enum class LockMode { Unlocked, Shared, Exclusive };

// The primitives of the file system, one seam for every call of the program:
// the disk's in the program, a faulty or a power-losing one in tests.
// Drive-form paths; each fails with a Failure.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual QByteArray Read(const QString& path) = 0;
  // Creates a new file of these bytes, flushed to the medium when asked;
  // fails, leaving nothing, where the name is taken or the folder missing.
  virtual void Write(const QString& path, const QByteArray& bytes, bool flush) = 0;
  // Renames a file over its target. Two names of one file stay both.
  virtual void Rename(const QString& from, const QString& to) = 0;
  // Gives a file a second name; false, with nothing done, on a medium
  // without hard links (FAT).
  virtual bool Link(const QString& from, const QString& to) = 0;
  // Removes a file's name (not a folder's).
  virtual void Unlink(const QString& path) = 0;
  virtual void MakeFolder(const QString& path) = 0;
  // Flushes a folder's names (made, renamed and removed) to the medium.
  virtual void FlushFolder(const QString& path) = 0;
  // What is there; a path in a missing folder is missing. Fails when it
  // cannot be looked at.
  virtual PathKind Look(const QString& path) = 0;
  // Sets this copy's lock on a lock file, made where missing: false when
  // another copy's lock is in the way; Unlocked lets it go. A medium that
  // keeps no locks counts as locked by this copy, and so does, for a shared
  // lock, one where the lock file is missing and cannot be made (one that
  // cannot be written, or too full for it).
  virtual bool Lock(const QString& path, LockMode mode) = 0;
};

FileSystem& CurrentFileSystem();
// Installs the file system for the run (not owned); nullptr restores the disk.
void InstallFileSystem(FileSystem* fileSystem);

}  // namespace mirudanto::platform
