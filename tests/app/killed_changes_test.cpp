#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <ostream>

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

// How the child changes the files and where it may die.
struct Killing {
  QString change;
  bool everyCall = false;  // false: only at set-asides and renames
  bool hardLinks = true;
};

void PrintTo(const Killing& killing, std::ostream* out) { *out << killing.change.toStdString(); }

// Runs the child on the drives; the messages it showed, and whether it was
// killed.
struct Run {
  QStringList output;
  bool killed = false;
};

Run RunChild(const TempDrives& drives, const Killing& killing, int round, int step, bool after) {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!killing.hardLinks) environment.insert(QStringLiteral("MIRUDANTO_NO_HARD_LINKS"), "1");
  child.setProcessEnvironment(environment);
  child.start(QStringLiteral(MIRUDANTO_CHANGE_UNTIL_KILLED),
              {drives.HardDisk(), drives.Floppy(), killing.change, QString::number(round),
               QString::number(step), after ? QStringLiteral("after") : QStringLiteral("before"),
               killing.everyCall ? QStringLiteral("all") : QStringLiteral("renames")});
  EXPECT_TRUE(child.waitForFinished(60000));
  Run run;
  run.killed = child.exitStatus() == QProcess::CrashExit;
  run.output =
      QString::fromUtf8(child.readAllStandardOutput()).split(QChar('\n'), Qt::SkipEmptyParts);
  return run;
}

// Kills the change before and after each of its steps, then starts again:
// each time both drives must hold either everything as before or everything
// as the whole change leaves it, and nothing else. A screen's save is
// followed by a load on that screen, which must show no message.
void KillAtEveryStep(TempDrives& drives, const Killing& killing, int round, bool loadAfter) {
  const std::pair<Tree, Tree> before{TreeOf(drives.HardDisk()), TreeOf(drives.Floppy())};
  const Run whole = RunChild(drives, killing, round, 0, false);
  ASSERT_FALSE(whole.killed);
  EXPECT_EQ(whole.output.filter(QStringLiteral("|")), QStringList());
  const std::pair<Tree, Tree> after{TreeOf(drives.HardDisk()), TreeOf(drives.Floppy())};
  ASSERT_NE(after, before);

  int steps = 0;
  for (int step = 1;; ++step) {
    bool lastStep = false;
    for (const bool killAfter : {false, true}) {
      SCOPED_TRACE(QStringLiteral("killed %1 step %2").arg(killAfter ? "after" : "before").arg(step).toStdString());
      PutTree(drives.HardDisk(), before.first);
      PutTree(drives.Floppy(), before.second);
      const Run run = RunChild(drives, killing, round, step, killAfter);
      if (!run.killed) {
        lastStep = true;  // the change has fewer steps
        break;
      }
      RecoverFromKilledRun();
      const std::pair<Tree, Tree> now{TreeOf(drives.HardDisk()), TreeOf(drives.Floppy())};
      EXPECT_TRUE(now == before || now == after) << "files of two states";
      if (loadAfter) {
        EXPECT_EQ(RunChild(drives, killing, 0, 0, false).output, QStringList{"beeps 0"});
      }
    }
    if (lastStep) break;
    steps = step;
  }
  // A change of two files or more sets aside and renames each.
  EXPECT_GE(steps, 4);
}

// The test's name for a way of killing.
std::string NameOf(const ::testing::TestParamInfo<Killing>& info) {
  return info.param.change.toStdString() + (info.param.hardLinks ? "" : "_WithoutHardLinks");
}

class KilledSave : public ::testing::TestWithParam<Killing> {};

TEST_P(KilledSave, AtAnyStepLeavesItsStatementWhollyFromOneSave) {
  TempDrives drives;
  drives.MakeFolder(StatementFolder());
  // The first save makes the files that the killed one replaces.
  ASSERT_FALSE(RunChild(drives, GetParam(), 1, 0, false).killed);
  KillAtEveryStep(drives, GetParam(), 2, true);
}

// ③ and ⑭ save two files, ⑯ three; killed at every call of the change, on a
// medium with hard links and on one without.
INSTANTIATE_TEST_SUITE_P(Screens, KilledSave,
                         ::testing::Values(Killing{"Form4", true, true},
                                           Killing{"Form14", true, true},
                                           Killing{"Form16", true, true},
                                           Killing{"Form4", true, false},
                                           Killing{"Form16", true, false}),
                         NameOf);

class KilledDataScreenChange : public ::testing::TestWithParam<Killing> {};

TEST_P(KilledDataScreenChange, AtAnyStepLeavesBothDrivesWhollyOldOrNew) {
  TempDrives drives;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("disk"));
  for (const QString& path : backup::SecondNotesPageFiles(7)) {
    drives.Put(path, Content(path, QStringLiteral("disk")));
  }
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("medium"), kFloppyDataRoot);
  for (const QString& path : backup::SecondNotesPageFiles(7, kFloppyDataRoot)) {
    drives.Put(path, Content(path, QStringLiteral("medium")));
  }
  KillAtEveryStep(drives, GetParam(), 1, false);
}

// Killed at every set-aside and rename: 39 files each.
INSTANTIATE_TEST_SUITE_P(RestoreCopyAndBackup, KilledDataScreenChange,
                         ::testing::Values(Killing{"restore"}, Killing{"copy"},
                                           Killing{"backup"}),
                         NameOf);

}  // namespace
}  // namespace mirudanto::app
