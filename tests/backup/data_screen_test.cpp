#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

#include "backup/company_files.h"
#include "backup/data_screen.h"
#include "backup_fixture.h"
#include "core/statement_files.h"
#include "platform/drive_space.h"
#include "platform/drives.h"
#include "platform/file_transaction.h"
#include "platform/value_files.h"
#include "support/faulty_file_system.h"
#include "support/statement_files_support.h"
#include "support/without_root_override.h"

namespace mirudanto::backup {
namespace {

using testing::Content;
using testing::DataScreenTest;
using testing::FaultyFileSystem;
using testing::FileOperation;
using testing::PutCompany;

const QString kCodeTitle = QStringLiteral("法人コードの入力");

// Every file and folder under a drive's root, hidden ones included, but the
// drive's lock: the first hold makes it, and it is no data.
QStringList Tree(const QString& nativeRoot) {
  QStringList entries = testing::Tree(nativeRoot);
  entries.removeAll(QStringLiteral("法人税/") + platform::kLockName);
  return entries;
}

// The paths of the log's lines of one kind ("unlink ", "rename "...), the
// writer's hidden files left out.
QStringList PathsOf(const QStringList& log, const QString& kind) {
  QStringList paths;
  for (const QString& line : log) {
    if (!line.startsWith(kind)) continue;
    const QString path = line.mid(kind.size());
    if (!path.section(QChar('\\'), -1).startsWith(QStringLiteral(".~"))) paths.append(path);
  }
  return paths;
}

// The bytes of each file, in order.
QList<QByteArray> Contents(const testing::TempDrives& drives, const QStringList& paths) {
  QList<QByteArray> contents;
  for (const QString& path : paths) contents.append(drives.Get(path));
  return contents;
}

// The files whose new contents the log wrote, in order: each to a temporary
// beside it that bears its name.
QStringList WrittenIn(const QStringList& log) {
  static const QRegularExpression temporary(
      QStringLiteral("^write (.*)\\\\\\.~saving\\.(.*)\\.\\w{6}$"));
  QStringList files;
  for (const QString& line : log) {
    const QRegularExpressionMatch match = temporary.match(line);
    if (match.hasMatch()) files.append(match.captured(1) + QChar('\\') + match.captured(2));
  }
  return files;
}

// ---------------------------------------------------------------- company display

TEST_F(DataScreenTest, TheScreenOpensEmptyAndDataTakesTheHandedCode) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  form21.Write("Text1", "7");  // as the main menu hands it over

  EXPECT_EQ(form21.Read("Text6"), QString());
  EXPECT_FALSE(BarShown());
  form21.Press("Command4");  // nothing typed yet
  EXPECT_EQ(desktop.Summary(), QStringList{"会社呼出|型が一致しません。"});

  form21.Press("Command5");
  EXPECT_EQ(form21.Read("Text6"), QStringLiteral("7"));
  EXPECT_EQ(form21.Read("Text5"), QStringLiteral("株式会社見本"));
  const QStringList period = {form21.Read("Text13"), form21.Read("Text14"), form21.Read("Text15"),
                              form21.Read("Text17"), form21.Read("Text18"), form21.Read("Text19")};
  EXPECT_EQ(period, (QStringList{"20", "4", "1", "21", "3", "31"}));
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("株式会社見本"));
  EXPECT_EQ(desktop.beeps, 0);

  // "DATA" again reads the hidden code, whatever was typed in between.
  form21.Write("Text6", "8");
  form21.Press("Command5");
  EXPECT_EQ(form21.Read("Text6"), QStringLiteral("7"));
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(DataScreenTest, EachCodeBoxThatIsNoNumberIsReportedUnderItsOperation) {
  form21.Press("Command5");  // the hidden box is empty
  for (const char* button : {"Command4", "Command1", "Command2", "Command3", "Command18"}) {
    Run(button, "abc");
  }
  Run("Command19", "");  // the hard-disk deletion ends without a word
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"データ|型が一致しません。", "会社呼出|型が一致しません。",
                         "法人コードの入力|型が一致しません。", "法人コードの入力|型が一致しません。",
                         "法人コードの入力|型が一致しません。", "法人コードの入力|型が一致しません。"}));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(BarShown());
  EXPECT_FALSE(menu.IsLoaded());
}

TEST_F(DataScreenTest, ACallThatCannotReadKeepsTheBoxesAndTheValuesReadBeforeTheFailure) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command4");
  // Company 8's file ends after its name.
  ValueWriter shortFile;
  for (int k = 0; k < 8; ++k) shortFile.WriteNumber(k == 0 ? 8 : 1);
  shortFile.WriteText("ハチ").WriteText("八商事");
  platform::SaveValueFile(CompanyMasterFile(8), shortFile);

  Run("Command4", "8");
  EXPECT_EQ(desktop.Summary(), QStringList{"会社呼出|ファイルにこれ以上データがありません。"});
  EXPECT_EQ(form21.Read("Text5"), QStringLiteral("株式会社見本"));
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("八商事"));

  Run("Command4", "9");
  EXPECT_EQ(desktop.Summary().back(), QStringLiteral("会社呼出|ファイルが見つかりません。"));
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("八商事"));
}

