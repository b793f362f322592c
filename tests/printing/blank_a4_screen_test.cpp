#include "printing/blank_a4/blank_a4_screen.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_menu.h"
#include "platform/screen.h"
#include "printing/printer.h"
#include "printing/recording_printer.h"
#include "support/failure_of.h"
#include "support/print_company.h"
#include "support/qt_printers.h"
#include "support/screen_layout_checks.h"
#include "support/screen_test.h"

namespace mirudanto::printing {
namespace {

using platform::ScreenSet;
using testing::SetAmount;
using testing::WriteCompany;
using M = StatementMark;

const QStringList kLabels = {"Label1",  "Label2",  "Label27", "Label3", "Label4",
                             "Label5",  "Label6",  "Label7",  "Label8", "Label9",
                             "Label10", "Label11", "Label12", "Label13"};
const QStringList kButtons = {"Command13", "Command10", "Command9",  "Command24", "Command23",
                              "Command22", "Command21", "Command11", "Command15", "Command25",
                              "Command26", "Command27", "Command29", "Command28"};
const QStringList kCaptions = {"預貯金",         "受取手形",  "②受取手形", "売掛金",
                               "仮払金・貸付金", "棚卸商品",  "固定資産",  "支払手形",
                               "買掛金・未払金", "仮受金",    "借入金",    "役員報酬",
                               "地代家賃",       "雑益・雑損"};

QString Counter(int row) { return QStringLiteral("Text%1").arg(13 + row); }

// A printer that takes `allowed` jobs and refuses every one after them.
class FailingAfter : public Printer {
 public:
  FailingAfter(RecordingPrinter& inner, int allowed) : inner_(inner), allowed_(allowed) {}
  std::unique_ptr<PrintDocument> NewDocument(const QString& title) override {
    inner_.refuseJobs = static_cast<int>(inner_.jobs.size()) >= allowed_;
    return inner_.NewDocument(title);
  }

 private:
  RecordingPrinter& inner_;
  int allowed_;
};

class BlankA4ScreenTest : public testing::ScreenTest {
 protected:
  BlankA4ScreenTest() {
    screen = &ScreenSet::Instance().Add<BlankA4Screen>();
    InstallPrinter(&printer);
  }
  ~BlankA4ScreenTest() override { InstallPrinter(nullptr); }

  // The openers' steps: the code, the screen shown, then its load.
  void Open(CompanyCode code) {
    screen->Write("Text146", CodeText(code));
    screen->Show();
    screen->Press("Command3");
  }
  void Click(const QString& button) { screen->ControlAs<QPushButton>(button).click(); }
  QStringList Marked() {
    QStringList marked;
    for (const QString& label : kLabels) {
      if (screen->CaptionOf(label) == QStringLiteral("要")) marked.append(label);
    }
    return marked;
  }
  QStringList JobTitles() const {
    QStringList titles;
    for (const RecordingPrinter::Job& job : printer.jobs) titles.append(job.title);
    return titles;
  }
  QStringList Counters() {
    QStringList counters;
    for (int row = 0; row < 14; ++row) counters.append(screen->Read(Counter(row)));
    return counters;
  }

