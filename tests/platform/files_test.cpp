#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/failure.h"
#include "platform/drives.h"
#include "platform/file_transaction.h"
#include "support/failure_of.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/temp_drives.h"
#include "support/without_root_override.h"

namespace mirudanto::platform {
namespace {

using mirudanto::testing::FailureOf;
using mirudanto::testing::FaultyFileSystem;
using mirudanto::testing::TempDrives;
using mirudanto::testing::WithoutRootOverride;

const QString kRoot = QStringLiteral("c:\\法人税");
const QString kFolder = QStringLiteral("c:\\法人税\\ミルダ");
const QString kFile = QStringLiteral("c:\\法人税\\ミルダ\\①7.txt");

// Checks kind and wording together, since the wording is what the user sees.
void ExpectFailure(const std::function<void()>& operation, FailureKind kind,
                   const char* description) {
  const std::optional<Failure> failure = FailureOf(operation);
  ASSERT_TRUE(failure) << "no failure";
  EXPECT_EQ(failure->Kind(), kind);
  EXPECT_EQ(failure->Description(), QString::fromUtf8(description));
}

// Everything in a folder of this machine, hidden names included, so that a
// temporary file left behind shows.
// Sorted by code point, not by the locale's collation.
QStringList EntriesOf(const QString& nativeFolder) {
  QStringList names = QDir(nativeFolder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  names.sort();
  return names;
}

// A folder tree in drive form: c:\法人税\ミルダ with one old file.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drives.MakeFolder(kFolder);
    drives.Put(kFile, old);
  }

  QStringList FolderEntries() const { return EntriesOf(drives.Native(kFolder)); }

