#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "support/power_loss_steps.h"
#include "support/temp_drives.h"

namespace mirudanto::platform {
namespace {

using testing::LosePowerAtEveryStep;
using testing::TempDrives;

const QString kStatements = QStringLiteral("c:\\法人税\\ミルダ");
QString Statement(const QString& name) { return kStatements + QChar('\\') + name; }

class PowerLoss : public ::testing::TestWithParam<bool> {
 protected:
  // Cuts the power after every step of the change, after every step of the
  // recovery that follows, and after every step of the drive's next hold
  // made before any cut: every file is then as before when the change
  // failed, as after when it had reported done or committed.
  void Change(const std::vector<FileChange>& changes) {
    const int steps = LosePowerAtEveryStep(drives, {.hardLinks = GetParam(),
                                                    .operation =
                                                        [&] {
                                                          ChangeFilesTogether(changes);
                                                          return true;
                                                        },
                                                    .undone = testing::OnlyBefore,
                                                    .cutRecovery = true,
                                                    .nextHolds = true});
    EXPECT_GT(steps, 1);
  }

  TempDrives drives;
};

TEST_P(PowerLoss, ASaveOfTwoOrThreeFilesIsWhollyOldOrNewAfterEveryStep) {
  drives.MakeFolder(kStatements);
  drives.Put(Statement("⑯益7.txt"), "old text");
  drives.Put(Statement("A⑯益7.txt"), "old amounts");
  drives.Put(Statement("⑭7.txt"), "old text");
  drives.Put(Statement("A⑭7.txt"), "old amounts");
  Change({{Statement("A⑭7.txt"), "new amounts"}, {Statement("⑭7.txt"), "new text"}});
  // The subtotal markers are new.
  Change({{Statement("⑯益7.txt"), "new text"},
          {Statement("A⑯益7.txt"), "new amounts"},
          {Statement("A⑯益小計7.txt"), "markers"}});
  Change({{Statement("⑭7.txt"), std::nullopt}, {Statement("A⑭7.txt"), std::nullopt}});
}

// A change of several files of which only one is to be made when it is
// committed: it is then made as one file alone, as whole as any.
TEST_P(PowerLoss, AChangeThatShrinksToOneFileAtItsCommitIsWhollyOldOrNew) {
  drives.MakeFolder(kStatements);
  drives.Put(Statement("⑭7.txt"), "old text");
  drives.Put(Statement("A⑭7.txt"), "old amounts");
  // One deletion; the other file named is not there.
  Change({{Statement("⑭7.txt"), std::nullopt}, {Statement("A⑮7.txt"), std::nullopt}});
  // One write among deletions of files that are not there.
  Change({{Statement("B⑭7.txt"), std::nullopt},
          {Statement("A⑭7.txt"), "new amounts"},
          {Statement("⑭7.txt"), std::nullopt}});
}

// A flush that fails, once, anywhere in a save of two files or of one: the
// failure is reported with the files wholly as before or, where the change
// was committed, as after; and a cut at any step after it leaves them so.
TEST_P(PowerLoss, AFlushThatFailsAnywhereThenACutLeaveTheSaveWhole) {
  drives.MakeFolder(kStatements);
  drives.Put(Statement("⑭7.txt"), "old text");
  drives.Put(Statement("A⑭7.txt"), "old amounts");
  const std::vector<FileChange> saves[] = {
      {{Statement("A⑭7.txt"), "new amounts"}, {Statement("⑭7.txt"), "new text"}},
      {{Statement("⑭7.txt"), "newer text"}},
  };
  for (const std::vector<FileChange>& save : saves) {
    SCOPED_TRACE(std::to_string(save.size()) + " files");
    const int flushes = testing::FailEachFlush(drives, {.hardLinks = GetParam(),
                                                       .operation =
                                                           [&] {
                                                             ChangeFilesTogether(save);
                                                             return true;
                                                           },
                                                       .undone = testing::BeforeOrAfter,
                                                       .cutRecovery = true,
                                                       .nextHolds = true});
    EXPECT_GE(flushes, save.size() == 1 ? 3 : 6);
  }
}

INSTANTIATE_TEST_SUITE_P(HardLinks, PowerLoss, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

}  // namespace
}  // namespace mirudanto::platform
