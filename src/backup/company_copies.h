#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/company_code.h"
#include "core/company_record.h"
#include "platform/files.h"

namespace mirudanto::backup {

// Told after each file written or deleted: how many are done of how many.
using Progress = std::function<void(int done, int total)>;

// The copies of one operation, prepared whole before the first is made: every
// check made, every source read into memory. Writing then creates the missing
// folders and makes every copy and deletion as one change of the file layer,
// so whatever stops the writing (a failure, a medium pulled out, the program
// killed, the power lost) leaves the targets all as they were or all new,
// once the drive is next used. Contents go byte for byte: cp932 stays cp932.
class PreparedCopies {
 public:
  // Files written or deleted by Write().
  int FileCount() const { return static_cast<int>(steps_.size()); }
  const QStringList& FoldersToCreate() const { return folders_; }
  // The targets in the order Write() takes them.
  QStringList Targets() const;

  // One change of the file layer: the missing folders are made (and stay,
  // whatever follows), then every copy and deletion, told to the progress
  // after each file is prepared. Fails with the first failure, no file
  // changed.
  void Write(const Progress& progress = {}) const;

  // Building a preparation.
  // Reads the source whole now; fails as the read fails.
  void Copy(const QString& source, const QString& target);
  // Reads the source when it exists; false when it does not.
  bool CopyWhereItExists(const QString& source, const QString& target);
  void WriteBytes(const QString& target, QByteArray bytes);
  // Deletes the target when it exists (now, and still when the writing
  // comes to it).
  void DeleteWhereItExists(const QString& target);
  void CreateFolder(const QString& folder);

  // Fails with "disk full" unless the targets fit the free space of their
  // drive (one drive for all of them) at the fullest moment of the writing:
  // every new file beside the old one it replaces, every new folder and the
  // change's record one block each.
  void CheckRoom(const QString& drive) const;

 private:
  QStringList folders_;
  std::vector<platform::FileChange> steps_;
};

// CopyCompanyToFloppy: the company's backup set (the master file first, then
// the statement file set in its copy order) and page 2 of ② (or, when the
// company has none, the deletion of a stale one on the medium), from the hard
// disk to their twins on the removable drive. Checks, in this
// order, that the medium is there, that every source can be read, and that the
// files fit; plans whichever of "法人税", "法人名", "別表" and "ミルダ" is missing.
PreparedCopies PrepareBackupToFloppy(CompanyCode code);

// RestoreCompanyFromFloppy: the same files back onto the hard disk, in the same
// order, page 2 of ② where the medium has it. Checks that the medium is there,
// that every source on it can be read, and that the hard disk has the folders
// they go to (the restore creates none).
PreparedCopies PrepareRestoreFromFloppy(CompanyCode code);

// CopyCompanyToCode, what it reads of its source as it goes.
struct CodeCopy {
  CompanyRecord source;      // the source's master record, all 19 values
  bool nameRead = false;     // the source's name was read (also when a later value failed)
  bool targetExists = false;  // the target code has a master file already
  PreparedCopies copies;
};

// CopyCompanyToCode: on the hard disk, the 36 statement files in their copy
// order, page 2 of ② (or, when the source has none, the deletion of a stale
// one of the target), the schedule files the source has, and last the target's
// master file: the target code, then values 2 to 19 of the source's master file
// byte for byte. The source's files are named with `source`. A target equal to
// the source fails with "file exists" before anything is read.
void PrepareCopyToCode(CompanyCode source, CompanyCode target, CodeCopy& copy);

// DeleteCompanyFromFloppy: those files of the statement file set that are on
// the medium, in the set's deletion order, then page 2 of ② where it is; its
// master file stays. Empty when none of the set is there (a medium without its
// folder included): page 2 of ② alone is no backup of the company, and stays.
// Fails with "disk not ready" when there is no medium.
QStringList FloppyDeletion(CompanyCode code);

// DeleteCompanyFromDisk: the statement file set in its deletion order, page 2
// of ②, the nine numbered schedule files, and last the master file, so that a
// deletion that stops leaves the company listed and can be repeated.
QStringList DiskDeletion(CompanyCode code);

// Deletes the files in order; a file that does not exist counts as deleted.
// Fails at the first file that exists and cannot be deleted.
void DeleteFiles(const QStringList& paths, const Progress& progress = {});

}  // namespace mirudanto::backup