TEST_F(DataScreenTest, ClearingEmptiesTheCompanyBoxesOnly) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  form21.Write("Text1", "7");
  form21.Press("Command5");
  form21.Write("Text39", "8");

  form21.Press("Command9");

  for (const char* box : {"Text6", "Text5", "Text39", "Text13", "Text14", "Text15", "Text17",
                          "Text18", "Text19"}) {
    EXPECT_EQ(form21.Read(box), QString()) << box;
  }
  EXPECT_EQ(form21.Read("Text10"), QStringLiteral("自平成"));
  EXPECT_EQ(form21.Read("Text16"), QStringLiteral("至平成"));
  EXPECT_EQ(form21.Read("Text1"), QStringLiteral("7"));
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("株式会社見本"));
}

TEST_F(DataScreenTest, MenuShowsTheMainMenuAndHidesTheScreen) {
  form21.Show();
  form21.Press("Command6");
  EXPECT_TRUE(menu.IsShown());
  EXPECT_FALSE(form21.IsShown());
  EXPECT_TRUE(form21.IsLoaded());
}

TEST_F(DataScreenTest, TheCalledNameOutlivesTheScreen) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command4");
  form21.Unload();
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("株式会社見本"));
  EXPECT_EQ(form21.Read("Text5"), QStringLiteral("　"));  // a new window: the design texts
}

// ---------------------------------------------------------------- backup to the medium

TEST_F(DataScreenTest, ABackupToAnEmptyMediumCreatesTheFoldersAndCopiesTheSetByteForByte) {
  const auto put = PutCompany(drives, 7, "株式会社見本", "v1");
  drives.Put(ScheduleFile("1010", 7), "schedule");

  Run("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_FALSE(BarShown());
  const QStringList backupSet = BackupSet(7, kFloppyDataRoot);
  ASSERT_EQ(backupSet.size(), 37);
  QStringList expected = {"法人税", "法人税/別表", "法人税/法人名", "法人税/ミルダ"};
  for (const QString& path : backupSet) {
    expected.append(QDir(drives.Floppy()).relativeFilePath(drives.Native(path)));
  }
  expected.sort();
  EXPECT_EQ(Tree(drives.Floppy()), expected);  // nothing else: no schedule file, no temporary
  const QStringList sources = BackupSet(7);
  for (qsizetype k = 0; k < sources.size(); ++k) {
    EXPECT_EQ(drives.Get(backupSet[k]), put.at(sources[k])) << backupSet[k].toStdString();
  }

  // Again over it: every file replaced, without a question; a second company
  // goes beside the first.
  PutCompany(drives, 7, "株式会社見本", "v2");
  PutCompany(drives, 8, "八商事", "v1");
  Run("Command1");
  Run("Command1", "8");
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Rents, 7, kFloppyDataRoot)),
            Content(StatementTextFile(StatementMark::Rents, 7), "v2"));
  EXPECT_TRUE(drives.Exists(CompanyMasterFile(8, kFloppyDataRoot)));
  EXPECT_EQ(Tree(drives.Floppy()).size(), 4 + 37 * 2);
}

// Notes the progress bar each time a folder or a file is written.
class WatchedWrites : public FaultyFileSystem {
 public:
  explicit WatchedWrites(std::function<void()> watch) : watch_(std::move(watch)) {}
  void MakeFolder(const QString& path) override {
    watch_();
    FaultyFileSystem::MakeFolder(path);
  }
  void Write(const QString& path, const QByteArray& bytes, bool flush) override {
    watch_();
    FaultyFileSystem::Write(path, bytes, flush);
  }

 private:
  std::function<void()> watch_;
};

TEST_F(DataScreenTest, TheBarStartsAtZeroAndCountsTheFilesCopied) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  form21.Load();
  form21.ControlAs<QProgressBar>("ProgressBar1").setValue(60);  // left from another run
  QList<int> seen;
  WatchedWrites files([&] { seen.append(BarShown() ? BarValue() : -1); });

  Run("Command1");

  // The four folders of an empty medium and the change's record, then the
  // 37 files.
  QList<int> expected(5, 0);
  for (int k = 0; k < 37; ++k) expected.append(static_cast<int>(std::lround(k * 100.0 / 37)));
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(files.Log().filter(QStringLiteral("make folder ")).size(), 4);
  EXPECT_EQ(WrittenIn(files.Log()), BackupSet(7, kFloppyDataRoot));
  EXPECT_EQ(BarValue(), 100);
  EXPECT_FALSE(BarShown());
}

TEST_F(DataScreenTest, WithoutAMediumOneBoxAndNothingIsCreatedAnywhere) {
  testing::TempDrives noMedium(false);
  for (const QString& folder : {CompanyFolder(), ScheduleFolder(), StatementFolder()}) {
    noMedium.MakeFolder(folder);
  }
  PutCompany(noMedium, 7, "株式会社見本", "v1");
  const QStringList before = Tree(noMedium.HardDisk());

  for (const char* button : {"Command1", "Command2", "Command3"}) Run(button);

  EXPECT_EQ(desktop.Summary(), QStringList(3, kCodeTitle + "|ディスクの準備ができていません。"));
  EXPECT_EQ(Tree(noMedium.HardDisk()), before);
  EXPECT_FALSE(QFileInfo::exists(noMedium.Floppy()));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(BarShown());
}

TEST_F(DataScreenTest, AMediumThatWasPulledOutIsNotReady) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  const QString mountPoint = drives.Floppy() + QStringLiteral("-mount");
  QDir().rename(drives.Floppy(), mountPoint);
  QFile::link(mountPoint + QStringLiteral("-gone"), drives.Floppy());  // a dangling link

  Run("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ディスクの準備ができていません。"});
  EXPECT_FALSE(QFileInfo::exists(mountPoint + QStringLiteral("-gone")));
}

