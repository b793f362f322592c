// Form18: its controls, its load and marks, the frame of every print (offsets,
// failures, one job per press, the mark emptied after the job) and the
// hand-over to the blank-A4 screen.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/failure.h"
#include "printing/preprinted_fixture.h"

namespace mirudanto::printing {
namespace {

using testing::Edit;
using testing::Is;
using testing::SetAmount;
using testing::WriteCompany;
using M = StatementMark;
constexpr FileRole T = FileRole::Text;
constexpr double kMm = 25.4 / 72;

const QStringList kMarks = {"Label1", "Label2",  "Label27", "Label3",  "Label4",
                            "Label5", "Label6",  "Label7",  "Label8",  "Label9",
                            "Label10", "Label11", "Label12", "Label13"};

// Every statement over 1, so every mark shows.
Edit AllMarked() {
  return [](const StatementFile& file, QStringList& lines) {
    for (const NeedsPrintMarkTest& test : NeedsPrintMarkTests()) {
      if (Is(file, test.mark, FileRole::Amounts)) lines[test.number - 1] = QStringLiteral("2");
    }
  };
}

QStringList VisibleMarks(platform::Screen& screen) {
  QStringList visible;
  for (const QString& mark : kMarks) {
    if (screen.IsControlVisible(mark)) visible.append(mark);
  }
  return visible;
}

const PutText* TextNamed(const RecordingPrinter::Job& job, const QString& text) {
  for (const Operation& operation : job.operations) {
    const auto* put = std::get_if<PutText>(&operation);
    if (put != nullptr && put->text == text) return put;
  }
  return nullptr;
}

TEST_F(PreprintedTest, TheScreenHasItsControlsTheOffsetsAtZeroAndItsMarksHidden) {
  screen->Load();
  EXPECT_EQ(screen->Window().objectName(), QStringLiteral("Form18"));
  EXPECT_EQ(screen->Window().windowTitle(), QStringLiteral("印刷"));
  EXPECT_EQ(screen->Window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
            43);
  const std::pair<const char*, const char*> boxes[] = {
      {"Text1", "上段"},   {"Text3", "24"},     {"Text5", "mm"},         {"Text2", "左側"},
      {"Text4", "27"},     {"Text6", "mm"},     {"Text7", "上方へ"},     {"Text9", "0"},
      {"Text11", "mm移動する"}, {"Text8", "左方へ"}, {"Text10", "0"}, {"Text12", "移動するmm"},
      {"Text146", ""}};
  for (const auto& [name, text] : boxes) {
    EXPECT_EQ(screen->Read(name), QString::fromUtf8(text)) << name;
  }
  const std::pair<const char*, const char*> buttons[] = {
      {"Command12", "預貯金"},     {"Command1", "受取手形"},   {"Command2", "②受取手形"},
      {"Command4", "売掛金"},      {"Command5", "仮払金貸付金"}, {"Command6", "棚卸商品"},
      {"Command7", "固定資産"},    {"Command8", "買掛金未払金"}, {"Command16", "仮受金"},
      {"Command17", "借入金"},     {"Command18", "役員報酬"},   {"Command20", "地代家賃"},
      {"Command19", "雑　益雑　損"}, {"Command35", "A4白紙用紙印刷"}, {"Command3", "DATA"},
      {"Label28", "A4白紙用紙印刷用じゃないよ"}};
  for (const auto& [name, caption] : buttons) {
    EXPECT_EQ(screen->CaptionOf(name), QString::fromUtf8(caption)) << name;
  }
  for (const QString& mark : kMarks) EXPECT_EQ(screen->CaptionOf(mark), QStringLiteral("要"));
  EXPECT_EQ(VisibleMarks(*screen), QStringList());
  EXPECT_FALSE(screen->IsControlVisible("Text146"));
  EXPECT_FALSE(screen->IsControlVisible("Command3"));
  // ⑧ has its mark and no button.
  EXPECT_EQ(screen->Control("Label7").geometry(), platform::FromTwips(3240, 3000, 255, 255));
  EXPECT_EQ(screen->Control("Command8").geometry(), platform::FromTwips(3480, 3240, 855, 615));
  // Without the blank-A4 screen in this build its button is offered greyed.
  EXPECT_FALSE(screen->Control("Command35").isEnabled());
}

// Nothing prints from where the screen opens; the fixed texts take a click and
// typing, but the keyboard goes from offset to offset and on to the buttons.
TEST_F(PreprintedTest, TheScreenOpensInTheHorizontalOffsetAndTabPassesTheFixedTextsBy) {
  WriteCompany(drives, 7, AllMarked());
  Open();
  QWidget& window = screen->Window();
  ASSERT_NE(window.focusWidget(), nullptr);
  EXPECT_EQ(window.focusWidget()->objectName(), QStringLiteral("Text9"));

  QStringList round;
  for (int k = 0; k < 40; ++k) {
    QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    const QString name = window.focusWidget()->objectName();
    if (name == QStringLiteral("Text9")) break;
    round.append(name);
  }
  ASSERT_FALSE(round.isEmpty());
  EXPECT_EQ(round.front(), QStringLiteral("Text10"));
  const QStringList fixed = {"Text1", "Text2", "Text3",  "Text4",  "Text5",
                             "Text6", "Text7", "Text8", "Text11", "Text12"};
  for (const QString& name : fixed) {
    EXPECT_FALSE(round.contains(name)) << name.toStdString();
    auto& box = screen->Box(name);
    const QString before = box.text();
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_EQ(window.focusWidget(), &box) << name.toStdString();
    box.end(false);
    QTest::keyClicks(&box, "x");
    EXPECT_EQ(box.text(), before + "x") << name.toStdString();
  }
  EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(PreprintedTest, TheLoadBeepsOnceAndShowsTheMarksOfTheStatementsOverOne) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    SetAmount(M::Deposits, 16, "1")(file, lines);       // exactly 1: no mark
    SetAmount(M::NotesReceivable, 14, "2")(file, lines);
    SetAmount(M::Receivables, 15, "-5")(file, lines);   // negative: none
    SetAmount(M::LoansReceivable, 8, "2")(file, lines); // either part of ④
    SetAmount(M::NotesPayable, 14, "3")(file, lines);   // ⑧: a mark without a button
    SetAmount(M::OfficerPay, 2, "900")(file, lines);    // officer 2 only: none
    SetAmount(M::Borrowings2, 9, "900")(file, lines);   // page 2's own total: none
  });
  Open();
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(VisibleMarks(*screen), (QStringList{"Label2", "Label4", "Label7"}));
  EXPECT_TRUE(screen->IsShown());
}

