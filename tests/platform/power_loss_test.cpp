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
  // Cuts the power after every step of the change: every file is then as
  // before when the change failed, as after when it had reported done.
  void Change(const std::vector<FileChange>& changes) {
    const int steps = LosePowerAtEveryStep(drives, {.hardLinks = GetParam(),
                                                    .operation =
                                                        [&] {
                                                          ChangeFilesTogether(changes);
                                                          return true;
                                                        },
                                                    .undone = testing::OnlyBefore});
    EXPECT_GT(steps, 3);
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

INSTANTIATE_TEST_SUITE_P(HardLinks, PowerLoss, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

}  // namespace
}  // namespace mirudanto::platform
