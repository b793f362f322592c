#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <map>
#include <set>

#include "core/statement_files.h"
#include "platform/screen.h"
#include "statements/general/advance_payments_screen.h"
#include "counterparty_table.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

const auto& kTable = testing::kCounterpartyTable;
const auto& kTextColumns = testing::kCounterpartyTextColumns;

QString Balance(int row) { return Box(kTable[row - 1][4]); }
QString Cell(int row, int column) { return Box(kTable[row - 1][column]); }

class AdvancePaymentsScreenTest : public testing::EntryScreenTest<AdvancePaymentsScreen> {
 protected:
  // Every cell of rows 1 to 11 as the screen shows it, row by row.
  QStringList Shown() {
    QStringList cells;
    for (int r = 1; r <= 11; ++r) {
      for (int c = 0; c < 6; ++c) cells.append(screen.Read(Cell(r, c)));
    }
    return cells;
  }
  // The same cells as the two files hold them: texts as stored (between the
  // quotes of their lines), amounts with FormatAmount.
  QStringList FromFiles() {
    const QStringList texts = Texts();
    const QStringList amounts = Amounts();
    QStringList cells;
    for (int r = 1; r <= 11; ++r) {
      for (int c = 0; c < 6; ++c) {
        if (c == 4) {
          cells.append(FormatAmount(amounts[r - 1].toInt()));
        } else {
          const int k = static_cast<int>(std::find(std::begin(kTextColumns),
                                                   std::end(kTextColumns), c) -
                                         std::begin(kTextColumns));
          const QString line = texts[11 * k + r - 1];
          cells.append(line.mid(1, line.size() - 2));
        }
      }
    }
    return cells;
  }
};

TEST_F(AdvancePaymentsScreenTest, AnUntouchedScreenSavesEmptyTextsAndZeros) {
  Save();

  // Exactly what company initialisation writes for every new company.
  EXPECT_EQ(drives.Get(TextPath()),
            QByteArray("\"\"\r\n").repeated(55));
  EXPECT_EQ(drives.Get(AmountPath()),
            QByteArray("0\r\n").repeated(11));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  // After the reload every cell of rows 1 to 11 is empty, the balances too.
  EXPECT_EQ(Shown(), Repeated("", 66));
}

TEST_F(AdvancePaymentsScreenTest, ANewWindowShowsItsInitialTexts) {
  for (int r = 1; r <= 11; ++r) {
    for (int c = 0; c < 6; ++c) {
      EXPECT_EQ(screen.Read(Cell(r, c)), c == 4 ? QStringLiteral("　　") : QString())
          << r << " " << c;
    }
  }
  EXPECT_EQ(screen.Read("Text146"), QString());
}

TEST_F(AdvancePaymentsScreenTest, TheTableNamesEveryEntryBoxOnceAndEachLandsInItsValue) {
  // The table itself: 66 different boxes, none of them a heading or the code box.
  std::set<int> numbers;
  for (const auto& row : kTable) numbers.insert(std::begin(row), std::end(row));
  EXPECT_EQ(numbers.size(), 66u);
  // The screen's boxes are the table's, the five headings and the code box.
  std::set<QString> onScreen;
  for (const auto* box : screen.Window().findChildren<platform::TextBox*>()) {
    onScreen.insert(box->objectName());
  }
  std::set<QString> expected = {"Text1", "Text2", "Text3", "Text4", "Text6", "Text146"};
  for (int n : numbers) expected.insert(Box(n));
  EXPECT_EQ(onScreen, expected);

  // A distinct text in every text cell and a distinct amount in every
  // balance cell: the file order shows the mapping, 11(k - 1) + r.
  QStringList expectedTexts = Repeated("", 55);
  for (int r = 1; r <= 11; ++r) {
    for (int k = 1; k <= 5; ++k) {
      const QString text = QStringLiteral("r%1k%2").arg(r).arg(k);
      screen.Write(Cell(r, kTextColumns[k - 1]), text);
      expectedTexts[11 * (k - 1) + r - 1] = text;
    }
    if (r <= 10) screen.Write(Balance(r), QString::number(r * 100));
  }
  screen.Write(Balance(11), "999999");
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  QStringList expectedAmounts;
  for (int r = 1; r <= 10; ++r) expectedAmounts.append(QString::number(r * 100));
  expectedAmounts.append("5500");
  EXPECT_EQ(Amounts(), expectedAmounts);

  // Loaded into a fresh window, every value comes back into its own box.
  screen.Unload();
  platform::DeleteDiscardedWindows();
  Load();
  for (int r = 1; r <= 11; ++r) {
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(screen.Read(Cell(r, kTextColumns[k - 1])), QStringLiteral("r%1k%2").arg(r).arg(k));
    }
    if (r <= 10) {
      EXPECT_EQ(screen.Read(Balance(r)), FormatAmount(r * 100));
    }
  }
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("5,500"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(AdvancePaymentsScreenTest, RowTwoAndTheTotalRowHaveTheirOwnValues) {
  screen.Write("Text12", "row 1 detail");
  screen.Write("Text5", "row 2 detail");
  const QStringList row11 = {"Text71", "Text70", "Text69", "Text68", "Text66"};
  for (const QString& box : row11) screen.Write(box, "total " + box);
  Save();

  const QStringList texts = Texts();
  EXPECT_EQ(texts[45 - 1], QStringLiteral("\"row 1 detail\""));
  EXPECT_EQ(texts[46 - 1], QStringLiteral("\"row 2 detail\""));
  const int values[5] = {11, 22, 33, 44, 55};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(texts[values[k] - 1], Quoted({"total " + row11[k]})[0]);
  }

  for (const QString& box : row11 + QStringList{"Text12", "Text5"}) screen.Write(box, "typed");
  Load();
  for (const QString& box : row11) EXPECT_EQ(screen.Read(box), "total " + box);
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("row 2 detail"));
  EXPECT_EQ(screen.Read("Text12"), QStringLiteral("row 1 detail"));
}

