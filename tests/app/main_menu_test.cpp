#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/company_register.h"
#include "app/main_menu.h"
#include "backup/data_screen.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "fake_entry_screens.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "support/screen_layout_checks.h"
#include "support/screen_test.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using platform::Screen;
using platform::ScreenSet;
using testing::TempDrives;

CompanyRecord Company(CompanyCode code, const QString& name, HeiseiDate start = {20, 4, 1}) {
  CompanyRecord record;
  record.code = code;
  record.name = name;
  record.periodStart = start;
  record.periodEnd = {start.year + 1, 3, 31};
  return record;
}

class MainMenuTest : public testing::ScreenTest {
 protected:
  MainMenuTest() {
    drives.MakeFolder(CompanyFolder());
    drives.MakeFolder(StatementFolder());
  }

  void Register(const CompanyRecord& record) {
    platform::SaveValueFile(CompanyMasterFile(record.code), CompanyRecordWriter(record));
  }

  // Starts the run as the program does: the main menu's load fills the list.
  MainMenu& Start(bool withEntryScreens = false) {
    if (withEntryScreens) testing::AddFakeEntryScreens(log);
    auto& menu = ScreenSet::Instance().Add<MainMenu>();
    ScreenSet::Instance().Add<CompanyRegister>();
    menu.Load();
    return menu;
  }

  QStringList Items(MainMenu& menu) {
    QStringList items;
    auto& list = menu.ControlAs<QListWidget>("List1");
    for (int k = 0; k < list.count(); ++k) items.append(list.item(k)->text());
    return items;
  }

  void Pick(MainMenu& menu, int row) {
    auto& list = menu.ControlAs<QListWidget>("List1");
    list.setCurrentRow(row);
    menu.Press("List1");
  }

  bool Shown(const QString& screen) { return ScreenSet::Instance().Get(screen).IsShown(); }

  QStringList log;
};

TEST_F(MainMenuTest, TheListShowsEveryReadableCompanyInCodeOrder) {
  Register(Company(5, "株式会社見本"));
  Register(Company(12, "山田商事", {21, 10, 1}));
  Register(Company(123, "丸三"));
  // A file of 16 values cannot be listed, but the company can be called.
  ValueWriter shortFile;
  for (int k = 0; k < 8; ++k) shortFile.WriteNumber(k == 0 ? 7 : 1);
  for (int k = 0; k < 8; ++k) shortFile.WriteText("短");
  platform::SaveValueFile(CompanyMasterFile(7), shortFile);

  MainMenu& menu = Start();

  EXPECT_EQ(Items(menu), (QStringList{"05 : 株式会社見本  [平成20.4.1]",
                                      "012 : 山田商事  [平成21.10.1]", "123 : 丸三  [平成20.4.1]"}));
  EXPECT_EQ(menu.CurrentCompanyCode(), 123);
  EXPECT_TRUE(menu.IsShown());

  menu.Write("Text1", "7");
  menu.Press("Command2");
  EXPECT_EQ(menu.Read("Text2"), QStringLiteral("短"));
}

