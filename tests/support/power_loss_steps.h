#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/power_loss_file_system.h"
#include "support/temp_drives.h"
#include "support/unflushed_disk.h"

namespace mirudanto::testing {

// Every file of both drives by its drive-form path ("c:\法人税\..."), with its
// bytes. The drives' lock files are no data and are left out; folders too,
// since a folder once made is kept whatever the change it was made for.
using DriveFiles = std::map<QString, QByteArray>;

namespace power_loss_detail {

inline const QString kDriveNames[] = {QStringLiteral("c:"), QStringLiteral("a:")};

inline QString NativeRoot(const TempDrives& drives, const QString& drive) {
  return drive == QStringLiteral("c:") ? drives.HardDisk() : drives.Floppy();
}

// Calls `each(drive-form path, info)` for everything under both drives.
template <class Each>
void Walk(const TempDrives& drives, Each each) {
  for (const QString& drive : kDriveNames) {
    const QString root = NativeRoot(drives, drive);
    if (!QFileInfo(root).isDir()) continue;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      QString path = drive + QChar('\\') + QDir(root).relativeFilePath(it.filePath());
      path.replace(QChar('/'), QChar('\\'));
      each(path, it.fileInfo());
    }
  }
}

inline QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(QChar('\\')) + 1); }

// What both drives hold, folders included, to be put back before each run.
struct DriveState {
  std::set<QString> folders;
  DriveFiles files;

  static DriveState Of(const TempDrives& drives) {
    DriveState state;
    Walk(drives, [&](const QString& path, const QFileInfo& info) {
      if (info.isDir()) {
        state.folders.insert(path);
      } else if (NameOf(path) != platform::kLockName) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) state.files[path] = file.readAll();
      }
    });
    return state;
  }

  // Puts the drives back as they were from the state they are in now,
  // touching only what differs: each run's start is then cheap.
  void PutBack(const TempDrives& drives, const DriveState& now) const {
    for (const auto& [path, bytes] : now.files) {
      const auto kept = files.find(path);
      if (kept == files.end() || kept->second != bytes) QFile::remove(drives.Native(path));
    }
    for (auto folder = now.folders.rbegin(); folder != now.folders.rend(); ++folder) {
      if (folders.count(*folder) == 0) QDir(drives.Native(*folder)).removeRecursively();
    }
    for (const QString& folder : folders) {
      if (now.folders.count(folder) == 0) QDir().mkpath(drives.Native(folder));
    }
    for (const auto& [path, bytes] : files) {
      const auto found = now.files.find(path);
      if (found != now.files.end() && found->second == bytes) continue;
      QFile file(drives.Native(path));
      if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "cannot put back " << path.toStdString();
      }
    }
  }
};

// Each path where the files found differ from those before or after, with
// which of them it matches: enough to tell a torn change from a wrong one.
inline std::string Difference(const DriveFiles& now, const DriveFiles& before,
                              const DriveFiles& after) {
  std::set<QString> paths;
  for (const DriveFiles* files : {&now, &before, &after}) {
    for (const auto& [path, bytes] : *files) paths.insert(path);
  }
  const auto at = [](const DriveFiles& files, const QString& path) -> const QByteArray* {
    const auto found = files.find(path);
    return found == files.end() ? nullptr : &found->second;
  };
  const auto same = [](const QByteArray* a, const QByteArray* b) {
    return a == nullptr ? b == nullptr : b != nullptr && *a == *b;
  };
  std::string out;
  for (const QString& path : paths) {
    const QByteArray* is = at(now, path);
    const QByteArray* was = at(before, path);
    const QByteArray* will = at(after, path);
    if (same(was, will) && same(is, was)) continue;
    QString state;
    if (same(is, was) && same(is, will)) {
      state = QStringLiteral("as before and after");
    } else if (same(is, was)) {
      state = is ? QStringLiteral("as before") : QStringLiteral("missing, as before");
    } else if (same(is, will)) {
      state = is ? QStringLiteral("as after") : QStringLiteral("missing, as after");
    } else if (is == nullptr) {
      state = QStringLiteral("missing, neither before nor after");
    } else {
      state = QStringLiteral("%1 bytes, neither before nor after").arg(is->size());
    }
    out += "\n  " + (path + QStringLiteral(": ") + state).toStdString();
  }
  return out;
}