TEST_F(PreprintedTest, ALoadThatStopsAtPage2OfNotesReportsOnceMarksNothingAndPrintsOnlyWhatItRead) {
  WriteCompany(drives, 7, AllMarked());
  QFile::remove(drives.Native(PathOf({M::NotesReceivable2nd, T}, 7)));
  Open();
  EXPECT_EQ(desktop.Summary(),
            QStringList{"受取手形②を実行してください|ファイルが見つかりません。\n②2nd7.txt"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(VisibleMarks(*screen), QStringList());
  EXPECT_TRUE(screen->IsShown());

  // ① and page 1 of ② were read whole before the stop.
  desktop.boxes.clear();
  Click("Command12");
  Click("Command1");
  EXPECT_EQ(printer.jobs.size(), 2u);
  EXPECT_TRUE(desktop.boxes.empty());
  // Nothing after it: no job, and the failure that stopped the load.
  for (const QString button : {"Command2", "Command4", "Command19"}) {
    desktop.boxes.clear();
    Click(button);
    EXPECT_EQ(desktop.Summary(),
              QStringList{"ミルダント|ファイルが見つかりません。\n②2nd7.txt"}) << button.toStdString();
  }
  EXPECT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.documentsMade, 2);
}

TEST_F(PreprintedTest, EachPressIsOneJobAndEmptiesOnlyItsOwnMarkWhichStaysShown) {
  WriteCompany(drives, 7, AllMarked());
  Open();
  Click("Command12");
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].title, QStringLiteral("預貯金"));
  EXPECT_EQ(printer.jobs[0].queue, QStringLiteral("Recording_PDF"));
  EXPECT_EQ(screen->CaptionOf("Label1"), QString());
  EXPECT_TRUE(screen->IsControlVisible("Label1"));
  for (const QString& mark : kMarks.mid(1)) EXPECT_EQ(screen->CaptionOf(mark), QStringLiteral("要"));

  // Again: a second, identical sheet; the mark stays empty.
  Click("Command12");
  ASSERT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[1].operations, printer.jobs[0].operations);
  EXPECT_EQ(screen->CaptionOf("Label1"), QString());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(PreprintedTest, OffsetsConvertByTheNumberRuleHalvesToEven) {
  WriteCompany(drives, 7);
  Open();
  struct Case {
    QString x, y;
    int dx, dy;
  };
  for (const Case& c : {Case{"2.5", "3.5", 2, 4}, Case{"3.5", "-2.5", 4, -2},
                        Case{" ３ ", "-0", 3, 0}}) {
    SCOPED_TRACE(c.x.toStdString() + " " + c.y.toStdString());
    printer.jobs.clear();
    Offsets(c.x, c.y);
    Click("Command12");
    ASSERT_EQ(printer.jobs.size(), 1u);
    const PutText* bank = TextNamed(printer.jobs[0], QStringLiteral("①#1"));
    ASSERT_NE(bank, nullptr);
    EXPECT_DOUBLE_EQ(bank->x, 27 + c.dx);
    EXPECT_DOUBLE_EQ(bank->y, 32 + c.dy);
  }
}