TEST_F(MainMenuTest, WithoutCompaniesTheListIsEmptyAndTheCodeIsZero) {
  MainMenu& menu = Start();
  EXPECT_TRUE(Items(menu).isEmpty());
  EXPECT_EQ(menu.CurrentCompanyCode(), 0);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainMenuTest, PickingACompanyCallsTheCodeBeforeTheSeparatorEvenWithFourDigits) {
  // A file whose first value differs from its name is listed, and called,
  // under its first value.
  Register(Company(1234, "四桁商会"));
  platform::SaveValueFile(CompanyMasterFile(8), CompanyRecordWriter(Company(1234, "四桁商会")));
  Register(Company(5, "株式会社見本"));
  MainMenu& menu = Start(true);
  ASSERT_EQ(Items(menu), (QStringList{"05 : 株式会社見本  [平成20.4.1]",
                                      "1234 : 四桁商会  [平成20.4.1]"}));

  Pick(menu, 1);
  EXPECT_EQ(menu.Read("Text1"), QStringLiteral("1,234"));
  EXPECT_EQ(menu.CurrentCompanyCode(), 1234);
  EXPECT_EQ(menu.Read("Text2"), QStringLiteral("四桁商会"));

  Pick(menu, 0);
  EXPECT_EQ(menu.Read("Text1"), QStringLiteral("5"));
  EXPECT_EQ(menu.Read("Text2"), QStringLiteral("株式会社見本"));
  EXPECT_EQ(menu.Read("Text13") + "." + menu.Read("Text14") + "." + menu.Read("Text15") + "-" +
                menu.Read("Text17") + "." + menu.Read("Text18") + "." + menu.Read("Text19"),
            QStringLiteral("20.4.1-21.3.31"));
}

TEST_F(MainMenuTest, CallingANewCompanySavesEveryEntryScreenInOrderWithItsProgress) {
  Register(Company(5, "株式会社見本"));
  MainMenu& menu = Start(true);

  menu.Write("Text1", "5");
  menu.Press("Command2");

  EXPECT_EQ(log, (QStringList{
                     "Form2 save 20",  "Form3 save 20",  "Form4 save 20",  "Form5 save 40",
                     "Form6 save 40",  "Form7 save 40",  "Form20 save 40", "Form8 save 60",
                     "Form9 save 60",  "Form11 save 60", "Form12 save 80", "Form13 save 80",
                     "Form14 save 80", "Form15 save 100", "Form16 save 100", "Form17 save 100",
                     "Form19 save 100", "Form2 load"}));
  // 17 saves, a beep after each of the four steps, and the call's own.
  EXPECT_EQ(desktop.beeps, 17 + 4 + 1);
  for (const StatementFile& file : StatementFileSet()) {
    EXPECT_TRUE(drives.Exists(PathOf(file, 5))) << PathOf(file, 5).toStdString();
  }
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable2nd, 5)));
  EXPECT_TRUE(Shown("Form2"));
  for (const char* hidden : {"Command25", "Command24", "Command26", "Command27", "Command28",
                             "ProgressBar1", "Label1"}) {
    EXPECT_FALSE(menu.IsControlVisible(hidden)) << hidden;
  }
  int loaded = 0;
  for (const QString& name : UnloadedScreens()) {
    if (Screen* screen = ScreenSet::Instance().Find(name)) loaded += screen->IsLoaded();
  }
  EXPECT_EQ(loaded, 1);

  // Called again: nothing is written, the deposits screen opens, "登録済".
  const QByteArray before = drives.Get(StatementTextFile(StatementMark::Borrowings2, 5));
  log.clear();
  desktop.beeps = 0;
  menu.Press("Command2");
  EXPECT_EQ(log, QStringList{"Form2 load"});
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(menu.IsControlVisible("Label1"));
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::Borrowings2, 5)), before);
}

TEST_F(MainMenuTest, InitialisationNeverOverwritesAScreenWhoseFilesExist) {
  Register(Company(5, "株式会社見本"));
  const QString receivables = StatementAmountFile(StatementMark::Receivables, 5);
  drives.Put(receivables, "\"kept\"\r\n");
  MainMenu& menu = Start(true);

  menu.Write("Text1", "5");
  menu.Press("Command2");

  EXPECT_FALSE(log.contains("Form4 save 20"));
  EXPECT_TRUE(log.contains("Form3 save 20"));
  EXPECT_EQ(drives.Get(receivables), QByteArray("\"kept\"\r\n"));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Receivables, 5)));
}

