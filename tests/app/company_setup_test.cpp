#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include "app/main_menu.h"
#include "app/menu_openings.h"
#include "app/screens.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "printing/print_data_set.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "statements/entry_screen.h"
#include "support/faulty_file_system.h"
#include "support/screen_test.h"
#include "support/statement_files_support.h"

namespace mirudanto::app {
namespace {

using platform::ScreenSet;

// Company initialisation over the screens the program really has: whatever
// entry screens exist are saved, in the order of the steps.
class CompanySetupTest : public testing::ScreenTest {
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

  std::vector<statements::EntryScreen*> entryScreens;
};

TEST_F(CompanySetupTest, ANewCompanyGetsTheFilesOfEveryEntryScreenAndOpensOnDeposits) {
  ASSERT_FALSE(entryScreens.empty());
  Call(5);

  EXPECT_EQ(desktop.Summary(), QStringList());
  for (statements::EntryScreen* screen : entryScreens) {
    for (const StatementFile& file : screen->Contract().files) {
      EXPECT_TRUE(drives.Exists(PathOf(file, 5))) << PathOf(file, 5).toStdString();
    }
  }
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable2nd, 5)));
  EXPECT_TRUE(ScreenSet::Instance().Get("Form2").IsShown());
  // One beep per save, one per step, one for the call.
  EXPECT_EQ(desktop.beeps, static_cast<int>(entryScreens.size()) + 4 + 1);
}

TEST_F(CompanySetupTest, TheSavesWriteTheirFilesInTheOrderOfTheChain) {
  testing::FaultyFileSystem files;
  Call(5);

  // The 18 saves of a company's set-up and the files each writes, in order; a screen
  // that this build does not have writes nothing.
  using M = StatementMark;
  const FileRole T = FileRole::Text;
  const FileRole A = FileRole::Amounts;
  const FileRole S = FileRole::SubtotalMarkers;
  const std::vector<StatementFile> chain = {
      {M::Deposits, T},        {M::Deposits, A},        {M::NotesReceivable, T},
      {M::NotesReceivable, A}, {M::Receivables, T},     {M::Receivables, A},
      {M::AdvancePayments, T}, {M::AdvancePayments, A}, {M::Inventories, T},
      {M::Inventories, A},     {M::FixedAssets, T},     {M::FixedAssets, A},
      {M::LoansReceivable, T}, {M::LoansReceivable, A}, {M::NotesPayable, T},
      {M::NotesPayable, A},    {M::Payables, T},        {M::Payables, A},
      {M::OtherPayables, T},   {M::OtherPayables, A},   {M::SuspenseReceipts, T},
      {M::SuspenseReceipts, A}, {M::Borrowings1, T},    {M::Borrowings1, A},
      {M::OfficerPay, A},      {M::OfficerPay, T},      {M::Rents, T},
      {M::Rents, A},           {M::MiscGains, T},       {M::MiscGains, A},
      {M::MiscGains, S},       {M::Borrowings2, T},     {M::Borrowings2, A},
      {M::MiscLosses, T},      {M::MiscLosses, A},      {M::MiscLosses, S},
  };
  QStringList expected;
  for (const StatementFile& file : chain) {
    if (drives.Exists(PathOf(file, 5))) expected.append("write " + PathOf(file, 5));
  }
  // Each file is written to its temporary beside it, named after it.
  const QRegularExpression temporary(QStringLiteral("^write (.*)\\\\\\.~saving\\.(.*)\\.\\w{6}$"));
  QStringList written;
  for (const QString& line : files.Log()) {
    const QRegularExpressionMatch match = temporary.match(line);
    if (match.hasMatch() && match.captured(1) == StatementFolder()) {
      written.append("write " + match.captured(1) + QChar('\\') + match.captured(2));
    }
  }
  EXPECT_EQ(written, expected);
  // Every entry screen exists now: a new company has exactly the 36 files of
  // the set, each with as many values as the print screens read from it.
  QStringList set;
  for (const StatementFile& file : StatementFileSet()) {
    set.append(QFileInfo(drives.Native(PathOf(file, 5))).fileName());
    if (file.role != S) {
      EXPECT_EQ(testing::FileLines(drives, PathOf(file, 5)).size(), printing::ValueCount(file))
          << PathOf(file, 5).toStdString();
    } else {
      EXPECT_EQ(testing::FileLines(drives, PathOf(file, 5)), testing::Repeated("0", 9));
    }
  }
  QStringList present = QDir(drives.Native(StatementFolder())).entryList(QDir::Files);
  present.sort();
  set.sort();
  EXPECT_EQ(present, set);
  EXPECT_EQ(expected.size(), 36);
  // The ledgers are among them, each text file before its amount file.
  for (M mark : {M::Receivables, M::Payables, M::OtherPayables}) {
    EXPECT_TRUE(expected.contains("write " + StatementTextFile(mark, 5)));
    EXPECT_TRUE(expected.contains("write " + StatementAmountFile(mark, 5)));
  }

  // Their untouched grids: the word, spaces and empty texts; zero amounts.
  const std::tuple<M, const char*, int> ledgers[] = {
      {M::Receivables, "売掛金", 14}, {M::Payables, "買掛金", 13}, {M::OtherPayables, "未払金", 11}};
  for (const auto& [mark, word, n] : ledgers) {
    EXPECT_EQ(testing::FileLines(drives, StatementTextFile(mark, 5)),
              testing::Quoted(QStringList{QString::fromUtf8(word)} +
                              testing::Repeated(QStringLiteral("　"), n - 1) +
                              testing::Repeated(QString(), 3 * n)));
    EXPECT_EQ(testing::FileLines(drives, StatementAmountFile(mark, 5)),
              testing::Repeated(QStringLiteral("0"), n + 1));
  }
}