TEST_F(AdvancePaymentsScreenTest, BalancesAsTheStatementShowsThem) {
  screen.Write(Balance(1), "1000");
  screen.Write(Balance(2), "2,500");
  screen.Write(Balance(3), "　");
  Save();

  EXPECT_EQ(Amounts(), (QStringList{"1000", "2500", "0"} + Repeated("0", 7) + QStringList{"3500"}));
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read(Balance(2)), QStringLiteral("2,500"));
  EXPECT_EQ(screen.Read(Balance(3)), QString());
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("3,500"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(AdvancePaymentsScreenTest, BalancesRoundAndBlankCellsCountAsZero) {
  const std::pair<const char*, int> cells[] = {
      {"12.5", 12},  {"13.5", 14},   {"-2.5", -2}, {"0.49", 0}, {"１，０００", 1000},
      {" 7 ", 7},    {"1,2,3", 123}, {"　　", 0},  {" 　", 0},  {"", 0},
  };
  int row = 1;
  int sum = 0;
  for (const auto& [text, value] : cells) {
    screen.Write(Balance(row++), QString::fromUtf8(text));
    sum += value;
  }
  Save();

  QStringList expected;
  for (const auto& cell : cells) expected.append(QString::number(cell.second));
  expected.append(QString::number(sum));
  EXPECT_EQ(Amounts(), expected);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(screen.Read(Balance(5)), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read(Balance(8)), QString());
  EXPECT_EQ(screen.Read("Text67"), FormatAmount(sum));
}

TEST_F(AdvancePaymentsScreenTest, ANegativeTotalShowsWithItsSign) {
  screen.Write(Balance(1), "-2000");
  screen.Write(Balance(4), "766");
  Save();
  EXPECT_EQ(Amounts().back(), QStringLiteral("-1234"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("-1,234"));
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("-2,000"));
}

TEST_F(AdvancePaymentsScreenTest, TextTypedIntoTheTotalBoxIsReplacedByTheTotal) {
  screen.Write("Text67", "1,000,000");
  screen.Write(Balance(2), "5");
  Save();
  EXPECT_EQ(Amounts().back(), QStringLiteral("5"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("5"));

  // With nothing else: the total is 0, shown empty.
  screen.Write("Text67", "合計");
  screen.Write(Balance(2), "");
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 11));
  EXPECT_EQ(screen.Read("Text67"), QString());
}

TEST_F(AdvancePaymentsScreenTest, ThirtyTwoBitBounds) {
  // Each end of the range is a balance and a total.
  screen.Write(Balance(1), "2,147,483,647");
  Save();
  EXPECT_EQ(Amounts().front(), QStringLiteral("2147483647"));
  EXPECT_EQ(Amounts().back(), QStringLiteral("2147483647"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("2,147,483,647"));

  screen.Write(Balance(1), "-2147483648");
  Save();
  EXPECT_EQ(Amounts().back(), QStringLiteral("-2147483648"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("-2,147,483,648"));
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 2);

  // A total beyond them is refused: nothing is shown, written or reloaded.
  const QStringList before = Amounts();
  screen.Write(Balance(2), "-1");
  Save();
  screen.Write(Balance(1), "2147483647");
  screen.Write(Balance(2), "1");
  Save();
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"仮払金|オーバーフローしました。", "仮払金|オーバーフローしました。"}));
  EXPECT_EQ(Amounts(), before);
  EXPECT_EQ(desktop.beeps, 2);
  EXPECT_EQ(screen.Read(Balance(2)), QStringLiteral("1"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("-2,147,483,648"));
}

