#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "core/failure.h"
#include "platform/file_transaction.h"
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
using namespace std::chrono_literals;

const QString kRoot = QStringLiteral("c:\\法人税");
const QString kFolder = QStringLiteral("c:\\法人税\\ミルダ");
const QString kFile = QStringLiteral("c:\\法人税\\ミルダ\\①7.txt");
// Files of one save in two folders, the way a statement's text and amounts
// could be split by a damaged installation.
const QString kSecond = QStringLiteral("c:\\法人税\\別表\\A①7.txt");
const QString kSecondFolder = QStringLiteral("c:\\法人税\\別表");
// A file that the change creates.
const QString kThird = QStringLiteral("c:\\法人税\\ミルダ\\B①7.txt");
const QString kRecord = kRoot + QChar('\\') + kRecordName;
const QString kDone = kRoot + QChar('\\') + kDoneName;
const QString kAlone = kRoot + QChar('\\') + kAloneName;

QString NameOf(const QString& path) { return path.section(QChar('\\'), -1); }
QString FolderOf(const QString& path) { return path.section(QChar('\\'), 0, -2); }
bool IsHidden(const QString& path) { return NameOf(path).startsWith(QStringLiteral(".~")); }

// Every file and folder below the hard disk with its bytes, hidden names
// included, so that what a call changed, or a file it left, shows. The
// drive's lock is no data: made by the first hold, it stays.
QStringList TreeOf(const TempDrives& drives) {
  QStringList entries;
  QDirIterator it(drives.HardDisk(),
                  QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo entry = it.fileInfo();
    if (entry.fileName() == kLockName) continue;
    QByteArray bytes;
    if (entry.isFile()) {
      QFile file(entry.filePath());
      if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    }
    entries.append(entry.filePath().mid(drives.HardDisk().size()) + QChar('=') +
                   QString::fromUtf8(bytes));
  }
  entries.sort();
  return entries;
}

// The writer's hidden files on the hard disk, but its lock.
QStringList Hidden(const TempDrives& drives) {
  QStringList hidden;
  for (const QString& entry : TreeOf(drives)) {
    const QString path = entry.section(QChar('='), 0, 0);
    if (path.section(QChar('/'), -1).startsWith(QStringLiteral(".~"))) hidden.append(path);
  }
  return hidden;
}

// The tree without the hidden files: the data as a user sees it.
QStringList DataOf(const TempDrives& drives) {
  QStringList data;
  for (const QString& entry : TreeOf(drives)) {
    if (!entry.section(QChar('='), 0, 0).section(QChar('/'), -1).startsWith(
            QStringLiteral(".~"))) {
      data.append(entry);
    }
  }
  return data;
}

// The log with the random part of each hidden name taken out.
QStringList Normalized(const QStringList& log) {
  QStringList lines = log;
  lines.replaceInStrings(QRegularExpression(QStringLiteral("(\\.~saving\\..*)\\.\\w{6}( failed)?$")),
                         QStringLiteral("\\1.*\\2"));
  return lines;
}

// One call of a log, and which call of its operation it was.
struct Call {
  FileOperation operation;
  int nth;
  QString line;
};

std::vector<Call> CallsOf(const QStringList& log) {
  const std::pair<const char*, FileOperation> names[] = {
      {"write ", FileOperation::Write},   {"rename ", FileOperation::Rename},
      {"link ", FileOperation::Link},     {"unlink ", FileOperation::Unlink},
      {"make folder ", FileOperation::MakeFolder}, {"flush ", FileOperation::FlushFolder},
      {"look ", FileOperation::Look},     {"lock ", FileOperation::Lock},
      {"read ", FileOperation::Read}};
  std::map<FileOperation, int> counts;
  std::vector<Call> calls;
  for (const QString& line : Normalized(log)) {
    for (const auto& [name, operation] : names) {
      if (line.startsWith(QLatin1String(name))) {
        calls.push_back({operation, ++counts[operation], line});
        break;
      }
    }
  }
  return calls;
}

QString Numbered(const QString& stem, int k) { return QStringLiteral("%1%2").arg(stem).arg(k); }

void ExpectFailure(const std::function<void()>& operation, FailureKind kind,
                   const QString& description) {
  const std::optional<Failure> failure = FailureOf(operation);
  ASSERT_TRUE(failure) << "no failure";
  EXPECT_EQ(failure->Kind(), kind);
  EXPECT_EQ(failure->Description(), description);
}

// How long a hold waits for another copy's, for one test.
class Patience {
 public:
  explicit Patience(std::chrono::milliseconds patience) { DriveLock::SetPatience(patience); }
  ~Patience() { DriveLock::SetPatience(5s); }
  Patience(const Patience&) = delete;
  Patience& operator=(const Patience&) = delete;
};

