#include <gtest/gtest.h>

#include <QDir>

#include "app/menu_openings.h"
#include "app/screens.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "ledger_fixture.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/screen_test.h"

namespace mirudanto::statements {
namespace {

using platform::ScreenSet;
using testing::kBalance;
using testing::kName;
using testing::LedgerCell;

// The main menu's buttons of the three ledgers and the screens they open.
const std::pair<const char*, const char*> kLedgerOpenings[] = {
    {"Command4", "Form4"}, {"Command8", "Form9"}, {"Command15", "Form11"}};

// The ledgers as the program runs them: every screen registered, opened
// from the main menu.
class LedgerOpeningsTest : public testing::ScreenTest {
 protected:
  LedgerOpeningsTest() : menu((app::RegisterScreens(), ScreenSet::Instance().Get("Form1"))) {
    drives.MakeFolder(CompanyFolder());
    drives.MakeFolder(StatementFolder());
    menu.Load();
  }

  void Call(CompanyCode code) {
    CompanyRecord record;
    record.code = code;
    record.name = QStringLiteral("見本");
    platform::SaveValueFile(CompanyMasterFile(code), CompanyRecordWriter(record));
    menu.Write("Text1", CodeText(code));
    menu.Press("Command2");
  }

  static LedgerScreen& Ledger(const char* name) {
    return dynamic_cast<LedgerScreen&>(ScreenSet::Instance().Get(name));
  }

  platform::Screen& menu;
};

TEST_F(LedgerOpeningsTest, TheMainMenuOpensEachLedgerOnTheFilesItsInitialisationWrote) {
  Call(5);
  for (const auto& [button, name] : kLedgerOpenings) {
    EXPECT_TRUE(menu.Control(button).isEnabled()) << button;
    desktop.boxes.clear();
    menu.RunUserAction(button);
    LedgerScreen& ledger = Ledger(name);
    EXPECT_TRUE(desktop.boxes.empty()) << name;
    EXPECT_TRUE(ledger.IsShown()) << name;
    EXPECT_TRUE(ledger.HeldIsValid() && ledger.HeldCode() == 5) << name;
    EXPECT_EQ(ledger.Read("Text146"), QStringLiteral("5"));
    // As saved untouched: the word and the spaces, the amounts empty.
    EXPECT_EQ(ledger.Read(LedgerCell(1, testing::kAccount)).size(), 3) << name;
    EXPECT_EQ(ledger.Read(LedgerCell(2, testing::kAccount)), QStringLiteral("　"));
    EXPECT_EQ(ledger.Read(LedgerCell(1, kBalance)), QString());
    EXPECT_EQ(ledger.Read("Text118"), QString());
  }
}

TEST_F(LedgerOpeningsTest, ACodeBeyondSixteenBitsGivesOneMessagePerPressAndWritesNothing) {
  menu.Write("Text1", "40000");
  for (const auto& [button, name] : kLedgerOpenings) {
    desktop.boxes.clear();
    menu.RunUserAction(button);
    LedgerScreen& ledger = Ledger(name);
    // The load's own message; the screen shows its initial texts.
    EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"}) << name;
    EXPECT_TRUE(ledger.IsShown()) << name;
    EXPECT_EQ(ledger.Read("Text146"), QStringLiteral("40000"));

    ledger.Write(LedgerCell(1, kName), "A");
    ledger.Write(LedgerCell(1, kBalance), "1");
    ledger.Write(LedgerCell(2, kName), "B");
    ledger.Write(LedgerCell(2, kBalance), "2");
    for (const char* press : {"Command5", "Command5", "Command2"}) {
      desktop.boxes.clear();
      ledger.RunUserAction(press);
      EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"})
          << name << " " << press;
    }
    EXPECT_EQ(ledger.Read(LedgerCell(1, kName)), QStringLiteral("B"));
    EXPECT_EQ(ledger.Read(LedgerCell(1, kBalance)), QStringLiteral("2"));
  }
  EXPECT_TRUE(QDir(drives.Native(StatementFolder())).isEmpty());
  EXPECT_EQ(desktop.beeps, 0);
}

}  // namespace
}  // namespace mirudanto::statements
