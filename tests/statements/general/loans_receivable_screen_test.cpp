#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include "core/statement_files.h"
#include "statements/general/loans_receivable_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"
#include "statements/loan_row_table.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The screen's table, column for column: borrowerName, relationship,
// interestReceived, borrowerAddress, closingBalance, interestRate,
// loanReason, collateral.
const auto& kTable = testing::kLoanRowTable;
constexpr int kBalanceColumn = 4;
// The table's columns in LoanEntry order.
const int kFileOrder[7] = {0, 1, 3, 2, 5, 6, 7};

QString Balance(int entry) { return Box(kTable[entry - 1][kBalanceColumn]); }
QString TextCell(int entry, int value) { return Box(kTable[entry - 1][kFileOrder[value - 1]]); }

// Every entry box and the total: the 57 boxes the screen's clearing empties.
QStringList EntryBoxes() {
  QStringList boxes;
  for (const auto& entry : kTable) {
    for (int n : entry) boxes.append(Box(n));
  }
  boxes.append(Box(72));
  return boxes;
}

class LoansReceivableScreenTest : public testing::EntryScreenTest<LoansReceivableScreen> {
 protected:
  QStringList Shown() {
    QStringList texts;
    for (const QString& box : EntryBoxes()) texts.append(screen.Read(box));
    return texts;
  }
};

TEST_F(LoansReceivableScreenTest, AnUntouchedScreenSavesEmptyTextsAndZeros) {
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("　　"));
  EXPECT_EQ(screen.Read("Text72"), QStringLiteral("　　"));

  Save();

  EXPECT_EQ(drives.Get(TextPath()), QByteArray("\"\"\r\n").repeated(49));
  EXPECT_EQ(drives.Get(AmountPath()), QByteArray("0\r\n").repeated(8));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Shown(), Repeated("", 57));
}

TEST_F(LoansReceivableScreenTest, EveryValueOfTheFilesHasItsBoxFromTheTable) {
  // Each box of the table stands once, and the screen has it.
  QStringList all = EntryBoxes();
  all += QStringList{"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text73", "Text146"};
  EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size());
  for (const QString& box : all) EXPECT_TRUE(screen.HasControl(box)) << box.toStdString();

  QStringList expectedTexts;
  for (int e = 1; e <= 7; ++e) {
    for (int v = 1; v <= 7; ++v) {
      const QString text = QStringLiteral("e%1v%2").arg(e).arg(v);
      screen.Write(TextCell(e, v), text);
      expectedTexts.append(text);
    }
    screen.Write(Balance(e), QString::number(e * 100));
  }
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  EXPECT_EQ(Amounts(), (QStringList{"100", "200", "300", "400", "500", "600", "700", "2800"}));

  // Into a fresh window, each value comes back into its own box.
  screen.Unload();
  Load();
  for (int e = 1; e <= 7; ++e) {
    for (int v = 1; v <= 7; ++v) {
      EXPECT_EQ(screen.Read(TextCell(e, v)), QStringLiteral("e%1v%2").arg(e).arg(v));
    }
    EXPECT_EQ(screen.Read(Balance(e)), QString::number(e * 100));
  }
  EXPECT_EQ(screen.Read("Text72"), QStringLiteral("2,800"));
}

TEST_F(LoansReceivableScreenTest, BalancesConvertOnTheirOwnAndInterestAndRateStayTexts) {
  const std::pair<const char*, int> cells[7] = {
      {"300", 300}, {"700", 700}, {"-500", -500},      {"　　", 0},
      {"", 0},      {" ", 0},     {"1,234.5", 1234},
  };
  for (int e = 1; e <= 7; ++e) screen.Write(Balance(e), QString::fromUtf8(cells[e - 1].first));
  screen.Write(TextCell(1, 4), "3.5%");
  screen.Write(TextCell(1, 5), "年１．２％");
  screen.Write(TextCell(2, 4), "1000");
  Save();

  EXPECT_EQ(Amounts(), (QStringList{"300", "700", "-500", "0", "0", "0", "1234", "1734"}));
  EXPECT_EQ(Texts()[3], QStringLiteral("\"3.5%\""));
  EXPECT_EQ(Texts()[4], QStringLiteral("\"年１．２％\""));
  EXPECT_EQ(screen.Read(Balance(3)), QStringLiteral("-500"));
  EXPECT_EQ(screen.Read(Balance(4)), QString());
  EXPECT_EQ(screen.Read(Balance(6)), QString());
  EXPECT_EQ(screen.Read(Balance(7)), QStringLiteral("1,234"));
  EXPECT_EQ(screen.Read("Text72"), QStringLiteral("1,734"));
  EXPECT_EQ(screen.Read(TextCell(1, 5)), QStringLiteral("年１．２％"));
}