  RecordingPrinter printer;
  BlankA4Screen* screen = nullptr;
};

TEST_F(BlankA4ScreenTest, TheScreenAsDesigned) {
  screen->Show();
  EXPECT_EQ(screen->Window().objectName(), QStringLiteral("Form23"));
  EXPECT_EQ(screen->Window().windowTitle(), QStringLiteral("A4白紙用紙印刷印刷"));
  for (int row = 0; row < 14; ++row) {
    SCOPED_TRACE(kButtons[row].toStdString());
    EXPECT_EQ(screen->CaptionOf(kButtons[row]), kCaptions[row]);
    EXPECT_EQ(screen->CaptionOf(kLabels[row]), QStringLiteral("要"));
    EXPECT_EQ(screen->Read(Counter(row)), QString());
    EXPECT_EQ(screen->Control(kButtons[row]).y(), (480 + 360 * row) / 15);
    EXPECT_EQ(screen->Control(Counter(row)).geometry(),
              QRect(4560 / 15, (480 + 360 * row) / 15, 495 / 15, 375 / 15));
  }
  EXPECT_EQ(screen->Control("Command23").geometry(), QRect(2880 / 15, 1920 / 15, 1695 / 15, 25));
  EXPECT_EQ(screen->Control("Label8").x(), 2640 / 15);
  EXPECT_EQ(screen->Read("Text27"), QStringLiteral("枚数"));
  EXPECT_EQ(screen->CaptionOf("Command5"), QStringLiteral("１部 を一括印刷する"));
  EXPECT_EQ(screen->CaptionOf("Command6"), QStringLiteral("２部 を一括印刷する"));
  EXPECT_EQ(screen->CaptionOf("Command7"), QStringLiteral("３部 を一括印刷する"));
  EXPECT_EQ(screen->CaptionOf("Command4"), QStringLiteral("部 を一括印刷する"));
  EXPECT_EQ(screen->CaptionOf("Command2"), QStringLiteral("クリア"));
  EXPECT_EQ(screen->CaptionOf("Label28"), QStringLiteral("A4白紙用紙印刷"));
  EXPECT_EQ(screen->Read("Text28"), QString());
  for (const char* hidden : {"Text146", "Command3", "Command1", "Command31"}) {
    EXPECT_FALSE(screen->IsControlVisible(hidden)) << hidden;
  }
  EXPECT_EQ(screen->CaptionOf("Command1"), QStringLiteral("印刷調整=0"));
  EXPECT_EQ(screen->CaptionOf("Command31"), QStringLiteral("フォーマットの基本"));
  testing::ExpectNothingOverlapsOrIsClipped(*screen, {}, true);

  // Tab starts with the fourteen print buttons, top to bottom, and goes on to
  // the first counter: the heading above the counters is passed by, though a
  // click still reaches it.
  QWidget* focus = screen->Window().nextInFocusChain();
  for (const QString& stop : kButtons + QStringList{Counter(0)}) {
    while (!(focus->focusPolicy() & Qt::TabFocus) || focus->isHidden()) {
      focus = focus->nextInFocusChain();
    }
    EXPECT_EQ(focus->objectName(), stop);
    focus = focus->nextInFocusChain();
  }
  QWidget& heading = screen->Control("Text27");
  QTest::mouseClick(&heading, Qt::LeftButton);
  EXPECT_EQ(screen->Window().focusWidget(), &heading);
}

// A stray Space where the screen opens goes into the first sheet counter, not
// onto a print button.
TEST_F(BlankA4ScreenTest, TheScreenOpensInItsFirstSheetCounter) {
  WriteCompany(drives, 7, SetAmount(M::Deposits, 16, "5000"));
  Open(7);
  QWidget* focus = screen->Window().focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->objectName(), QStringLiteral("Text13"));
  QTest::keyClick(focus, Qt::Key_Space);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(screen->Read("Text13"), QStringLiteral(" "));
}

TEST_F(BlankA4ScreenTest, TheLoadBeepsAndMarksExactlyTheStatementsThatNeedPrinting) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Deposits, 16, "2")(file, lines);
    SetAmount(M::Receivables, 15, "50000")(file, lines);
    SetAmount(M::Inventories, 6, "1")(file, lines);      // 1 is not enough
    SetAmount(M::FixedAssets, 16, "-900")(file, lines);  // nor a negative total
    SetAmount(M::Borrowings2, 8, "3")(file, lines);      // page 1's total as carried
    SetAmount(M::MiscLosses, 11, "3")(file, lines);
  });
  Open(7);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(Marked(), (QStringList{"Label1", "Label3", "Label10", "Label13"}));
  EXPECT_TRUE(screen->DataSet().Complete());
  for (const QString& label : kLabels) EXPECT_TRUE(screen->IsControlVisible(label));
}

// Never stale figures: a load that stops leaves no mark, so a batch prints
// nothing; a page whose files the load did not read says why and sends
// nothing, uncounted; a page read whole still prints.
TEST_F(BlankA4ScreenTest, AfterALoadThatStoppedNothingStaleGoesOnPaper) {
  WriteCompany(drives, 8, SetAmount(M::Rents, 8, "9999"));
  Open(8);
  ASSERT_EQ(Marked(), QStringList{"Label12"});

  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Deposits, 16, "5000")(file, lines);
    if (file.mark == M::NotesReceivable2nd) lines.removeLast();
  });
  screen->Write("Text146", "7");
  const auto failure = testing::FailureOf([&] { screen->Press("Command3"); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Description(),
            Failure::Describe(FailureKind::TooFewValues) + QStringLiteral("\n②2nd7.txt"));
  EXPECT_EQ(desktop.beeps, 1);  // the first load's only
  EXPECT_EQ(Marked(), QStringList());

  screen->Write("Text28", "3");
  Click("Command4");
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(printer.documentsMade, 0);

  screen->Write(Counter(12), "4");
  Click("Command29");  // ⑮: company 8's figures must not print for company 7
  EXPECT_EQ(printer.documentsMade, 0);
  EXPECT_EQ(screen->Read(Counter(12)), QStringLiteral("4"));
  EXPECT_EQ(desktop.Summary(), QStringList{QStringLiteral("ミルダント|") + failure->Description()});

  Click("Command13");  // ① was read whole before the failure
  ASSERT_EQ(JobTitles(), QStringList{"預貯金"});
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("1"));
}