TEST_F(DataScreenTest, AMissingSourceFileStopsTheBackupBeforeAnythingIsCreated) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  QFile::remove(drives.Native(SubtotalMarkerFile(StatementMark::MiscLosses, 7)));

  Run("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ファイルが見つかりません。"});
  EXPECT_EQ(Tree(drives.Floppy()), QStringList());
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(BarShown());

  // A company that was registered but never called has no statement files.
  testing::PutCompany(drives, 8, "八商事", "v1");
  for (const QString& path : StatementFiles(8)) QFile::remove(drives.Native(path));
  Run("Command1", "8");
  EXPECT_EQ(Tree(drives.Floppy()), QStringList());
}

// A medium with little room left.
class SmallMedium : public platform::SpaceProbe {
 public:
  explicit SmallMedium(std::int64_t freeBytes) : freeBytes_(freeBytes) {
    platform::InstallSpaceProbe(this);
  }
  ~SmallMedium() override { platform::InstallSpaceProbe(nullptr); }
  platform::DriveSpace SpaceOnDrive(const QString&) override { return {freeBytes_, 512}; }

 private:
  std::int64_t freeBytes_;
};

TEST_F(DataScreenTest, FilesThatDoNotFitTheMediumAreNotCopied) {
  PutCompany(drives, 7, "株式会社見本", "v1", kDataRoot, 1000);  // 37 files of 2 blocks
  {
    SmallMedium medium(4 * 512 + 36 * 1024);
    Run("Command1");
  }
  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ディスクの空き容量が不足しています。"});
  EXPECT_EQ(Tree(drives.Floppy()), QStringList());

  // Over an earlier backup, the earlier copy stays whole until the new one is
  // complete beside it, with its record and the folders' room for the hidden
  // names: 36 files of 2 blocks, the master file of 1, the record 1, and 15
  // blocks of names.
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2", kDataRoot, 1000);
  {
    SmallMedium medium(37 * 1024 + 15 * 512 - 1);
    Run("Command1");
  }
  EXPECT_EQ(desktop.Summary().size(), 2);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 7, kFloppyDataRoot)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v1", 1000));
  {
    SmallMedium medium(37 * 1024 + 15 * 512);
    Run("Command1");
  }
  EXPECT_EQ(desktop.Summary().size(), 2);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 7, kFloppyDataRoot)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v2", 1000));
}

TEST_F(DataScreenTest, AMediumWithSomeFoldersGetsTheMissingOnes) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  drives.MakeFolder(kFloppyDataRoot);
  drives.MakeFolder(CompanyFolder(kFloppyDataRoot));

  Run("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_TRUE(QFileInfo(drives.Native(ScheduleFolder(kFloppyDataRoot))).isDir());
  EXPECT_TRUE(drives.Exists(SubtotalMarkerFile(StatementMark::MiscLosses, 7, kFloppyDataRoot)));
}

TEST_F(DataScreenTest, ABackupThatFailsAnywhereLeavesTheEarlierCopyWhole) {
  Run("Command1");  // nothing yet: a failure
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2");
  const QStringList before = Tree(drives.Floppy());
  const QList<QByteArray> kept = Contents(drives, BackupSet(7, kFloppyDataRoot));
  const QStringList disk = Tree(drives.HardDisk());
  struct Case {
    FileOperation operation;
    int nth;
    QString failed;  // the line of the call that fails
  };
  const QString statements = StatementFolder(kFloppyDataRoot) + QChar('\\');
  const QString record = kFloppyDataRoot + QChar('\\') + platform::kRecordName;
  const QString draft = kFloppyDataRoot + QChar('\\') + platform::kDraftName;
  const QString done = kFloppyDataRoot + QChar('\\') + platform::kDoneName;
  // The medium pulled out at the record (its write, its rename), while the
  // new files are written, while the old ones are kept, when they are
  // flushed, at the first, a middle and the last of the renames into place,
  // and at the commit: the master file first, then the 36 statement files.
  const Case cases[] = {
      {FileOperation::Write, 1, "write " + draft},
      {FileOperation::Rename, 1, "rename " + record},
      {FileOperation::Write, 10, "write " + statements + ".~saving."},
      {FileOperation::Link, 20, "link " + statements + ".~saving."},
      {FileOperation::FlushFolder, 2, "flush " + StatementFolder(kFloppyDataRoot)},
      {FileOperation::Rename, 2, "rename " + CompanyMasterFile(7, kFloppyDataRoot)},
      {FileOperation::Rename, 20, "rename " + statements},
      {FileOperation::Rename, 38, "rename " + BackupSet(7, kFloppyDataRoot).last()},
      {FileOperation::FlushFolder, 4, "flush " + StatementFolder(kFloppyDataRoot)},
      {FileOperation::Rename, 39, "rename " + done},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failed.toStdString());
    desktop.boxes.clear();
    desktop.beeps = 0;
    {
      FaultyFileSystem files;
      files.Fail(c.operation, c.nth, FailureKind::DiskNotReady);
      Run("Command1");
      ASSERT_EQ(files.Log().filter(QStringLiteral(" failed")).size(), 1);
      EXPECT_TRUE(files.Log().filter(QStringLiteral(" failed")).front().startsWith(c.failed));
    }
    EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ディスクの準備ができていません。"});
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(Tree(drives.Floppy()), before);  // every file as it was, nothing left behind
    EXPECT_EQ(Contents(drives, BackupSet(7, kFloppyDataRoot)), kept);
    EXPECT_EQ(Tree(drives.HardDisk()), disk);
  }
}

