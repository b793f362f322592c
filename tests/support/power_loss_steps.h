#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/drive_state.h"
#include "support/power_loss_file_system.h"
#include "support/temp_drives.h"
#include "support/unflushed_disk.h"

namespace mirudanto::testing {

namespace power_loss_detail {

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
  return DriveState::Of(drives).files;
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
      EXPECT_FALSE(drive_state_detail::NameOf(path).startsWith(QStringLiteral(".~")))
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