TEST_F(LoansReceivableScreenTest, TheTotalMustFitThirtyTwoBits) {
  struct Case {
    const char* first;
    const char* second;
    const char* stored;  // nullptr: refused
  };
  const Case cases[] = {
      {"2,147,483,646", "1", "2147483647"},
      {"-2,147,483,647", "-1", "-2147483648"},
      {"2,147,483,647", "1", nullptr},
      {"-2,147,483,648", "-1", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    screen.Press("Command4");
    Save();
    const QStringList before = Amounts();
    desktop.boxes.clear();
    desktop.beeps = 0;
    screen.Write(Balance(1), c.first);
    screen.Write(Balance(7), c.second);

    screen.Press("Command2");

    if (c.stored != nullptr) {
      EXPECT_EQ(Amounts().value(7), QString::fromUtf8(c.stored));
      EXPECT_EQ(desktop.beeps, 1);
      continue;
    }
    EXPECT_EQ(desktop.Summary(), QStringList{"貸付金|オーバーフローしました。"});
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(screen.Read(Balance(1)), QString::fromUtf8(c.first));
    EXPECT_EQ(screen.Read("Text72"), QString());
  }
}

TEST_F(LoansReceivableScreenTest, AFileThatCannotBeWrittenIsReportedUnderTheSaveTitle) {
  drives.MakeFolder(kDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write(Balance(2), "5");
  screen.Write(TextCell(2, 1), "typed");

  Save();

  EXPECT_EQ(desktop.Summary(), QStringList{"貸付金|パスが見つかりません。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(screen.Read(Balance(2)), QStringLiteral("5"));
  EXPECT_EQ(screen.Read(TextCell(2, 1)), QStringLiteral("typed"));
}

TEST_F(LoansReceivableScreenTest, ACodeBeyondSixteenBitsFailsBeforeTheScreenIsEmptied) {
  screen.Write(TextCell(1, 1), "typed");
  Load("40000");
  EXPECT_EQ(screen.Read(TextCell(1, 1)), QStringLiteral("typed"));
  Save("40000");

  EXPECT_EQ(desktop.Summary(), (QStringList{"借入金|オーバーフローしました。",
                                            "貸付金|オーバーフローしました。"}));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::LoansReceivable, 40000)));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(LoansReceivableScreenTest, AFailedLoadLeavesTheScreenEmpty) {
  Save();
  const QStringList typed = {"typed", "5"};
  auto type = [&] {
    screen.Write(TextCell(3, 6), typed[0]);
    screen.Write(Balance(3), typed[1]);
  };

  // The text file is missing.
  QFile::remove(drives.Native(TextPath()));
  type();
  Load();
  EXPECT_EQ(Shown(), Repeated("", 57));

  // One text short; then an amount that is no whole number.
  drives.Put(TextPath(), QByteArray("\"x\"\r\n").repeated(48));
  type();
  Load();
  EXPECT_EQ(Shown(), Repeated("", 57));
  drives.Put(TextPath(), QByteArray("\"x\"\r\n").repeated(49));
  drives.Put(AmountPath(), QByteArray("1\r\nabc\r\n") + QByteArray("0\r\n").repeated(6));
  type();
  Load();
  EXPECT_EQ(Shown(), Repeated("", 57));

  EXPECT_EQ(desktop.Summary(),
            (QStringList{"借入金|ファイルが見つかりません。\n④貸7.txt",
                         "借入金|ファイルにこれ以上データがありません。\n④貸7.txt",
                         "借入金|型が一致しません。\nA④貸7.txt"}));

  // A save after a failed load asks first; once answered OK, it writes the
  // empty screen.
  desktop.boxes.clear();
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(Texts(), Quoted(Repeated("", 49)));
  EXPECT_EQ(Amounts(), Repeated("0", 8));
}

TEST_F(LoansReceivableScreenTest, ALoadShowsExactlyWhatTheFilesHold) {
  // Extra values are ignored; the stored total is shown as stored.
  drives.Put(TextPath(), QByteArray("\"t\"\r\n").repeated(49) + "\"extra\"\r\n");
  drives.Put(AmountPath(), QByteArray("1000\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n5\r\n"));
  screen.Write(Box(72), "typed");
  Load();

  QStringList shownTexts;
  for (int e = 1; e <= 7; ++e) {
    for (int v = 1; v <= 7; ++v) shownTexts.append(screen.Read(TextCell(e, v)));
  }
  EXPECT_EQ(shownTexts, Repeated("t", 49));
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read(Balance(2)), QString());
  EXPECT_EQ(screen.Read(Balance(7)), QStringLiteral("-1"));
  EXPECT_EQ(screen.Read("Text72"), QStringLiteral("5"));
  EXPECT_EQ(desktop.beeps, 0);

  // The next save stores the sum in its place.
  screen.Press("Command2");
  EXPECT_EQ(Amounts().value(7), QStringLiteral("999"));
  EXPECT_EQ(screen.Read("Text72"), QStringLiteral("999"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(LoansReceivableScreenTest, TheClearingButtons) {
  for (int e = 1; e <= 7; ++e) {
    screen.Write(Balance(e), "10");
    screen.Write(TextCell(e, 2), QStringLiteral("関%1").arg(e));
  }
  screen.Press("Command17");
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 8));
  EXPECT_EQ(Texts()[1], QStringLiteral("\"関1\""));
  EXPECT_EQ(Texts()[43], QStringLiteral("\"関7\""));

  screen.Write(Balance(4), "10");
  screen.Press("Command4");
  EXPECT_EQ(Shown(), Repeated("", 57));
  EXPECT_EQ(screen.Read("Text146"), QStringLiteral("7"));
  EXPECT_EQ(screen.Read("Text2"), QStringLiteral("貸　付　先"));
  screen.Press("Command2");
  EXPECT_EQ(Texts(), Quoted(Repeated("", 49)));
  EXPECT_EQ(Amounts(), Repeated("0", 8));
}

TEST_F(LoansReceivableScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("貸付金"));
  const std::pair<const char*, const char*> captions[] = {
      {"Command3", "DATA"}, {"Command4", "クリア"}, {"Command17", "期末現在高"},
      {"Command2", "合　　計"}, {"Text2", "貸　付　先"}, {"Text3", "関　係"},
      {"Text4", "所　在　地（住所）"}, {"Text5", "支払利子額"}, {"Text6", "利　　率"},
      {"Text7", "借入理由"}, {"Text73", "担保の内容"},
  };
  for (const auto& [control, caption] : captions) {
    EXPECT_EQ(screen.CaptionOf(control), QString::fromUtf8(caption)) << control;
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int e = 1; e <= 7; ++e) {
    const int* boxes = kTable[e - 1];
    for (int c : {0, 1, 3, 6, 7}) {
      EXPECT_EQ(screen.Box(Box(boxes[c])).Mode(), platform::InputMode::Hiragana) << boxes[c];
    }
    for (int c : {2, 4, 5}) {
      EXPECT_EQ(screen.Box(Box(boxes[c])).Mode(), platform::InputMode::Unchanged) << boxes[c];
    }
    EXPECT_EQ(screen.Box(Balance(e)).alignment() & Qt::AlignRight, Qt::AlignRight);
  }
  EXPECT_EQ(screen.Box("Text72").alignment() & Qt::AlignRight, Qt::AlignRight);

  // Every box of an entry's first line sits above those of its second line,
  // and the entries follow each other downwards.
  for (int e = 1; e <= 7; ++e) {
    const int* boxes = kTable[e - 1];
    const int top = screen.Control(Box(boxes[0])).y();
    for (int c : {1, 2}) EXPECT_EQ(screen.Control(Box(boxes[c])).y(), top);
    for (int c : {3, 4, 5, 6, 7}) EXPECT_GT(screen.Control(Box(boxes[c])).y(), top);
    if (e > 1) {
      EXPECT_GT(top, screen.Control(Box(kTable[e - 2][3])).y());
    }
  }

  // 24 crossed cells, and no two visible controls overlap or leave the window.
  const QList<QWidget*> controls =
      screen.Window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  int lines = 0;
  for (QWidget* control : controls) {
    if (qobject_cast<platform::LineControl*>(control) != nullptr) ++lines;
  }
  EXPECT_EQ(lines, 24);
  testing::ExpectNothingOverlapsOrIsClipped(screen);
}

}  // namespace
}  // namespace mirudanto::statements
