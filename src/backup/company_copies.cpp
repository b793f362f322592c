#include "backup/company_copies.h"

#include <algorithm>
#include <cstdint>

#include "backup/company_files.h"
#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/drive_space.h"
#include "platform/file_transaction.h"
#include "platform/files.h"

namespace mirudanto::backup {

QStringList PreparedCopies::Targets() const {
  QStringList targets;
  for (const platform::FileChange& step : steps_) targets.append(step.path);
  return targets;
}

void PreparedCopies::Write(const Progress& progress) const {
  if (folders_.isEmpty() && steps_.empty()) return;
  platform::FileTransaction change(folders_.isEmpty() ? steps_.front().path : folders_.front());
  for (const QString& folder : folders_) change.CreateFolder(folder);
  for (const platform::FileChange& step : steps_) change.Change(step);
  change.Commit(progress);
}

void PreparedCopies::Copy(const QString& source, const QString& target) {
  steps_.push_back({target, platform::ReadFileBytes(source)});
}

bool PreparedCopies::CopyWhereItExists(const QString& source, const QString& target) {
  if (!platform::FileExists(source)) return false;
  Copy(source, target);
  return true;
}

void PreparedCopies::WriteBytes(const QString& target, QByteArray bytes) {
  steps_.push_back({target, std::move(bytes)});
}

void PreparedCopies::DeleteWhereItExists(const QString& target) {
  // A file that is not there is no step, so the progress counts only real work.
  if (platform::FileExists(target)) steps_.push_back({target, std::nullopt});
}

void PreparedCopies::CreateFolder(const QString& folder) { folders_.append(folder); }

void PreparedCopies::CheckRoom(const QString& drive) const {
  const platform::DriveSpace space = platform::SpaceOnDrive(drive);
  const std::int64_t block = std::max<std::int64_t>(space.blockBytes, 1);
  const auto inBlocks = [block](std::int64_t bytes) { return (bytes + block - 1) / block * block; };
  // The old files stay whole until every new one is written beside them, and
  // the change's record takes a block of its own. A folder of a FAT medium
  // grows with the hidden names of each step's temporary and set-aside file,
  // of the record and its draft, and of the drive's lock: 32 bytes for every
  // 13 characters of a long name, and 32 for its short one.
  const auto nameBytes = [](qsizetype characters) {
    return static_cast<std::int64_t>(32 * ((characters + 12) / 13 + 1));
  };
  // The mark, the file's name, and "." with six letters.
  const auto hidden = [](qsizetype name) {
    return platform::kTemporaryMark.size() + name + platform::kHiddenSuffixLength;
  };
  std::int64_t names = nameBytes(platform::kDraftName.size()) +
                       nameBytes(platform::kRecordName.size()) +
                       nameBytes(platform::kLockName.size());
  for (const platform::FileChange& step : steps_) {
    names += 2 * nameBytes(hidden(step.path.size() - step.path.lastIndexOf(QChar('\\')) - 1));
  }
  std::int64_t needed = static_cast<std::int64_t>(folders_.size() + 1) * block + inBlocks(names);
  for (const platform::FileChange& step : steps_) {
    if (step.bytes) needed += inBlocks(step.bytes->size());
  }
  if (needed > space.freeBytes) throw Failure(FailureKind::DiskFull);
}

namespace {

// Page 2 of ② goes where its company goes; where the source has none, a page 2
// at the target is another copy's or another company's, and would come back
// with the next restore or print, so it is deleted.
void CarrySecondNotesPage(PreparedCopies& copies, const QStringList& from,
                          const QStringList& to) {
  for (qsizetype k = 0; k < from.size(); ++k) {
    if (!copies.CopyWhereItExists(from[k], to[k])) copies.DeleteWhereItExists(to[k]);
  }
}

}  // namespace

PreparedCopies PrepareBackupToFloppy(CompanyCode code) {
  // The first access to the medium: without one, nothing else is looked at.
  // Both drives are held while the copies are read, so that no statement is
  // taken in the middle of another copy's save.
  const platform::DriveLock medium(kFloppyDataRoot, platform::DriveLock::Mode::Shared);
  const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
  PreparedCopies copies;
  const bool hasRoot = platform::FolderExists(kFloppyDataRoot);
  if (!hasRoot) copies.CreateFolder(kFloppyDataRoot);
  for (const QString& folder : {CompanyFolder(kFloppyDataRoot), ScheduleFolder(kFloppyDataRoot),
                                StatementFolder(kFloppyDataRoot)}) {
    if (!hasRoot || !platform::FolderExists(folder)) copies.CreateFolder(folder);
  }

  const QStringList sources = BackupSet(code);
  const QStringList targets = BackupSet(code, kFloppyDataRoot);
  for (qsizetype k = 0; k < sources.size(); ++k) copies.Copy(sources[k], targets[k]);
  CarrySecondNotesPage(copies, SecondNotesPageFiles(code),
                       SecondNotesPageFiles(code, kFloppyDataRoot));

  copies.CheckRoom(kFloppyDataRoot);
  return copies;
}

PreparedCopies PrepareRestoreFromFloppy(CompanyCode code) {
  const platform::DriveLock medium(kFloppyDataRoot, platform::DriveLock::Mode::Shared);
  const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
  PreparedCopies copies;
  // The first read is the first access to the medium.
  const QStringList sources = BackupSet(code, kFloppyDataRoot);
  const QStringList targets = BackupSet(code);
  for (qsizetype k = 0; k < sources.size(); ++k) copies.Copy(sources[k], targets[k]);
  // A medium may come from before page 2 of ② travelled with its company:
  // the disk's page 2 stays unless the medium has one.
  const QStringList page2 = SecondNotesPageFiles(code, kFloppyDataRoot);
  const QStringList page2Targets = SecondNotesPageFiles(code);
  for (qsizetype k = 0; k < page2.size(); ++k) copies.CopyWhereItExists(page2[k], page2Targets[k]);

  for (const QString& folder : {CompanyFolder(), StatementFolder()}) {
    if (!platform::FolderExists(folder)) throw Failure(FailureKind::PathNotFound);
  }
  return copies;
}

void PrepareCopyToCode(CompanyCode source, CompanyCode target, CodeCopy& copy) {
  if (source == target) throw Failure(FailureKind::FileExists);
  const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
  const QByteArray master = platform::ReadFileBytes(CompanyMasterFile(source));
  ReadCompanyValues(master, copy.source, kCompanyRecordValues, copy.nameRead);
  QByteArray targetMaster = MasterFileUnderCode(master, target);

  PreparedCopies& copies = copy.copies;
  const QStringList from = StatementFiles(source);
  const QStringList to = StatementFiles(target);
  for (qsizetype k = 0; k < from.size(); ++k) copies.Copy(from[k], to[k]);
  CarrySecondNotesPage(copies, SecondNotesPageFiles(source), SecondNotesPageFiles(target));
  const QStringList schedules = ScheduleFiles(source);
  const QStringList scheduleTargets = ScheduleFiles(target);
  for (qsizetype k = 0; k < schedules.size(); ++k) {
    copies.CopyWhereItExists(schedules[k], scheduleTargets[k]);
  }
  // Last, so that a copy that stops leaves no new company in the list.
  copies.WriteBytes(CompanyMasterFile(target), std::move(targetMaster));
  copy.targetExists = platform::FileExists(CompanyMasterFile(target));
}

QStringList FloppyDeletion(CompanyCode code) {
  // The first access to the medium: without one, this fails.
  const platform::DriveLock medium(kFloppyDataRoot, platform::DriveLock::Mode::Shared);
  platform::FolderExists(kFloppyDataRoot);
  QStringList paths;
  for (const QString& path : StatementFilesInDeletionOrder(code, kFloppyDataRoot)) {
    if (platform::FileExists(path)) paths.append(path);
  }
  if (paths.isEmpty()) return paths;
  for (const QString& path : SecondNotesPageFiles(code, kFloppyDataRoot)) {
    if (platform::FileExists(path)) paths.append(path);
  }
  return paths;
}

QStringList DiskDeletion(CompanyCode code) {
  return StatementFilesInDeletionOrder(code) + SecondNotesPageFiles(code) +
         NumberedScheduleFiles(code) + QStringList{CompanyMasterFile(code)};
}

void DeleteFiles(const QStringList& paths, const Progress& progress) {
  const int total = static_cast<int>(paths.size());
  int done = 0;
  for (const QString& path : paths) {
    if (platform::FileExists(path)) platform::DeleteFile(path);
    if (progress) progress(++done, total);
  }
}

}  // namespace mirudanto::backup