TEST_F(DataScreenTest, ARestoreThatFailsAnywhereLeavesBothDrivesAsTheyWere) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2");
  const QStringList medium = Tree(drives.Floppy());
  const QStringList disk = Tree(drives.HardDisk());
  const QList<QByteArray> kept = Contents(drives, BackupSet(7));
  desktop.beeps = 0;
  struct Case {
    FileOperation operation;
    int nth;
  };
  // At the record, a new file, a set-aside, the first, a middle and the last
  // rename into place, the flush after them, and the commit.
  const Case cases[] = {
      {FileOperation::Write, 1},  {FileOperation::Write, 20},  {FileOperation::Link, 10},
      {FileOperation::Rename, 2}, {FileOperation::Rename, 20}, {FileOperation::Rename, 38},
      {FileOperation::FlushFolder, 4}, {FileOperation::Rename, 39},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.operation) * 100 + c.nth);
    desktop.boxes.clear();
    {
      FaultyFileSystem files;
      files.Fail(c.operation, c.nth, FailureKind::OtherIO);
      Run("Command2");
      ASSERT_EQ(files.Log().filter(QStringLiteral(" failed")).size(), 1);
    }
    EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|" + Failure::Describe(FailureKind::OtherIO)});
    EXPECT_EQ(Tree(drives.HardDisk()), disk);
    EXPECT_EQ(Contents(drives, BackupSet(7)), kept);
    EXPECT_EQ(Tree(drives.Floppy()), medium);
  }
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(DataScreenTest, AnUndoThatFailsTooIsFinishedByTheNextUseOfTheMedium) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2");
  const QStringList before = Tree(drives.Floppy());
  CutShortBackup();
  // The record and the old contents stay.
  EXPECT_TRUE(drives.Exists(kFloppyDataRoot + QChar('\\') + platform::kRecordName));
  EXPECT_NE(Tree(drives.Floppy()), before);

  // The next restore first undoes the interrupted backup, then reads the
  // medium's copy as it was before it.
  desktop.boxes.clear();
  PutCompany(drives, 7, "株式会社見本", "v3");
  Run("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(Tree(drives.Floppy()), before);
  const QStringList disk = BackupSet(7);
  const QStringList medium = BackupSet(7, kFloppyDataRoot);
  for (qsizetype k = 0; k < disk.size(); ++k) EXPECT_EQ(drives.Get(disk[k]), drives.Get(medium[k]));
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 7)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v1"));
}

TEST_F(DataScreenTest, AMediumWhoseInterruptedBackupCannotBeFinishedIsReportedAndNotUsed) {
  LeaveInterruptedBackup();
  const QStringList medium = Tree(drives.Floppy());
  const QStringList disk = Tree(drives.HardDisk());
  for (const char* button : {"Command1", "Command2", "Command3"}) {
    SCOPED_TRACE(button);
    desktop.boxes.clear();
    desktop.beeps = 0;
    desktop.Answer("OK");
    {
      // Putting back the first old content fails again.
      FaultyFileSystem files;
      files.Fail(FileOperation::Rename, 1, FailureKind::OtherIO);
      Run(button);
    }
    EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|" +
                                             Failure::Describe(FailureKind::OtherIO) + "\n" +
                                             platform::kRecordName});
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(Tree(drives.Floppy()), medium);
    EXPECT_EQ(Tree(drives.HardDisk()), disk);
  }
}

// A medium that cannot be written, as with its write-protect switch set: its
// folders refuse every change.
void RefuseChanges(const testing::TempDrives& drives, QFileDevice::Permissions folders) {
  const QString root = drives.Native(kFloppyDataRoot);
  QStringList paths{root};
  QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) paths.append(it.next());
  for (const QString& path : paths) QFile::setPermissions(path, folders);
}

constexpr QFileDevice::Permissions kReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                               QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kWritable = kReadOnly | QFileDevice::WriteOwner;

// What a backup that was done left to remove (its old contents, and the note
// naming them, as when the medium was pulled out right after the beep) stops
// no restore from a medium that cannot be written; neither does a lock file
// that is missing and cannot be made there.
TEST_F(DataScreenTest, AMediumThatCannotBeWrittenIsRestoredFromBesideWhatADoneBackupLeft) {
  testing::WithoutRootOverride noOverride;
  if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2");
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);  // the first old content
    Run("Command1");
  }
  ASSERT_TRUE(drives.Exists(kFloppyDataRoot + QChar('\\') + platform::kDoneName));
  ASSERT_TRUE(QFile::remove(drives.Native(kFloppyDataRoot + QChar('\\') + platform::kLockName)));
  const QStringList medium = Tree(drives.Floppy());
  PutCompany(drives, 7, "株式会社見本", "v3");
  RefuseChanges(drives, kReadOnly);
  desktop.boxes.clear();
  desktop.beeps = 0;

  Run("Command2");

  RefuseChanges(drives, kWritable);
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(Tree(drives.Floppy()), medium);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 7)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v2"));
  // The next change of the medium, once it can be written, removes them.
  Run("Command1");
  EXPECT_FALSE(drives.Exists(kFloppyDataRoot + QChar('\\') + platform::kDoneName));
  EXPECT_EQ(Tree(drives.Floppy()).filter(QStringLiteral("/.~")), QStringList());
}

