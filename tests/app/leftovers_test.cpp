#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

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
QString Tidy(const QString& root) { return root + QChar('\\') + platform::kDoneName; }

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

}  // namespace
}  // namespace mirudanto::app
