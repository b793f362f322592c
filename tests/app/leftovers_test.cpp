#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <chrono>
#include <thread>

#include "app/leftovers.h"
#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/failure_of.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using testing::FailureOf;
using testing::FaultyFileSystem;
using testing::FileOperation;
using testing::TempDrives;

QStringList Entries(const TempDrives& drives, const QString& folder) {
  return QDir(drives.Native(folder))
      .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString Text(const QString& root) { return StatementTextFile(StatementMark::Deposits, 7, root); }
QString Amounts(const QString& root) {
  return StatementAmountFile(StatementMark::Deposits, 7, root);
}
QString Record(const QString& root) { return root + QChar('\\') + platform::kRecordName; }
QString Tidy(const QString& root) { return root + QChar('\\') + platform::kTidyName; }

// A save of the two deposits files on the drive stopped between its renames,
// and its rollback stopped too, as when the medium is pulled out: the text
// file is new, the amounts file old, and the drive's record tells how to put
// both back.
void LeaveInterruptedSave(const TempDrives& drives, const QString& root) {
  drives.Put(Text(root), "old text");
  drives.Put(Amounts(root), "old amounts");
  FaultyFileSystem files;
  files.Fail(FileOperation::Rename, 3, FailureKind::DiskNotReady);  // the amounts into place
  files.Fail(FileOperation::Rename, 4, FailureKind::DiskNotReady);  // putting them back
  ASSERT_TRUE(FailureOf([&] {
    platform::WriteFilesTogether({{Text(root), "new text"}, {Amounts(root), "new amounts"}});
  }));
  ASSERT_EQ(drives.Get(Text(root)), QByteArray("new text"));
  ASSERT_TRUE(drives.Exists(Record(root)));
}

// A save of both files that was done, but whose old contents could not be
// removed after it: they, and the note naming them, are left.
void LeaveUntidiedSave(const TempDrives& drives, const QString& root) {
  drives.Put(Text(root), "old text");
  drives.Put(Amounts(root), "old amounts");
  FaultyFileSystem files;
  files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);
  platform::WriteFilesTogether({{Text(root), "new text"}, {Amounts(root), "new amounts"}});
  ASSERT_TRUE(drives.Exists(Tidy(root)));
  ASSERT_EQ(Entries(drives, StatementFolder(root)).size(), 4);
}

TEST(SaveLeftovers, TheStartRollsBackAnInterruptedChangeOnBothDrives) {
  TempDrives drives;
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) LeaveInterruptedSave(drives, root);

  RecoverFromKilledRun();

  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    SCOPED_TRACE(root.toStdString());
    EXPECT_EQ(drives.Get(Text(root)), QByteArray("old text"));
    EXPECT_EQ(drives.Get(Amounts(root)), QByteArray("old amounts"));
    EXPECT_EQ(Entries(drives, StatementFolder(root)), (QStringList{"A①7.txt", "①7.txt"}));
    EXPECT_EQ(Entries(drives, root), QStringList{platform::kLockName});
  }
}

TEST(SaveLeftovers, TheStartRemovesWhatAFinishedChangeLeftOnBothDrivesAndNothingElse) {
  TempDrives drives;
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) LeaveUntidiedSave(drives, root);
  // A hidden name that no note names is none of the program's to remove.
  const QString unnamed = StatementFolder() + "\\.~saving.①7.txt.Ab12Cd";
  drives.Put(unnamed, "someone else's");

  RecoverFromKilledRun();

  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    SCOPED_TRACE(root.toStdString());
    EXPECT_EQ(drives.Get(Text(root)), QByteArray("new text"));
    EXPECT_EQ(drives.Get(Amounts(root)), QByteArray("new amounts"));
    EXPECT_EQ(Entries(drives, root), QStringList{platform::kLockName});
  }
  EXPECT_EQ(Entries(drives, StatementFolder()),
            (QStringList{".~saving.①7.txt.Ab12Cd", "A①7.txt", "①7.txt"}));
  EXPECT_EQ(Entries(drives, StatementFolder(kFloppyDataRoot)),
            (QStringList{"A①7.txt", "①7.txt"}));
}

// Another copy of the program that runs on holds the drive: what looks
// interrupted may be its change under way. The start waits for nobody.
TEST(SaveLeftovers, ADriveThatAnotherCopyHoldsIsLeftToItWithoutWaiting) {
  TempDrives drives;
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) LeaveInterruptedSave(drives, root);
  const QStringList held = Entries(drives, StatementFolder());
  const int lock =
      ::open(QFile::encodeName(drives.Native(kDataRoot + QChar('\\') + platform::kLockName))
                 .constData(),
             O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);

  const auto start = std::chrono::steady_clock::now();
  RecoverFromKilledRun();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

  EXPECT_EQ(Entries(drives, StatementFolder()), held);
  EXPECT_EQ(drives.Get(Text(kDataRoot)), QByteArray("new text"));
  EXPECT_TRUE(drives.Exists(Record(kDataRoot)));
  EXPECT_EQ(drives.Get(Text(kFloppyDataRoot)), QByteArray("old text"));
  EXPECT_FALSE(drives.Exists(Record(kFloppyDataRoot)));

  ::close(lock);
  RecoverFromKilledRun();
  EXPECT_EQ(drives.Get(Text(kDataRoot)), QByteArray("old text"));
  EXPECT_EQ(Entries(drives, StatementFolder()), (QStringList{"A①7.txt", "①7.txt"}));
}

TEST(SaveLeftovers, NoMediumInTheRemovableDriveIsPassedBy) {
  TempDrives drives(false);
  LeaveInterruptedSave(drives, kDataRoot);
  RecoverFromKilledRun();
  EXPECT_EQ(drives.Get(Text(kDataRoot)), QByteArray("old text"));
  EXPECT_EQ(Entries(drives, kDataRoot), QStringList{platform::kLockName});
  EXPECT_FALSE(QDir(drives.Floppy()).exists());
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
  const QString text = Text(kDataRoot);
  const QString amounts = Amounts(kDataRoot);
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
    EXPECT_EQ(Entries(drives, kDataRoot), QStringList{platform::kLockName});
  }
}

}  // namespace
}  // namespace mirudanto::app