// A backup cut short leaves its record; on a medium that cannot be written it
// cannot be rolled back, so the medium's files are not to be trusted: the
// restore fails, naming the record, and the hard disk is left as it was.
TEST_F(DataScreenTest, AMediumThatCannotBeWrittenWithAnUnfinishedBackupIsRefusedNamingItsRecord) {
  testing::WithoutRootOverride noOverride;
  if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
  LeaveInterruptedBackup();
  const QStringList medium = Tree(drives.Floppy());
  const QStringList disk = Tree(drives.HardDisk());
  RefuseChanges(drives, kReadOnly);
  desktop.boxes.clear();
  desktop.beeps = 0;

  Run("Command2");

  RefuseChanges(drives, kWritable);
  EXPECT_EQ(desktop.Summary(),
            QStringList{kCodeTitle + "|" + Failure::Describe(FailureKind::PermissionDenied) + "\n" +
                        platform::kRecordName});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(Tree(drives.Floppy()), medium);
  EXPECT_EQ(Tree(drives.HardDisk()), disk);
  // Writable again, the medium is rolled back and read as it was.
  desktop.boxes.clear();
  Run("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 7)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v1"));
}

TEST_F(DataScreenTest, PageTwoOfNotesTravelsWithItsCompanyWhereItExists) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  PutCompany(drives, 8, "八商事", "v1");
  const QStringList page2 = SecondNotesPageFiles(7);
  for (const QString& path : page2) drives.Put(path, Content(path, "v1"));

  Run("Command1");
  Run("Command1", "8");
  EXPECT_EQ(desktop.Summary(), QStringList());
  for (const QString& path : SecondNotesPageFiles(7, kFloppyDataRoot)) {
    EXPECT_EQ(drives.Get(path), Content(path, "v1"));
  }
  EXPECT_FALSE(drives.Exists(SecondNotesPageFiles(8, kFloppyDataRoot)[0]));

  for (const QString& path : page2) QFile::remove(drives.Native(path));
  Run("Command2");
  for (const QString& path : page2) EXPECT_EQ(drives.Get(path), Content(path, "v1"));
  Run("Command2", "8");
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_FALSE(drives.Exists(SecondNotesPageFiles(8)[0]));
}

// ---------------------------------------------------------------- restore

TEST_F(DataScreenTest, ARestorePutsTheBackupBackWithoutTouchingTheMenu) {
  const auto v1 = PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  PutCompany(drives, 7, "株式会社見本", "v2");
  QFile::remove(drives.Native(StatementTextFile(StatementMark::Rents, 7)));
  QFile::remove(drives.Native(CompanyMasterFile(7)));
  desktop.beeps = 0;

  Run("Command2");

  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  for (const auto& [path, bytes] : v1) EXPECT_EQ(drives.Get(path), bytes) << path.toStdString();
  EXPECT_FALSE(menu.IsLoaded());
  EXPECT_FALSE(BarShown());
}

TEST_F(DataScreenTest, ARestoreChecksEverythingBeforeItCopiesAFile) {
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  QFile::remove(drives.Native(StatementAmountFile(StatementMark::OfficerPay, 7, kFloppyDataRoot)));
  Run("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ファイルが見つかりません。"});
  EXPECT_FALSE(drives.Exists(CompanyMasterFile(7)));

  // A floppy deletion leaves the master file on the medium: nothing comes back.
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  Run("Command3");
  Run("Command2");
  EXPECT_EQ(desktop.Summary().back(), kCodeTitle + "|ファイルが見つかりません。");
  EXPECT_FALSE(drives.Exists(CompanyMasterFile(7)));

  // A hard disk without the statement folder takes nothing either.
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  Run("Command2");
  EXPECT_EQ(desktop.Summary().back(), kCodeTitle + "|パスが見つかりません。");
  EXPECT_FALSE(drives.Exists(CompanyMasterFile(7)));
  EXPECT_EQ(desktop.beeps, 1);  // the floppy deletion's
}

// ---------------------------------------------------------------- deletion from the medium

// Notes whether the bar is shown when a question is asked.
class WatchingDesktop : public testing::RecordingDesktop {
 public:
  int ShowMessageBox(const platform::MessageBoxRequest& request) override {
    if (watch) watch();
    return RecordingDesktop::ShowMessageBox(request);
  }
  std::function<void()> watch;
};

TEST_F(DataScreenTest, TheFloppyDeletionAsksWithTheMediumsNameAndDeletesTheSetOnOk) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  platform::SaveValueFile(CompanyMasterFile(7, kFloppyDataRoot),
                          CompanyRecordWriter(testing::SampleRecord(7, "媒体の見本")));
  Run("Command4");  // the screen shows the hard disk's name
  desktop.beeps = 0;

  desktop.Answer("キャンセル");
  Run("Command3");
  EXPECT_EQ(desktop.Summary(), QStringList{"媒体の見本　を削除しますか|媒体の見本　を削除しますか"});
  EXPECT_EQ(desktop.boxes[0].icon, platform::BoxIcon::Question);
  EXPECT_EQ(desktop.boxes[0].buttons, (QStringList{"OK", "キャンセル"}));
  EXPECT_EQ(Tree(drives.Floppy()).size(), 4 + 37);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(BarShown());

  desktop.Answer("OK");
  Run("Command3");
  EXPECT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(Tree(drives.Floppy()),
            (QStringList{"法人税", "法人税/ミルダ", "法人税/別表", "法人税/法人名",
                         "法人税/法人名/7.txt"}));
  EXPECT_TRUE(drives.Exists(CompanyMasterFile(7)));  // the hard disk keeps everything
}