// Another copy of the program, as the lock sees one: an open file description
// of its own on the drive's lock file. Its locks conflict with this copy's
// even within one process.
class OtherCopy {
 public:
  explicit OtherCopy(const TempDrives& drives)
      : fd_(::open(QFile::encodeName(drives.Native(kRoot + QChar('\\') + kLockName)).constData(),
                   O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {}
  ~OtherCopy() {
    if (fd_ >= 0) ::close(fd_);
  }
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;

  // LOCK_SH or LOCK_EX, without waiting.
  bool Takes(int operation) { return fd_ >= 0 && ::flock(fd_, operation | LOCK_NB) == 0; }
  void LetGo() { ::flock(fd_, LOCK_UN); }

 private:
  int fd_;
};

void PutOld(const TempDrives& drives) {
  drives.Put(kFile, "old text");
  drives.Put(kSecond, "old amounts");
}

// ---------------------------------------------------------------- the seam

TEST(FileSystemSeam, OnlyTheChosenCallOfItsOperationFailsAndItChangesNothing) {
  // Each call k works on paths of its own, so that the failed one is seen to
  // have left the disk as it found it while the calls around it went through.
  struct Case {
    const char* name;
    FileOperation operation;
    FailureKind kind;
    std::function<void(FileSystem&, int k)> call;
  };
  const QString made = kFolder + QStringLiteral("\\f");
  const QString there = kFolder + QStringLiteral("\\s");
  const Case cases[] = {
      {"read", FileOperation::Read, FailureKind::OtherIO,
       [](FileSystem& files, int) { files.Read(kFile); }},
      {"write", FileOperation::Write, FailureKind::DiskFull,
       [&](FileSystem& files, int k) { files.Write(Numbered(made, k), "new", k == 1); }},
      {"rename", FileOperation::Rename, FailureKind::PermissionDenied,
       [&](FileSystem& files, int k) { files.Rename(Numbered(there, k), Numbered(made, k)); }},
      {"link", FileOperation::Link, FailureKind::DiskFull,
       [&](FileSystem& files, int k) { files.Link(kFile, Numbered(made, k)); }},
      {"unlink", FileOperation::Unlink, FailureKind::PermissionDenied,
       [&](FileSystem& files, int k) { files.Unlink(Numbered(there, k)); }},
      {"make folder", FileOperation::MakeFolder, FailureKind::DiskFull,
       [&](FileSystem& files, int k) { files.MakeFolder(Numbered(made, k)); }},
      {"flush", FileOperation::FlushFolder, FailureKind::DiskNotReady,
       [](FileSystem& files, int) { files.FlushFolder(kFolder); }},
      {"look", FileOperation::Look, FailureKind::DiskNotReady,
       [](FileSystem& files, int) { files.Look(kFile); }},
      {"lock", FileOperation::Lock, FailureKind::DiskNotReady,
       [](FileSystem& files, int) {
         const QString lock = kRoot + QChar('\\') + kLockName;
         files.Lock(lock, LockMode::Shared);
         files.Lock(lock, LockMode::Unlocked);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    drives.Put(kFile, "old");
    for (int k = 1; k <= 3; ++k) drives.Put(Numbered(there, k), "there");
    FaultyFileSystem files;
    int told = 0;
    files.AfterEachCall([&](FileOperation operation) { told += operation == c.operation; });
    files.Fail(c.operation, 2, c.kind);

    for (int k = 1; k <= 3; ++k) {
      const QStringList before = TreeOf(drives);
      const std::optional<Failure> failure = FailureOf([&] { c.call(files, k); });
      if (k == 2) {
        ASSERT_TRUE(failure) << "call " << k << " went through";
        EXPECT_EQ(failure->Kind(), c.kind);
        EXPECT_EQ(TreeOf(drives), before);
        EXPECT_TRUE(files.Log().back().endsWith(QStringLiteral(" failed")));
      } else {
        EXPECT_FALSE(failure) << "call " << k << " failed: " << failure->what();
      }
    }
    EXPECT_EQ(files.Calls(c.operation), 3);
    EXPECT_EQ(told, 2) << "a failed call was told as made";
  }
}

TEST(FileSystemSeam, AMediumWithoutHardLinksGivesNoSecondNameAndTheDiskComesBack) {
  TempDrives drives;
  drives.Put(kFile, "old");
  const QString second = kFolder + QStringLiteral("\\second");
  {
    FaultyFileSystem files;
    files.WithoutHardLinks();
    EXPECT_FALSE(files.Link(kFile, second));
    EXPECT_FALSE(drives.Exists(second));
    EXPECT_EQ(files.Log(), QStringList{"link " + second});
  }
  // Gone, it leaves the disk in its place.
  EXPECT_TRUE(CurrentFileSystem().Link(kFile, second));
  EXPECT_EQ(drives.Get(second), QByteArray("old"));
}

// ---------------------------------------------------------------- one file alone

TEST(WritingAlone, AFileAloneIsPutInPlaceWithoutARecordAndLeavesNothing) {
  TempDrives drives;
  drives.Put(kFile, "old");
  const QString added = kFolder + QStringLiteral("\\②7.txt");
  FaultyFileSystem files;
  WriteFileAtomic(kFile, "new");
  ChangeFilesTogether({{added, "added"}, {kFolder + QStringLiteral("\\無い.txt"), std::nullopt}});
  DeleteFile(added);

  EXPECT_EQ(drives.Get(kFile), QByteArray("new"));
  EXPECT_FALSE(drives.Exists(added));
  EXPECT_EQ(Hidden(drives), QStringList());
  for (const QString& line : files.Log().filter(kRecordName)) {
    EXPECT_TRUE(line.startsWith(QStringLiteral("look ")))
        << "a record for one file: " << line.toStdString();
  }
  // Named for removal, and that on the medium, before the temporary exists;
  // in place, flushed, and only then the note gone.
  QStringList changes;
  for (const QString& line : Normalized(files.Log())) {
    if (!line.startsWith(QStringLiteral("look ")) && !line.startsWith(QStringLiteral("lock "))) {
      changes.append(line);
    }
  }
  EXPECT_EQ(changes, (QStringList{"write " + kAlone, "flush " + kRoot,
                                  "write " + kFolder + "\\.~saving.①7.txt.*", "rename " + kFile,
                                  "flush " + kFolder, "unlink " + kAlone, "write " + kAlone,
                                  "flush " + kRoot, "write " + kFolder + "\\.~saving.②7.txt.*",
                                  "rename " + added, "flush " + kFolder, "unlink " + kAlone,
                                  "unlink " + added, "flush " + kFolder}));
}

TEST(WritingAlone, AFailureAtAnyStepLeavesTheFileWholeAndTheNextHoldNothingElse) {
  QStringList log;
  {
    TempDrives drives;
    drives.Put(kFile, "old");
    FaultyFileSystem files;
    WriteFileAtomic(kFile, "new");
    log = files.Log();
  }
  const qsizetype rename = log.indexOf("rename " + kFile);
  ASSERT_GT(rename, 0);
  const std::vector<Call> calls = CallsOf(log);
  for (std::size_t k = 0; k < calls.size(); ++k) {
    SCOPED_TRACE(calls[k].line.toStdString() + " failed");
    TempDrives drives;
    drives.Put(kFile, "old");
    std::optional<Failure> failure;
    {
      FaultyFileSystem files;
      files.Fail(calls[k].operation, calls[k].nth, FailureKind::DiskFull);
      failure = FailureOf([] { WriteFileAtomic(kFile, "new"); });
      ASSERT_TRUE(Normalized(files.Log()).contains(calls[k].line + " failed"));
    }
    if (static_cast<qsizetype>(k) <= rename) {
      ASSERT_TRUE(failure);
      EXPECT_EQ(failure->Kind(), FailureKind::DiskFull);
      EXPECT_EQ(drives.Get(kFile), QByteArray("old"));
      EXPECT_EQ(Hidden(drives), QStringList());
    } else {
      // In place, whole; a flush that failed after it is reported, as the
      // file may not be on the medium yet.
      EXPECT_EQ(drives.Get(kFile), QByteArray("new"));
      EXPECT_EQ(Hidden(drives).filter(kTemporaryMark), QStringList());
    }
    { const DriveLock next(kFile, DriveLock::Mode::Exclusive); }
    EXPECT_EQ(Hidden(drives), QStringList());
  }
}

// A temporary that cannot be removed after a failed rename keeps the note
// that names it, so that the next hold still finds and removes it.
TEST(WritingAlone, ATemporaryThatCannotBeRemovedAfterAFailureIsLeftToTheNextHold) {
  TempDrives drives;
  drives.Put(kFile, "old");
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Rename, 1, FailureKind::DiskNotReady);
    files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);
    const std::optional<Failure> failure = FailureOf([] { WriteFileAtomic(kFile, "new"); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::DiskNotReady);
  }
  EXPECT_EQ(drives.Get(kFile), QByteArray("old"));
  EXPECT_EQ(Hidden(drives).filter(kTemporaryMark).size(), 1);
  { const DriveLock next(kFile, DriveLock::Mode::Exclusive); }
  EXPECT_EQ(Hidden(drives), QStringList());
}

// As with several files, once the new file is in place and on the medium
// the change is done: what is left to remove is the next hold's.
TEST(WritingAlone, AWriteOnTheMediumIsDoneThoughItsNoteCannotBeRemoved) {
  TempDrives drives;
  drives.Put(kFile, "old");
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);
    const std::optional<Failure> failure = FailureOf([] { WriteFileAtomic(kFile, "new"); });
    EXPECT_FALSE(failure) << failure->what();
    ASSERT_EQ(files.Log().back(), "unlink " + kAlone + " failed");
  }
  EXPECT_EQ(drives.Get(kFile), QByteArray("new"));
  {
    // A note of a finished write stops no read, and no read writes or takes
    // the drive from another copy's read.
    const Patience patience(50ms);
    OtherCopy reader(drives);
    ASSERT_TRUE(reader.Takes(LOCK_SH));
    EXPECT_EQ(ReadFileBytes(kFile), QByteArray("new"));
  }
  EXPECT_EQ(Hidden(drives), QStringList{"/法人税/" + kAloneName});
  WriteFileAtomic(kFolder + QStringLiteral("\\②7.txt"), "other");
  EXPECT_EQ(Hidden(drives), QStringList());
}

