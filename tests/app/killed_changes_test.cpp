#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "app/leftovers.h"
#include "backup/backup_fixture.h"
#include "core/statement_files.h"
#include "platform/drives.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using testing::Content;
using testing::PutCompany;
using testing::TempDrives;

// Every file below a folder by its path there, with its bytes.
using Tree = std::map<QString, QByteArray>;

Tree TreeOf(const QString& folder) {
  Tree tree;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    QFile file(it.filePath());
    if (file.open(QIODevice::ReadOnly)) tree[it.filePath().mid(folder.size())] = file.readAll();
  }
  return tree;
}

void PutTree(const QString& folder, const Tree& tree) {
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  for (const auto& [path, bytes] : tree) {
    QDir().mkpath(QFileInfo(folder + path).path());
    QFile file(folder + path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
}

// Runs the child on the drives; the messages it showed, and whether it was
// killed.
struct Run {
  QStringList output;
  bool killed = false;
};

Run RunChild(const TempDrives& drives, const QString& change, int round, int step, bool after) {
  QProcess child;
  child.start(QStringLiteral(MIRUDANTO_CHANGE_UNTIL_KILLED),
              {drives.HardDisk(), drives.Floppy(), change, QString::number(round),
               QString::number(step), after ? QStringLiteral("after") : QStringLiteral("before")});
  EXPECT_TRUE(child.waitForFinished(60000));
  Run run;
  run.killed = child.exitStatus() == QProcess::CrashExit;
  run.output = QString::fromUtf8(child.readAllStandardOutput()).split(QChar('\n'), Qt::SkipEmptyParts);
  return run;
}

// Kills the change before and after each of its steps (every set-aside and
// every rename), then starts again: each time the drives must hold either
// everything as before or everything as the whole change leaves it, and
// nothing else.
// A screen's save is followed by a load on that screen, which must show no
// message; a data screen's change by nothing.
void KillAtEveryStep(TempDrives& drives, const QString& change, int round, bool loadAfter) {
  const Tree before = TreeOf(drives.HardDisk());
  const Tree medium = TreeOf(drives.Floppy());
  const Run whole = RunChild(drives, change, round, 0, false);
  ASSERT_FALSE(whole.killed);
  EXPECT_EQ(whole.output.filter(QStringLiteral("|")), QStringList()) << change.toStdString();
  const Tree after = TreeOf(drives.HardDisk());
  ASSERT_NE(after, before);

  int steps = 0;
  for (int step = 1;; ++step) {
    bool lastStep = false;
    for (const bool killAfter : {false, true}) {
      SCOPED_TRACE(QStringLiteral("%1 killed %2 step %3")
                       .arg(change, killAfter ? "after" : "before")
                       .arg(step)
                       .toStdString());
      PutTree(drives.HardDisk(), before);
      PutTree(drives.Floppy(), medium);
      const Run run = RunChild(drives, change, round, step, killAfter);
      if (!run.killed) {
        lastStep = true;  // the change has fewer steps
        break;
      }
      RecoverFromKilledRun();
      const Tree now = TreeOf(drives.HardDisk());
      EXPECT_TRUE(now == before || now == after) << "files of two states";
      EXPECT_EQ(TreeOf(drives.Floppy()), medium);
      if (loadAfter) {
        EXPECT_EQ(RunChild(drives, change, 0, 0, false).output, QStringList{"beeps 0"});
      }
    }
    if (lastStep) break;
    steps = step;
  }
  // A change of two files or more sets aside and renames each.
  EXPECT_GE(steps, 4) << change.toStdString();
}

class KilledSave : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledSave, AtAnyStepLeavesItsStatementWhollyFromOneSave) {
  TempDrives drives;
  drives.MakeFolder(StatementFolder());
  // The first save makes the files that the killed one replaces.
  ASSERT_FALSE(RunChild(drives, GetParam(), 1, 0, false).killed);
  KillAtEveryStep(drives, GetParam(), 2, true);
}

// ③ and ⑭ save two files, ⑯ three.
INSTANTIATE_TEST_SUITE_P(Screens, KilledSave, ::testing::Values("Form4", "Form14", "Form16"));

class KilledDataScreenChange : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledDataScreenChange, AtAnyStepLeavesTheHardDiskWhollyOldOrNew) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("disk"));
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("medium"), kFloppyDataRoot);
  for (const QString& path : backup::SecondNotesPageFiles(7, kFloppyDataRoot)) {
    drives.Put(path, Content(path, QStringLiteral("medium")));
  }
  KillAtEveryStep(drives, GetParam(), 1, false);
}

INSTANTIATE_TEST_SUITE_P(RestoreAndCopy, KilledDataScreenChange,
                         ::testing::Values("restore", "copy"));

}  // namespace
}  // namespace mirudanto::app
