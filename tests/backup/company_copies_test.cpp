#include <gtest/gtest.h>

#include <QFileInfo>

#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "backup_fixture.h"
#include "core/cp932.h"
#include "core/statement_files.h"
#include "platform/drive_space.h"
#include "support/failure_of.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"

namespace mirudanto::backup {
namespace {

using testing::FailureOf;
using testing::TempDrives;

QByteArray Cp932(const QString& text) { return EncodeCp932(text).value(); }

// The 19 values of a master file as the register writes them.
QByteArray Master(CompanyCode code, const QString& name) {
  return CompanyRecordWriter(testing::SampleRecord(code, name)).Encode();
}

// ---------------------------------------------------------------- names

TEST(CompanyFiles, EveryNameComesFromTheStatementFileSet) {
  const QStringList files = StatementFiles(7);
  ASSERT_EQ(files.size(), 36);
  EXPECT_EQ(files.front(), QStringLiteral("c:\\法人税\\ミルダ\\①7.txt"));
  EXPECT_EQ(files.back(), QStringLiteral("c:\\法人税\\ミルダ\\A⑯損小計7.txt"));
  EXPECT_EQ(QStringList(BackupSet(7).mid(1)), files);

  const QStringList deletion = StatementFilesInDeletionOrder(7, kFloppyDataRoot);
  const qsizetype amounts = deletion.indexOf(QStringLiteral("a:\\法人税\\ミルダ\\A⑭7.txt"));
  EXPECT_EQ(deletion.indexOf(QStringLiteral("a:\\法人税\\ミルダ\\⑭7.txt")), amounts + 1);

  EXPECT_EQ(SecondNotesPageFiles(-3), (QStringList{"c:\\法人税\\ミルダ\\②2nd-3.txt",
                                                   "c:\\法人税\\ミルダ\\A②2nd-3.txt"}));
  EXPECT_EQ(ScheduleFiles(7).size(), 10);
  EXPECT_EQ(ScheduleFiles(7).back(), QStringLiteral("c:\\法人税\\別表\\特設欄7.txt"));
  EXPECT_EQ(NumberedScheduleFiles(7), ScheduleFiles(7).mid(0, 9));
}

// ---------------------------------------------------------------- master files

TEST(CompanyFiles, AMasterFileUnderAnotherCodeKeepsValuesTwoToNineteenByteForByte) {
  QByteArray source = Master(7, "株式会社見本");
  source.replace("\r\n20\r\n", "\r\n 20 \r\n");  // blanks around a number stay
  source += Cp932("\"余分\"\r\n");
  const QByteArray moved = MasterFileUnderCode(source, -12);
  const QList<QByteArray> lines = source.split('\n');
  QByteArray expected = "-12\r\n";
  for (int k = 1; k < 19; ++k) expected += lines[k] + '\n';
  EXPECT_EQ(moved, expected);

  // Lines that end in LF alone keep it; a last value without a line end gets one.
  QByteArray bare = Master(7, "見本");
  bare.replace("\r\n", "\n");
  bare.chop(1);
  QByteArray bareMoved = bare;
  bareMoved.replace(0, 1, "8\r");
  EXPECT_EQ(MasterFileUnderCode(bare, 8), bareMoved + "\r\n");
}

TEST(CompanyFiles, AMasterFileThatCannotBeReadWholeIsNotMoved) {
  QByteArray shortFile = Master(7, "見本");
  shortFile.chop(4);  // "13\r\n": 18 values
  EXPECT_EQ(FailureOf([&] { MasterFileUnderCode(shortFile, 8); })->Kind(),
            FailureKind::TooFewValues);
  QString wrongType = DecodeCp932(Master(7, "見本")).value();
  wrongType.replace(QStringLiteral("10000000"), QStringLiteral("一千万"));
  EXPECT_EQ(FailureOf([&] { MasterFileUnderCode(Cp932(wrongType), 8); })->Kind(),
            FailureKind::TypeMismatch);
}

TEST(CompanyFiles, TheNameCountsAsReadOnceItWasReachedAlsoWhenALaterValueFails) {
  const QByteArray whole = Master(7, "見本");
  const QList<QByteArray> lines = whole.split('\n');
  const auto upTo = [&](int values) {
    QByteArray bytes;
    for (int k = 0; k < values; ++k) bytes += lines[k] + '\n';
    return bytes;
  };
  struct Case {
    QByteArray bytes;
    bool nameRead;
  };
  QByteArray badPeriod = whole;
  badPeriod.replace("\r\n31\r\n", "\r\nx\r\n");
  QByteArray badSettlement = whole;
  badSettlement.replace("\r\n13\r\n", "\r\nx\r\n");
  const Case cases[] = {{upTo(9), false}, {upTo(10), true}, {badPeriod, false},
                        {badSettlement, true}};
  for (const Case& c : cases) {
    CompanyRecord record;
    bool nameRead = false;
    EXPECT_TRUE(FailureOf([&] { ReadCompanyValues(c.bytes, record, 19, nameRead); }));
    EXPECT_EQ(nameRead, c.nameRead);
    if (c.nameRead) {
      EXPECT_EQ(record.name, QStringLiteral("見本"));
    }
  }
}

TEST(CompanyFiles, TheDeletionQuestionNamesTheCompanyOrItsCode) {
  TempDrives drives;
  drives.Put(CompanyMasterFile(7, kFloppyDataRoot), Master(7, "媒体の見本"));
  drives.Put(CompanyMasterFile(8), Master(8, ""));
  EXPECT_EQ(DeletionQuestion(7, kFloppyDataRoot), QStringLiteral("媒体の見本　を削除しますか"));
  EXPECT_EQ(DeletionQuestion(7, kDataRoot), QStringLiteral("7　を削除しますか"));
  EXPECT_EQ(DeletionQuestion(8, kDataRoot), QStringLiteral("　を削除しますか"));
  EXPECT_EQ(DeletionQuestion(-5, kDataRoot), QStringLiteral("-5　を削除しますか"));
}

// ---------------------------------------------------------------- preparing and writing

class FakeSpace : public platform::SpaceProbe {
 public:
  FakeSpace(std::int64_t freeBytes, std::int64_t block) : space_{freeBytes, block} {
    platform::InstallSpaceProbe(this);
  }
  ~FakeSpace() override { platform::InstallSpaceProbe(nullptr); }
  platform::DriveSpace SpaceOnDrive(const QString&) override { return space_; }