TEST_F(BlankA4ScreenTest, EachPressCountsItsSheetByTheNumberRule) {
  WriteCompany(drives, 7);
  Open(7);
  const std::pair<QString, QString> counts[] = {{"", "1"},
                                                {"41", "42"},
                                                {"abc", "1"},
                                                {"2.5", "3"},
                                                {"3.5", "5"},
                                                {"-3", "-2"},
                                                {"2147483647", "1"},
                                                {"1,000", "1001"},
                                                {"９", "10"},
                                                {"2147483648", "1"},
                                                {"-2147483648", "-2147483647"}};
  for (const auto& [before, after] : counts) {
    SCOPED_TRACE(before.toStdString());
    screen->Write(Counter(4), before);
    screen->Write(Counter(5), "7");
    Click("Command23");
    EXPECT_EQ(screen->Read(Counter(4)), after);
    EXPECT_EQ(screen->Read(Counter(5)), QStringLiteral("7"));
  }
  EXPECT_EQ(printer.jobs.size(), std::size(counts));
  EXPECT_EQ(desktop.Summary(), QStringList());
}

TEST_F(BlankA4ScreenTest, ABatchPrintsCollatedSetsOfTheMarkedStatementsOnly) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Deposits, 16, "2")(file, lines);
    SetAmount(M::LoansReceivable, 8, "2")(file, lines);
    SetAmount(M::Borrowings1, 8, "2")(file, lines);
  });
  Open(7);
  screen->Write(Counter(0), "5");

  Click("Command6");

  EXPECT_EQ(screen->Read("Text28"), QStringLiteral("2"));
  EXPECT_EQ(JobTitles(), (QStringList{"預貯金", "仮払金・貸付金", "借入金", "預貯金",
                                      "仮払金・貸付金", "借入金"}));
  QStringList counters(14);
  counters[0] = "7";
  counters[4] = "2";
  counters[10] = "2";
  EXPECT_EQ(Counters(), counters);
  EXPECT_EQ(desktop.Summary(), QStringList());

  // Only a caption reading exactly "要" is printed; a button prints whatever
  // its mark says.
  printer.jobs.clear();
  screen->SetCaption("Label4", QStringLiteral("要 "));
  Click("Command5");
  EXPECT_EQ(screen->Read("Text28"), QStringLiteral("1"));
  EXPECT_EQ(JobTitles(), (QStringList{"預貯金", "借入金"}));
  printer.jobs.clear();
  Click("Command7");
  EXPECT_EQ(screen->Read("Text28"), QStringLiteral("3"));
  EXPECT_EQ(printer.jobs.size(), 6u);
  printer.jobs.clear();
  Click("Command24");  // unmarked ③
  EXPECT_EQ(JobTitles(), QStringList{"売掛金"});
}

TEST_F(BlankA4ScreenTest, TheCopiesBoxIsReadByTheNumberRule) {
  WriteCompany(drives, 7, SetAmount(M::Rents, 8, "2"));
  Open(7);
  const std::pair<QString, int> cases[] = {{"", 0},   {"abc", 0}, {"0", 0},
                                           {"-1", 0}, {"2.5", 2}, {"3.5", 4},
                                           {"1", 1},  {"10", 10}, {"99999999999", 0}};
  for (const auto& [copies, sets] : cases) {
    SCOPED_TRACE(copies.toStdString());
    printer.jobs.clear();
    screen->Write("Text28", copies);
    Click("Command4");
    EXPECT_EQ(static_cast<int>(printer.jobs.size()), sets);
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BlankA4ScreenTest, MoreThanTenSetsAskFirst) {
  WriteCompany(drives, 7, SetAmount(M::Rents, 8, "2"));
  Open(7);
  screen->Write("Text28", "11");
  desktop.Answer(QStringLiteral("キャンセル"));
  Click("Command4");
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("11部 を一括印刷しますか"));
  EXPECT_EQ(desktop.boxes[0].icon, platform::BoxIcon::Question);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(screen->Read(Counter(12)), QString());

  desktop.Answer(QStringLiteral("OK"));
  Click("Command4");
  EXPECT_EQ(printer.jobs.size(), 11u);
  EXPECT_EQ(screen->Read(Counter(12)), QStringLiteral("11"));
}

