#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <optional>

#include "core/failure.h"
#include "platform/files.h"
#include "support/failure_of.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/temp_drives.h"

namespace mirudanto::platform {
namespace {

using mirudanto::testing::FailureOf;
using mirudanto::testing::FaultyFileSystem;
using mirudanto::testing::FileOperation;
using mirudanto::testing::TempDrives;

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

    EXPECT_EQ(files.Log(), (QStringList{"write " + kFile, "write " + kFile + " failed"}));
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

}  // namespace
}  // namespace mirudanto::platform