TEST_F(DataScreenTest, TheFloppyDeletionShowsTheBarOnlyAfterOkAndInDeletionOrder) {
  WatchingDesktop watching;
  PutCompany(drives, 7, "株式会社見本", "v1");
  Run("Command1");
  bool shownAtQuestion = true;
  watching.watch = [&] { shownAtQuestion = BarShown(); };
  QStringList deleted;
  {
    FaultyFileSystem files;
    Run("Command3");
    deleted = PathsOf(files.Log(), QStringLiteral("unlink "));
  }
  EXPECT_FALSE(shownAtQuestion);
  EXPECT_EQ(deleted, StatementFilesInDeletionOrder(7, kFloppyDataRoot));
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(BarValue(), 100);
}

TEST_F(DataScreenTest, TheFloppyDeletionNamesTheCodeWhenTheMediumHasNoMasterFile) {
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  QFile::remove(drives.Native(CompanyMasterFile(7, kFloppyDataRoot)));

  Run("Command3");
  EXPECT_EQ(desktop.Summary(), QStringList{"7　を削除しますか|7　を削除しますか"});
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(DataScreenTest, AFloppyDeletionThatFindsNothingSaysSoAndDeletesNothing) {
  // Beside the medium's files of company 7: another company, and the master
  // file of the code that the deletion names.
  const auto putOthers = [this] {
    PutCompany(drives, 8, "八商事", "v1", kFloppyDataRoot);
    drives.Put(CompanyMasterFile(7, kFloppyDataRoot), "7");
  };
  const struct {
    const char* medium;
    std::function<void()> put;
  } cases[] = {
      {"empty", [] {}},
      {"without the statement folder",
       [this] { drives.Put(CompanyMasterFile(7, kFloppyDataRoot), "7"); }},
      {"with other companies' files", putOthers},
      {"with page 2 of notes alone",
       [&] {
         putOthers();
         for (const QString& path : SecondNotesPageFiles(7, kFloppyDataRoot)) {
           drives.Put(path, Content(path, "v1"));
         }
       }},
      {"after a deletion of the code", [&] {
         PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
         desktop.Answer("OK");
         Run("Command3");
         desktop.boxes.clear();
         desktop.beeps = 0;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.medium);
    QDir(drives.Floppy()).removeRecursively();
    QDir().mkpath(drives.Floppy());
    c.put();
    const QStringList before = Tree(drives.Floppy());
    desktop.boxes.clear();

    desktop.Answer("OK");
    Run("Command3");
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[0].buttons, (QStringList{"OK", "キャンセル"}));
    EXPECT_EQ(desktop.Summary()[1], kCodeTitle + "|ファイルが見つかりません。");
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(Tree(drives.Floppy()), before);
  }
}

TEST_F(DataScreenTest, AFloppyDeletionDeletesWhatIsLeftOfAnEarlierOne) {
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  PutCompany(drives, 8, "八商事", "v1", kFloppyDataRoot);
  for (const QString& path : SecondNotesPageFiles(7, kFloppyDataRoot)) {
    drives.Put(path, Content(path, "v1"));
  }
  // An earlier deletion that stopped after its first twelve files.
  const QStringList set = StatementFilesInDeletionOrder(7, kFloppyDataRoot);
  for (qsizetype k = 0; k < 12; ++k) QFile::remove(drives.Native(set[k]));
  QStringList left = Tree(drives.Floppy());
  for (const QString& path : set + SecondNotesPageFiles(7, kFloppyDataRoot)) {
    left.removeOne(QDir(drives.Floppy()).relativeFilePath(drives.Native(path)));
  }

  QStringList deleted;
  {
    FaultyFileSystem files;
    Run("Command3");
    deleted = PathsOf(files.Log(), QStringLiteral("unlink "));
  }
  EXPECT_EQ(desktop.boxes.size(), 1u);  // the question alone
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(deleted, set.mid(12) + SecondNotesPageFiles(7, kFloppyDataRoot));
  EXPECT_EQ(Tree(drives.Floppy()), left);  // company 8 and the master file of 7 stay
}

TEST_F(DataScreenTest, AFloppyDeletionThatCannotDeleteReportsAndHidesTheBar) {
  PutCompany(drives, 7, "株式会社見本", "v1", kFloppyDataRoot);
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Unlink, 3, FailureKind::PermissionDenied);
    Run("Command3");
  }
  EXPECT_EQ(desktop.Summary().back(), kCodeTitle + "|書き込みできません。");
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Deposits, 7, kFloppyDataRoot)));
  EXPECT_TRUE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable, 7, kFloppyDataRoot)));
}

// ---------------------------------------------------------------- deletion from the hard disk

TEST_F(DataScreenTest, TheDiskDeletionRemovesTheCompanyWithTheMasterFileLast) {
  PutCompany(drives, 5, "五商事", "v1");
  PutCompany(drives, 7, "株式会社見本", "v1");
  for (const QString& path : ScheduleFiles(7)) drives.Put(path, "schedule");
  for (const QString& path : SecondNotesPageFiles(7)) drives.Put(path, Content(path, "v1"));
  menu.Load();
  ASSERT_EQ(Listed().size(), 2);
  QStringList deleted;

  {
    FaultyFileSystem files;
    Run("Command19");
    deleted = PathsOf(files.Log(), QStringLiteral("unlink "));
  }

  EXPECT_EQ(desktop.Summary(),
            QStringList{"株式会社見本　を削除しますか|株式会社見本　を削除しますか"});
  EXPECT_EQ(deleted, StatementFilesInDeletionOrder(7) + SecondNotesPageFiles(7) +
                         NumberedScheduleFiles(7) + QStringList{CompanyMasterFile(7)});
  EXPECT_EQ(Listed(), QStringList{"05 : 五商事  [平成20.4.1]"});
  EXPECT_TRUE(menu.IsShown());
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(Tree(drives.Native(StatementFolder())).size(), 36);  // company 5's
  EXPECT_EQ(Tree(drives.Native(ScheduleFolder())), QStringList{"特設欄7.txt"});
  EXPECT_EQ(form21.Read("Text6"), QStringLiteral("7"));
}

