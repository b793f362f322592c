#include <gtest/gtest.h>

#include <QDir>

#include "app/main_menu.h"
#include "app/screen_contract.h"
#include "app/screens.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "statements/entry_screen.h"
#include "support/recording_desktop.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using platform::ScreenSet;

// Company initialisation over the screens the program really has: whatever
// entry screens exist are saved, in the order of the steps.
class CompanySetupTest : public ::testing::Test {
 protected:
  CompanySetupTest() {
    drives.MakeFolder(CompanyFolder());
    RegisterScreens();
    for (const auto& group : SetupGroups()) {
      for (const QString& name : group) {
        if (auto* screen = dynamic_cast<statements::EntryScreen*>(ScreenSet::Instance().Find(name))) {
          entryScreens.push_back(screen);
        }
      }
    }
  }
  ~CompanySetupTest() override { ScreenSet::Instance().Clear(); }

  void Call(CompanyCode code) {
    CompanyRecord record;
    record.code = code;
    record.name = QStringLiteral("見本");
    platform::SaveValueFile(CompanyMasterFile(code), CompanyRecordWriter(record));
    Screen& menu = ScreenSet::Instance().Get("Form1");
    menu.Load();
    menu.Write("Text1", CodeText(code));
    menu.Press("Command2");
  }
  using Screen = platform::Screen;

  testing::TempDrives drives;
  testing::RecordingDesktop desktop;
  std::vector<statements::EntryScreen*> entryScreens;
};

TEST_F(CompanySetupTest, ANewCompanyGetsTheFilesOfEveryEntryScreenAndOpensOnDeposits) {
  ASSERT_FALSE(entryScreens.empty());
  Call(5);

  EXPECT_EQ(desktop.Summary(), QStringList());
  for (statements::EntryScreen* screen : entryScreens) {
    for (const StatementFile& file : ContractOfScreen(screen->Name()).files) {
      EXPECT_TRUE(drives.Exists(PathOf(file, 5))) << PathOf(file, 5).toStdString();
    }
  }
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable2nd, 5)));
  EXPECT_TRUE(ScreenSet::Instance().Get("Form2").IsShown());
  // One beep per save, one per step, one for the call.
  EXPECT_EQ(desktop.beeps, static_cast<int>(entryScreens.size()) + 4 + 1);
}

TEST_F(CompanySetupTest, ACodeBeyondSixteenBitsIsReportedByEachScreenAndNothingIsWritten) {
  Call(40000);

  QStringList expected;
  for (statements::EntryScreen* screen : entryScreens) {
    expected.append(screen->Layout().saveTitle + "|オーバーフローしました。");
  }
  expected.append(QStringLiteral("預貯金|オーバーフローしました。"));  // the deposits screen's load
  EXPECT_EQ(desktop.Summary(), expected);
  EXPECT_TRUE(QDir(drives.Native(StatementFolder())).isEmpty());
}

}  // namespace
}  // namespace mirudanto::app