  TempDrives drives;
  const QByteArray old{"\"old\"\r\n123\r\n"};
};

// ---------------------------------------------------------------- reading

TEST_F(FilesTest, ReadsAFileWhole) {
  QByteArray big(100000, 'x');
  big[0] = '\x87';
  big[99999] = '\0';
  drives.Put(kFolder + QStringLiteral("\\big.txt"), big);
  EXPECT_EQ(ReadFileBytes(kFile), old);
  EXPECT_EQ(ReadFileBytes(kFolder + QStringLiteral("\\big.txt")), big);
}

TEST_F(FilesTest, AMissingFileAndAMissingFolderAreToldApart) {
  ExpectFailure([] { ReadFileBytes(QStringLiteral("c:\\法人税\\ミルダ\\②7.txt")); },
                FailureKind::FileNotFound, "ファイルが見つかりません。");
  ExpectFailure([] { ReadFileBytes(QStringLiteral("c:\\法人税\\別表\\10107.txt")); },
                FailureKind::PathNotFound, "パスが見つかりません。");
  ExpectFailure([] { ReadFileBytes(QStringLiteral("c:\\無い\\無い\\x.txt")); },
                FailureKind::PathNotFound, "パスが見つかりません。");
}

// ---------------------------------------------------------------- writing

TEST_F(FilesTest, WriteReplacesTheFileWholeAndLeavesNothingElse) {
  WriteFileAtomic(kFile, "1\r\n");
  EXPECT_EQ(drives.Get(kFile), QByteArray("1\r\n"));
  WriteFileAtomic(kFile, QByteArray());
  EXPECT_EQ(drives.Get(kFile), QByteArray());
  WriteFileAtomic(kFolder + QStringLiteral("\\A①7.txt"), "2\r\n");
  EXPECT_EQ(FolderEntries(), (QStringList{"A①7.txt", "①7.txt"}));
}

TEST_F(FilesTest, AWrittenFileIsOpenToOthersAsUmaskAllows) {
  // The temporary file begins private; the file it becomes must not stay so.
  const QString path = kFolder + QStringLiteral("\\A①7.txt");
  const mode_t mask = ::umask(022);
  WriteFileAtomic(path, "1\r\n");
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(drives.Native(path)).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(FilesTest, WriteIntoAMissingFolderCreatesNothing) {
  ExpectFailure([] { WriteFileAtomic(QStringLiteral("c:\\法人税\\別表\\10107.txt"), "1"); },
                FailureKind::PathNotFound, "パスが見つかりません。");
  ExpectFailure(
      [] {
        WriteFilesTogether({{kFile, "new"}, {QStringLiteral("c:\\法人税\\別表\\10107.txt"), "1"}});
      },
      FailureKind::PathNotFound, "パスが見つかりません。");
  // The drive's lock stays: it is no data, and every copy shares it.
  EXPECT_EQ(EntriesOf(drives.Native(kRoot)), (QStringList{kLockName, "ミルダ"}));
  EXPECT_EQ(drives.Get(kFile), old);
}

TEST_F(FilesTest, WriteOverAFolderIsRefused) {
  drives.MakeFolder(kFolder + QStringLiteral("\\sub"));
  ExpectFailure([] { WriteFileAtomic(kFolder + QStringLiteral("\\sub"), "1"); },
                FailureKind::PermissionDenied, "書き込みできません。");
  ExpectFailure([] { WriteFilesTogether({{kFile, "new"}, {kFolder + QStringLiteral("\\sub"), "1"}}); },
                FailureKind::PermissionDenied, "書き込みできません。");
  EXPECT_EQ(FolderEntries(), (QStringList{"sub", "①7.txt"}));
  EXPECT_EQ(drives.Get(kFile), old);
}

// Makes writes to regular files fail beyond a few bytes, as a full disk does
// half-way through a file. The signal that would end the process is ignored
// so that the write reports the failure instead.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_ = SIG_DFL;
};

TEST_F(FilesTest, AWriteThatFailsHalfWayLeavesTheOldFileAndNoTemporary) {
  // Room for the change's own notes, not for the new content.
  const QByteArray longer(8192, 'y');
  const QString other = kFolder + QStringLiteral("\\A①7.txt");
  drives.Put(other, old);
  for (const bool together : {false, true}) {
    SCOPED_TRACE(together ? "two files" : "one file");
    std::optional<Failure> failure;
    FaultyFileSystem files;
    {
      FileSizeLimit limit(4096);
      failure = FailureOf([&] {
        if (together) {
          WriteFilesTogether({{other, "short"}, {kFile, longer}});
        } else {
          WriteFileAtomic(kFile, longer);
        }
      });
    }
    ASSERT_TRUE(failure) << "the write went through despite the limit";
    EXPECT_TRUE(files.Log().filter("write ").last().startsWith(
        "write " + kFolder + QStringLiteral("\\.~saving.①7.txt.")))
        << "failed before the new content";
    EXPECT_EQ(drives.Get(kFile), old);
    EXPECT_EQ(drives.Get(other), old);
    EXPECT_EQ(FolderEntries(), (QStringList{"A①7.txt", "①7.txt"}));
    EXPECT_EQ(EntriesOf(drives.Native(kRoot)), (QStringList{kLockName, "ミルダ"}));
  }
}

// As root the mode bits would not stop a write; the override is given up for
// the test so that a read-only folder is read-only.
TEST_F(FilesTest, AReadOnlyFolderRefusesEveryChangeAndKeepsItsFiles) {
  WithoutRootOverride noOverride;
  if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
  drives.Put(QStringLiteral("c:\\elsewhere\\x.txt"), "x");
  const QString other = kFolder + QStringLiteral("\\A①7.txt");
  const QByteArray native = QFile::encodeName(drives.Native(kFolder));
  ASSERT_EQ(::chmod(native.constData(), 0555), 0);

  const char* denied = "書き込みできません。";
  ExpectFailure([] { WriteFileAtomic(kFile, "new"); }, FailureKind::PermissionDenied, denied);
  ExpectFailure([&] { WriteFileAtomic(other, "new"); }, FailureKind::PermissionDenied, denied);
  ExpectFailure([&] { WriteFilesTogether({{kFile, "new"}, {other, "new"}}); },
                FailureKind::PermissionDenied, denied);
  ExpectFailure([&] { ChangeFilesTogether({{kFile, std::nullopt}, {other, "new"}}); },
                FailureKind::PermissionDenied, denied);
  ExpectFailure([] { CreateFolder(kFolder + QStringLiteral("\\sub")); },
                FailureKind::PermissionDenied, denied);
  ExpectFailure([] { DeleteFile(kFile); }, FailureKind::PermissionDenied, denied);

  EXPECT_EQ(drives.Get(kFile), old);
  EXPECT_EQ(FolderEntries(), QStringList{"①7.txt"});
  EXPECT_EQ(EntriesOf(drives.Native(kRoot)), (QStringList{kLockName, "ミルダ"}));
  // Reading needs no write permission.
  EXPECT_EQ(ReadFileBytes(kFile), old);
}

// A medium whose write protection is on is still read: a restore from it
// must not need the lock file that no one could create there.
TEST_F(FilesTest, AReadOnlyDataRootIsStillRead) {
  WithoutRootOverride noOverride;
  if (!noOverride.ModeBitsApply()) GTEST_SKIP() << "cannot give up the permission override";
  const QByteArray native = QFile::encodeName(drives.Native(kRoot));
  ASSERT_EQ(::chmod(native.constData(), 0555), 0);

  const std::optional<Failure> failure = FailureOf([this] { EXPECT_EQ(ReadFileBytes(kFile), old); });
  EXPECT_FALSE(failure) << failure->what();
  ExpectFailure([] { WriteFileAtomic(kFile, "new"); }, FailureKind::PermissionDenied,
                "書き込みできません。");
  EXPECT_EQ(drives.Get(kFile), old);
  ::chmod(native.constData(), 0755);
}

// ---------------------------------------------------------------- folders and files

TEST_F(FilesTest, ExistenceTellsFilesFromFolders) {
  EXPECT_TRUE(FolderExists(kFolder));
  EXPECT_TRUE(FolderExists(QStringLiteral("c:")));
  EXPECT_FALSE(FolderExists(kFile));
  EXPECT_FALSE(FolderExists(QStringLiteral("c:\\法人税\\別表")));
  EXPECT_TRUE(FileExists(kFile));
  EXPECT_FALSE(FileExists(kFolder));
  EXPECT_FALSE(FileExists(QStringLiteral("c:\\法人税\\ミルダ\\②7.txt")));
  EXPECT_FALSE(FileExists(QStringLiteral("c:\\無い\\②7.txt")));
}

TEST_F(FilesTest, CreateFolderMakesOneLevelOnly) {
  CreateFolder(QStringLiteral("c:\\法人税\\別表"));
  EXPECT_TRUE(FolderExists(QStringLiteral("c:\\法人税\\別表")));
  ExpectFailure([] { CreateFolder(QStringLiteral("c:\\無い\\別表")); }, FailureKind::PathNotFound,
                "パスが見つかりません。");
  EXPECT_FALSE(drives.Exists(QStringLiteral("c:\\無い")));
  ExpectFailure([] { CreateFolder(kFolder); }, FailureKind::FileExists,
                "既に同名のファイルが存在しています。");
  ExpectFailure([] { CreateFolder(kFile); }, FailureKind::FileExists,
                "既に同名のファイルが存在しています。");
  EXPECT_EQ(drives.Get(kFile), old);
}

TEST_F(FilesTest, EnsureNewFileFailsAsCreatingWouldAndCreatesNothing) {
  EnsureNewFile(kFolder + QStringLiteral("\\A①7.txt"));
  ExpectFailure([] { EnsureNewFile(kFile); }, FailureKind::FileExists,
                "既に同名のファイルが存在しています。");
  ExpectFailure([] { EnsureNewFile(kFolder); }, FailureKind::FileExists,
                "既に同名のファイルが存在しています。");
  ExpectFailure([] { EnsureNewFile(QStringLiteral("c:\\法人税\\別表\\10107.txt")); },
                FailureKind::PathNotFound, "パスが見つかりません。");
  EXPECT_EQ(FolderEntries(), QStringList{"①7.txt"});
  EXPECT_EQ(EntriesOf(drives.Native(kRoot)), QStringList{"ミルダ"});
}

TEST_F(FilesTest, ChangeFilesTogetherWritesDeletesAndPassesByWhatIsNotThere) {
  const QString added = kFolder + QStringLiteral("\\A①7.txt");
  QStringList progress;
  ChangeFilesTogether({{kFile, std::nullopt}, {added, "new"},
                       {kFolder + QStringLiteral("\\②7.txt"), std::nullopt}},
                      [&](int done, int total) {
                        progress.append(QStringLiteral("%1/%2").arg(done).arg(total));
                      });
  EXPECT_EQ(FolderEntries(), QStringList{"A①7.txt"});
  EXPECT_EQ(drives.Get(added), QByteArray("new"));
  EXPECT_EQ(progress, (QStringList{"1/3", "2/3", "3/3"}));
  // A file alone, and a deletion alone.
  ChangeFilesTogether({{kFile, "again"}});
  ChangeFilesTogether({{added, std::nullopt}});
  EXPECT_EQ(FolderEntries(), QStringList{"①7.txt"});
  EXPECT_EQ(drives.Get(kFile), QByteArray("again"));
  EXPECT_EQ(EntriesOf(drives.Native(kRoot)), (QStringList{kLockName, "ミルダ"}));
}

TEST_F(FilesTest, DeleteFile) {
  DeleteFile(kFile);
  EXPECT_FALSE(drives.Exists(kFile));
  ExpectFailure([] { DeleteFile(kFile); }, FailureKind::FileNotFound, "ファイルが見つかりません。");
  ExpectFailure([] { DeleteFile(QStringLiteral("c:\\無い\\①7.txt")); }, FailureKind::PathNotFound,
                "パスが見つかりません。");
  // A folder is no file to delete, and stays.
  ExpectFailure([] { DeleteFile(kFolder); }, FailureKind::FileNotFound,
                "ファイルが見つかりません。");
  EXPECT_TRUE(FolderExists(kFolder));
}

// ---------------------------------------------------------------- the removable drive

// Every operation that touches "a:" while its medium is missing.
std::vector<std::pair<const char*, std::function<void()>>> FloppyOperations() {
  const QString folder = QStringLiteral("a:\\法人税");
  const QString file = QStringLiteral("a:\\法人税\\①7.txt");
  return {
      {"FolderExists", [=] { FolderExists(folder); }},
      {"FolderExists root", [] { FolderExists(QStringLiteral("a:")); }},
      {"FileExists", [=] { FileExists(file); }},
      {"CreateFolder", [=] { CreateFolder(folder); }},
      {"EnsureNewFile", [=] { EnsureNewFile(file); }},
      {"ReadFileBytes", [=] { ReadFileBytes(file); }},
      {"WriteFileAtomic", [=] { WriteFileAtomic(file, "1"); }},
      {"WriteFilesTogether", [=] { WriteFilesTogether({{file, "1"}, {file + "2", "2"}}); }},
      {"ChangeFilesTogether", [=] { ChangeFilesTogether({{file, std::nullopt}, {file + "2", "2"}}); }},
      {"DeleteFile", [=] { DeleteFile(file); }},
      {"holding the drive", [=] { DriveLock hold(folder, DriveLock::Mode::Shared); }},
      {"upper-case letter", [] { CreateFolder(QStringLiteral("A:\\法人税")); }},
  };
}

void ExpectDiskNotReadyEverywhere() {
  for (const auto& [name, operation] : FloppyOperations()) {
    SCOPED_TRACE(name);
    ExpectFailure(operation, FailureKind::DiskNotReady, "ディスクの準備ができていません。");
  }
}

TEST(RemovableDrive, WithoutAMediumEveryOperationFailsAndCreatesNothing) {
  TempDrives drives(false);
  drives.Put(kFile, "x");
  ExpectDiskNotReadyEverywhere();
  EXPECT_FALSE(QFileInfo::exists(drives.Floppy()));
  EXPECT_EQ(EntriesOf(drives.Native(kFolder)), QStringList{"①7.txt"});
}

TEST(RemovableDrive, ALinkToAMountPointThatHasGoneIsNoMedium) {
  TempDrives drives(false);
  drives.Put(kFile, "x");
  const QString mountPoint = drives.HardDisk() + QStringLiteral("/../media");
  ASSERT_EQ(::symlink(QFile::encodeName(mountPoint).constData(),
                      QFile::encodeName(drives.Floppy()).constData()),
            0);
  ExpectDiskNotReadyEverywhere();
  EXPECT_TRUE(QFileInfo(drives.Floppy()).isSymLink());
  EXPECT_FALSE(QFileInfo::exists(mountPoint));
  EXPECT_EQ(EntriesOf(drives.Native(kFolder)), QStringList{"①7.txt"});
}

TEST(RemovableDrive, ALinkToAMountedMediumIsTheDrive) {
  TempDrives drives(false);
  const QString mountPoint = drives.HardDisk() + QStringLiteral("/../media");
  QDir().mkpath(mountPoint);
  ASSERT_EQ(::symlink(QFile::encodeName(mountPoint).constData(),
                      QFile::encodeName(drives.Floppy()).constData()),
            0);
  CreateFolder(QStringLiteral("a:\\法人税"));
  WriteFileAtomic(QStringLiteral("a:\\法人税\\①7.txt"), "1\r\n");
  EXPECT_EQ(EntriesOf(mountPoint + QStringLiteral("/法人税")), (QStringList{kLockName, "①7.txt"}));
}

// A medium that cannot take one more name, as a stick filled by a backup made
// before it had a lock file: it is read without one, and a change on it fails
// as the full medium it is. Made as a small file system in a mount namespace
// of a child process, where the machine lets the tests mount one.
TEST(RemovableDrive, AFullMediumWithoutALockFileIsReadAndAChangeOnItFailsAsFull) {
  TempDrives drives(false);
  const QString mountPoint = QDir::cleanPath(drives.HardDisk() + QStringLiteral("/../media"));
  ASSERT_TRUE(QDir().mkpath(mountPoint));
  ASSERT_EQ(::symlink(QFile::encodeName(mountPoint).constData(),
                      QFile::encodeName(drives.Floppy()).constData()),
            0);
  constexpr int kCannotMount = 77;
  const pid_t child = ::fork();
  if (child == 0) {
    const QByteArray at = QFile::encodeName(mountPoint);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k,nr_inodes=16") != 0) {
      ::_exit(kCannotMount);
    }
    int status = 0;
    try {
      QDir().mkpath(mountPoint + QStringLiteral("/法人税"));
      QFile file(mountPoint + QStringLiteral("/法人税/①7.txt"));
      if (!file.open(QIODevice::WriteOnly) || file.write("1\r\n") != 3) ::_exit(10);
      file.close();
      // Every name taken.
      for (int k = 0; k < 1000; ++k) {
        const QByteArray filler = at + "/filler" + QByteArray::number(k);
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
          if (errno != ENOSPC) ::_exit(11);
          break;
        }
        ::close(fd);
      }
      const QString lock = mountPoint + QStringLiteral("/法人税/") + kLockName;
      if (ReadFileBytes(QStringLiteral("a:\\法人税\\①7.txt")) != "1\r\n") status = 1;
      if (QFileInfo::exists(lock)) status = 2;
      const std::optional<Failure> failure =
          FailureOf([] { WriteFileAtomic(QStringLiteral("a:\\法人税\\②7.txt"), "2\r\n"); });
      if (!failure || failure->Kind() != FailureKind::DiskFull) status = 3;
      if (EntriesOf(mountPoint + QStringLiteral("/法人税")) != QStringList{"①7.txt"}) status = 4;
    } catch (...) {
      status = 5;
    }
    ::_exit(status);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotMount) GTEST_SKIP() << "no file system of its own to mount";
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "1: not read, 2: a lock file made, 3: the change did not fail as full, "
         "4: the change left a name, else the medium could not be made";
}