TEST(WritingAlone, ATemporaryThatAKillLeftBeforeItsRenameIsRemovedByTheNextHold) {
  TempDrives drives;
  drives.Put(kFile, "old");
  const QString lookalike = kFolder + QStringLiteral("\\.~saving.①7.txt.Ab12Cd");
  drives.Put(lookalike, "no note names it");
  {
    // The rename, and then every removal, fails: as a kill leaves it.
    FaultyFileSystem files;
    files.Fail(FileOperation::Rename, 1, FailureKind::DiskNotReady);
    files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);
    files.Fail(FileOperation::Unlink, 2, FailureKind::DiskNotReady);
    ASSERT_TRUE(FailureOf([] { WriteFileAtomic(kFile, "new"); }));
  }
  ASSERT_EQ(Hidden(drives).size(), 3);  // the note, the temporary and the lookalike
  EXPECT_EQ(drives.Get(kFile), QByteArray("old"));

  { const DriveLock next(kFile, DriveLock::Mode::Exclusive); }
  EXPECT_EQ(Hidden(drives), QStringList{"/法人税/ミルダ/.~saving.①7.txt.Ab12Cd"});
}

// ---------------------------------------------------------------- several files

// The changes of several files that the tests below make, from the files
// PutOld puts.
struct Save {
  const char* name;
  std::vector<FileChange> changes;
};

