#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace mirudanto::platform {

// File operations on drive-form paths. Each fails with a Failure worded from
// the one table; none leaves a file half-written.

// The whole content of a file.
QByteArray ReadFileBytes(const QString& path);

// Replaces the file whole: the bytes go to a temporary file in the same
// folder, are flushed to the disk and then renamed over the target, so a
// failure or a crash leaves the old file as it was.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

struct FileContent {
  QString path;
  QByteArray bytes;
};
// Replaces several files as one change; see ChangeFilesTogether.
void WriteFilesTogether(const std::vector<FileContent>& files);

// One file of a change: its new content, or none to delete it where it exists.
struct FileChange {
  QString path;
  std::optional<QByteArray> bytes;
};
// Told after each file of a change is prepared: how many of how many.
using ChangeProgress = std::function<void(int done, int total)>;

// Changes files of one drive as one transaction: after a failure, or after a
// kill or a power loss and the next start, every file is as it was before or
// as the change made it, never some of each.
//
// Every new content is first written whole to its temporary file and flushed.
// A change that replaces or deletes a file then writes its commit record
// (what it is about to replace, and where the old contents are kept) in the
// folder that holds all its files, and flushes it with its folder; then
// every old file is set aside and the folders flushed, and only then are the
// deletions made and the new files renamed into place in the order given.
// A failure up to the flush after the last rename undoes what was done; a
// kill leaves the record, from which FinishInterruptedChanges undoes a change
// that had not made its last rename and completes one that had. A change
// reported done stays done.
//
// Interrupted changes around the files (in their folders and the folders
// above) are finished first: an old record must never undo a newer change.
// Fails with the first failure met; what it changed is then undone, or, when
// the undoing fails too, left to the next operation on the drive or the next
// start.
void ChangeFilesTogether(const std::vector<FileChange>& changes,
                         const ChangeProgress& progress = {});

// Finishes every interrupted change whose commit record lies in the folder:
// undone where it had not made its last rename, completed where it had. A
// record whose change is still running (in this or another copy of the
// program) is left alone. A folder that is missing, or a drive without its
// medium, has none. Fails when a change cannot be finished, and on a record
// that is not one this program wrote (naming it); the record then stays.
void FinishInterruptedChanges(const QString& folder);

// Finishes the changes this run could not finish when they failed, on the
// drive of the path. Every read and deletion of a file does it first, so that
// no statement is read half changed; without such a change it costs nothing.
void FinishPendingChanges(const QString& path);

// The writer's temporary files and set-aside old contents carry this mark at
// the start of their names, so that leftovers of a killed program are
// recognised and never taken for data; so do commit records, with a mark of
// their own.
inline const QString kTemporaryMark = QStringLiteral(".~saving.");
inline const QString kCommitRecordMark = QStringLiteral(".~change.");
bool IsTemporaryFileName(const QString& fileName);
bool IsCommitRecordName(const QString& fileName);
// Removes the writer's leftover temporary files from one folder (not below
// it). A folder that is missing or cannot be read is left alone. Commit records
// stay: only FinishInterruptedChanges may end them. Called only when no
// change can be running and every record of the drive has been finished,
// since a record needs its temporary and set-aside files.
void RemoveTemporaryFiles(const QString& folder);

// Every copy of the program holds the hard disk's data folder for its whole
// run, shared with the other copies. A copy that starts while no other runs
// first has it to itself and calls `alone`: only then may the leftovers of a
// killed run be cleared, as no other copy's save can be running.
void HoldDataRoot(const std::function<void()>& alone);

bool FolderExists(const QString& path);
bool FileExists(const QString& path);
// Whether a file may be there: false only where no file surely is (nothing
// of that name, or a folder); a file that cannot be looked at may be.
bool FileMayExist(const QString& path);
// One level only: fails when the parent folder is missing, or when the folder
// exists already.
void CreateFolder(const QString& path);
// Creates an empty file and closes it; without overwrite an existing file is a
// failure and stays as it was.
void CreateTextFile(const QString& path, bool overwrite);
// Fails as creating a new file there would: when a file of that name exists,
// or its folder is missing. Nothing is created, so a write that follows and
// fails leaves no empty file behind.
void EnsureNewFile(const QString& path);
// Copies a file whole, replacing the target (atomically, as a write).
void CopyFile(const QString& source, const QString& target);
void DeleteFile(const QString& path);

// The operations above as one seam; each does what its function says. The
// functions are what the system calls; they go to the file system installed
// now, so that a test can make the disk fail where it chooses.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual QByteArray ReadFileBytes(const QString& path) = 0;
  // Writes the bytes whole to a new temporary file beside the target and
  // flushes it; returns the temporary file's path, for the two calls below.
  virtual QString WriteTemporary(const QString& path, const QByteArray& bytes) = 0;
  // Renames a temporary file over its target. A failed rename leaves the
  // temporary file where it was.
  virtual void ReplaceWithTemporary(const QString& temporary, const QString& path) = 0;
  // Removes a temporary file (or a set-aside one, by its path on this
  // machine) that will not be used; never fails.
  virtual void DiscardTemporary(const QString& temporary) noexcept = 0;
  // Keeps the file's present content under a second name in its folder, so
  // that a change can be undone. The file keeps its content where the medium
  // can give one file two names, and is gone otherwise.
  virtual void SetAside(const QString& path, const QString& aside) = 0;
  // Renames a set-aside content back over its file.
  virtual void PutBack(const QString& aside, const QString& path) = 0;
  // Flushes a folder's names (files made, renamed and deleted) to the medium.
  virtual void SyncFolder(const QString& folder) = 0;
  // Creates a commit record whole, flushes it with its folder, and holds it
  // for this run, so that no other copy of the program takes the change for an
  // interrupted one.
  virtual void WriteRecord(const QString& path, const QByteArray& bytes) = 0;
  // The content of a record that no running change holds (then held by this
  // run); none while a change of another copy holds it.
  virtual std::optional<QByteArray> TakeRecord(const QString& path) = 0;
  // Deletes a record, flushes its folder and lets the record go.
  virtual void RemoveRecord(const QString& path) = 0;
  virtual bool FolderExists(const QString& path) = 0;
  virtual bool FileExists(const QString& path) = 0;
  virtual void CreateFolder(const QString& path) = 0;
  virtual void CreateTextFile(const QString& path, bool overwrite) = 0;
  virtual void EnsureNewFile(const QString& path) = 0;
  virtual void CopyFile(const QString& source, const QString& target) = 0;
  virtual void DeleteFile(const QString& path) = 0;
};

FileSystem& CurrentFileSystem();
// Installs the file system for the run (not owned); nullptr restores the disk.
void InstallFileSystem(FileSystem* fileSystem);

}  // namespace mirudanto::platform