TEST_F(PreprintedTest, AnOffsetThatDoesNotConvertOrMovesThePageOutOfRangeSendsNothingAndKeepsTheMark) {
  WriteCompany(drives, 7, AllMarked());
  Open();
  struct Case {
    QString x, y, box;
  };
  for (const Case& c : {Case{"", "0", "型が一致しません。"}, Case{"0", "abc", "型が一致しません。"},
                        Case{"32768", "0", "オーバーフローしました。"},
                        Case{"0", "-40000", "オーバーフローしました。"},
                        // Each offset fits, the page does not.
                        Case{"32767", "0", "オーバーフローしました。"},
                        Case{"0", "32767", "オーバーフローしました。"}}) {
    SCOPED_TRACE(c.x.toStdString() + " " + c.y.toStdString());
    desktop.boxes.clear();
    Offsets(c.x, c.y);
    Click("Command12");
    EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|" + c.box});
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_EQ(screen->CaptionOf("Label1"), QStringLiteral("要"));
  }
  // The boxes are read before anything else: no document was even made for
  // the offsets that did not convert.
  EXPECT_EQ(printer.documentsMade, 2);
}

TEST_F(PreprintedTest, APrintWithoutAPrinterOrRefusedByItSaysSoAndKeepsTheMark) {
  WriteCompany(drives, 7, AllMarked());
  Open();
  printer.defaultPrinter.clear();
  Click("Command4");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|既定のプリンターがありません。"});

  desktop.boxes.clear();
  printer.defaultPrinter = QStringLiteral("Recording_PDF");
  printer.refuseJobs = true;
  Click("Command4");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|デバイス I/O エラーです。"});
  EXPECT_EQ(printer.jobsRefused, 1);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(screen->CaptionOf("Label3"), QStringLiteral("要"));
}

TEST_F(PreprintedTest, TheSheetPrintsTheDataSetOfTheOpeningNotTheFilesAsTheyAreNow) {
  WriteCompany(drives, 7);
  Open();
  WriteCompany(drives, 7, SetAmount(M::Deposits, 16, "5000"), QStringLiteral("新"));
  Click("Command12");
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_NE(TextNamed(printer.jobs[0], QStringLiteral("①#1")), nullptr);
  EXPECT_EQ(TextNamed(printer.jobs[0], QStringLiteral("5,000")), nullptr);

  // The next opening reads the files again.
  screen->Unload();
  Open();
  Click("Command12");
  ASSERT_EQ(printer.jobs.size(), 2u);
  EXPECT_NE(TextNamed(printer.jobs[1], QStringLiteral("新①#1")), nullptr);
  EXPECT_NE(TextNamed(printer.jobs[1], QStringLiteral("5,000")), nullptr);
}

TEST_F(PreprintedTest, TextsPrintExactlyAndAmountsByTheirDigitsWithTheirNudge) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (Is(file, M::Deposits, T)) {
      lines[0] = QStringLiteral("\"　甲　\"");
      lines[5] = QStringLiteral("\"㈱乙\"");
      lines[10] = QStringLiteral("\"<b>&amp;\"");
    }
    if (Is(file, M::Deposits, FileRole::Amounts)) {
      const QStringList amounts = {"999", "1000", "999999", "1000000", "-5", "0"};
      for (int n = 1; n <= 6; ++n) lines[n - 1] = amounts[n - 1];
    }
  });
  Open();
  Click("Command12");
  ASSERT_EQ(printer.jobs.size(), 1u);
  const RecordingPrinter::Job& job = printer.jobs[0];
  for (const auto& [text, y] : {std::pair{"　甲　", 32.0}, std::pair{"㈱乙", 41.0},
                                std::pair{"<b>&amp;", 50.0}}) {
    const PutText* put = TextNamed(job, QString::fromUtf8(text));
    ASSERT_NE(put, nullptr) << text;
    EXPECT_DOUBLE_EQ(put->x, 27);
    EXPECT_DOUBLE_EQ(put->y, y);
  }
  const double em = 15 * kMm / 2;  // one digit at 15 points
  struct Case {
    const char* text;
    int digits;
    double nudge;
    double y;
  };
  for (const Case& c : {Case{"999", 3, 2, 33}, Case{"1,000", 4, 1, 42}, Case{"999,999", 6, 1, 51},
                        Case{"1,000,000", 7, 0, 60}, Case{"-5", 2, 2, 69}}) {
    const PutText* put = TextNamed(job, QString::fromUtf8(c.text));
    ASSERT_NE(put, nullptr) << c.text;
    EXPECT_NEAR(put->x, 143 - c.digits * em + c.nudge, 1e-4) << c.text;
    EXPECT_DOUBLE_EQ(put->y, c.y) << c.text;
  }
  // A zero amount prints nothing: row 6 has its five texts and no figure.
  int onRow6 = 0;
  for (const Printed& p : PrintedTexts(job)) onRow6 += (p.y == 77 || p.y == 78 || p.y == 80) ? 1 : 0;
  EXPECT_EQ(onRow6, 5);
}

