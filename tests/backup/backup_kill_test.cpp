#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
#include <map>
#include <set>

#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "backup_fixture.h"
#include "core/statement_files.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "support/temp_drives.h"

namespace mirudanto::backup {
namespace {

using testing::Content;
using testing::PutCompany;
using testing::TempDrives;

constexpr CompanyCode kCode = 7;
constexpr int kFileSize = 16384;

// The files a backup puts on the medium, and their sources on the hard disk.
QStringList MediumFiles() {
  return BackupSet(kCode, kFloppyDataRoot) + SecondNotesPageFiles(kCode, kFloppyDataRoot);
}
QStringList DiskFiles() { return BackupSet(kCode) + SecondNotesPageFiles(kCode); }

// One version of the company, page 2 of ② included, on the drive `root`
// stands for; returns the bytes by index of MediumFiles().
std::vector<QByteArray> PutVersion(const TempDrives& drives, const QString& version,
                                   const QString& root) {
  PutCompany(drives, kCode, QStringLiteral("見本") + version, version, root, kFileSize);
  const QStringList page2 = SecondNotesPageFiles(kCode, root);
  for (const QString& path : page2) drives.Put(path, Content(path, version, kFileSize));
  std::vector<QByteArray> bytes;
  for (const QString& path : root == kDataRoot ? DiskFiles() : MediumFiles()) {
    bytes.push_back(drives.Get(path));
  }
  return bytes;
}

// The hidden names on the medium: records and leftovers.
QStringList HiddenOnMedium(const TempDrives& drives) {
  QStringList hidden;
  QDirIterator it(drives.Floppy(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    if (it.fileName().startsWith(QChar('.'))) hidden.append(it.fileName());
  }
  return hidden;
}

TEST(BackupKilled, AKillNineInTheMiddleOfABackupLeavesTheCompanyOnTheMediumWhollyOldOrNew) {
  TempDrives drives;
  QTemporaryDir diskA;
  QTemporaryDir diskB;
  ASSERT_TRUE(diskA.isValid() && diskB.isValid());
  platform::Drives::SetRoot(QChar('c'), diskA.path());
  const auto versionA = PutVersion(drives, "A", kDataRoot);
  platform::Drives::SetRoot(QChar('c'), diskB.path());
  const auto versionB = PutVersion(drives, "B", kDataRoot);
  const QStringList medium = MediumFiles();
  ASSERT_EQ(medium.size(), 39);

  // How long one backup takes here, for the span the kills fall into.
  QElapsedTimer timer;
  timer.start();
  PrepareBackupToFloppy(kCode).Write();
  const int span = static_cast<int>(std::max<qint64>(4 * timer.elapsed(), 5));

  int runs = 0;
  int interrupted = 0;
  for (; runs < 40 && !(runs >= 12 && interrupted >= 3); ++runs) {
    QDir(drives.Floppy()).removeRecursively();
    QDir().mkpath(drives.Floppy());
    const auto old = PutVersion(drives, "old", kFloppyDataRoot);

    QProcess child;
    child.start(QStringLiteral(MIRUDANTO_BACKUP_UNTIL_KILLED),
                {drives.Floppy(), QString::number(kCode), diskA.path(), diskB.path()});
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(child.waitForReadyRead(10000));
    ASSERT_EQ(child.readLine().trimmed(), QByteArray("ready"));
    QThread::msleep(QRandomGenerator::global()->bounded(span));
    ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    // What the next use of the medium does first.
    if (HiddenOnMedium(drives).filter(QStringLiteral(".~change.")).size() > 0) ++interrupted;
    FinishChangesOnDrive(kFloppyDataRoot);
    for (const QString& folder : DataFolders(kFloppyDataRoot)) {
      platform::RemoveTemporaryFiles(folder);
    }
    EXPECT_EQ(HiddenOnMedium(drives), QStringList()) << "run " << runs;

    std::set<QString> versions;
    for (qsizetype k = 0; k < medium.size(); ++k) {
      const QByteArray bytes = drives.Get(medium[k]);
      const std::size_t i = static_cast<std::size_t>(k);
      if (bytes == old[i]) {
        versions.insert("old");
      } else if (bytes == versionA[i]) {
        versions.insert("A");
      } else if (bytes == versionB[i]) {
        versions.insert("B");
      } else {
        ADD_FAILURE() << "run " << runs << ": " << medium[k].toStdString() << " is torn ("
                      << bytes.size() << " bytes)";
      }
    }
    EXPECT_EQ(versions.size(), 1u) << "run " << runs << ": the medium holds files of "
                                   << versions.size() << " backups";
  }
  std::cout << "[          ] " << runs << " backups killed within " << span
            << " ms of their start, " << interrupted
            << " of them between their first and last rename\n";
  // Few random kills fall among the renames of a backup, most among its
  // writes; the kills at each rename are the data screen's kill tests.

  // The next backup goes over whatever the killed one left.
  platform::Drives::SetRoot(QChar('c'), diskA.path());
  PrepareBackupToFloppy(kCode).Write();
  for (qsizetype k = 0; k < medium.size(); ++k) {
    EXPECT_EQ(drives.Get(medium[k]), versionA[static_cast<std::size_t>(k)]) << k;
  }
}

}  // namespace
}  // namespace mirudanto::backup
