#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "backup_fixture.h"
#include "core/statement_files.h"
#include "support/power_loss_steps.h"
#include "support/temp_drives.h"

namespace mirudanto::backup {
namespace {

using testing::Content;
using testing::DriveFiles;
using testing::LosePowerAtEveryStep;
using testing::PutCompany;
using testing::TempDrives;

// Every operation of the data screen, cut short after each of its steps by a
// power loss, on a medium with hard links and on one without (FAT). The
// drives also hold files of other companies, which must come through
// untouched.
class BackupPowerLoss : public ::testing::TestWithParam<bool> {
 protected:
  // The whole operation, whatever it prepares and reads, then its one change
  // of the file layer: a failure leaves every file as before.
  // With `nextHolds`, the drive's next hold is also made on the medium as
  // each kill left it, and cut after each of its steps.
  int Cut(const TempDrives& drives, const std::function<void()>& operation,
          bool nextHolds = false) {
    return LosePowerAtEveryStep(drives, {.hardLinks = GetParam(),
                                         .operation =
                                             [&] {
                                               operation();
                                               return true;
                                             },
                                         .undone = testing::OnlyBefore,
                                         .nextHolds = nextHolds});
  }

  // A deletion of one file after another, each a change of its own, in this
  // order: once the progress tells a file deleted, it stays deleted, and only
  // the file in hand may be deleted besides.
  int CutDeletion(const TempDrives& drives, const QStringList& order,
                  const std::function<void(const Progress&)>& operation) {
    std::vector<DriveFiles> states{testing::FilesOnDrives(drives)};
    for (const QString& path : order) {
      states.push_back(states.back());
      states.back().erase(path);
    }
    int told = 0;
    return LosePowerAtEveryStep(
        drives, {.hardLinks = GetParam(),
                 .prepare = [&] { told = 0; },
                 .operation =
                     [&] {
                       operation([&](int done, int) { told = done; });
                       return true;
                     },
                 .undone = [&](const DriveFiles&, const DriveFiles&) {
                   const auto at = states.begin() + told;
                   return std::vector<DriveFiles>(at, at == states.end() - 1 ? at + 1 : at + 2);
                 }});
  }
};

void PutFiles(const TempDrives& drives, const QStringList& paths, const QString& version) {
  for (const QString& path : paths) drives.Put(path, Content(path, version));
}

// A few files of a company the operation is not about: they must come through
// untouched.
void PutBystander(const TempDrives& drives, CompanyCode code, const QString& root = kDataRoot) {
  drives.Put(CompanyMasterFile(code, root),
             CompanyRecordWriter(testing::SampleRecord(code, QStringLiteral("他社"))).Encode());
  const QStringList statements = StatementFiles(code, root);
  PutFiles(drives, {statements.front(), statements.back()}, QStringLiteral("他"));
}

TEST_P(BackupPowerLoss, ARestoreLeavesTheHardDiskWhollyAsBeforeOrAsTheMedium) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("旧"));
  PutBystander(drives, 8);
  PutFiles(drives, ScheduleFiles(7).mid(0, 2), QStringLiteral("旧"));
  // The master file too differs, so the change spans two folders.
  PutCompany(drives, 7, QStringLiteral("媒体の見本"), QStringLiteral("媒体"), kFloppyDataRoot);
  PutBystander(drives, 9, kFloppyDataRoot);
  // Page 2 of ② travels only on the medium: new on the hard disk.
  PutFiles(drives, SecondNotesPageFiles(7, kFloppyDataRoot), QStringLiteral("媒体"));

  const int steps = Cut(drives, [] { PrepareRestoreFromFloppy(7).Write(); });
  EXPECT_GT(steps, 2 * 39);
}

TEST_P(BackupPowerLoss, ACopyToAnotherCodeLeavesTheTargetWhollyAbsentOldOrNew) {
  struct Case {
    const char* name;
    bool targetThere;
  };
  for (const Case& c : {Case{"target absent", false}, Case{"target there with older files", true}}) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("元"));
    PutFiles(drives, {ScheduleFiles(7).front(), ScheduleFiles(7).back()}, QStringLiteral("元"));
    PutBystander(drives, 9);
    if (c.targetThere) {
      PutCompany(drives, 8, QStringLiteral("古い見本"), QStringLiteral("古"));
      // A schedule the source lacks stays; a page 2 of ② that the source
      // lacks goes, within the same change.
      PutFiles(drives, ScheduleFiles(8).mid(1, 2), QStringLiteral("古"));
      PutFiles(drives, SecondNotesPageFiles(8), QStringLiteral("古"));
    } else {
      PutFiles(drives, SecondNotesPageFiles(7), QStringLiteral("元"));
    }

    Cut(drives, [] {
      CodeCopy copy;
      PrepareCopyToCode(7, 8, copy);
      copy.copies.Write();
    });
  }
}