TEST_F(MainMenuTest, ACodeBeyondSixteenBitsIsReportedByEverySaveAndWritesNothing) {
  Register(Company(40000, "大番号"));
  MainMenu& menu = Start(true);

  menu.Write("Text1", "40000");
  menu.Press("Command2");

  QStringList titles;
  for (const auto& box : desktop.boxes) titles.append(box.title);
  QStringList expected;
  for (const auto& group : SetupGroups()) {
    for (const QString& screen : group) expected.append(screen);
  }
  expected.append("Form2");  // the deposits screen's own load
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(desktop.boxes.front().text, QStringLiteral("オーバーフローしました。"));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Deposits, 40000)));
  EXPECT_TRUE(Shown("Form2"));
}

TEST_F(MainMenuTest, ACallThatCannotReadTheCompanyEmptiesTheBoxesWithoutAMessage) {
  Register(Company(5, "株式会社見本"));
  MainMenu& menu = Start(true);
  menu.Write("Text1", "5");
  menu.Press("Command2");
  desktop.beeps = 0;
  log.clear();

  menu.Write("Text1", "6");
  menu.Press("Command2");

  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(menu.Read("Text1"), QString());
  EXPECT_EQ(menu.Read("Text2"), QString());
  EXPECT_EQ(menu.Read("Text13"), QStringLiteral("20"));  // the period stays
  EXPECT_EQ(menu.CurrentCompanyCode(), 6);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_FALSE(Shown("Form2"));
  EXPECT_TRUE(ScreenSet::Instance().Get("Form2").IsLoaded());
  EXPECT_FALSE(menu.IsControlVisible("ProgressBar1"));
  EXPECT_FALSE(menu.IsControlVisible("Command25"));
}

