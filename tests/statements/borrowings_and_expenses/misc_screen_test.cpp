#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/statement_files.h"
#include "statements/borrowings_and_expenses/misc_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// Each row's boxes: account, transaction, counterparty, address, amount,
// marker (0: none); its "小計" and "訂正" buttons.
const int kTable[10][8] = {
    {15, 16, 17, 18, 1, 0, 1, 14},   {19, 20, 21, 22, 2, 55, 5, 15},
    {23, 24, 25, 26, 3, 56, 6, 16},  {27, 28, 29, 30, 4, 57, 7, 18},
    {31, 32, 33, 34, 5, 58, 8, 19},  {35, 36, 37, 38, 6, 59, 9, 20},
    {39, 40, 41, 42, 7, 60, 10, 21}, {43, 44, 45, 46, 8, 61, 11, 22},
    {47, 48, 49, 50, 10, 62, 12, 23}, {51, 52, 53, 54, 11, 63, 13, 24},
};

QString Address(int row) { return Box(kTable[row - 1][3]); }
QString Amount(int row) { return Box(kTable[row - 1][4]); }
QString Marker(int row) { return Box(kTable[row - 1][5]); }
QString SubtotalButton(int row) { return QStringLiteral("Command%1").arg(kTable[row - 1][6]); }
QString CorrectButton(int row) { return QStringLiteral("Command%1").arg(kTable[row - 1][7]); }

const QString kLabel = QStringLiteral("                  小　 計");

template <class Screen>
class MiscTest : public testing::EntryScreenTest<Screen> {
 protected:
  QString MarkerPath() const { return SubtotalMarkerFile(this->mark, 7); }
  QStringList Markers() const { return testing::FileLines(this->drives, MarkerPath()); }
  void Type(const QStringList& amounts) {
    for (qsizetype k = 0; k < amounts.size(); ++k) {
      this->screen.Write(Amount(static_cast<int>(k) + 1), amounts[k]);
    }
  }
  QStringList Shown(int rows) {
    QStringList shown;
    for (int r = 1; r <= rows; ++r) shown.append(this->screen.Read(Amount(r)));
    return shown;
  }
};
using MiscGainsTest = MiscTest<MiscGainsScreen>;
using MiscLossesTest = MiscTest<MiscLossesScreen>;

TEST_F(MiscGainsTest, AnUntouchedScreenSavesEmptyTextsAndZerosAndTheMarkersLast) {
  EXPECT_EQ(screen.Read(Marker(2)), QStringLiteral("　　"));
  Save();

  EXPECT_EQ(Texts(), Quoted(Repeated("", 40)));
  EXPECT_EQ(Amounts(), Repeated("0", 11));
  EXPECT_EQ(Markers(), Repeated("0", 9));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(screen.Read(Amount(1)), QString());
  EXPECT_EQ(screen.Read(Marker(2)), QStringLiteral("0"));
}

TEST_F(MiscLossesTest, EveryValueHasItsBoxAndTheOtherTableIsLeftAlone) {
  QStringList expected;
  for (int r = 0; r < 10; ++r) {
    for (int c = 0; c < 4; ++c) {
      const QString text = QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
      screen.Write(Box(kTable[r][c]), text);
      expected.append(text);
    }
  }
  Type({"1,234", "-500", "12.5", " ", "　　", "", "", "", "9", "10"});
  Save();

  EXPECT_EQ(Texts(), Quoted(expected));
  EXPECT_EQ(Amounts(), (QStringList{"1234", "-500", "12", "0", "0", "0", "0", "0", "9", "10",
                                    "765"}));
  EXPECT_EQ(Shown(5), (QStringList{"1,234", "-500", "12", "", ""}));
  EXPECT_EQ(screen.Read(Amount(9)), QStringLiteral("9"));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::MiscGains, 7)));
  EXPECT_TRUE(drives.Exists(SubtotalMarkerFile(StatementMark::MiscLosses, 7)));
}