TEST_F(DataScreenTest, TheDiskDeletionWithoutScheduleFilesAndCancel) {
  PutCompany(drives, 7, "株式会社見本", "v1");

  desktop.Answer("キャンセル");
  Run("Command19");
  EXPECT_EQ(Listed(), QStringList{"07 : 株式会社見本  [平成20.4.1]"});
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(menu.IsShown());
  EXPECT_TRUE(drives.Exists(CompanyMasterFile(7)));

  Run("Command19");
  EXPECT_EQ(desktop.Summary().size(), 2);
  EXPECT_EQ(Listed(), QStringList());
  EXPECT_EQ(desktop.beeps, 2);
  EXPECT_EQ(Tree(drives.HardDisk()),
            (QStringList{"法人税", "法人税/ミルダ", "法人税/別表", "法人税/法人名"}));

  // Nothing left: the code names the company, and the deletion completes.
  Run("Command19");
  EXPECT_EQ(desktop.Summary().back(), QStringLiteral("7　を削除しますか|7　を削除しますか"));
  EXPECT_EQ(desktop.beeps, 3);
}

TEST_F(DataScreenTest, ADiskDeletionThatStopsKeepsTheMasterFileAndCanBeRepeated) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  menu.Load();
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Unlink, 20, FailureKind::PermissionDenied);
    Run("Command19");
  }
  EXPECT_EQ(desktop.Summary().back(), kCodeTitle + "|書き込みできません。");
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_TRUE(drives.Exists(CompanyMasterFile(7)));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Deposits, 7)));

  Run("Command19");
  EXPECT_EQ(desktop.Summary().size(), 3);
  EXPECT_FALSE(drives.Exists(CompanyMasterFile(7)));
  EXPECT_EQ(Listed(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
}

// ---------------------------------------------------------------- copy to another code

TEST_F(DataScreenTest, ACopyToAnotherCodeTakesEveryFileAndWritesTheMasterFileLast) {
  // A master file as the register wrote it, with one blank-padded number,
  // kept byte for byte.
  QByteArray master = CompanyRecordWriter(testing::SampleRecord(7, "株式会社見本")).Encode();
  master.replace("10000000\r\n", " 10000000\r\n");
  master += EncodeCp932(QStringLiteral("\"余分\"\r\n")).value();  // beyond the 19: not carried
  const auto put = PutCompany(drives, 7, "株式会社見本", "v1");
  drives.Put(CompanyMasterFile(7), master);
  drives.Put(ScheduleFile("1010", 7), "1010 of 7");
  drives.Put(ScheduleFile("特設欄", 7), "special of 7");
  drives.Put(ScheduleFile("1020", 12), "1020 stale");
  QStringList written;
  QStringList renamed;
  {
    FaultyFileSystem files;
    form21.Write("Text39", "12");
    Run("Command18");
    written = WrittenIn(files.Log());
    renamed = PathsOf(files.Log(), QStringLiteral("rename "));
  }

  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  QStringList expected = StatementFiles(12);
  expected += {ScheduleFile("1010", 12), ScheduleFile("特設欄", 12), CompanyMasterFile(12)};
  EXPECT_EQ(written, expected);
  EXPECT_EQ(renamed, expected);
  const QList<QByteArray> sourceLines = master.split('\n');
  const QList<QByteArray> targetLines = drives.Get(CompanyMasterFile(12)).split('\n');
  ASSERT_EQ(targetLines.size(), 20);  // 19 lines and what follows the last line end
  EXPECT_EQ(targetLines[0], QByteArray("12\r"));
  EXPECT_EQ(targetLines.mid(1, 18), sourceLines.mid(1, 18));
  const QStringList from = StatementFiles(7);
  const QStringList to = StatementFiles(12);
  for (qsizetype k = 0; k < from.size(); ++k) {
    EXPECT_EQ(drives.Get(to[k]), put.at(from[k])) << to[k].toStdString();
  }
  EXPECT_EQ(drives.Get(ScheduleFile("1010", 12)), QByteArray("1010 of 7"));
  EXPECT_EQ(drives.Get(ScheduleFile("特設欄", 12)), QByteArray("special of 7"));
  EXPECT_EQ(drives.Get(ScheduleFile("1020", 12)), QByteArray("1020 stale"));
  EXPECT_EQ(Listed(), (QStringList{"07 : 株式会社見本  [平成20.4.1]",
                                    "012 : 株式会社見本  [平成20.4.1]"}));
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("株式会社見本"));
  EXPECT_EQ(drives.Get(CompanyMasterFile(7)), master);
}

TEST_F(DataScreenTest, ACopyOverAnExistingCompanyAsksFirst) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  const auto old = PutCompany(drives, 12, "十二商事", "old");
  form21.Write("Text39", "12");

  desktop.Answer("キャンセル");
  Run("Command18");
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  for (const auto& [path, bytes] : old) EXPECT_EQ(drives.Get(path), bytes);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(menu.IsLoaded());

  desktop.Answer("OK");
  Run("Command18");
  EXPECT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Deposits, 12)),
            Content(StatementTextFile(StatementMark::Deposits, 7), "v1"));
  EXPECT_EQ(Listed(), (QStringList{"07 : 株式会社見本  [平成20.4.1]",
                                    "012 : 株式会社見本  [平成20.4.1]"}));
}