 private:
  platform::DriveSpace space_;
};

TEST(PreparedCopies, TheRoomNeededIsEveryNewFileBesideTheOldOnesAndTheRecord) {
  TempDrives drives;
  drives.Put("a:\\3", "x");
  PreparedCopies copies;
  copies.CreateFolder("a:\\f");
  copies.WriteBytes("a:\\1", QByteArray(1, 'x'));       // 1 block, replaces 3
  copies.WriteBytes("a:\\2", QByteArray(4097, 'x'));    // 2 blocks, new
  copies.DeleteWhereItExists("a:\\3");                  // gives its block back only at the end
  copies.WriteBytes("a:\\4", QByteArray(3 * 4096, 'x'));  // 3 blocks
  // In blocks: the folder 1, the record 1, the hidden names of four steps 1,
  // then 1 + 2 + 3 for the new files, while every old file is still there.
  const auto fits = [&](std::int64_t freeBlocks) {
    FakeSpace space(freeBlocks * 4096, 4096);
    return !FailureOf([&] { copies.CheckRoom("a:"); });
  };
  EXPECT_TRUE(fits(9));
  EXPECT_FALSE(fits(8));
  const auto failure = FailureOf([&] {
    FakeSpace space(0, 4096);
    copies.CheckRoom("a:");
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Description(), QStringLiteral("ディスクの空き容量が不足しています。"));
}

TEST(PreparedCopies, WritingMakesTheFoldersThenTakesTheFilesInOrder) {
  TempDrives drives;
  // One change, so all of it in one data root.
  drives.Put("c:\\法人税\\gone.txt", "old");
  PreparedCopies copies;
  copies.CreateFolder("c:\\法人税\\新");
  copies.CreateFolder("c:\\法人税\\新\\下");
  copies.WriteBytes("c:\\法人税\\新\\下\\①.txt", Cp932("\"①\"\r\n"));
  copies.DeleteWhereItExists("c:\\法人税\\gone.txt");
  copies.DeleteWhereItExists("c:\\法人税\\never.txt");
  QStringList progress;
  copies.Write([&](int done, int total) {
    progress.append(QStringLiteral("%1/%2").arg(done).arg(total));
  });
  // A file that is not there is not counted.
  EXPECT_EQ(progress, (QStringList{"1/2", "2/2"}));
  EXPECT_EQ(drives.Get("c:\\法人税\\新\\下\\①.txt"), Cp932("\"①\"\r\n"));
  EXPECT_FALSE(drives.Exists("c:\\法人税\\gone.txt"));

  // A folder is made at once and stays when the files' change fails.
  PreparedCopies failing;
  failing.CreateFolder("c:\\法人税\\別");
  failing.WriteBytes("c:\\法人税\\別\\a.txt", "a");
  failing.WriteBytes("c:\\法人税\\別\\b.txt", "b");
  {
    testing::FaultyFileSystem files;
    files.Fail(testing::FileOperation::Write, 3, FailureKind::DiskFull);  // b's
    EXPECT_TRUE(FailureOf([&] { failing.Write(); }));
  }
  EXPECT_TRUE(QFileInfo(drives.Native("c:\\法人税\\別")).isDir());
  EXPECT_FALSE(drives.Exists("c:\\法人税\\別\\a.txt"));
}

TEST(PreparedCopies, ABackupPlansOnlyTheFoldersTheMediumLacks) {
  TempDrives drives;
  testing::PutCompany(drives, 7, "見本", "v1");
  EXPECT_EQ(PrepareBackupToFloppy(7).FoldersToCreate(),
            (QStringList{"a:\\法人税", "a:\\法人税\\法人名", "a:\\法人税\\別表",
                         "a:\\法人税\\ミルダ"}));
  drives.MakeFolder(CompanyFolder(kFloppyDataRoot));
  const PreparedCopies copies = PrepareBackupToFloppy(7);
  EXPECT_EQ(copies.FoldersToCreate(),
            (QStringList{"a:\\法人税\\別表", "a:\\法人税\\ミルダ"}));
  EXPECT_EQ(copies.Targets(), BackupSet(7, kFloppyDataRoot));
}

// Page 2 of ② where the company has none is stale on the medium: it would come
// back with the next restore. A medium without page 2 may come from before
// page 2 travelled with its company, so a restore leaves the disk's alone.
TEST(PreparedCopies, ABackupTakesAwayAStaleSecondNotesPageAndARestoreKeepsTheDisks) {
  TempDrives drives;
  testing::PutCompany(drives, 7, "見本", "v1");
  const QString onMedium = StatementTextFile(StatementMark::NotesReceivable2nd, 7, kFloppyDataRoot);
  const QString onDisk = StatementTextFile(StatementMark::NotesReceivable2nd, 7);
  drives.Put(onMedium, "stale");
  PrepareBackupToFloppy(7).Write();
  EXPECT_FALSE(drives.Exists(onMedium));

  drives.Put(onDisk, "only copy");
  PrepareRestoreFromFloppy(7).Write();
  EXPECT_EQ(drives.Get(onDisk), QByteArray("only copy"));
  EXPECT_TRUE(drives.Exists(StatementTextFile(StatementMark::Deposits, 7)));
}

TEST(PreparedCopies, DeletingCountsAMissingFileAsDeleted) {
  TempDrives drives;
  drives.Put("c:\\1.txt", "1");
  int calls = 0;
  DeleteFiles({"c:\\0.txt", "c:\\1.txt"}, [&](int done, int total) {
    ++calls;
    EXPECT_EQ(total, 2);
    EXPECT_EQ(done, calls);
  });
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(drives.Exists("c:\\1.txt"));
  // A medium that is not there is no missing file.
  TempDrives noMedium(false);
  EXPECT_EQ(FailureOf([] { FloppyDeletion(7); })->Kind(), FailureKind::DiskNotReady);
}

}  // namespace
}  // namespace mirudanto::backup