// Only code writes the hidden marker boxes: whatever they hold that is no
// number is an ordinary row's marker, and no save is refused for it.
TEST_F(MiscGainsTest, AMarkerBoxThatHoldsNoNumberIsAnOrdinaryRow) {
  Type({"100", "200"});
  screen.Write(Marker(3), "x");
  screen.Write(Marker(4), "　");
  Save();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Markers(), Repeated("0", 9));
  EXPECT_EQ(Amounts().back(), QStringLiteral("300"));
}

TEST_F(MiscGainsTest, ASaveWhoseMarkerFileCannotBeWrittenChangesNoFile) {
  Save();
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  QFile::remove(drives.Native(MarkerPath()));
  QDir().mkdir(drives.Native(MarkerPath()));
  screen.Write(Box(15), "新しい科目");
  Type({"5"});
  desktop.beeps = 0;

  screen.Press("Command2");

  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(drives.Get(TextPath()), texts);
  EXPECT_EQ(drives.Get(AmountPath()), amounts);
  EXPECT_EQ(screen.Read(Box(15)), QStringLiteral("新しい科目"));
}

TEST_F(MiscGainsTest, TheTotalLeavesOutWhatTheSubtotalLinesCarry) {
  struct Case {
    const char* name;
    QStringList amounts;
    QString marker4;
    QString total;
  };
  const Case cases[] = {
      {"a subtotal line showing its subtotal", {"100", "200", "300", "600"}, "600", "600"},
      {"a subtotal line typed over", {"100", "200", "300", "700"}, "600", "700"},
      {"a negative total", {"100", "-2,000"}, "", "-1,900"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    screen.Press("Command4");
    Type(c.amounts);
    screen.Write(Marker(4), c.marker4);
    Save();
    EXPECT_EQ(screen.Read("Text118"), c.total);
    EXPECT_EQ(Amounts().back(), QString::number(ReadAmountCell(c.total)));
  }
  // A subtotal line and its marker are saved; the label as the row's address.
  screen.Press("Command4");
  Type({"100", "200"});
  screen.Press(SubtotalButton(3));
  Save();
  EXPECT_EQ(Markers(), (QStringList{"0", "300"} + Repeated("0", 7)));
  EXPECT_EQ(Amounts().back(), QStringLiteral("300"));
  EXPECT_EQ(Texts()[4 * 2 + 3], Quoted({kLabel}).front());
}

TEST_F(MiscGainsTest, TheClearingButtonsEmptyTheirBoxesAndForgetTheMarkers) {
  Type({"100", "200"});
  screen.Press(SubtotalButton(3));
  screen.Write(Box(15), "科目");
  screen.Press("Command17");
  EXPECT_EQ(Shown(3), (QStringList{"", "", ""}));
  EXPECT_EQ(screen.Read(Marker(3)), QString());
  EXPECT_EQ(screen.Read(Address(3)), kLabel);
  EXPECT_EQ(screen.Read(Box(15)), QStringLiteral("科目"));
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 11));
  EXPECT_EQ(Markers(), Repeated("0", 9));

  screen.Press("Command4");
  Save();
  EXPECT_EQ(Texts(), Quoted(Repeated("", 40)));
  EXPECT_EQ(Markers(), Repeated("0", 9));
}

TEST_F(MiscGainsTest, ALoadThatStopsAtTheMarkersShowsTheRowsAndKeepsTheMarkerBoxes) {
  Type({"100", "200"});
  screen.Press(SubtotalButton(3));
  Save();
  drives.Put(MarkerPath(), "1\r\n");
  PutAmounts(QStringList{"5"} + Repeated("0", 9) + QStringList{"42"});
  desktop.boxes.clear();
  screen.Write(Marker(3), "77");

  Load();

  EXPECT_EQ(desktop.Summary(),
            QStringList{"ミルダント|" + Failure::Describe(FailureKind::TooFewValues) +
                        "\nA⑯益小計7.txt"});
  EXPECT_EQ(screen.Read(Amount(1)), QStringLiteral("5"));
  EXPECT_EQ(screen.Read("Text118"), QStringLiteral("42"));
  EXPECT_EQ(screen.Read(Marker(3)), QStringLiteral("77"));
  // The held markers are the last ones read: row 3 still blocks row 4.
  screen.Write(Amount(3), "300");
  screen.Press(SubtotalButton(4));
  EXPECT_EQ(screen.Read(Address(4)), QString());
}

