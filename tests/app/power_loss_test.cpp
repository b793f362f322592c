#include <gtest/gtest.h>

#include <utility>

#include "app/company_register.h"
#include "register_boxes.h"
#include "app/leftovers.h"
#include "app/main_menu.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "support/power_loss_steps.h"
#include "support/screen_test.h"

namespace mirudanto::app {
namespace {

using platform::ScreenSet;

// The register's save of a master file, cut short by a power loss after
// each of its steps and recovered as the next start of the program does:
// the master file is then wholly new when the register beeped, wholly as
// before when it did not, and nothing else changed. So it is too when the
// drive's next hold is made before the cut.
class RegisterPowerLoss : public testing::ScreenTest, public ::testing::WithParamInterface<bool> {
 protected:
  RegisterPowerLoss() : form10(ScreenSet::Instance().Add<CompanyRegister>()) {
    ScreenSet::Instance().Add<MainMenu>();
  }

  void Fill() { FillRegisterBoxes(form10, "株式会社新見本"); }

  // The register's button, as the user presses it; the question whether to
  // rewrite is answered OK. Done when it beeps: a save that fails reports
  // instead.
  int Cut() {
    int beeps = 0;
    return testing::LosePowerAtEveryStep(
        drives, {.hardLinks = GetParam(),
                 .prepare =
                     [&] {
                       Fill();
                       beeps = desktop.beeps;
                     },
                 .operation =
                     [&] {
                       form10.Press("Command4");
                       return desktop.beeps > beeps;
                     },
                 .undone = testing::OnlyBefore,
                 .recover = RecoverFromKilledRun,
                 .nextHolds = true});
  }

  void PutMaster(CompanyCode code, const QString& name) {
    CompanyRecord record;
    record.code = code;
    record.name = name;
    drives.Put(CompanyMasterFile(code), CompanyRecordWriter(record).Encode());
  }

  CompanyRegister& form10;
};

TEST_P(RegisterPowerLoss, ANewCodeIsWhollyThereOrNotAtAll) {
  for (const QString& folder : {CompanyFolder(), ScheduleFolder(), StatementFolder()}) {
    drives.MakeFolder(folder);
  }
  PutMaster(8, QStringLiteral("他社"));
  EXPECT_GT(Cut(), 2);
}

TEST_P(RegisterPowerLoss, ARewrittenMasterFileIsWhollyOldOrNew) {
  PutMaster(7, QStringLiteral("株式会社見本"));
  PutMaster(8, QStringLiteral("他社"));
  drives.Put(StatementTextFile(StatementMark::Receivables, 7), "\"売掛金\"\r\n");
  EXPECT_GT(Cut(), 2);
}

// The data folders are made first and stay; the master file follows whole.
TEST_P(RegisterPowerLoss, TheFirstCompanyOnAnEmptyDiskIsWhollyThereOrNotAtAll) {
  EXPECT_GT(Cut(), 2 * 4);
}

INSTANTIATE_TEST_SUITE_P(HardLinks, RegisterPowerLoss, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

}  // namespace
}  // namespace mirudanto::app
