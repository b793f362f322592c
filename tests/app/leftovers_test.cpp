#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <chrono>
#include <thread>

#include "app/leftovers.h"
#include "core/statement_files.h"
#include "platform/files.h"
#include "core/failure.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using testing::TempDrives;

QStringList Entries(const TempDrives& drives, const QString& folder) {
  return QDir(drives.Native(folder))
      .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(SaveLeftovers, TheStartRemovesTemporariesFromTheDataFoldersOfBothDrivesOnly) {
  TempDrives drives;
  const QString statement = StatementTextFile(StatementMark::Deposits, 7);
  const QString master = CompanyMasterFile(7);
  drives.Put(statement, "kept");
  drives.Put(master, "kept");
  drives.Put(StatementFolder() + "\\.~saving.①7.txt.Ab12Cd", "half");
  drives.Put(CompanyFolder() + "\\.~saving.7.txt.Zz99Yy", "half");
  drives.Put(kDataRoot + "\\.~saving.x.Qq11Ww", "half");
  drives.Put(ScheduleFolder(kFloppyDataRoot) + "\\.~saving.10107.txt.Ab12Cd", "half");
  drives.Put("c:\\elsewhere\\.~saving.y.Ab12Cd", "not a data folder");

  RecoverFromKilledRun();

  EXPECT_EQ(Entries(drives, StatementFolder()), QStringList{"①7.txt"});
  EXPECT_EQ(Entries(drives, CompanyFolder()), QStringList{"7.txt"});
  EXPECT_EQ(Entries(drives, kDataRoot), QStringList());
  EXPECT_EQ(Entries(drives, ScheduleFolder(kFloppyDataRoot)), QStringList());
  EXPECT_EQ(Entries(drives, "c:\\elsewhere"), QStringList{".~saving.y.Ab12Cd"});
  EXPECT_EQ(drives.Get(statement), QByteArray("kept"));
}

TEST(SaveLeftovers, NoMediumInTheRemovableDriveIsPassedBy) {
  TempDrives drives(false);
  drives.Put(StatementFolder() + "\\.~saving.①7.txt.Ab12Cd", "half");
  RecoverFromKilledRun();
  EXPECT_EQ(Entries(drives, StatementFolder()), QStringList());
}

// A save of ①7 and A①7 killed between its renames: ①7 is new and its old
// content set aside, A①7 still waits in its temporary file.
void PutKilledSave(const TempDrives& drives, const QString& root) {
  const QString folder = StatementFolder(root);
  drives.Put(folder + "\\①7.txt", "new text");
  drives.Put(folder + "\\.~saving.①7.txt.Zz99Yy", "old text");
  drives.Put(folder + "\\A①7.txt", "old amounts");
  drives.Put(folder + "\\.~saving.A①7.txt.Qq11Ww", "new amounts");
  drives.Put(folder + "\\.~change.Ab12Cd",
             "change 1\nW\t①7.txt\t.~saving.①7.txt.Ab12Cd\t.~saving.①7.txt.Zz99Yy\n"
             "W\tA①7.txt\t.~saving.A①7.txt.Qq11Ww\t.~saving.A①7.txt.Pp00Oo\nend\n");
}

TEST(SaveLeftovers, TheStartFinishesEveryInterruptedChangeBeforeItRemovesLeftovers) {
  TempDrives drives;
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) PutKilledSave(drives, root);
  RecoverFromKilledRun();
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    EXPECT_EQ(Entries(drives, StatementFolder(root)), (QStringList{"A①7.txt", "①7.txt"}));
    EXPECT_EQ(drives.Get(StatementFolder(root) + "\\①7.txt"), QByteArray("old text"));
    EXPECT_EQ(drives.Get(StatementFolder(root) + "\\A①7.txt"), QByteArray("old amounts"));
  }
}

TEST(SaveLeftovers, ADriveWhoseChangeCannotBeFinishedKeepsTheOldContentsItsRecordNeeds) {
  TempDrives drives;
  PutKilledSave(drives, kFloppyDataRoot);
  drives.Put(StatementFolder() + "\\.~saving.①7.txt.Ab12Cd", "half");
  const QStringList killed = Entries(drives, StatementFolder(kFloppyDataRoot));
  {
    testing::FaultyFileSystem files;
    files.Fail(testing::FileOperation::PutBack, 1, FailureKind::DiskNotReady);
    RecoverFromKilledRun();
  }
  EXPECT_EQ(Entries(drives, StatementFolder(kFloppyDataRoot)), killed);
  EXPECT_EQ(Entries(drives, StatementFolder()), QStringList());  // the other drive is cleared

  RecoverFromKilledRun();
  EXPECT_EQ(Entries(drives, StatementFolder(kFloppyDataRoot)),
            (QStringList{"A①7.txt", "①7.txt"}));
  EXPECT_EQ(drives.Get(StatementFolder(kFloppyDataRoot) + "\\①7.txt"), QByteArray("old text"));
}

// The generation a file of the loop holds, or -1 when it is not whole.
int GenerationOf(const QByteArray& bytes) {
  const QList<QByteArray> lines = bytes.split('\n');
  if (lines.size() != 2001 || !lines.back().isEmpty()) return -1;
  for (const QByteArray& line : lines.mid(1, 1999)) {
    if (line != lines.front()) return -1;
  }
  bool ok = false;
  const int generation = lines.front().toInt(&ok);
  return ok ? generation : -1;
}

QByteArray Generation(int n) { return QByteArray::number(n).append('\n').repeated(2000); }

// A program killed in the middle of its saves leaves every file whole, and
// after the next start the files of one save together and nothing else.
TEST(SaveLeftovers, SavesKilledAtRandomMomentsLeaveWholeFilesAndNothingAfterTheNextStart) {
  TempDrives drives;
  const QString text = StatementTextFile(StatementMark::Deposits, 7);
  const QString amounts = StatementAmountFile(StatementMark::Deposits, 7);
  for (int round = 0; round < 40; ++round) {
    // Each round starts from a pair of one save.
    const int start = 1000 * round;
    drives.Put(text, Generation(start));
    drives.Put(amounts, Generation(start));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = start + 1;; ++n) {
        platform::WriteFilesTogether({{text, Generation(n)}, {amounts, Generation(n)}});
      }
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(200 + QRandomGenerator::global()->bounded(3000)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    ASSERT_GE(GenerationOf(drives.Get(text)), 0) << "torn text file in round " << round;
    ASSERT_GE(GenerationOf(drives.Get(amounts)), 0) << "torn amount file in round " << round;
    RecoverFromKilledRun();
    const int generation = GenerationOf(drives.Get(text));
    ASSERT_GE(generation, start);
    ASSERT_EQ(GenerationOf(drives.Get(amounts)), generation) << "in round " << round;
    EXPECT_EQ(Entries(drives, StatementFolder()), (QStringList{"A①7.txt", "①7.txt"}));
  }
}

}  // namespace
}  // namespace mirudanto::app