// The set-up saves and unloads screens and then opens one again: the windows
// it discarded must not linger beside the live ones.
TEST_F(CompanySetupTest, EveryScreenHasOneWindowDuringAndAfterTheSetUp) {
  auto windowsNamed = [](const QString& name) {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      count += window->objectName() == name ? 1 : 0;
    }
    return count;
  };
  auto screenWindows = [] {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      count += qobject_cast<const platform::ScreenWindow*>(window) != nullptr ? 1 : 0;
    }
    return count;
  };
  QEventLoop loop;
  int namedDuring = 0;
  QTimer::singleShot(0, &loop, [&] {
    Call(5);
    namedDuring = windowsNamed("Form2");
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
  });
  // Back in the event loop, the discarded windows are gone.
  loop.exec();
  EXPECT_EQ(namedDuring, 1);
  EXPECT_EQ(windowsNamed("Form2"), 1);
  int loaded = 0;
  for (const auto& group : SetupGroups()) {
    for (const QString& name : group) {
      Screen* screen = ScreenSet::Instance().Find(name);
      loaded += screen != nullptr && screen->IsLoaded() ? 1 : 0;
    }
  }
  loaded += ScreenSet::Instance().Get("Form1").IsLoaded() ? 1 : 0;
  EXPECT_EQ(screenWindows(), loaded);
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

namespace mirudanto::app {
namespace {

// Every screen the program has, opened from the main menu through its real
// load.
class ScreenOpeningTest : public CompanySetupTest {
 protected:
  ScreenOpeningTest() { drives.MakeFolder(StatementFolder()); }

  // The openings whose screen this build has, "プリンターの設定変更" aside:
  // it lists the machine's printers, which these tests leave alone.
  std::vector<MenuOpening> BuiltOpenings() {
    std::vector<MenuOpening> built;
    for (const MenuOpening& opening : MenuOpenings()) {
      if (ScreenSet::Instance().Find(opening.screen) != nullptr &&
          opening.opening != Opening::PrinterScreen) {
        built.push_back(opening);
      }
    }
    return built;
  }