TEST_F(AdvancePaymentsScreenTest, ABadCodeIsReportedUnderEachOperationsTitle) {
  for (const char* code : {"", "abc", "32768", "-32769"}) {
    screen.Write(Balance(1), "5");
    Save(code);
    Load(code);
  }
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"仮払金|型が一致しません。", "ミルダント|型が一致しません。",
                         "仮払金|型が一致しません。", "ミルダント|型が一致しません。",
                         "仮払金|オーバーフローしました。", "ミルダント|オーバーフローしました。",
                         "仮払金|オーバーフローしました。", "ミルダント|オーバーフローしました。"}));
  EXPECT_TRUE(QDir(drives.Native(StatementFolder())).isEmpty());
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("　　"));

  // The ends of the 16-bit range are codes like any other.
  Save("-32768");
  Save("32767");
  EXPECT_TRUE(drives.Exists(StatementAmountFile(StatementMark::AdvancePayments, -32768)));
  EXPECT_TRUE(drives.Exists(StatementTextFile(StatementMark::AdvancePayments, 32767)));
}

TEST_F(AdvancePaymentsScreenTest, AFileThatCannotBeWrittenIsReportedUnderTheSaveTitle) {
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write(Balance(1), "5");
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList{"仮払金|パスが見つかりません。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
}

TEST_F(AdvancePaymentsScreenTest, ALoadShowsNothingUnlessBothFilesAreReadWhole) {
  Save();
  screen.Write(Cell(1, 0), "typed");
  drives.Put(TextPath(), QByteArray("\"from file\"\r\n").repeated(55));

  QFile::remove(drives.Native(AmountPath()));
  Load();
  EXPECT_EQ(screen.Read(Cell(1, 0)), QStringLiteral("typed"));

  drives.Put(AmountPath(), QByteArray("1\r\n").repeated(10));
  Load();
  EXPECT_EQ(screen.Read(Cell(1, 0)), QStringLiteral("typed"));

  drives.Put(TextPath(), QByteArray("\"from file\"\r\n").repeated(54));
  drives.Put(AmountPath(), QByteArray("1\r\n").repeated(11));
  Load();
  EXPECT_EQ(screen.Read(Cell(1, 0)), QStringLiteral("typed"));

  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|ファイルが見つかりません。\nA④仮7.txt",
                         "ミルダント|ファイルにこれ以上データがありません。\nA④仮7.txt",
                         "ミルダント|ファイルにこれ以上データがありません。\n④仮7.txt"}));
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(AdvancePaymentsScreenTest, AReloadShowsExactlyWhatTheFilesHold) {
  // A file written by hand: texts with blanks, ideographic spaces and
  // numbers; amounts of every kind, the stored total as stored; values beyond
  // those the screen reads.
  QByteArray texts;
  for (int v = 1; v <= 55; ++v) {
    texts += EncodeCp932(QStringLiteral("\"　値%1 \"\r\n").arg(v)).value();
  }
  texts += "\"extra\"\r\n";
  QByteArray amounts;
  for (int v = 1; v <= 10; ++v) amounts += QByteArray::number(v * 1111 - 5000) + "\r\n";
  amounts += "42\r\n";  // not the sum: shown as stored
  amounts += "77\r\n";
  drives.Put(TextPath(), texts);
  drives.Put(AmountPath(), amounts);

  Load();
  EXPECT_EQ(Shown(), FromFiles());
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("42"));
  EXPECT_EQ(screen.Read(Cell(1, 0)), QStringLiteral("　値1 "));
  EXPECT_EQ(desktop.beeps, 0);

  // The save then writes what is shown; the extra values are gone.
  Save();
  EXPECT_EQ(Texts().size(), 55);
  EXPECT_EQ(Amounts().size(), 11);
  EXPECT_EQ(Texts().front(), QStringLiteral("\"　値1 \""));
  EXPECT_EQ(Amounts().back(), QStringLiteral("11105"));
  EXPECT_EQ(Shown(), FromFiles());

  // And the screen's arrays mirror the files value for value.
  ASSERT_TRUE(screen.HeldIsValid());
  EXPECT_EQ(screen.HeldCode(), 7);
  for (int v = 1; v <= 55; ++v) {
    EXPECT_EQ(Quoted({screen.Held().Of(FileRole::Text)[v - 1].text})[0], Texts()[v - 1]);
  }
  for (int v = 1; v <= 11; ++v) {
    EXPECT_EQ(QString::number(screen.Held().Of(FileRole::Amounts)[v - 1].number), Amounts()[v - 1]);
  }
}