// ---------------------------------------------------------------- translation

TEST(DriveTranslation, NamesStayUtf8OnDisk) {
  TempDrives drives;
  CreateFolder(kRoot);
  CreateFolder(kFolder);
  WriteFileAtomic(kFile, "1\r\n");

  EXPECT_EQ(Drives::Translate(kFile), drives.HardDisk() + QStringLiteral("/法人税/ミルダ/①7.txt"));
  EXPECT_EQ(Drives::Translate(QStringLiteral("C:\\法人税\\ミルダ\\①7.txt")), Drives::Translate(kFile));

  // The bytes of the name, read past Qt's own file name decoding.
  const std::string folder =
      QFile::encodeName(drives.HardDisk()).toStdString() + "/\xE6\xB3\x95\xE4\xBA\xBA\xE7\xA8\x8E"
                                                           "/\xE3\x83\x9F\xE3\x83\xAB\xE3\x83\x80";
  DIR* dir = ::opendir(folder.c_str());
  ASSERT_NE(dir, nullptr);
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  EXPECT_EQ(names, std::vector<std::string>{"\xE2\x91\xA0" "7.txt"});
}

TEST(DriveTranslation, APathCannotLeaveItsDrive) {
  TempDrives drives;
  drives.Put(QStringLiteral("a:\\secret.txt"), "s");
  for (const char* path : {"c:\\..\\a\\secret.txt", "c:\\法人税\\..\\..\\a\\secret.txt",
                           "c:\\.\\x.txt", "c:/../a/secret.txt"}) {
    SCOPED_TRACE(path);
    ExpectFailure([&] { ReadFileBytes(QString::fromUtf8(path)); }, FailureKind::PathNotFound,
                  "パスが見つかりません。");
  }
  ExpectFailure([] { ReadFileBytes(QStringLiteral("法人税\\x.txt")); }, FailureKind::PathNotFound,
                "パスが見つかりません。");
  ExpectFailure([] { ReadFileBytes(QStringLiteral("d:\\x.txt")); }, FailureKind::DiskNotReady,
                "ディスクの準備ができていません。");
}

}  // namespace
}  // namespace mirudanto::platform