TEST_P(BackupPowerLoss, ABackupLeavesTheMediumWhollyEmptyOldOrNew) {
  struct Case {
    const char* name;
    bool olderCopy;
  };
  for (const Case& c : {Case{"to a medium without the data folder", false},
                        Case{"over an older copy", true}}) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("新"));
    PutBystander(drives, 8);
    if (c.olderCopy) {
      PutCompany(drives, 7, QStringLiteral("古い見本"), QStringLiteral("古"), kFloppyDataRoot);
      PutBystander(drives, 9, kFloppyDataRoot);
      // A stale page 2 of ② goes with the change.
      PutFiles(drives, SecondNotesPageFiles(7, kFloppyDataRoot), QStringLiteral("古"));
    } else {
      ASSERT_FALSE(drives.Exists(kFloppyDataRoot));
      PutFiles(drives, SecondNotesPageFiles(7), QStringLiteral("新"));
    }

    Cut(drives, [] { PrepareBackupToFloppy(7).Write(); }, c.olderCopy);
  }
}

// A flush that fails, once, anywhere in a backup over an older copy; then a
// cut at every step after it.
TEST(BackupFailedFlush, LeavesTheMediumWhollyOldOrNewAndSoDoesACutAfterIt) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("新"));
  PutCompany(drives, 7, QStringLiteral("古い見本"), QStringLiteral("古"), kFloppyDataRoot);
  PutFiles(drives, SecondNotesPageFiles(7, kFloppyDataRoot), QStringLiteral("古"));
  const int flushes = testing::FailEachFlush(drives, {.operation =
                                                          [] {
                                                            PrepareBackupToFloppy(7).Write();
                                                            return true;
                                                          },
                                                      .undone = testing::BeforeOrAfter,
                                                      .nextHolds = true});
  EXPECT_GT(flushes, 37);
}

// Each file's deletion is a change of its own: after any cut, the files
// deleted are the first ones in the order, those told done and at most the one
// in hand, and every other file is whole and unchanged.
TEST_P(BackupPowerLoss, ADeletionFromTheMediumLeavesAPrefixOfItsOrderDeleted) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("媒体"), kFloppyDataRoot);
  PutFiles(drives, SecondNotesPageFiles(7, kFloppyDataRoot), QStringLiteral("媒体"));
  PutBystander(drives, 9, kFloppyDataRoot);
  PutBystander(drives, 7);

  const QStringList order = FloppyDeletion(7);
  ASSERT_EQ(order.size(), 36 + 2);
  const int steps = CutDeletion(drives, order, [](const Progress& progress) {
    DeleteFiles(FloppyDeletion(7), progress);
  });
  EXPECT_EQ(steps, 2 * order.size());
}

TEST_P(BackupPowerLoss, ADeletionFromTheHardDiskLeavesAPrefixOfItsOrderDeleted) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("元"));
  PutFiles(drives, SecondNotesPageFiles(7), QStringLiteral("元"));
  // Two numbered schedules go; the last, not numbered, stays.
  PutFiles(drives, {ScheduleFiles(7)[0], ScheduleFiles(7)[4], ScheduleFiles(7).back()},
           QStringLiteral("元"));
  PutBystander(drives, 8);
  PutBystander(drives, 7, kFloppyDataRoot);

  // The progress counts the files not there too: nothing to delete.
  const QStringList order = DiskDeletion(7);
  ASSERT_EQ(order.back(), CompanyMasterFile(7));
  const int steps = CutDeletion(drives, order, [](const Progress& progress) {
    DeleteFiles(DiskDeletion(7), progress);
  });
  EXPECT_EQ(steps, 2 * (1 + 36 + 2 + 2));
}

INSTANTIATE_TEST_SUITE_P(HardLinks, BackupPowerLoss, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

}  // namespace
}  // namespace mirudanto::backup