TEST_F(AdvancePaymentsScreenTest, TheClearingButtons) {
  for (int r = 1; r <= 11; ++r) {
    screen.Write(Cell(r, 1), QStringLiteral("name%1").arg(r));
    screen.Write(Balance(r), "10");
  }
  screen.Press("Command17");
  for (int r = 1; r <= 11; ++r) EXPECT_EQ(screen.Read(Balance(r)), QString());
  EXPECT_EQ(screen.Read(Cell(3, 1)), QStringLiteral("name3"));
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 11));
  EXPECT_EQ(Texts()[11 + 3 - 1], QStringLiteral("\"name3\""));

  screen.Write(Balance(4), "10");
  screen.Press("Command3");
  EXPECT_EQ(Shown(), Repeated("", 66));
  EXPECT_EQ(screen.Read("Text146"), QStringLiteral("7"));
  EXPECT_EQ(screen.Read("Text1"), QStringLiteral("科　目"));
  // Nothing changes on disk until the save.
  EXPECT_EQ(Texts()[11 + 3 - 1], QStringLiteral("\"name3\""));
  screen.Press("Command1");
  EXPECT_EQ(Texts(), Quoted(Repeated("", 55)));
  EXPECT_EQ(Amounts(), Repeated("0", 11));
}

TEST_F(AdvancePaymentsScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("仮払金④"));
  const std::pair<const char*, const char*> headings[] = {
      {"Text1", "科　目"}, {"Text2", "名称（氏名）"}, {"Text3", "所在地（住所）"},
      {"Text4", "関係"},   {"Text6", "取引内容"},
  };
  for (const auto& [box, text] : headings) {
    EXPECT_EQ(screen.Read(box), QString::fromUtf8(text));
    EXPECT_EQ(screen.Box(box).alignment(), Qt::AlignCenter);
  }
  EXPECT_EQ(screen.CaptionOf("Command17"), QStringLiteral("期末現在高"));
  EXPECT_EQ(screen.CaptionOf("Command2"), QStringLiteral("DATA"));
  EXPECT_EQ(screen.CaptionOf("Command3"), QStringLiteral("クリア"));
  EXPECT_EQ(screen.CaptionOf("Command1"), QStringLiteral("合　　　計"));
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int r = 1; r <= 11; ++r) {
    for (int c = 0; c < 6; ++c) {
      platform::TextBox& box = screen.Box(Cell(r, c));
      if (c == 4) {
        EXPECT_EQ(box.alignment() & Qt::AlignRight, Qt::AlignRight);
        EXPECT_EQ(box.Mode(), platform::InputMode::Unchanged);
      } else {
        EXPECT_EQ(box.Mode(), platform::InputMode::Hiragana);
      }
    }
  }

  // The bottom line from left to right, "合　　　計" under the balance column.
  auto left = [this](const char* name) { return screen.Control(name).geometry().left(); };
  EXPECT_LT(left("Command2"), left("Command3"));
  EXPECT_LT(left("Command3"), left("Command1"));
  EXPECT_EQ(left("Command1"), left("Text67"));
  EXPECT_EQ(left("Command17"), left("Text11"));
  EXPECT_GT(screen.Control("Command1").geometry().top(),
            screen.Control("Text67").geometry().top());

  // The keyboard moves along a row, then on to the next row.
  QStringList order;
  for (QWidget* w = &screen.Control(Cell(1, 0)); order.size() < 12; w = w->nextInFocusChain()) {
    order.append(w->objectName());
  }
  EXPECT_EQ(order, (QStringList{"Text7", "Text8", "Text9", "Text10", "Text11", "Text12", "Text17",
                                "Text16", "Text15", "Text14", "Text13", "Text5"}));

  testing::ExpectNothingOverlapsOrIsClipped(screen);
}

}  // namespace
}  // namespace mirudanto::statements
