#include <gtest/gtest.h>

#include "core/statement_files.h"
#include "ledgers/ledger_fixture.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/power_loss_steps.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::kBalance;
using testing::kName;

// ③ noting whether its save got as far as writing the files: after that a
// cut may still fail the reload, yet the save is done.
class Writing : public ReceivablesScreen {
 public:
  bool written = false;

 protected:
  void AfterWrite() override { written = true; }
};

class OrderingPowerLoss : public testing::LedgerTest<Writing, ReceivablesScreen>,
                          public ::testing::WithParamInterface<bool> {};

// The ordering of ③ by amount, a save that moves rows across both its files,
// cut short by a power loss after each step: the text and the amounts are
// then both ordered when the save got to write them, both as the rows stood
// before when it did not, never one of each.
TEST_P(OrderingPowerLoss, TheRowsAreWhollyInTheOldOrderOrInTheNewAfterEveryStep) {
  Write(1, kName, "小");
  Write(1, kBalance, "100");
  Write(2, kName, "大");
  Write(2, kBalance, "900");
  Write(3, kName, "中");
  Write(3, kBalance, "500");
  Save();
  ASSERT_EQ(desktop.beeps, 1);
  // Another statement of the company, and ③ of another, stay as they are.
  testing::PutLines(drives, StatementAmountFile(StatementMark::Payables, 7), {"1", "2", "3"});
  testing::PutLines(drives, StatementTextFile(StatementMark::Receivables, 8), {"\"他社\""});
  const QStringList textsBefore = Texts();

  const int steps = testing::LosePowerAtEveryStep(
      drives, {.hardLinks = GetParam(),
               .prepare =
                   [&] {
                     Load();
                     screen.written = false;
                   },
               .operation =
                   [&] {
                     screen.Write(screen.Layout().codeBox, "7");
                     screen.RunUserAction("Command5");
                     return screen.written;
                   },
               .undone = testing::OnlyBefore});
  EXPECT_GT(steps, 2 * 2);

  // The last run was cut after its last step: the rows are ordered.
  EXPECT_NE(Texts(), textsBefore);
  EXPECT_EQ(Amounts().mid(0, 3), (QStringList{"900", "500", "100"}));
}

INSTANTIATE_TEST_SUITE_P(HardLinks, OrderingPowerLoss, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithLinks" : "WithoutLinks"; });

}  // namespace
}  // namespace mirudanto::statements