std::vector<Save> Saves() {
  return {
      {"two files in two folders", {{kFile, "new text"}, {kSecond, "new amounts"}}},
      {"three files, one of them new",
       {{kFile, "new text"}, {kSecond, "new amounts"}, {kThird, "new markers"}}},
      {"a deletion and a file", {{kFile, std::nullopt}, {kSecond, "new amounts"}}},
  };
}

class SeveralFiles : public ::testing::TestWithParam<bool> {
 protected:
  // The medium of the test: with hard links, or without as FAT.
  void Prepare(FaultyFileSystem& files) const {
    if (!GetParam()) files.WithoutHardLinks();
  }
};

TEST_P(SeveralFiles, AFailureUpToTheCommitChangesNothingAndOneAfterItLeavesTheChangeMade) {
  for (const Save& save : Saves()) {
    SCOPED_TRACE(save.name);
    QStringList log;
    QStringList before;
    QStringList after;
    {
      TempDrives drives;
      PutOld(drives);
      before = TreeOf(drives);
      FaultyFileSystem files;
      Prepare(files);
      ChangeFilesTogether(save.changes);
      log = files.Log();
      after = TreeOf(drives);
    }
    ASSERT_NE(before, after);
    ASSERT_EQ(after.filter(QStringLiteral("/.~")), QStringList());
    // The commit: the record becomes the note of what is left to remove,
    // and that is on the medium.
    const qsizetype commit = log.indexOf("rename " + kDone);
    ASSERT_GT(commit, 0);
    ASSERT_EQ(log.value(commit + 1), "flush " + kRoot);

    const std::vector<Call> calls = CallsOf(log);
    for (std::size_t k = 0; k < calls.size(); ++k) {
      SCOPED_TRACE(calls[k].line.toStdString() + " failed, call " +
                   std::to_string(calls[k].nth) + " of its kind");
      TempDrives drives;
      PutOld(drives);
      std::optional<Failure> failure;
      {
        FaultyFileSystem files;
        Prepare(files);
        files.Fail(calls[k].operation, calls[k].nth, FailureKind::OtherIO);
        failure = FailureOf([&] { ChangeFilesTogether(save.changes); });
        ASSERT_TRUE(Normalized(files.Log()).contains(calls[k].line + " failed"))
            << "the change went another way";
      }
      if (static_cast<qsizetype>(k) <= commit) {
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
        EXPECT_EQ(TreeOf(drives), before);
        continue;
      }
      // A commit not known to be on the medium is reported, and stands.
      if (static_cast<qsizetype>(k) == commit + 1) {
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
        EXPECT_TRUE(drives.Exists(kDone));
      } else {
        EXPECT_FALSE(failure) << failure->what();
      }
      EXPECT_EQ(DataOf(drives), after);
      EXPECT_EQ(ReadFileBytes(kSecond), QByteArray("new amounts"));
      { const DriveLock next(kRoot, DriveLock::Mode::Exclusive); }
      EXPECT_EQ(TreeOf(drives), after);
    }
  }
}