TEST_F(MainMenuTest, ACallWithoutAnyNameReadYetBeepsTwice) {
  MainMenu& menu = Start(true);
  menu.Write("Text1", "6");
  menu.Press("Command2");
  EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(MainMenuTest, ACodeThatIsNoNumberIsReportedUnderTheCallAndClosesNothing) {
  drives.MakeFolder(kDataRoot);
  MainMenu& menu = Start(true);
  Screen& deposits = ScreenSet::Instance().Get("Form2");
  deposits.Show();

  for (const char* typed : {"", "abc", "2147483648"}) {
    menu.Write("Text1", typed);
    menu.Press("Command2");
  }

  EXPECT_EQ(desktop.Summary(), (QStringList{"会社呼出|型が一致しません。", "会社呼出|型が一致しません。",
                                            "会社呼出|オーバーフローしました。"}));
  EXPECT_TRUE(deposits.IsShown());
  EXPECT_EQ(menu.CurrentCompanyCode(), 0);
}

TEST_F(MainMenuTest, WithoutTheDataRootTheCallReportsTheFolderItCannotCreate) {
  TempDrives bare;  // a hard disk without "法人税"
  MainMenu& menu = Start();
  menu.Write("Text1", "5");
  menu.Press("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList{"会社呼出|パスが見つかりません。"});
  EXPECT_EQ(menu.Read("Text1"), QString());
}

TEST_F(MainMenuTest, OpeningsHandTheCodeOnAndReportACodeThatIsNoNumber) {
  MainMenu& menu = Start(true);
  Screen& receivables = ScreenSet::Instance().Get("Form4");

  menu.Write("Text1", "");
  menu.Press("Command4");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|型が一致しません。"});
  EXPECT_FALSE(receivables.IsShown());

  menu.Write("Text1", "1,000");
  menu.Press("Command4");
  EXPECT_EQ(receivables.Read("Text146"), QStringLiteral("1000"));
  EXPECT_TRUE(receivables.IsShown());
  EXPECT_EQ(menu.CurrentCompanyCode(), 1000);

  // The shown-first, cleared-first and both-pages variants, in their order.
  log.clear();
  for (const char* button : {"Command14", "Command30", "Command22"}) menu.Press(button);
  EXPECT_EQ(log, (QStringList{"Form8 load", "Form20 clear", "Form20 load", "Form17 load",
                              "Form13 load"}));
  EXPECT_TRUE(Shown("Form17"));
  EXPECT_FALSE(Shown("Form13"));
  EXPECT_TRUE(ScreenSet::Instance().Get("Form13").IsLoaded());
  EXPECT_FALSE(receivables.IsLoaded());
}

TEST_F(MainMenuTest, TheRegisterReceivesTheKeptCodeNotTheCodeBox) {
  Register(Company(12, "山田商事"));
  MainMenu& menu = Start();
  menu.Write("Text1", "99");

  menu.Press("Command13");

  Screen& form10 = ScreenSet::Instance().Get("Form10");
  EXPECT_TRUE(form10.IsShown());
  EXPECT_EQ(form10.Read("Text100"), QStringLiteral("12"));
  EXPECT_EQ(form10.Read("Text1"), QString());
  EXPECT_EQ(form10.Read("Text15"), QStringLiteral("1"));
}

TEST_F(MainMenuTest, TheDataOpeningIsNotGreyedAndHandsTheKeptCodeToTheDataScreen) {
  Register(Company(12, "山田商事"));
  Screen& form21 = ScreenSet::Instance().Add<backup::DataScreen>();
  MainMenu& menu = Start();
  EXPECT_TRUE(menu.Control("Command29").isEnabled());
  form21.Write("Text6", "5");  // left from an earlier opening
  menu.Write("Text1", "99");

  menu.Press("Command29");

  EXPECT_TRUE(form21.IsShown());
  EXPECT_EQ(form21.Read("Text1"), QStringLiteral("12"));
  EXPECT_EQ(form21.Read("Text6"), QString());  // unloaded and created anew
  EXPECT_FALSE(form21.IsControlVisible("ProgressBar1"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainMenuTest, ClearingTheCompanyBoxesKeepsTheCode) {
  Register(Company(5, "株式会社見本"));
  MainMenu& menu = Start(true);
  menu.Write("Text1", "5");
  menu.Press("Command2");
  menu.Press("Command2");
  ASSERT_TRUE(menu.IsControlVisible("Label1"));

  menu.Press("Command9");

  for (const char* box : {"Text1", "Text2", "Text13", "Text14", "Text15", "Text17", "Text18",
                          "Text19"}) {
    EXPECT_EQ(menu.Read(box), QString()) << box;
  }
  EXPECT_FALSE(menu.IsControlVisible("Label1"));
  EXPECT_EQ(menu.CurrentCompanyCode(), 5);
}

TEST_F(MainMenuTest, QuittingAndTheCloseBoxBeepAndEndTheProgram) {
  MainMenu& menu = Start();
  menu.ControlAs<QPushButton>("Command11").click();
  EXPECT_TRUE(desktop.ended);
  EXPECT_EQ(desktop.beeps, 1);

  menu.Press("Command10");
  EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(MainMenuTest, EveryCaptionStandsAsGiven) {
  MainMenu& menu = Start(true);
  EXPECT_EQ(menu.Window().windowTitle(), QStringLiteral("ミルダントシステム"));
  for (const MenuOpening& opening : MenuOpenings()) {
    EXPECT_EQ(menu.CaptionOf(opening.menuButton), opening.caption);
  }
  EXPECT_EQ(menu.CaptionOf("Command9"), QStringLiteral("会社コードクリア"));
  EXPECT_EQ(menu.CaptionOf("Command11"), QStringLiteral("終　了"));
  EXPECT_EQ(menu.CaptionOf("Command32"), QStringLiteral("法人税の目次"));
  EXPECT_EQ(menu.CaptionOf("Command33"), QStringLiteral("法人税の目次"));
  EXPECT_EQ(menu.CaptionOf("Label3"),
            QStringLiteral("これは法人税ミルダントの抄であり、全部をカバーするものではありません。"));
  EXPECT_EQ(menu.Read("Text2"), QStringLiteral("　"));
  testing::ExpectNothingOverlapsOrIsClipped(menu);
}

}  // namespace
}  // namespace mirudanto::app
