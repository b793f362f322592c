#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/files.h"

namespace mirudanto::platform {

// Each drive keeps its data under one folder, its data root ("c:\法人税",
// "a:\法人税"); the lock and the notes of a change lie there at fixed names,
// each with one job, so that what a change left is found by a look at each.
QString DataRootOf(const QString& path);
inline const QString kLockName = kCommitRecordMark + QStringLiteral("lock");
// The record of a change while it is written: it names nothing made yet.
inline const QString kDraftName = kCommitRecordMark + QStringLiteral("draft");
// The record of the running change: what it replaces, creates and deletes,
// and where each old content is set aside. While it exists the change may be
// undone; its rename to the done note is the commit.
inline const QString kRecordName = kCommitRecordMark + QStringLiteral("record");
// The record of a committed change, naming the set-aside old contents that
// are still to be removed.
inline const QString kDoneName = kCommitRecordMark + QStringLiteral("done");
// Names the temporary of a file written alone while a cut may leave it.
inline const QString kAloneName = kCommitRecordMark + QStringLiteral("alone");

// This copy's hold on a drive's data root while it lives: shared to read, so
// that no other copy's change is seen half made, or exclusive to change
// files. Another copy's hold is waited for a few seconds; then the hold fails
// with "書き込みできません。" (the file is in use), nothing done.
//
// Only a record stops a read: whoever finds one first rolls its change back,
// so that whatever a kill, a failure or a power loss left, the files are as
// they were before it. A record that cannot be rolled back where it lies (a
// medium that cannot be written) fails the hold, naming it, and changes
// nothing; one that is not this program's is left for the user to see: an
// exclusive hold fails on it, naming it, and a shared one reads beside it.
// What a finished change left to remove never stops a read; the next
// exclusive hold removes it.
//
// Holds nest within this copy, but a change inside a read is a fault of the
// program. Where the data root is missing there is nothing to hold; on a
// removable drive without its medium the hold fails with "disk not ready".
// A medium where no lock file is and none can be made is read without one.
class DriveLock {
 public:
  enum class Mode { Shared, Exclusive };
  DriveLock(const QString& path, Mode mode);
  ~DriveLock();
  DriveLock(const DriveLock&) = delete;
  DriveLock& operator=(const DriveLock&) = delete;

  // At start: recovery where no other copy holds the drive, without waiting.
  // Never fails; a drive that cannot be recovered now is recovered by its
  // next hold.
  static void RecoverIfFree(const QString& path);
  // How long a hold waits for another copy's.
  static void SetPatience(std::chrono::milliseconds patience);

  // Taken inside another hold of this copy, so without looking for what an
  // interrupted change left.
  bool Nested() const { return nested_; }

 private:
  QString root_;
  Mode mode_;
  bool held_ = false;
  bool nested_ = false;
};

// One change of files on one drive, made whole or not at all. The files are
// named first; Commit() then makes them under the drive's exclusive hold:
//
// - the record, naming every file that changes and where its old content
//   goes, is written and flushed as a draft, renamed into place, and its
//   folder flushed;
// - every new content is written to a temporary file beside its target and
//   flushed; every old content is set aside (a second name, or on a medium
//   without hard links the file's only one) and the folders flushed;
// - the deletions and renames are made in the order given, the folders
//   flushed; and last the record is renamed to the done note and the root
//   flushed: done. Then the set-asides and the note are removed.
//
// Anything that stops it before the commit rolls it back, at once or at the
// drive's next hold; a commit once made is never undone. One file alone needs
// no record: its note is flushed, then its temporary renamed over it and the
// folder flushed.
class FileTransaction {
 public:
  // Holds the drive where its data root exists already.
  explicit FileTransaction(const QString& path);
  ~FileTransaction();
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;

  // Made now and flushed in its parent, so that nothing is ever relied on
  // inside a folder that a power loss could take back; it stays when the
  // change is rolled back. Fails where it exists.
  void CreateFolder(const QString& path);
  // A new content for the file, or none to delete it where it exists when
  // the change is made.
  void Change(FileChange file);
  // Tells the progress after each file is prepared. Fails with the first
  // failure met, the files then as before; except that a failure after the
  // commit (for one file alone, its rename) is reported with every file
  // whole and new, as the user who looks again will find them.
  void Commit(const ChangeProgress& progress = {});

 private:
  void Hold();

  QString root_;
  std::optional<DriveLock> lock_;
  std::vector<FileChange> changes_;
};

}  // namespace mirudanto::platform