TEST_F(DataScreenTest, ACopyOntoItselfIsRefusedAndTouchesNothing) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  const QStringList before = Tree(drives.HardDisk());
  FaultyFileSystem files;
  form21.Write("Text39", "7");
  Run("Command18");
  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|既に同名のファイルが存在しています。"});
  EXPECT_EQ(files.Log(), QStringList());
  EXPECT_EQ(Tree(drives.HardDisk()), before);
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(DataScreenTest, ACopyFromACompanyWithoutStatementFilesCopiesNothing) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  QFile::remove(drives.Native(StatementAmountFile(StatementMark::Rents, 7)));
  const QStringList before = Tree(drives.HardDisk());
  form21.Write("Text39", "12");
  Run("Command18");
  EXPECT_EQ(desktop.Summary(), QStringList{kCodeTitle + "|ファイルが見つかりません。"});
  EXPECT_EQ(Tree(drives.HardDisk()), before);
  EXPECT_FALSE(menu.IsLoaded());
  // The source's master file was read: its name is the called one now.
  EXPECT_EQ(form21.CalledCompanyName(), QStringLiteral("株式会社見本"));
}

TEST_F(DataScreenTest, ACopyTakesTheSourcesPageTwoOrDeletesTheTargetsStaleOne) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  PutCompany(drives, 8, "八商事", "v1");
  for (const QString& path : SecondNotesPageFiles(7)) drives.Put(path, Content(path, "v1"));
  for (const QString& path : SecondNotesPageFiles(12)) drives.Put(path, "stale");
  for (const QString& path : SecondNotesPageFiles(13)) drives.Put(path, "stale");

  form21.Write("Text39", "12");
  Run("Command18");
  form21.Write("Text39", "13");
  Run("Command18", "8");

  EXPECT_EQ(desktop.Summary(), QStringList());
  for (qsizetype k = 0; k < 2; ++k) {
    EXPECT_EQ(drives.Get(SecondNotesPageFiles(12)[k]), Content(SecondNotesPageFiles(7)[k], "v1"));
    EXPECT_FALSE(drives.Exists(SecondNotesPageFiles(13)[k]));
  }
}

TEST_F(DataScreenTest, ACopyThatFailsAnywhereLeavesTheHardDiskAsItWas) {
  PutCompany(drives, 7, "株式会社見本", "v1");
  struct Case {
    FileOperation operation;
    int nth;
    bool targetExists;
    QString failed;  // the line of the call that fails
  };
  const QString temporary = StatementFolder() + QStringLiteral("\\.~saving.");
  const QString record = kDataRoot + QChar('\\') + platform::kRecordName;
  const QString draft = kDataRoot + QChar('\\') + platform::kDraftName;
  const QString done = kDataRoot + QChar('\\') + platform::kDoneName;
  const QString first = StatementFiles(12).first();
  const QString master = CompanyMasterFile(12);
  // Onto a new code, and over a company whose stale page 2 of ② the copy
  // deletes: at a write, the record, a set-aside, the deletion, the first, a
  // middle and the last rename into place (the master file), and the commit.
  const Case cases[] = {
      {FileOperation::Write, 5, false, "write " + temporary},
      {FileOperation::Rename, 2, false, "rename " + first},
      {FileOperation::Rename, 38, false, "rename " + master},
      {FileOperation::Rename, 39, false, "rename " + done},
      {FileOperation::Write, 1, true, "write " + draft},
      {FileOperation::Rename, 1, true, "rename " + record},
      {FileOperation::Link, 1, true, "link " + temporary},
      {FileOperation::Unlink, 1, true, "unlink " + SecondNotesPageFiles(12).first()},
      {FileOperation::Rename, 2, true, "rename " + first},
      {FileOperation::Rename, 20, true, "rename " + StatementFolder()},
      {FileOperation::Rename, 38, true, "rename " + master},
      {FileOperation::Rename, 39, true, "rename " + done},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failed.toStdString() + (c.targetExists ? " over a company" : ""));
    QDir(drives.Native(CompanyFolder())).remove(drives.Native(CompanyMasterFile(12)));
    if (c.targetExists) {
      PutCompany(drives, 12, "十二物産", "old");
      for (const QString& path : SecondNotesPageFiles(12)) drives.Put(path, "stale");
    }
    const QStringList before = Tree(drives.HardDisk());
    desktop.boxes.clear();
    desktop.beeps = 0;
    desktop.Answer("OK");
    {
      FaultyFileSystem files;
      files.Fail(c.operation, c.nth, FailureKind::DiskFull);
      form21.Write("Text39", "12");
      Run("Command18");
      ASSERT_EQ(files.Log().filter(QStringLiteral(" failed")).size(), 1);
      EXPECT_TRUE(files.Log().filter(QStringLiteral(" failed")).front().startsWith(c.failed));
    }
    EXPECT_EQ(desktop.Summary().last(),
              kCodeTitle + "|ディスクの空き容量が不足しています。");
    EXPECT_EQ(Tree(drives.HardDisk()), before);
    EXPECT_FALSE(menu.IsLoaded());
    EXPECT_EQ(desktop.beeps, 0);
  }
}

}  // namespace
}  // namespace mirudanto::backup
