#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/files.h"

namespace mirudanto::platform {

// Each drive keeps its data under one folder, its data root ("c:\法人税",
// "a:\法人税"); the lock and the change's record lie there at fixed names.
QString DataRootOf(const QString& path);
inline const QString kLockName = kCommitRecordMark + QStringLiteral("lock");
// The record of the running change: what it replaces, creates and deletes,
// and where each old content is set aside. While it exists the change may be
// undone; its removal is the commit.
inline const QString kRecordName = kCommitRecordMark + QStringLiteral("record");
// The hidden files that a finished change no longer needs, or that an
// unfinished one had begun to write, to be removed.
inline const QString kTidyName = kCommitRecordMark + QStringLiteral("tidy");

// This copy's hold on a drive's data root while it lives: shared to read, so
// that no other copy's change is seen half made, or exclusive to change
// files. Another copy's hold is waited for a few seconds; then the hold fails
// with "書き込みできません。" (the file is in use), nothing done.
//
// Whoever takes the drive first after an interrupted change rolls it back and
// removes its leftovers: whatever a kill, a failure or a power loss left, the
// files are then as they were before it. A record that is not one this
// program wrote whole is left for the user to see: an exclusive hold fails
// on it, naming it, and a shared one reads beside it.
//
// Holds nest within this copy. Where the data root is missing there is
// nothing to hold; on a removable drive without its medium the hold fails
// with "disk not ready".
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
//   goes, is written, flushed, and its folder flushed;
// - every new content is written to a temporary file beside its target and
//   flushed; every old content is set aside (a second name, or on a medium
//   without hard links the file's only one) and the folders flushed;
// - the deletions and renames are made in the order given, the folders
//   flushed; and last the record is removed and the root flushed: done.
//
// Anything that stops it before that rolls it back, at once or at the
// drive's next hold. One file alone needs no record: its temporary is
// renamed over it and the folder flushed.
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
  // failure met, the files then as before; except that one file alone,
  // once renamed over its old content, has nothing to go back to: a failed
  // flush after that is reported with the file whole and new.
  void Commit(const ChangeProgress& progress = {});

 private:
  void Hold();

  QString root_;
  std::optional<DriveLock> lock_;
  std::vector<FileChange> changes_;
};

}  // namespace mirudanto::platform