TEST_P(SeveralFiles, TheRecordComesFirstTheOldContentsAreKeptBeforeAnyFileChangesAndTheCommitLast) {
  for (const Save& save : Saves()) {
    SCOPED_TRACE(save.name);
    TempDrives drives;
    PutOld(drives);
    FaultyFileSystem files;
    Prepare(files);
    ChangeFilesTogether(save.changes);
    const QStringList log = files.Log();

    const qsizetype record = log.indexOf("rename " + kRecord);
    const qsizetype commit = log.indexOf("rename " + kDone);
    ASSERT_GE(record, 0);
    ASSERT_GT(commit, record);
    EXPECT_EQ(log.value(record + 1), "flush " + kRoot) << "the record is on the medium first";

    std::vector<qsizetype> temporaries;
    std::vector<std::pair<qsizetype, QString>> asides;   // with their folders
    std::vector<std::pair<qsizetype, QString>> changes;  // renames into place and deletions
    for (qsizetype k = record + 1; k < commit; ++k) {
      const QString& line = log[k];
      const QString path = line.section(QChar(' '), 1);
      if (line.startsWith(QStringLiteral("write "))) {
        temporaries.push_back(k);
      } else if (IsHidden(path) && (line.startsWith(QStringLiteral("link ")) ||
                                    line.startsWith(QStringLiteral("rename ")))) {
        asides.emplace_back(k, FolderOf(path));
      } else if (!IsHidden(path) && (line.startsWith(QStringLiteral("rename ")) ||
                                     line.startsWith(QStringLiteral("unlink ")))) {
        changes.emplace_back(k, FolderOf(path));
      }
    }
    EXPECT_EQ(temporaries.size(), log.filter(QStringLiteral("write ")).size() - 1)
        << "a temporary written before the record";
    ASSERT_FALSE(changes.empty());
    ASSERT_FALSE(asides.empty());
    const qsizetype firstChange = changes.front().first;
    for (const qsizetype temporary : temporaries) EXPECT_LT(temporary, firstChange);
    // A flush of the folder between a set-aside and the first change.
    const auto flushedBetween = [&](const QString& folder, qsizetype from, qsizetype to) {
      for (qsizetype k = from + 1; k < to; ++k) {
        if (log[k] == "flush " + folder) return true;
      }
      return false;
    };
    for (const auto& [at, folder] : asides) {
      EXPECT_TRUE(flushedBetween(folder, at, firstChange))
          << log[at].toStdString() << " not flushed before the first change";
    }
    for (const auto& [at, folder] : changes) {
      EXPECT_TRUE(flushedBetween(folder, at, commit))
          << log[at].toStdString() << " not flushed before the commit";
    }
    // After the commit only the hidden files go, and the note last.
    for (qsizetype k = commit; k < log.size(); ++k) {
      if (log[k].startsWith(QStringLiteral("unlink "))) {
        EXPECT_TRUE(IsHidden(log[k].section(QChar(' '), 1))) << log[k].toStdString();
      }
    }
    EXPECT_EQ(log.back(), "unlink " + kDone);
  }
}