TEST_F(PreprintedTest, TheLoansTotalIsSummedWideAndTheBorrowingsTotalsMustFit32Bits) {
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (Is(file, M::LoansReceivable, FileRole::Amounts)) {
      for (int n = 1; n <= 7; ++n) lines[n - 1] = QStringLiteral("2147483647");
    }
    SetAmount(M::Borrowings1, 8, "2147483647")(file, lines);
    SetAmount(M::Borrowings2, 1, "1")(file, lines);
  });
  Open();
  Click("Command5");
  ASSERT_EQ(printer.jobs.size(), 1u);
  const PutText* total = TextNamed(printer.jobs[0], QStringLiteral("15,032,385,529"));
  ASSERT_NE(total, nullptr);
  EXPECT_NEAR(total->x, 111 - 11 * 15 * kMm / 2, 1e-4);
  EXPECT_DOUBLE_EQ(total->y, 234);

  Click("Command17");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(screen->CaptionOf("Label10"), QStringLiteral("要"));
}

TEST_F(PreprintedTest, WithoutTheBlankA4ScreenTheHandOverReportsAndTheScreenStays) {
  WriteCompany(drives, 7);
  Open();
  screen->Press(QStringLiteral("Command35"));
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].title, QStringLiteral("ミルダント"));
  EXPECT_TRUE(screen->IsShown());
}

// Stands in for the blank-A4 screen: the contract the hand-over relies on.
class FakeBlankA4Screen : public platform::Screen {
 public:
  FakeBlankA4Screen() : Screen(QStringLiteral("Form23"), QStringLiteral("A4白紙用紙印刷印刷")) {
    OnClick(QStringLiteral("Command3"), [this] {
      loadedCodes.append(Read(QStringLiteral("Text146")));
      shownAtLoad = IsShown();
      if (failLoad) throw Failure(FailureKind::FileNotFound, QStringLiteral("②2nd7.txt"));
    });
  }
  ScreenContract Contract() const override {
    return {QStringLiteral("Text146"), QStringLiteral("Command3"), {}, {}, {}};
  }
  QStringList loadedCodes;
  bool shownAtLoad = false;
  bool failLoad = false;

 protected:
  void Build() override {
    AddTextBox(QStringLiteral("Text146"), platform::Twips(1800, 120, 615, 330));
    AddButton(QStringLiteral("Command3"), QStringLiteral("DATA"), platform::Twips(1800, 480, 1095, 375));
  }
};

class BlankA4HandOverTest : public PreprintedTest {
 protected:
  BlankA4HandOverTest()
      : blankA4(platform::ScreenSet::Instance().Add<FakeBlankA4Screen>()) {
    WriteCompany(drives, 7, AllMarked());
    Open();
    desktop.beeps = 0;
  }
  FakeBlankA4Screen& blankA4;
};

TEST_F(BlankA4HandOverTest, HidesTheScreenAndOpensTheBlankA4ScreenOnTheCodeShownBeforeItsLoad) {
  EXPECT_TRUE(screen->Control("Command35").isEnabled());
  Click("Command35");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(screen->IsShown());
  EXPECT_TRUE(screen->IsLoaded());
  EXPECT_EQ(VisibleMarks(*screen).size(), 14);
  EXPECT_TRUE(blankA4.IsShown());
  EXPECT_EQ(blankA4.loadedCodes, QStringList{"7"});
  EXPECT_TRUE(blankA4.shownAtLoad);
}

TEST_F(BlankA4HandOverTest, ALoadThatFailsThereIsReportedUnderTheSystemsTitle) {
  blankA4.failLoad = true;
  Click("Command35");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|ファイルが見つかりません。\n②2nd7.txt"});
  EXPECT_FALSE(screen->IsShown());
  EXPECT_TRUE(blankA4.IsShown());
}

TEST_F(BlankA4HandOverTest, ACodeThatDoesNotConvertIsReportedAndTheScreenStays) {
  screen->Write("Text146", QStringLiteral("40000"));
  Click("Command35");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_TRUE(screen->IsShown());
  EXPECT_FALSE(blankA4.IsLoaded());
  EXPECT_TRUE(blankA4.loadedCodes.isEmpty());
}

}  // namespace
}  // namespace mirudanto::printing