// With nothing marked a batch has nothing to print, however many sets are
// asked for: no question, no job, and no time spent running through the sets.
TEST_F(BlankA4ScreenTest, ABatchWithNothingMarkedAsksNothingAndEndsAtOnce) {
  WriteCompany(drives, 7);
  Open(7);
  screen->Write("Text28", "2147483647");
  Click("Command4");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_TRUE(printer.jobs.empty());
}

// A printer failure ends the page and the batch, once: the page's count goes
// back, the pages sent before stay sent and counted.
TEST_F(BlankA4ScreenTest, APrinterFailureEndsThePageAndTheBatchOnce) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Deposits, 16, "2")(file, lines);
    SetAmount(M::Rents, 8, "2")(file, lines);
  });
  Open(7);
  FailingAfter failing(printer, 3);
  InstallPrinter(&failing);
  screen->Write(Counter(12), "9");
  screen->Write("Text28", "5");
  Click("Command4");
  EXPECT_EQ(JobTitles(), (QStringList{"預貯金", "地代家賃", "預貯金"}));
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("2"));
  EXPECT_EQ(screen->Read(Counter(12)), QStringLiteral("10"));
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|デバイス I/O エラーです。"});

  // No default printer: nothing is planned, nothing counted.
  desktop.boxes.clear();
  printer.refuseJobs = false;
  printer.defaultPrinter.clear();
  InstallPrinter(&printer);
  Click("Command13");
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("2"));
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|既定のプリンターがありません。"});
}

TEST_F(BlankA4ScreenTest, ABorrowingsTotalBeyond32BitsSendsNothing) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Borrowings1, 8, "2147483647")(file, lines);
    SetAmount(M::Borrowings2, 1, "1")(file, lines);
  });
  Open(7);
  Click("Command26");
  EXPECT_EQ(printer.documentsMade, 1);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(screen->Read(Counter(10)), QString());
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
}

TEST_F(BlankA4ScreenTest, ClearEmptiesTheCountersAndTheCopiesBoxButKeepsTheMarks) {
  WriteCompany(drives, 7, SetAmount(M::Deposits, 16, "2"));
  Open(7);
  for (int row = 0; row < 14; ++row) screen->Write(Counter(row), QString::number(row + 1));
  screen->Write("Text28", "4");
  Click("Command2");
  EXPECT_EQ(Counters(), QStringList(14));
  EXPECT_EQ(screen->Read("Text28"), QString());
  EXPECT_EQ(Marked(), QStringList{"Label1"});
  Click("Command13");
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("1"));
}

// The counts live in the boxes as long as the window: across the main menu's
// openings and companies, not beyond the close box.
TEST_F(BlankA4ScreenTest, TheCountsOutliveOpeningsAndCompaniesButNotTheWindow) {
  auto& menu = ScreenSet::Instance().Add<app::MainMenu>();
  WriteCompany(drives, 7);
  WriteCompany(drives, 8, SetAmount(M::Deposits, 16, "3"));
  menu.Load();
  EXPECT_TRUE(menu.Control("Command35").isEnabled());  // "A4白紙用紙印刷"
  menu.Write("Text1", "7");
  menu.Press("Command35");
  ASSERT_TRUE(screen->IsShown());
  Click("Command13");
  Click("Command13");
  menu.Press("Command23");  // "メモリーエラーの解除", as every opening does
  menu.Write("Text1", "8");
  menu.Press("Command35");
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("2"));
  EXPECT_EQ(Marked(), QStringList{"Label1"});
  Click("Command13");
  EXPECT_EQ(screen->Read(Counter(0)), QStringLiteral("3"));
  EXPECT_EQ(desktop.Summary(), QStringList());

  screen->Window().close();
  platform::DeleteDiscardedWindows();
  EXPECT_FALSE(screen->IsLoaded());
  menu.Press("Command35");
  EXPECT_EQ(screen->Read(Counter(0)), QString());
  EXPECT_EQ(Marked(), QStringList{"Label1"});
}

TEST_F(BlankA4ScreenTest, TheMainMenusOpeningReportsALoadThatStoppedAndShowsTheScreen) {
  drives.MakeFolder(StatementFolder());
  auto& menu = ScreenSet::Instance().Add<app::MainMenu>();
  menu.Load();
  menu.Write("Text1", "6");
  menu.Press("Command35");
  EXPECT_TRUE(screen->IsShown());
  EXPECT_EQ(desktop.Summary(),
            QStringList{QStringLiteral("ミルダント|ファイルが見つかりません。\n①6.txt")});
  EXPECT_EQ(Marked(), QStringList());
  EXPECT_EQ(desktop.beeps, 0);
}

}  // namespace
}  // namespace mirudanto::printing