INSTANTIATE_TEST_SUITE_P(HardLinks, SeveralFiles, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

TEST(WritingTogether, AFileThatCannotBeWrittenLeavesEveryTargetAsItWas) {
  struct Case {
    const char* name;
    std::function<bool(TempDrives&, FaultyFileSystem&)> spoil;  // false: cannot be set up here
  };
  const Case cases[] = {
      {"the disk fills on the second file",
       [](TempDrives&, FaultyFileSystem& files) {
         files.Fail(FileOperation::Write, 3, FailureKind::DiskFull);  // after the record's
         return true;
       }},
      {"the second target is a folder",
       [](TempDrives& drives, FaultyFileSystem&) {
         QFile::remove(drives.Native(kSecond));
         return QDir().mkdir(drives.Native(kSecond));
       }},
      {"the second folder is read-only",
       [](TempDrives& drives, FaultyFileSystem&) {
         return ::chmod(QFile::encodeName(drives.Native(kSecondFolder)).constData(), 0555) == 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WithoutRootOverride noOverride;
    if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
    TempDrives drives;
    PutOld(drives);
    FaultyFileSystem files;
    ASSERT_TRUE(c.spoil(drives, files));
    const QStringList before = TreeOf(drives);

    const std::optional<Failure> failure =
        FailureOf([] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new amounts"}}); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(TreeOf(drives), before);
    EXPECT_EQ(files.Log().filter("rename " + kFile), QStringList()) << "a file was put in place";
    ::chmod(QFile::encodeName(drives.Native(kSecondFolder)).constData(), 0755);
  }
}

TEST(WritingTogether, ARollbackThatFailsTooLeavesTheRecordForTheNextHoldOrStart) {
  struct Faults {
    const char* name;
    std::vector<std::pair<FileOperation, int>> calls;
  };
  std::vector<std::pair<FileOperation, int>> flushes;
  // Every flush from the one after the renames into place.
  for (int nth = 4; nth < 20; ++nth) flushes.emplace_back(FileOperation::FlushFolder, nth);
  const Faults faults[] = {
      // The medium pulled out at the second rename into place: the first
      // file is new, and its old content cannot be put back.
      {"the medium gone", {{FileOperation::Rename, 3}, {FileOperation::Rename, 4}}},
      {"a medium that stops flushing", flushes},
      {"a set-aside that cannot be removed", {{FileOperation::Rename, 3}, {FileOperation::Unlink, 1}}},
  };
  for (const Faults& f : faults) {
    for (const char* next : {"change", "read", "start"}) {
      SCOPED_TRACE(std::string(f.name) + ", then " + next);
      TempDrives drives;
      PutOld(drives);
      const QStringList before = TreeOf(drives);
      {
        FaultyFileSystem files;
        for (const auto& [operation, nth] : f.calls) {
          files.Fail(operation, nth, FailureKind::DiskNotReady);
        }
        const std::optional<Failure> failure =
            FailureOf([] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new amounts"}}); });
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Kind(), FailureKind::DiskNotReady);
      }
      EXPECT_TRUE(drives.Exists(kRecord));

      if (QLatin1String(next) == QLatin1String("change")) {
        const QString other = kFolder + QStringLiteral("\\②7.txt");
        WriteFileAtomic(other, "other");
        QFile::remove(drives.Native(other));
      } else if (QLatin1String(next) == QLatin1String("read")) {
        EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
      } else {
        DriveLock::RecoverIfFree(kRoot);
      }
      EXPECT_EQ(TreeOf(drives), before);
    }
  }
}

// A change whose last flush failed, or that a kill stopped before it, may
// not be on the medium yet: a read flushes it before it takes anything from
// it, so that no later power loss undoes what was read. It writes nothing.
TEST(WritingTogether, AReadFlushesAChangeThatMayNotBeOnTheMediumAndWritesNothing) {
  struct Case {
    const char* name;
    std::function<void()> change;
    QString commit;   // the rename that commits it
    QString flushed;  // the folder whose flush follows
  };
  const Case cases[] = {
      {"several files, the commit's flush",
       [] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new amounts"}}); }, kDone, kRoot},
      {"a file alone, its folder's flush", [] { WriteFileAtomic(kFile, "new text"); }, kFile,
       kFolder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    PutOld(drives);
    int last = 0;
    {
      FaultyFileSystem files;
      c.change();
      const QStringList log = files.Log();
      const qsizetype commit = log.indexOf("rename " + c.commit);
      ASSERT_GT(commit, 0);
      ASSERT_EQ(log.value(commit + 1), "flush " + c.flushed);
      last = static_cast<int>(log.mid(0, commit + 2).filter(QRegularExpression("^flush ")).size());
    }
    PutOld(drives);
    {
      FaultyFileSystem files;
      files.Fail(FileOperation::FlushFolder, last, FailureKind::OtherIO);
      ASSERT_TRUE(FailureOf(c.change));
    }
    const QStringList left = TreeOf(drives);
    FaultyFileSystem files;
    EXPECT_EQ(ReadFileBytes(kFile), QByteArray("new text"));
    EXPECT_TRUE(files.Log().contains("flush " + c.flushed)) << files.Log().join('\n').toStdString();
    EXPECT_EQ(files.Log().filter(QRegularExpression("^(write|rename|link|unlink|make) ")),
              QStringList());
    EXPECT_EQ(TreeOf(drives), left);
  }
}

// Holds nest, so a change may follow another within one hold, where no new
// hold comes to finish what the first left.
TEST(WritingTogether, AChangeWithinAHoldGoesThroughWhereTheOneBeforeLeftItsOldContents) {
  TempDrives drives;
  PutOld(drives);
  const DriveLock held(kRoot, DriveLock::Mode::Exclusive);
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Unlink, 1, FailureKind::DiskNotReady);  // a set-aside's removal
    WriteFilesTogether({{kFile, "first"}, {kSecond, "first"}});
  }
  ASSERT_EQ(Hidden(drives).size(), 3);  // both old contents, and the note naming them

  const std::optional<Failure> failure =
      FailureOf([] { WriteFilesTogether({{kFile, "second"}, {kSecond, "second"}}); });
  EXPECT_FALSE(failure) << failure->what();
  EXPECT_EQ(drives.Get(kFile), QByteArray("second"));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("second"));
  // Whatever is still left is named for the drive's next hold.
  if (!Hidden(drives).isEmpty()) {
    EXPECT_TRUE(drives.Exists(kDone)) << "old contents that no note names";
  }
}

TEST(WritingTogether, ARecordIsRolledBackWhereAFolderItNamesIsGone) {
  TempDrives drives;
  PutOld(drives);
  {
    FaultyFileSystem files;
    files.Fail(FileOperation::Rename, 3, FailureKind::DiskNotReady);
    files.Fail(FileOperation::Rename, 4, FailureKind::DiskNotReady);
    ASSERT_TRUE(FailureOf([] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new"}}); }));
  }
  ASSERT_TRUE(drives.Exists(kRecord));
  ASSERT_TRUE(QDir(drives.Native(kSecondFolder)).removeRecursively());

  WriteFileAtomic(kFolder + QStringLiteral("\\②7.txt"), "other");
  EXPECT_EQ(drives.Get(kFile), QByteArray("old text"));
  EXPECT_EQ(Hidden(drives), QStringList());
}

// A record that is not whole, or names what no change of this program would,
// was not written by it: acting on it could undo the wrong files.
TEST(WritingTogether, ARecordThatIsNotTheProgramsStopsChangesButNotReads) {
  // A save of ①7 killed after its rename: the new content in place, the old
  // one set aside.
  const QByteArray temporary = ".~saving.①7.txt.Ab12Cd";
  const QByteArray aside = ".~saving.①7.txt.Zz99Yy";
  const QByteArray entry = "W\tミルダ\\①7.txt\t" + temporary + '\t' + aside + '\n';
  struct Case {
    const char* name;
    QByteArray record;
    bool ours;
  };
  const Case cases[] = {
      {"whole", "change 2\n" + entry + "end\n", true},
      {"garbage", "garbage", false},
      {"cut short", "change 2\n" + entry, false},
      // Cut as far into its next line as its end would reach: whole but for
      // the file that line would name.
      {"cut short in its next line", "change 2\n" + entry + "W\tAB", false},
      {"of another kind", "change 9\n" + entry + "end\n", false},
      {"an unknown step", "change 2\nX" + entry.mid(1) + "end\n", false},
      // Undone, it would delete the set-aside it names as a file.
      {"a hidden name for a file",
       "change 2\nW\tミルダ\\" + aside + "\t.~saving." + aside + ".Ab12Cd\t\nend\n", false},
      {"a path out of the data root",
       "change 2\nW\t..\\法人名\\7.txt\t.~saving.7.txt.Ab12Cd\t\nend\n", false},
      {"a temporary of another file",
       "change 2\nW\tミルダ\\①7.txt\t.~saving.A①7.txt.Ab12Cd\t" + aside + "\nend\n", false},
      {"a data file for a set-aside",
       "change 2\nW\tミルダ\\①7.txt\t" + temporary + "\tA①7.txt\nend\n", false},
      {"a deletion that keeps nothing", "change 2\nD\tミルダ\\①7.txt\t\t\nend\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrives drives;
    drives.Put(kFile, "new text");
    drives.Put(kFolder + QChar('\\') + QString::fromUtf8(aside), "old text");
    drives.Put(kFolder + QStringLiteral("\\A①7.txt"), "amounts");
    drives.Put(kRecord, c.record);
    const QStringList planted = TreeOf(drives);

    const std::optional<Failure> failure =
        FailureOf([] { WriteFileAtomic(kFolder + QStringLiteral("\\A①7.txt"), "x"); });
    if (c.ours) {
      EXPECT_FALSE(failure);
      EXPECT_EQ(drives.Get(kFile), QByteArray("old text"));
      EXPECT_EQ(Hidden(drives), QStringList());
      continue;
    }
    EXPECT_EQ(TreeOf(drives), planted);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::TypeMismatch);
    EXPECT_EQ(failure->Description(),
              Failure::Describe(FailureKind::TypeMismatch) + QChar('\n') + kRecordName);
    {
      // Read beside it without taking the drive exclusively: another copy's
      // read goes on at the same time.
      const Patience patience(50ms);
      OtherCopy reader(drives);
      ASSERT_TRUE(reader.Takes(LOCK_SH));
      EXPECT_EQ(ReadFileBytes(kFile), QByteArray("new text"));
    }
    DriveLock::RecoverIfFree(kRoot);
    EXPECT_EQ(TreeOf(drives), planted);
    // The failed hold let the drive go.
    OtherCopy other(drives);
    EXPECT_TRUE(other.Takes(LOCK_EX));
  }
}

// ---------------------------------------------------------------- the drive's lock

TEST(DriveLock, AnotherCopysHoldIsWaitedForThenReportedAndNothingChanges) {
  TempDrives drives;
  PutOld(drives);
  const QStringList before = TreeOf(drives);
  const Patience patience(100ms);
  OtherCopy other(drives);
  ASSERT_TRUE(other.Takes(LOCK_EX));
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"read", [] { ReadFileBytes(kFile); }},
      {"write", [] { WriteFileAtomic(kFile, "new"); }},
      {"write together", [] { WriteFilesTogether({{kFile, "new"}, {kSecond, "new"}}); }},
      {"delete", [] { DeleteFile(kFile); }},
      {"create folder", [] { CreateFolder(kRoot + QStringLiteral("\\新")); }},
  };
  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    const auto start = std::chrono::steady_clock::now();
    ExpectFailure(operation, FailureKind::PermissionDenied, QStringLiteral("書き込みできません。"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
  }
  EXPECT_EQ(TreeOf(drives), before);

  // Beside another copy's reading, reads go on and changes wait.
  other.LetGo();
  ASSERT_TRUE(other.Takes(LOCK_SH));
  EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
  ExpectFailure([] { WriteFileAtomic(kFile, "new"); }, FailureKind::PermissionDenied,
                QStringLiteral("書き込みできません。"));
  EXPECT_EQ(TreeOf(drives), before);
}

TEST(DriveLock, AChangeGoesThroughWhenTheOtherCopyLetsGoWithinThePatience) {
  TempDrives drives;
  PutOld(drives);
  const Patience patience(5s);
  OtherCopy other(drives);
  ASSERT_TRUE(other.Takes(LOCK_EX));
  std::thread letGo([&other] {
    std::this_thread::sleep_for(200ms);
    other.LetGo();
  });
  const auto start = std::chrono::steady_clock::now();
  const std::optional<Failure> failure =
      FailureOf([] { WriteFilesTogether({{kFile, "new text"}, {kSecond, "new amounts"}}); });
  const auto waited = std::chrono::steady_clock::now() - start;
  letGo.join();
  EXPECT_FALSE(failure) << failure->what();
  EXPECT_GE(waited, 150ms);
  EXPECT_EQ(drives.Get(kFile), QByteArray("new text"));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("new amounts"));
}

TEST(DriveLock, HoldsNestWithinOneCopyAndTheOutermostDecidesWhatOthersMayDo) {
  TempDrives drives;
  PutOld(drives);
  const Patience patience(50ms);
  OtherCopy other(drives);
  const auto othersMay = [&other](int operation) {
    const bool took = other.Takes(operation);
    other.LetGo();
    return took;
  };
  {
    const DriveLock reading(kRoot, DriveLock::Mode::Shared);
    EXPECT_TRUE(othersMay(LOCK_SH));
    EXPECT_FALSE(othersMay(LOCK_EX));
    EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
  }
  {
    // Reads and changes within a change wait for nobody.
    const DriveLock changing(kFile, DriveLock::Mode::Exclusive);
    EXPECT_FALSE(othersMay(LOCK_SH));
    WriteFileAtomic(kFile, "inner");
    EXPECT_EQ(ReadFileBytes(kFile), QByteArray("inner"));
    WriteFilesTogether({{kFile, "innermost"}, {kSecond, "innermost"}});
    const DriveLock again(kSecond, DriveLock::Mode::Exclusive);
    EXPECT_FALSE(othersMay(LOCK_SH));
  }
  EXPECT_TRUE(othersMay(LOCK_EX));
  EXPECT_EQ(drives.Get(kSecond), QByteArray("innermost"));
  EXPECT_EQ(Hidden(drives), QStringList());
}

// flock would let a read's lock go on the way to a change's, and another
// copy could change the drive under the read: no code of the program asks
// for that, and one that did is stopped before anything is written.
TEST(DriveLock, AChangeInsideAReadIsAFaultOfTheProgramAndTheReadStaysHeld) {
  TempDrives drives;
  PutOld(drives);
  const QStringList before = TreeOf(drives);
  OtherCopy other(drives);
  const DriveLock reading(kRoot, DriveLock::Mode::Shared);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"hold", [] { const DriveLock changing(kFile, DriveLock::Mode::Exclusive); }},
      {"write", [] { WriteFileAtomic(kFile, "new"); }},
      {"write together", [] { WriteFilesTogether({{kFile, "new"}, {kSecond, "new"}}); }},
      {"delete", [] { DeleteFile(kFile); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    EXPECT_THROW(change(), std::logic_error);
    EXPECT_FALSE(other.Takes(LOCK_EX)) << "another copy may change files under this copy's read";
    EXPECT_TRUE(other.Takes(LOCK_SH));
    other.LetGo();
  }
  EXPECT_EQ(TreeOf(drives), before);
  EXPECT_EQ(ReadFileBytes(kFile), QByteArray("old text"));
}

// A save after a failed load asks before it overwrites files that may be
// there: one that cannot be looked at may be.
TEST(Existence, AFileMayExistUnlessNoFileSurelyIs) {
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