inline bool Runs(const std::function<bool()>& operation) {
  try {
    return operation();
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace power_loss_detail

// The files of both drives as they are now.
inline DriveFiles FilesOnDrives(const TempDrives& drives) {
  return power_loss_detail::DriveState::Of(drives).files;
}

// What the next start does before anything else: both drives taken, each
// interrupted change rolled back and its leftovers removed.
inline void TakeBothDrives() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    const platform::DriveLock taken(root, platform::DriveLock::Mode::Exclusive);
  }
}

// The states an operation not reported done may leave, asked after each run.
using UndoneStates =
    std::function<std::vector<DriveFiles>(const DriveFiles& before, const DriveFiles& after)>;

// Every file as before or every file as after: an operation whose last step
// may fail after its change is on the medium.
inline std::vector<DriveFiles> BeforeOrAfter(const DriveFiles& before, const DriveFiles& after) {
  return {before, after};
}
// Every file as before: one change of the file layer, whose failure, even a
// power loss at its last step, leaves no file changed.
inline std::vector<DriveFiles> OnlyBefore(const DriveFiles& before, const DriveFiles&) {
  return {before};
}

// One whole operation of the program, to be cut short at every step.
struct PowerLossRun {
  bool hardLinks = true;
  // Before each run, on the drives as they were and with no power to lose
  // yet: whatever the operation needs besides the files (a screen loaded).
  std::function<void()> prepare;
  // The operation; true when it reported done. A Failure counts as not done.
  std::function<bool()> operation;
  UndoneStates undone = BeforeOrAfter;
  // The next start's recovery; by default both drives are taken.
  std::function<void()> recover = TakeBothDrives;
};

// Runs the operation once on a whole medium, to learn its steps and what it
// leaves; then, for each step, puts the drives back as they were, cuts the
// power after that step, starts again and recovers. Both drives must then
// hold every file wholly as after the operation when it reported done, or as
// one of its undone states when it did not (never some files of one state and
// some of another), and no hidden file but the locks. Returns the number of
// steps.
inline int LosePowerAtEveryStep(const TempDrives& drives, const PowerLossRun& run) {
  using namespace power_loss_detail;
  const DriveState start = DriveState::Of(drives);
  const DriveFiles& before = start.files;
  const UnflushedDisk disk;

  int steps = 0;
  DriveFiles after;
  DriveState now;
  PowerLossFileSystem::Start began;
  {
    if (run.prepare) run.prepare();
    PowerLossFileSystem medium;
    began = medium.Began();
    if (!run.hardLinks) medium.WithoutHardLinks();
    const bool done = Runs(run.operation);
    steps = medium.Steps();
    now = DriveState::Of(drives);
    after = now.files;
    EXPECT_TRUE(done) << "the operation fails with the power on";
  }
  EXPECT_NE(before, after) << "the operation changes nothing";
  EXPECT_GT(steps, 0);
  if (::testing::Test::HasFailure()) return steps;

  for (int step = 0; step <= steps; ++step) {
    SCOPED_TRACE("power lost after step " + std::to_string(step) + " of " +
                 std::to_string(steps));
    start.PutBack(drives, now);
    if (run.prepare) run.prepare();
    PowerLossFileSystem medium(began);
    if (!run.hardLinks) medium.WithoutHardLinks();
    medium.LosePowerAfter(step);
    const bool done = Runs(run.operation);
    medium.Restart();
    try {
      run.recover();
    } catch (const Failure& failure) {
      ADD_FAILURE() << "the drives cannot be recovered: " << failure.what();
    }
    now = DriveState::Of(drives);

    for (const auto& [path, bytes] : now.files) {
      EXPECT_FALSE(NameOf(path).startsWith(QStringLiteral(".~")))
          << "left behind: " << path.toStdString();
    }
    if (step == steps) {
      EXPECT_TRUE(done) << "the operation fails after its last step";
    }
    if (done) {
      EXPECT_TRUE(now.files == after) << "reported done, yet not on the medium:"
                                      << Difference(now.files, before, after);
    } else {
      const std::vector<DriveFiles> states = run.undone(before, after);
      const bool whole = std::find(states.begin(), states.end(), now.files) != states.end();
      EXPECT_TRUE(whole) << "not done, yet the files are in no state it may leave:"
                         << Difference(now.files, before, after);
    }
    if (::testing::Test::HasFailure()) break;  // one cut tells it; the rest would repeat it
  }
  return steps;
}

}  // namespace mirudanto::testing