// Subtotals as the rows and markers make them, each from a fresh screen.
TEST_F(MiscGainsTest, SubtotalLinesCarryTheSumSinceThePreviousLine) {
  struct Step {
    const char* press;  // "s<row>" for 小計, "c<row>" for 訂正, "=<row>:<text>" to type
  };
  struct Case {
    const char* name;
    QStringList amounts;
    std::vector<QString> steps;
    int row;             // the row pressed last
    QString shown;       // its amount afterwards ("-" when the press changed nothing)
  };
  const Case cases[] = {
      {"rows 1 and 2 into row 3", {"100", "200"}, {"s3"}, 3, "300"},
      {"a line below a line showing its subtotal", {"100", "200"}, {"s3", "s4"}, 4, "-"},
      {"a positive amount is no subtotal line", {"100", "200", "5"}, {"s3"}, 3, "-"},
      {"a negative amount is replaced", {"100", "200", "-5"}, {"s3"}, 3, "300"},
      {"text that is no number is replaced", {"100", "200", "x"}, {"s3"}, 3, "300"},
      {"after a line, the rows since it", {"100", "200", "", "50", "70"}, {"s3", "s6"}, 6, "120"},
      {"an empty row above blocks", {"100", ""}, {"s3"}, 3, "-"},
      {"row 2 under an empty row 1", {}, {"s2"}, 2, ""},
      {"a line typed over, row 4", {"100", "200"}, {"s3", "=3:350", "s4"}, 4, "650"},
      {"a line typed over, row 5", {"100", "200", "50"}, {"s4", "=4:400", "s5"}, 5, "400"},
      {"a row changed above a line", {"100"}, {"s2", "=1:120", "=3:50", "s4"}, 4, "70"},
      {"a corrected line counts as an empty row",
       {"100", "200", "50"}, {"s4", "c4", "s5"}, 5, "350"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    screen.Unload();
    Type(c.amounts);
    QStringList before;
    for (const QString& step : c.steps) {
      const int row = step.mid(1).section(':', 0, 0).toInt();
      before = Shown(10);
      if (step.startsWith('s')) screen.Press(SubtotalButton(row));
      if (step.startsWith('c')) screen.Press(CorrectButton(row));
      if (step.startsWith('=')) screen.Write(Amount(row), step.section(':', 1));
    }
    if (c.shown == "-") {
      EXPECT_EQ(Shown(10), before);
      EXPECT_NE(screen.Read(Address(c.row)), kLabel);
    } else {
      EXPECT_EQ(screen.Read(Amount(c.row)), c.shown);
      EXPECT_EQ(screen.Read(Marker(c.row)), QString::number(ReadAmountCell(c.shown)));
      EXPECT_EQ(screen.Read(Address(c.row)), kLabel);
    }
  }
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(MiscGainsTest, ASubtotalRewritesTheRowsAboveAndNothingElse) {
  Type({"1000", "　", "12.5", "", "7"});
  screen.Write(Box(27), "科目4");
  screen.Write(Marker(6), "9");
  screen.Write("Text118", "t");
  screen.Press(SubtotalButton(4));
  EXPECT_EQ(Shown(5), (QStringList{"1,000", "", "12", "1,012", "7"}));
  EXPECT_EQ(screen.Read(Marker(4)), QStringLiteral("1012"));
  EXPECT_EQ(screen.Read(Marker(6)), QStringLiteral("9"));
  EXPECT_EQ(screen.Read(Box(27)), QStringLiteral("科目4"));
  EXPECT_EQ(screen.Read("Text118"), QStringLiteral("t"));

  // "訂正" empties the address, the amount and the marker box only.
  screen.Press(CorrectButton(4));
  EXPECT_EQ(screen.Read(Address(4)), QString());
  EXPECT_EQ(screen.Read(Amount(4)), QString());
  EXPECT_EQ(screen.Read(Marker(4)), QString());
  EXPECT_EQ(screen.Read(Box(27)), QStringLiteral("科目4"));
  screen.Write(Address(1), "addr");
  screen.Press(CorrectButton(1));
  EXPECT_EQ(screen.Read(Address(1)), QString());
  EXPECT_EQ(screen.Read(Amount(1)), QString());
}

TEST_F(MiscGainsTest, ASubtotalBeyondThirtyTwoBitsOrAFigureAboveThatIsNoNumberMakesNoLine) {
  const QString overflow = QStringLiteral("オーバーフローしました。");
  const QString mismatch = QStringLiteral("型が一致しません。");
  struct Case {
    const char* name;
    QStringList amounts;
    int refusedRow;  // the cell shown to the user; 0: none
    QString failure;
  };
  const Case cases[] = {
      {"a subtotal beyond 32 bits", {"2,147,483,647", "1"}, 0, overflow},
      {"a figure beyond 32 bits above the line", {"3,000,000,000", "1"}, 1, overflow},
      {"a figure beyond 32 bits in the line's own row", {"1", "2", "-3,000,000,000"}, 3, overflow},
      {"a text that is no number above the line", {"1", "abc"}, 2, mismatch},
      {"a negative figure written the Japanese way", {"▲300", "1"}, 1, mismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    screen.Unload();
    desktop.boxes.clear();
    Type(c.amounts);
    const QStringList before = Shown(10);

    screen.Press(SubtotalButton(3));

    EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|" + c.failure});
    EXPECT_EQ(Shown(10), before);
    EXPECT_EQ(screen.Read(Address(3)), QString());
    EXPECT_EQ(screen.Read(Marker(3)), QStringLiteral("　　"));
    if (c.refusedRow != 0) {
      EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(Amount(c.refusedRow)));
      EXPECT_EQ(screen.Box(Amount(c.refusedRow)).selectedText(),
                c.amounts[c.refusedRow - 1]);
    }
  }
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(MiscGainsTest, ALoadBringsBackTheSavedLinesAndMarkers) {
  Type({"100", "200"});
  screen.Press(SubtotalButton(3));
  Save();
  screen.Press(CorrectButton(3));
  screen.Write(Amount(5), "-1");
  screen.Press(SubtotalButton(5));
  Load();
  EXPECT_EQ(screen.Read(Address(3)), kLabel);
  EXPECT_EQ(screen.Read(Amount(3)), QStringLiteral("300"));
  EXPECT_EQ(screen.Read(Marker(3)), QStringLiteral("300"));
  EXPECT_EQ(screen.Read(Marker(5)), QStringLiteral("0"));
  EXPECT_EQ(screen.Read(Address(5)), QString());
}

TEST_F(MiscGainsTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("その他の内訳書⑯雑益"));
  EXPECT_EQ(screen.CaptionOf("Command2"), QStringLiteral("合　　計"));
  EXPECT_EQ(screen.CaptionOf("Command17"), QStringLiteral("期末現在高"));
  EXPECT_EQ(screen.Read("Text9"), QStringLiteral("取引の内容"));
  for (const char* hidden : {"Text146", "Command1", "Text55", "Text63"}) {
    EXPECT_FALSE(screen.IsControlVisible(hidden)) << hidden;
  }
  EXPECT_EQ(screen.Box(Amount(1)).alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(screen.Box(Box(15)).Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(screen.Box(Amount(1)).Mode(), platform::InputMode::Unchanged);
  screen.Write(Address(2), kLabel);
  testing::ExpectNothingOverlapsOrIsClipped(screen, {}, true);
}

TEST_F(MiscLossesTest, TheLossesScreenDiffersOnlyInItsCaptionSizeAndTabOrder) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("その他の内訳書⑯雑損"));
  const QStringList order = screen.Layout().focusOrder;
  ASSERT_GE(order.size(), 19);
  EXPECT_EQ(order.mid(order.size() - 19, 2), (QStringList{"Command24", "Command23"}));
  EXPECT_EQ(order.back(), QStringLiteral("Command5"));
  testing::ExpectNothingOverlapsOrIsClipped(screen, {}, true);
}

}  // namespace
}  // namespace mirudanto::statements