  static statements::EntryScreen* EntryScreen(const QString& name) {
    return dynamic_cast<statements::EntryScreen*>(&ScreenSet::Instance().Get(name));
  }
};

TEST_F(ScreenOpeningTest, EveryScreenOpensOnTheCompanysFiles) {
  Call(5);
  // Page 2 of ② has its files once it has been saved.
  platform::Screen& page2 = ScreenSet::Instance().Get("Form22");
  page2.Write(page2.Contract().codeBox, "5");
  page2.Press(page2.Contract().saveButton);
  // The print screens read every statement's files: the set-up wrote them.
  for (const StatementFile& file : PrintDataSetOrder()) {
    ASSERT_TRUE(drives.Exists(PathOf(file, 5))) << PathOf(file, 5).toStdString();
  }
  platform::Screen& menu = ScreenSet::Instance().Get("Form1");

  ASSERT_FALSE(BuiltOpenings().empty());
  for (const MenuOpening& opening : BuiltOpenings()) {
    desktop.boxes.clear();
    EXPECT_TRUE(menu.Control(opening.menuButton).isEnabled()) << opening.menuButton.toStdString();
    menu.Press(opening.menuButton);
    const std::string name = opening.screen.toStdString();
    EXPECT_EQ(desktop.Summary(), QStringList()) << name;
    EXPECT_TRUE(ScreenSet::Instance().Get(opening.screen).IsShown()) << name;
    if (statements::EntryScreen* screen = EntryScreen(opening.screen)) {
      EXPECT_TRUE(screen->HeldIsValid() && screen->HeldCode() == 5) << name;
    }
  }
}

TEST_F(ScreenOpeningTest, AnOpeningWhoseLoadFailsReportsOncePerPageAndStillShowsTheScreen) {
  platform::Screen& menu = ScreenSet::Instance().Get("Form1");
  menu.Load();
  menu.Write("Text1", "6");  // a code without files

  for (const MenuOpening& opening : BuiltOpenings()) {
    desktop.boxes.clear();
    menu.Press(opening.menuButton);
    const std::string name = opening.screen.toStdString();
    statements::EntryScreen* screen = EntryScreen(opening.screen);
    if (opening.screen == "Form18") {
      // The print screen's load reports under the title of its commonest stop.
      EXPECT_EQ(desktop.Summary(),
                QStringList{"受取手形②を実行してください|ファイルが見つかりません。\n①6.txt"});
      EXPECT_TRUE(ScreenSet::Instance().Get(opening.screen).IsShown());
      continue;
    }
    if (screen == nullptr) {
      // The blank-A4 screen's load leaves its failure to the opening.
      const QStringList expected =
          opening.screen == "Form23"
              ? QStringList{QStringLiteral("ミルダント|ファイルが見つかりません。\n①6.txt")}
              : QStringList();
      EXPECT_EQ(desktop.Summary(), expected) << name;
      EXPECT_TRUE(ScreenSet::Instance().Get(opening.screen).IsShown()) << name;
      continue;
    }
    // The inventories screen's load leaves its failure to the opening, which
    // reports it under the system's title and does not show the screen.
    const bool reportsItself = opening.screen != "Form6";
    const QString title = reportsItself ? screen->Layout().loadTitle : QStringLiteral("ミルダント");
    // Each names the first file its load reads.
    auto missing = [&title](const statements::EntryScreen& of) {
      const QString path = PathOf(of.Layout().files.front().file, 6);
      return title + "|ファイルが見つかりません。\n" + path.mid(path.lastIndexOf('\\') + 1);
    };
    QStringList expected = {missing(*screen)};
    // Page 2 of the borrowings is opened with page 1's load, which reports too.
    if (opening.opening == Opening::BothPages) {
      expected.append(missing(*EntryScreen(kBorrowingsPage1)));
    }
    EXPECT_EQ(desktop.Summary(), expected) << name;
    EXPECT_EQ(screen->IsShown(), reportsItself) << name;
  }
  EXPECT_FALSE(ScreenSet::Instance().Get("Form6").IsShown());
}

}  // namespace
}  // namespace mirudanto::app
