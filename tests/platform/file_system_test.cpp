#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>

#include <functional>
#include <optional>

#include "core/failure.h"
#include "platform/files.h"
#include "support/failure_of.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/temp_drives.h"
#include "support/without_root_override.h"

namespace mirudanto::platform {
namespace {

using mirudanto::testing::FailureOf;
using mirudanto::testing::FaultyFileSystem;
using mirudanto::testing::FileOperation;
using mirudanto::testing::TempDrives;
using mirudanto::testing::WithoutRootOverride;

const QString kFolder = QStringLiteral("c:\\法人税\\ミルダ");
const QString kFile = QStringLiteral("c:\\法人税\\ミルダ\\①7.txt");

// Every file and folder below the drive with its bytes, hidden names included:
// what a call changed, or a temporary file it left, shows here.
QStringList TreeOf(const TempDrives& drives) {
  QStringList entries;
  QDirIterator it(drives.HardDisk(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo entry = it.fileInfo();
    QByteArray bytes;
    if (entry.isFile()) {
      QFile file(entry.filePath());
      if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    }
    entries.append(entry.filePath() + QChar('=') + QString::fromLatin1(bytes.toHex()));
  }
  entries.sort();
  return entries;
}

// The log with the random part of the record's name taken out.
QStringList Steps(const FaultyFileSystem& files) {
  QStringList steps = files.Log();
  steps.replaceInStrings(QRegularExpression(QStringLiteral("\\.~change\\.\\w+")),
                         QStringLiteral(".~change"));
  return steps;
}

QString Numbered(const QString& stem, int k) { return QStringLiteral("%1%2").arg(stem).arg(k); }

TEST(FileSystemSeam, OnlyTheChosenCallOfItsOperationFailsAndItChangesNothing) {
  // Each call k works on paths of its own, so that the failed one is seen to
  // have left the disk as it found it while the calls around it went through.
  struct Case {
    const char* name;
    FileOperation operation;
    int nth;
    FailureKind kind;
    std::function<void(int k)> call;
  };
  const QString file = kFolder + QStringLiteral("\\f");
  const Case cases[] = {
      {"read", FileOperation::Read, 2, FailureKind::OtherIO, [](int) { ReadFileBytes(kFile); }},
      {"write", FileOperation::Write, 2, FailureKind::DiskFull,
       [&](int k) { WriteFileAtomic(Numbered(file, k), "new"); }},
      {"folder exists", FileOperation::FolderExists, 3, FailureKind::DiskNotReady,
       [](int) { FolderExists(kFolder); }},
      {"file exists", FileOperation::FileExists, 1, FailureKind::DiskNotReady,
       [](int) { FileExists(kFile); }},
      {"create folder", FileOperation::CreateFolder, 2, FailureKind::PermissionDenied,
       [&](int k) { CreateFolder(Numbered(file, k)); }},
      {"create text file", FileOperation::CreateTextFile, 2, FailureKind::DiskFull,
       [&](int k) { CreateTextFile(Numbered(file, k), false); }},
      {"ensure new file", FileOperation::EnsureNewFile, 2, FailureKind::PathNotFound,
       [&](int k) { EnsureNewFile(Numbered(file, k)); }},
      {"copy", FileOperation::Copy, 20, FailureKind::DiskFull,
       [&](int k) { CopyFile(kFile, Numbered(file, k)); }},
      {"delete", FileOperation::Delete, 2, FailureKind::PermissionDenied,
       [&](int k) { DeleteFile(Numbered(file, k)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    drives.Put(kFile, "old");
    if (c.operation == FileOperation::Delete) {
      for (int k = 1; k <= c.nth + 1; ++k) drives.Put(Numbered(file, k), "doomed");
    }
    FaultyFileSystem files;
    files.Fail(c.operation, c.nth, c.kind);

    for (int k = 1; k <= c.nth + 1; ++k) {
      const QStringList before = TreeOf(drives);
      const std::optional<Failure> failure = FailureOf([&] { c.call(k); });
      if (k == c.nth) {
        ASSERT_TRUE(failure) << "call " << k << " went through";
        EXPECT_EQ(failure->Kind(), c.kind);
        EXPECT_EQ(TreeOf(drives), before);
        EXPECT_TRUE(files.Log().back().endsWith(QStringLiteral(" failed")));
      } else {
        EXPECT_FALSE(failure) << "call " << k << " failed: " << failure->what();
      }
    }
    EXPECT_EQ(files.Calls(c.operation), c.nth + 1);
  }
}

TEST(FileSystemSeam, AFailedWriteLeavesTheOldFileAndNoTemporaryAndTheDiskComesBack) {
  TempDrives drives;
  drives.Put(kFile, "old");
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Write, 2, FailureKind::DiskFull);
    WriteFileAtomic(kFile, "first");
    const std::optional<Failure> failure = FailureOf([] { WriteFileAtomic(kFile, "second"); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Description(), Failure::Describe(FailureKind::DiskFull));
    EXPECT_EQ(drives.Get(kFile), QByteArray("first"));
    EXPECT_EQ(QDir(drives.Native(kFolder))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("①7.txt")});

    EXPECT_EQ(Steps(files).filter(QStringLiteral("write ")),
              (QStringList{"write " + kFile, "write " + kFile + " failed"}));
  }
  // Gone, it leaves the disk in its place.
  WriteFileAtomic(kFile, "third");
  EXPECT_EQ(drives.Get(kFile), QByteArray("third"));
}

TEST(FileSystemSeam, ADiskThatFailsWritesFailsCopiesAndEmptyingToo) {
  TempDrives drives;
  drives.Put(kFile, "old");
  const QString target = QStringLiteral("a:\\①7.txt");
  drives.Put(target, "kept");
  FaultyFileSystem files;
  files.Fail(FileOperation::Write, 1, FailureKind::DiskFull);
  files.Fail(FileOperation::Write, 2, FailureKind::PermissionDenied);

  const std::optional<Failure> copy = FailureOf([&] { CopyFile(kFile, target); });
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Kind(), FailureKind::DiskFull);
  EXPECT_EQ(drives.Get(target), QByteArray("kept"));

  const std::optional<Failure> emptying = FailureOf([] { CreateTextFile(kFile, true); });
  ASSERT_TRUE(emptying);
  EXPECT_EQ(emptying->Kind(), FailureKind::PermissionDenied);
  EXPECT_EQ(drives.Get(kFile), QByteArray("old"));

  EXPECT_EQ(files.Log(), (QStringList{"copy " + kFile + " to " + target, "read " + kFile,
                                      "write " + target + " failed", "create text file " + kFile,
                                      "write " + kFile + " failed"}));
}

// Files of one save in two folders, the way a statement's text and amounts
// could be split by a damaged installation.
const QString kSecond = QStringLiteral("c:\\法人税\\別表\\A①7.txt");

TEST(WritingTogether, AFileThatCannotBeWrittenLeavesEveryTargetAsItWas) {
  struct Case {
    const char* name;
    std::function<bool(TempDrives&, FaultyFileSystem&)> spoil;  // false: cannot be set up here
  };
  const Case cases[] = {
      {"the disk fills on the second file",
       [](TempDrives&, FaultyFileSystem& files) {
         files.Fail(FileOperation::Write, 2, FailureKind::DiskFull);
         return true;
       }},
      {"the second target is a folder",
       [](TempDrives& drives, FaultyFileSystem&) {
         QFile::remove(drives.Native(kSecond));
         return QDir().mkdir(drives.Native(kSecond));
       }},
      {"the second folder is read-only",
       [](TempDrives& drives, FaultyFileSystem&) {
         const QString folder = drives.Native(QStringLiteral("c:\\法人税\\別表"));
         return ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WithoutRootOverride noOverride;
    if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
    TempDrives drives;
    drives.Put(kFile, "old text");
    drives.Put(kSecond, "old amounts");
    FaultyFileSystem files;
    ASSERT_TRUE(c.spoil(drives, files));
    const QStringList before = TreeOf(drives);

    const std::optional<Failure> failure =
        FailureOf([] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new amounts"}}); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(TreeOf(drives), before);
    EXPECT_EQ(files.Calls(FileOperation::Rename), 0);
    ::chmod(QFile::encodeName(drives.Native(QStringLiteral("c:\\法人税\\別表"))).constData(), 0755);
  }
}

TEST(WritingTogether, EveryFileIsWrittenBeforeTheRecordAndTheRecordBeforeAnyIsPutInPlace) {
  TempDrives drives;
  drives.Put(kFile, "old text");
  drives.Put(kSecond, "old amounts");
  FaultyFileSystem files;
  WriteFilesTogether({{kSecond, "new amounts"}, {kFile, "new text"}});
  const QString record = QStringLiteral("c:\\法人税\\.~change");
  EXPECT_EQ(Steps(files),
            (QStringList{"write " + kSecond, "write " + kFile, "record " + record, "set aside " + kSecond,
                         "set aside " + kFile, "sync c:\\法人税\\ミルダ",
                         "sync c:\\法人税\\別表", "rename " + kSecond, "rename " + kFile,
                         "sync c:\\法人税\\ミルダ", "sync c:\\法人税\\別表",
                         "remove record " + record}));
  EXPECT_EQ(drives.Get(kFile), QByteArray("new text"));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("new amounts"));
  EXPECT_EQ(TreeOf(drives).filter(QStringLiteral("/.~")), QStringList());
}

TEST(WritingTogether, AFailureAtAnyStepBeforeTheLastRenameChangesNothing) {
  const QString third = QStringLiteral("c:\\法人税\\ミルダ\\B①7.txt");  // new
  struct Case {
    bool hardLinks;
    int count;
    FileOperation operation;
    int nth;
  };
  std::vector<Case> cases;
  for (const bool hardLinks : {true, false}) {
    for (const int count : {2, 3}) {
      for (const auto& [operation, nth] :
           std::vector<std::pair<FileOperation, int>>{
               {FileOperation::Write, 1}, {FileOperation::Write, count},
               {FileOperation::WriteRecord, 1}, {FileOperation::SetAside, 1},
               {FileOperation::SetAside, 2}, {FileOperation::SyncFolder, 1},
               {FileOperation::Rename, 1}, {FileOperation::Rename, 2},
               {FileOperation::Rename, count}}) {
        cases.push_back({hardLinks, count, operation, nth});
      }
    }
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 files%2, operation %3, call %4")
                     .arg(c.count)
                     .arg(c.hardLinks ? "" : " without hard links")
                     .arg(static_cast<int>(c.operation))
                     .arg(c.nth)
                     .toStdString());
    TempDrives drives;
    drives.Put(kFile, "old text");
    drives.Put(kSecond, "old amounts");
    std::vector<FileContent> save{{kFile, "new text"}, {kSecond, "new amounts"}};
    if (c.count == 3) save.push_back({third, "new subtotals"});
    const QStringList before = TreeOf(drives);
    FaultyFileSystem files;
    if (!c.hardLinks) files.WithoutHardLinks();
    files.Fail(c.operation, c.nth, FailureKind::OtherIO);
    const std::optional<Failure> failure = FailureOf([&] { WriteFilesTogether(save); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
    EXPECT_EQ(TreeOf(drives), before);
  }
}

TEST(WritingTogether, AnUndoThatFailsIsFinishedBeforeTheNextReadOrChangeOnTheDriveAndAtTheNextStart) {
  for (const char* next : {"change", "read", "start"}) {
    SCOPED_TRACE(next);
    const bool byTheNextStart = QLatin1String(next) == QLatin1String("start");
    TempDrives drives;
    drives.Put(kFile, "old text");
    drives.Put(kSecond, "old amounts");
    const QStringList before = TreeOf(drives);
    {
      FaultyFileSystem files;
      files.Fail(FileOperation::Rename, 2, FailureKind::OtherIO);
      files.Fail(FileOperation::PutBack, 1, FailureKind::OtherIO);
      ASSERT_TRUE(FailureOf([] { WriteFilesTogether({{kFile, "new"}, {kSecond, "new"}}); }));
    }
    EXPECT_EQ(drives.Get(kFile), QByteArray("new"));  // half done, with its record
    if (byTheNextStart) {
      for (const QString& folder : {QStringLiteral("c:\\法人税"), kFolder,
                                    QStringLiteral("c:\\法人税\\別表")}) {
        FinishInterruptedChanges(folder);
      }
      EXPECT_EQ(TreeOf(drives), before);
    } else if (QLatin1String(next) == QLatin1String("read")) {
      EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
      EXPECT_EQ(TreeOf(drives), before);
    } else {
      WriteFileAtomic(QStringLiteral("c:\\法人税\\ミルダ\\②7.txt"), "other");
      EXPECT_EQ(drives.Get(kFile), QByteArray("old text"));
      EXPECT_EQ(drives.Get(kSecond), QByteArray("old amounts"));
      EXPECT_EQ(TreeOf(drives).filter(QStringLiteral("/.~")), QStringList());
    }
  }
}

TEST(WritingTogether, NewFilesThatCannotBeFlushedAfterTheirRenamesAreTakenBackAndReported) {
  TempDrives drives;
  drives.Put(kFile, "old text");
  drives.Put(kSecond, "old amounts");
  const QStringList before = TreeOf(drives);
  const QString added = kFolder + QStringLiteral("\\②7.txt");
  for (const std::vector<FileContent>& change :
       {std::vector<FileContent>{{kFile, "new text"}, {kSecond, "new amounts"}},
        std::vector<FileContent>{{kFile, "new text"}}, std::vector<FileContent>{{added, "new"}}}) {
    SCOPED_TRACE(change.size());
    FaultyFileSystem files;
    // The flush after the renames: after the set-asides' one where there are
    // old files.
    files.Fail(FileOperation::SyncFolder, change.front().path == added ? 1 : change.size() + 1,
               FailureKind::OtherIO);
    const std::optional<Failure> failure = FailureOf([&] { WriteFilesTogether(change); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
    EXPECT_EQ(TreeOf(drives), before);
  }
}

TEST(WritingTogether, AMediumThatStopsFlushingAfterTheRenamesKeepsTheOldFiles) {
  TempDrives drives;
  drives.Put(kFile, "old text");
  drives.Put(kSecond, "old amounts");
  {
    FaultyFileSystem files;
    // Every flush from the one after the renames on.
    for (int nth = 3; nth < 20; ++nth) files.Fail(FileOperation::SyncFolder, nth, FailureKind::OtherIO);
    ASSERT_TRUE(FailureOf([] { WriteFilesTogether({{kFile, "new"}, {kSecond, "new"}}); }));
  }
  EXPECT_EQ(drives.Get(kFile), QByteArray("old text"));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("old amounts"));
  // The record could not go; the next read takes it away.
  EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
  EXPECT_EQ(TreeOf(drives).filter(QStringLiteral("/.~")), QStringList());
}

TEST(WritingTogether, AChangeOnTheMediumIsDoneEvenWhenItsRecordCannotBeRemoved) {
  TempDrives drives;
  drives.Put(kFile, "old text");
  drives.Put(kSecond, "old amounts");
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::RemoveRecord, 1, FailureKind::OtherIO);
    EXPECT_FALSE(FailureOf([] { WriteFilesTogether({{kFile, "new"}, {kSecond, "new"}}); }));
  }
  EXPECT_EQ(drives.Get(kFile), QByteArray("new"));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("new"));
  // Completed, never undone, by whatever comes next.
  EXPECT_EQ(ReadFileBytes(kSecond), QByteArray("new"));
  EXPECT_EQ(TreeOf(drives).filter(QStringLiteral("/.~")), QStringList());
}

TEST(WritingTogether, ARecordThatARunningChangeHoldsOrThatIsNotWholeIsNeverActedOn) {
  TempDrives drives;
  const QString other = QStringLiteral("c:\\法人税\\ミルダ\\A①7.txt");
  // A change killed between its two renames: ①7 is new, its old content set
  // aside; A①7 still waits in its temporary file.
  drives.Put(kFile, "new text");
  drives.Put(kFolder + "\\.~saving.①7.txt.Zz99Yy", "old text");
  drives.Put(other, "old amounts");
  drives.Put(kFolder + "\\.~saving.A①7.txt.Qq11Ww", "new amounts");
  const QString record = kFolder + QStringLiteral("\\.~change.Ab12Cd");
  const QByteArray entries =
      "change 1\nW\t①7.txt\t.~saving.①7.txt.Ab12Cd\t.~saving.①7.txt.Zz99Yy\n"
      "W\tA①7.txt\t.~saving.A①7.txt.Qq11Ww\t.~saving.A①7.txt.Pp00Oo\n";
  drives.Put(record, entries + "end\n");
  const QStringList killed = TreeOf(drives);

  const int held = ::open(QFile::encodeName(drives.Native(record)).constData(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  FinishInterruptedChanges(kFolder);
  EXPECT_EQ(TreeOf(drives), killed);  // its change may still be running
  ::close(held);

  FinishInterruptedChanges(kFolder);
  EXPECT_EQ(drives.Get(kFile), QByteArray("old text"));
  EXPECT_EQ(drives.Get(other), QByteArray("old amounts"));
  EXPECT_EQ(TreeOf(drives).filter(QStringLiteral("/.~")), QStringList());

  // A record that is not whole, or that names files of another folder or of
  // another name, is none of the program's: it is reported and touches
  // nothing.
  const QString victim = QStringLiteral("c:\\法人税\\法人名\\7.txt");
  drives.Put(victim, "master");
  drives.Put(kFile, "new text");
  for (const QByteArray& damaged :
       {entries, QByteArray("change 1\nW\t①7.txt\t../法人名/7.txt\t\nend\n"),
        QByteArray("change 1\nW\t①7.txt\t.~saving.①7.txt.Ab12Cd\t.~saving.A①7.txt.Zz99Yy\nend\n"),
        QByteArray("change 1\nW\t..\\法人名\\7.txt\t.~saving.7.txt.Ab12Cd\t\nend\n")}) {
    drives.Put(record, damaged);
    const QStringList planted = TreeOf(drives);
    const std::optional<Failure> failure = FailureOf([] { FinishInterruptedChanges(kFolder); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Description(),
              Failure::Describe(FailureKind::TypeMismatch) + QStringLiteral("\n.~change.Ab12Cd"));
    EXPECT_EQ(TreeOf(drives), planted);
  }
}

// Starts a copy of the program that holds the data folder until it is
// killed; tells whether it had the folder to itself.
pid_t StartCopy(char& alone) {
  int told[2];
  if (::pipe(told) != 0) return -1;
  const pid_t copy = ::fork();
  if (copy == 0) {
    char answer = 'n';
    HoldDataRoot([&answer] { answer = 'y'; });
    if (::write(told[1], &answer, 1) != 1) ::_exit(2);
    ::pause();
    ::_exit(0);
  }
  alone = 0;
  if (::read(told[0], &alone, 1) != 1) alone = 0;
  ::close(told[0]);
  ::close(told[1]);
  return copy;
}

TEST(WritingTogether, OnlyACopyThatStartsWhileNoOtherRunsClearsUp) {
  TempDrives drives;
  char alone = 0;
  const pid_t first = StartCopy(alone);
  ASSERT_GT(first, 0);
  EXPECT_EQ(alone, 'y');
  const pid_t second = StartCopy(alone);
  EXPECT_EQ(alone, 'n');
  // The second runs on when the first ends: a third still is not alone.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  const pid_t third = StartCopy(alone);
  EXPECT_EQ(alone, 'n');
  for (const pid_t copy : {second, third}) {
    ::kill(copy, SIGKILL);
    ::waitpid(copy, nullptr, 0);
  }
  const pid_t last = StartCopy(alone);
  EXPECT_EQ(alone, 'y');
  ::kill(last, SIGKILL);
  ::waitpid(last, nullptr, 0);
}

TEST(WritingTogether, LeftoverTemporariesAreRecognisedAndRemovedFromTheirFolderOnly) {
  TempDrives drives;
  drives.Put(kFile, "kept");
  // A killed save leaves its temporary file: the writer's own name for it.
  const QString killed = kFolder + QStringLiteral("\\.~saving.①7.txt.Ab12Cd");
  drives.Put(killed, "half");
  const QString below = kFolder + QStringLiteral("\\sub\\.~saving.x.txt.Ab12Cd");
  drives.Put(below, "below");
  const QString lookalike = kFolder + QStringLiteral("\\.①7.txt.Ab12Cd");
  drives.Put(lookalike, "not ours");

  RemoveTemporaryFiles(kFolder);
  RemoveTemporaryFiles(QStringLiteral("c:\\無い"));
  RemoveTemporaryFiles(QStringLiteral("a:\\法人税"));

  EXPECT_FALSE(QFileInfo::exists(drives.Native(killed)));
  EXPECT_EQ(drives.Get(kFile), QByteArray("kept"));
  EXPECT_EQ(drives.Get(below), QByteArray("below"));
  EXPECT_EQ(drives.Get(lookalike), QByteArray("not ours"));
  EXPECT_TRUE(IsTemporaryFileName(QStringLiteral(".~saving.①7.txt.Ab12Cd")));
  EXPECT_FALSE(IsTemporaryFileName(QStringLiteral("①7.txt")));
}

// A save after a failed load asks before it overwrites files that may be
// there: one that cannot be looked at may be.
TEST(WritingTogether, AFileMayExistUnlessNoFileSurelyIs) {
  WithoutRootOverride noOverride;
  if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
  TempDrives drives;
  drives.Put(kFile, "text");
  EXPECT_TRUE(FileMayExist(kFile));
  EXPECT_FALSE(FileMayExist(kFolder + QStringLiteral("\\②7.txt")));
  EXPECT_FALSE(FileMayExist(QStringLiteral("c:\\無い\\①7.txt")));
  EXPECT_FALSE(FileMayExist(kFolder));
  const QByteArray folder = QFile::encodeName(drives.Native(kFolder));
  ASSERT_EQ(::chmod(folder.constData(), 0666), 0);
  EXPECT_TRUE(FileMayExist(kFolder + QStringLiteral("\\②7.txt")));
  ::chmod(folder.constData(), 0755);
}

}  // namespace
}  // namespace mirudanto::platform
