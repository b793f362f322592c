#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <map>
#include <set>

#include "core/statement_files.h"
#include "platform/screen.h"
#include "statements/general/advance_payments_screen.h"
#include "statements/general/suspense_receipts_screen.h"
#include "counterparty_table.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The upper table is the advance payments grid.
const auto& kUpper = testing::kCounterpartyTable;
const auto& kUpperTextColumns = testing::kCounterpartyTextColumns;

// The withholding table, lines 1 to 6: left year, month, kind of income,
// amount, then the same of the right half.
const int kLines[6][8] = {
    {84, 90, 108, 72, 96, 102, 114, 78}, {85, 91, 109, 73, 97, 103, 115, 79},
    {86, 92, 110, 74, 98, 104, 116, 80}, {87, 93, 111, 75, 99, 105, 117, 81},
    {88, 94, 112, 76, 100, 106, 118, 82}, {89, 95, 113, 77, 101, 107, 119, 83},
};
// The text value of line k (1 to 6) in each of the six text columns of the
// table (left year, month, kind; right year, month, kind): base + k.
const int kWithholdingTextColumns[6] = {0, 1, 2, 4, 5, 6};
const int kWithholdingTextBase[6] = {55, 61, 67, 73, 79, 85};
// The amount value of line k in each half: base + k.
const int kWithholdingAmountColumns[2] = {3, 7};
const int kWithholdingAmountBase[2] = {11, 17};

QString Upper(int row, int column) { return Box(kUpper[row - 1][column]); }
QString Balance(int row) { return Upper(row, 4); }
QString Line(int line, int column) { return Box(kLines[line - 1][column]); }
QString LeftAmount(int line) { return Line(line, 3); }
QString RightAmount(int line) { return Line(line, 7); }

class SuspenseReceiptsScreenTest : public testing::EntryScreenTest<SuspenseReceiptsScreen> {
 protected:
  QString Caption() { return screen.CaptionOf("Command6"); }
  void PutFiles(const QStringList& texts, const QStringList& amounts) {
    PutTexts(Quoted(texts));
    PutAmounts(amounts);
  }
  // Amount files whose withheld amounts are the given twelve, the upper ones 0.
  QStringList WithWithheld(const QStringList& withheld) {
    return Repeated("0", 11) + withheld;
  }
  // Every one of the 114 cells as the screen shows it.
  QStringList Shown() {
    QStringList cells;
    for (int r = 1; r <= 11; ++r) {
      for (int c = 0; c < 6; ++c) cells.append(screen.Read(Upper(r, c)));
    }
    for (int k = 1; k <= 6; ++k) {
      for (int c = 0; c < 8; ++c) cells.append(screen.Read(Line(k, c)));
    }
    return cells;
  }
  // The same cells as the files hold them, through the mapping of the table.
  QStringList FromFiles() {
    const QStringList texts = Texts();
    const QStringList amounts = Amounts();
    auto text = [&texts](int value) {
      const QString line = texts[value - 1];
      return line.mid(1, line.size() - 2);
    };
    auto amount = [&amounts](int value) { return FormatAmount(amounts[value - 1].toInt()); };
    QStringList cells;
    for (int r = 1; r <= 11; ++r) {
      for (int c = 0; c < 6; ++c) {
        if (c == 4) {
          cells.append(amount(r));
          continue;
        }
        const auto k = std::find(std::begin(kUpperTextColumns), std::end(kUpperTextColumns), c) -
                       std::begin(kUpperTextColumns);
        cells.append(text(11 * static_cast<int>(k) + r));
      }
    }
    for (int line = 1; line <= 6; ++line) {
      for (int c = 0; c < 8; ++c) {
        if (c == 3 || c == 7) {
          cells.append(amount(kWithholdingAmountBase[c / 4] + line));
          continue;
        }
        const auto k = std::find(std::begin(kWithholdingTextColumns),
                                 std::end(kWithholdingTextColumns), c) -
                       std::begin(kWithholdingTextColumns);
        cells.append(text(kWithholdingTextBase[k] + line));
      }
    }
    return cells;
  }
};

TEST_F(SuspenseReceiptsScreenTest, AnUntouchedScreenSavesEmptyTextsAndZeros) {
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));
  Save();

  // Exactly what company initialisation writes for every new company.
  EXPECT_EQ(drives.Get(TextPath()),
            QByteArray("\"\"\r\n").repeated(91));
  EXPECT_EQ(drives.Get(AmountPath()),
            QByteArray("0\r\n").repeated(23));
  EXPECT_EQ(Caption(), QStringLiteral("円"));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Shown(), Repeated("", 114));
}

TEST_F(SuspenseReceiptsScreenTest, ANewWindowShowsItsInitialTexts) {
  for (int r = 1; r <= 11; ++r) {
    for (int c = 0; c < 6; ++c) {
      EXPECT_EQ(screen.Read(Upper(r, c)), c == 4 ? QStringLiteral("　　") : QString());
    }
  }
  for (int k = 1; k <= 6; ++k) {
    for (int c = 0; c < 8; ++c) {
      EXPECT_EQ(screen.Read(Line(k, c)), c % 4 == 3 ? QStringLiteral("　　") : QString());
    }
  }
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));

  // A save sets the caption; a fresh window shows the initial caption again.
  Save();
  screen.Unload();
  platform::DeleteDiscardedWindows();
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));
}

TEST_F(SuspenseReceiptsScreenTest, TheTablesNameEveryEntryBoxOnceAndEachLandsInItsValue) {
  std::set<int> numbers;
  for (const auto& row : kUpper) numbers.insert(std::begin(row), std::end(row));
  for (const auto& line : kLines) numbers.insert(std::begin(line), std::end(line));
  EXPECT_EQ(numbers.size(), 114u);
  std::set<QString> onScreen;
  for (const auto* box : screen.Window().findChildren<platform::TextBox*>()) {
    onScreen.insert(box->objectName());
  }
  std::set<QString> expected = {"Text1",   "Text2",   "Text3",   "Text4",  "Text6",
                                "Text120", "Text121", "Text122", "Text123", "Text146"};
  for (int n : numbers) expected.insert(Box(n));
  EXPECT_EQ(onScreen, expected);

  // A distinct text and amount in every cell; the files show the mapping.
  QStringList expectedTexts = Repeated("", 91);
  QStringList expectedAmounts = Repeated("", 23);
  for (int r = 1; r <= 11; ++r) {
    for (int k = 1; k <= 5; ++k) {
      const QString text = QStringLiteral("u%1k%2").arg(r).arg(k);
      screen.Write(Upper(r, kUpperTextColumns[k - 1]), text);
      expectedTexts[11 * (k - 1) + r - 1] = text;
    }
    if (r <= 10) {
      screen.Write(Balance(r), QString::number(r));
      expectedAmounts[r - 1] = QString::number(r);
    }
  }
  screen.Write(Balance(11), "1000");
  expectedAmounts[10] = "55";
  int withheldSum = 0;
  for (int line = 1; line <= 6; ++line) {
    for (int t = 0; t < 6; ++t) {
      const QString text = QStringLiteral("w%1c%2").arg(line).arg(kWithholdingTextColumns[t]);
      screen.Write(Line(line, kWithholdingTextColumns[t]), text);
      expectedTexts[kWithholdingTextBase[t] + line - 1] = text;
    }
    for (int h = 0; h < 2; ++h) {
      const int value = kWithholdingAmountBase[h] + line;
      screen.Write(Line(line, kWithholdingAmountColumns[h]), QString::number(value * 1000));
      expectedAmounts[value - 1] = QString::number(value * 1000);
      withheldSum += value * 1000;
    }
  }
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  EXPECT_EQ(Amounts(), expectedAmounts);
  EXPECT_EQ(Caption(), FormatAmount(withheldSum) + QStringLiteral("円"));
  EXPECT_TRUE(desktop.boxes.empty());

  // Loaded into a fresh window, every value comes back into its own box.
  screen.Unload();
  platform::DeleteDiscardedWindows();
  Load();
  EXPECT_EQ(Shown(), FromFiles());
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("u2k5"));
  EXPECT_EQ(screen.Read("Text113"), QStringLiteral("w6c2"));
  EXPECT_EQ(screen.Read("Text78"), QStringLiteral("18,000"));
  // The load leaves the caption as a new window shows it.
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));
}

TEST_F(SuspenseReceiptsScreenTest, EveryWithholdingCellRoundTripsAndTheClearEmptiesThemAll) {
  // Each of the 48 cells on its own: typed alone, saved, found in its own
  // value only, shown again in its own cell only.
  for (int line = 1; line <= 6; ++line) {
    for (int c = 0; c < 8; ++c) {
      screen.Press("Command3");
      const bool amount = c % 4 == 3;
      screen.Write(Line(line, c), amount ? QStringLiteral("1,234") : QStringLiteral("１２年"));
      Save();
      QStringList expectedTexts = Quoted(Repeated("", 91));
      QStringList expectedAmounts = Repeated("0", 23);
      QStringList expectedShown = Repeated("", 114);
      expectedShown[66 + 8 * (line - 1) + c] = amount ? "1,234" : "１２年";
      if (amount) {
        expectedAmounts[kWithholdingAmountBase[c / 4] + line - 1] = "1234";
      } else {
        const auto t = std::find(std::begin(kWithholdingTextColumns),
                                 std::end(kWithholdingTextColumns), c) -
                       std::begin(kWithholdingTextColumns);
        expectedTexts[kWithholdingTextBase[t] + line - 1] = "\"１２年\"";
      }
      EXPECT_EQ(Texts(), expectedTexts) << line << " " << c;
      EXPECT_EQ(Amounts(), expectedAmounts) << line << " " << c;
      EXPECT_EQ(Shown(), expectedShown) << line << " " << c;
      EXPECT_EQ(Caption(), amount ? QStringLiteral("1,234円") : QStringLiteral("円"));
    }
  }

  // "クリア" empties all 114 cells, and only them.
  for (int line = 1; line <= 6; ++line) {
    for (int c = 0; c < 8; ++c) screen.Write(Line(line, c), "x");
  }
  screen.Write(Upper(1, 0), "x");
  screen.Write(Balance(11), "x");
  screen.Press("Command3");
  EXPECT_EQ(Shown(), Repeated("", 114));
  EXPECT_EQ(screen.Read("Text146"), QStringLiteral("7"));
  EXPECT_EQ(screen.Read("Text120"), QStringLiteral("年 月"));
  EXPECT_EQ(Caption(), QStringLiteral("1,234円"));
}

TEST_F(SuspenseReceiptsScreenTest, TheWithholdingTotalIsOfTheHeldAmountsNotOfTheTypedOnes) {
  // Right after the opening: nothing held yet, the total of zeros.
  screen.Write(LeftAmount(1), "500");
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("円"));

  // The save totals what it saved, with thousands separators.
  screen.Write(RightAmount(6), "1,000,000");
  screen.Write(LeftAmount(2), "　");
  screen.Write(LeftAmount(3), "2.5");
  Save();
  EXPECT_EQ(Caption(), QStringLiteral("1,000,502円"));

  // Typed, not saved: the caption stays, and pressing totals the held amounts.
  screen.Write(LeftAmount(1), "9,999");
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("1,000,502円"));

  // A load does not touch the caption; a press then totals what it read.
  PutFiles(Repeated("", 91), WithWithheld(QStringList{"-3000"} + Repeated("0", 10) +
                                          QStringList{"1000"}));
  Load();
  EXPECT_EQ(Caption(), QStringLiteral("1,000,502円"));
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("-2,000円"));

  // The upper amounts never count.
  screen.Write(Balance(1), "77");
  Save();
  EXPECT_EQ(Caption(), QStringLiteral("-2,000円"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SuspenseReceiptsScreenTest, AWithholdingTotalBeyondThirtyTwoBitsIsReportedAndTheCaptionStays) {
  // At the ends of the range the total is shown.
  PutFiles(Repeated("", 91), WithWithheld(QStringList{"2147483647"} + Repeated("0", 11)));
  Load();
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("2,147,483,647円"));
  PutFiles(Repeated("", 91), WithWithheld(Repeated("0", 11) + QStringList{"-2147483648"}));
  Load();
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("-2,147,483,648円"));
  EXPECT_TRUE(desktop.boxes.empty());

  // Beyond them, the press reports and leaves the caption.
  PutFiles(Repeated("", 91), WithWithheld(Repeated("2147483647", 12)));
  Load();
  screen.Press("Command6");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(Caption(), QStringLiteral("-2,147,483,648円"));

  // Within the save: the files are written, the press reports, and the save
  // still reloads and beeps.
  desktop.boxes.clear();
  screen.Press("Command3");
  screen.Write(LeftAmount(1), "2,147,483,647");
  screen.Write(RightAmount(1), "1");
  screen.Write(Upper(1, 0), "written");
  screen.Press("Command1");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(Amounts(), WithWithheld({"2147483647", "0", "0", "0", "0", "0",  //
                                      "1", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(Texts().front(), QStringLiteral("\"written\""));
  EXPECT_EQ(Caption(), QStringLiteral("-2,147,483,648円"));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("2,147,483,647"));
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(SuspenseReceiptsScreenTest, WithheldAmountsKeepTheirTypedTextUntilTheSaveReloads) {
  screen.Write(LeftAmount(1), "1000");
  screen.Write(LeftAmount(2), " ");
  screen.Write(RightAmount(3), "12.5");
  screen.Write(RightAmount(4), "13.5");
  screen.Write(RightAmount(5), "　　");
  screen.Write(LeftAmount(6), "-１，５００");
  // Nothing but the save converts them.
  screen.Press("Command6");
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("1000"));
  EXPECT_EQ(screen.Read(LeftAmount(2)), QStringLiteral(" "));
  Save();

  EXPECT_EQ(Amounts(), WithWithheld({"1000", "0", "0", "0", "0", "-1500",  //
                                      "0", "0", "12", "14", "0", "0"}));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read(LeftAmount(2)), QString());
  EXPECT_EQ(screen.Read(RightAmount(4)), QStringLiteral("14"));
  EXPECT_EQ(screen.Read(RightAmount(5)), QString());
  EXPECT_EQ(screen.Read(LeftAmount(6)), QStringLiteral("-1,500"));
  EXPECT_EQ(Caption(), QStringLiteral("-474円"));
  // The upper total does not take them in.
  EXPECT_EQ(Amounts()[10], QStringLiteral("0"));
  EXPECT_EQ(screen.Read("Text67"), QString());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SuspenseReceiptsScreenTest, YearsAndMonthsAreFreeTexts) {
  const QStringList typed = {"12", "１２", "H", "平成5", " 3", "ａ"};
  for (int line = 1; line <= 6; ++line) {
    screen.Write(Line(line, 0), typed[line - 1]);
    screen.Write(Line(line, 5), typed[6 - line]);
  }
  Save();
  const QStringList texts = Texts();
  for (int line = 1; line <= 6; ++line) {
    EXPECT_EQ(texts[55 + line - 1], Quoted({typed[line - 1]})[0]);
    EXPECT_EQ(texts[79 + line - 1], Quoted({typed[6 - line]})[0]);
    EXPECT_EQ(screen.Read(Line(line, 0)), typed[line - 1]);
    EXPECT_EQ(screen.Read(Line(line, 5)), typed[6 - line]);
  }
}

TEST_F(SuspenseReceiptsScreenTest, TheColumnButtonsEmptyTheirOwnColumnsOnly) {
  for (int line = 1; line <= 6; ++line) {
    screen.Write(LeftAmount(line), "100");
    screen.Write(RightAmount(line), "10");
  }
  Save();
  EXPECT_EQ(Caption(), QStringLiteral("660円"));
  for (int r = 1; r <= 11; ++r) screen.Write(Balance(r), "5");

  screen.Press("Command4");
  for (int line = 1; line <= 6; ++line) {
    EXPECT_EQ(screen.Read(LeftAmount(line)), QString());
    EXPECT_EQ(screen.Read(RightAmount(line)), QStringLiteral("10"));
  }
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
  EXPECT_EQ(Caption(), QStringLiteral("660円"));
  Save();
  EXPECT_EQ(Amounts().mid(11, 6), Repeated("0", 6));
  EXPECT_EQ(Amounts().mid(17, 6), Repeated("10", 6));
  EXPECT_EQ(Caption(), QStringLiteral("60円"));

  screen.Press("Command5");
  for (int line = 1; line <= 6; ++line) EXPECT_EQ(screen.Read(RightAmount(line)), QString());
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
  EXPECT_EQ(Caption(), QStringLiteral("60円"));

  screen.Press("Command17");
  for (int r = 1; r <= 11; ++r) EXPECT_EQ(screen.Read(Balance(r)), QString());
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 23));
  EXPECT_EQ(Caption(), QStringLiteral("円"));
}

TEST_F(SuspenseReceiptsScreenTest, TheUpperTableBehavesAsTheAdvancePaymentsTable) {
  screen.Write(Balance(1), "1000");
  screen.Write(Balance(2), "2,500");
  screen.Write(Balance(3), "　");
  screen.Write("Text67", "abc");  // a total the save works out anew is never read
  screen.Write("Text12", "row 1");
  screen.Write("Text5", "row 2");
  Save();
  const QStringList amounts = Amounts();
  EXPECT_EQ(amounts.mid(0, 11),
            (QStringList{"1000", "2500", "0"} + Repeated("0", 7) + QStringList{"3500"}));
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("3,500"));
  EXPECT_EQ(screen.Read(Balance(3)), QString());
  EXPECT_EQ(Texts()[45 - 1], QStringLiteral("\"row 1\""));
  EXPECT_EQ(Texts()[46 - 1], QStringLiteral("\"row 2\""));
  EXPECT_EQ(Caption(), QStringLiteral("円"));

  screen.Write(Balance(1), "-2000");
  screen.Write(Balance(2), "766");
  Save();
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("-1,234"));
}

TEST_F(SuspenseReceiptsScreenTest, AnUpperTotalBeyondThirtyTwoBitsIsRefusedAndNothingIsWritten) {
  screen.Write(LeftAmount(1), "5");
  Save();
  const QStringList before = Amounts();
  screen.Write(Balance(1), "2147483647");
  screen.Write(Balance(10), "1");
  screen.Write(LeftAmount(1), "6");
  desktop.beeps = 0;
  screen.Press("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(Amounts(), before);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(Caption(), QStringLiteral("5円"));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("6"));
  EXPECT_EQ(screen.Read("Text67"), QString());
}

TEST_F(SuspenseReceiptsScreenTest, FailuresAreReportedUnderMirudanto) {
  for (const char* code : {"", "x", "32768", "-32769"}) {
    Save(code);
    Load(code);
  }
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|型が一致しません。", "ミルダント|型が一致しません。",
                         "ミルダント|型が一致しません。", "ミルダント|型が一致しません。",
                         "ミルダント|オーバーフローしました。", "ミルダント|オーバーフローしました。",
                         "ミルダント|オーバーフローしました。",
                         "ミルダント|オーバーフローしました。"}));
  EXPECT_TRUE(QDir(drives.Native(StatementFolder())).isEmpty());
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("　　"));

  // A file that cannot be written: no press of "源泉税合計", no reload, no beep.
  desktop.boxes.clear();
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write(LeftAmount(1), "5");
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|パスが見つかりません。"});
  EXPECT_EQ(Caption(), QStringLiteral("源泉税合計"));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("5"));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(SuspenseReceiptsScreenTest, ALoadShowsNothingUnlessBothFilesAreReadWhole) {
  Save();
  screen.Write(Line(1, 2), "typed");
  screen.Write(LeftAmount(1), "typed");

  PutFiles(Repeated("from file", 90), Repeated("1", 23));
  Load();
  PutFiles(Repeated("from file", 91), Repeated("1", 22));
  Load();
  QFile::remove(drives.Native(TextPath()));
  Load();
  EXPECT_EQ(screen.Read(Line(1, 2)), QStringLiteral("typed"));
  EXPECT_EQ(screen.Read(LeftAmount(1)), QStringLiteral("typed"));
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|ファイルにこれ以上データがありません。\n⑩7.txt",
                         "ミルダント|ファイルにこれ以上データがありません。\nA⑩7.txt",
                         "ミルダント|ファイルが見つかりません。\n⑩7.txt"}));
  // The held amounts are still those of the save.
  screen.Press("Command6");
  EXPECT_EQ(Caption(), QStringLiteral("円"));
}

TEST_F(SuspenseReceiptsScreenTest, AReloadShowsExactlyWhatTheFilesHold) {
  QStringList texts;
  for (int v = 1; v <= 91; ++v) texts.append(QStringLiteral(" 値%1　").arg(v));
  texts.append("extra");
  QStringList amounts;
  for (int v = 1; v <= 23; ++v) amounts.append(QString::number(v * 12345 - 100000));
  amounts[10] = "42";  // a stored total is shown as stored
  amounts.append("99");
  PutFiles(texts, amounts);

  Load();
  EXPECT_EQ(Shown(), FromFiles());
  EXPECT_EQ(screen.Read("Text67"), QStringLiteral("42"));
  EXPECT_EQ(screen.Read("Text119"), QStringLiteral(" 値91　"));
  EXPECT_EQ(desktop.beeps, 0);

  // Saved again: what was shown, the total worked out, the extra values gone.
  Save();
  EXPECT_EQ(Texts().size(), 91);
  EXPECT_EQ(Amounts().size(), 23);
  EXPECT_EQ(Texts(), Quoted(texts.mid(0, 91)));
  EXPECT_EQ(Amounts()[10], QString::number(12345 * 55 - 1000000));
  EXPECT_EQ(Shown(), FromFiles());
  ASSERT_TRUE(screen.HeldIsValid());
  for (int v = 1; v <= 91; ++v) EXPECT_EQ(screen.Held().Of(FileRole::Text)[v - 1].text, texts[v - 1]);
  for (int v = 1; v <= 23; ++v) {
    EXPECT_EQ(QString::number(screen.Held().Of(FileRole::Amounts)[v - 1].number), Amounts()[v - 1]);
  }
}

TEST_F(SuspenseReceiptsScreenTest, TheUpperGridIsTheAdvancePaymentsGridCellForCell) {
  auto& form5 = platform::ScreenSet::Instance().Add<AdvancePaymentsScreen>();
  form5.Show();
  screen.Show();
  QStringList shared = {"Text1", "Text2", "Text3", "Text4", "Text6", "Command17"};
  for (const auto& row : kUpper) {
    for (int n : row) shared.append(Box(n));
  }
  for (const QString& name : shared) {
    EXPECT_EQ(form5.Control(name).geometry(), screen.Control(name).geometry())
        << name.toStdString();
    if (name.startsWith("Command")) continue;
    EXPECT_EQ(form5.Read(name), screen.Read(name));
    EXPECT_EQ(form5.Box(name).alignment(), screen.Box(name).alignment());
    EXPECT_EQ(form5.Box(name).Mode(), screen.Box(name).Mode());
  }
  EXPECT_EQ(form5.Layout().FileOf(FileRole::Text).values.size(), 55u);
  for (FileRole role : {FileRole::Text, FileRole::Amounts}) {
    const auto& upper = form5.Layout().FileOf(role).values;
    for (std::size_t v = 0; v < upper.size(); ++v) {
      EXPECT_EQ(upper[v].box, screen.Layout().FileOf(role).values[v].box);
    }
  }
}

TEST_F(SuspenseReceiptsScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("仮受金⑩"));
  const std::pair<const char*, const char*> headings[] = {
      {"Text1", "科　目"},   {"Text2", "名称（氏名）"}, {"Text3", "所在地（住所）"},
      {"Text4", "関係"},     {"Text6", "取引内容"},     {"Text120", "年 月"},
      {"Text121", "所得"},   {"Text122", "年 月"},      {"Text123", "所得"},
  };
  for (const auto& [box, text] : headings) {
    EXPECT_EQ(screen.Read(box), QString::fromUtf8(text));
    EXPECT_EQ(screen.Box(box).alignment(), Qt::AlignCenter);
  }
  const std::pair<const char*, const char*> captions[] = {
      {"Command1", "合　　　計"}, {"Command2", "DATA"},       {"Command3", "クリア"},
      {"Command4", "期末現在高"}, {"Command5", "期末現在高"}, {"Command6", "源泉税合計"},
      {"Command17", "期末現在高"},
  };
  for (const auto& [button, caption] : captions) {
    EXPECT_EQ(screen.CaptionOf(button), QString::fromUtf8(caption));
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int k = 1; k <= 6; ++k) {
    for (int c = 0; c < 8; ++c) {
      platform::TextBox& box = screen.Box(Line(k, c));
      EXPECT_EQ(box.Mode(), c % 4 == 2 ? platform::InputMode::Hiragana
                                       : platform::InputMode::Unchanged);
      if (c % 4 == 3) {
        EXPECT_EQ(box.alignment() & Qt::AlignRight, Qt::AlignRight);
      }
    }
  }

  auto geometry = [this](const QString& name) { return screen.Control(name).geometry(); };
  // The bottom line of the upper table, from left to right.
  EXPECT_LT(geometry("Command3").left(), geometry("Command2").left());
  EXPECT_LT(geometry("Command2").left(), geometry("Command1").left());
  EXPECT_LT(geometry("Command1").left(), geometry("Text146").left());
  EXPECT_EQ(geometry("Command1").left(), geometry("Text67").left());
  // The withholding table below it, the halves side by side, each heading
  // over its column, "年 月" over both the year and the month.
  EXPECT_GT(geometry("Text120").top(), geometry("Command1").bottom());
  EXPECT_LT(geometry("Text72").right(), geometry("Text96").left());
  EXPECT_EQ(geometry("Text120").left(), geometry("Text84").left());
  EXPECT_EQ(geometry("Text120").right(), geometry("Text90").right());
  EXPECT_EQ(geometry("Text122").left(), geometry("Text96").left());
  EXPECT_EQ(geometry("Text122").right(), geometry("Text102").right());
  EXPECT_EQ(geometry("Text121").left(), geometry("Text108").left());
  EXPECT_EQ(geometry("Command4").left(), geometry("Text72").left());
  EXPECT_EQ(geometry("Command5").left(), geometry("Text78").left());
  for (int k = 1; k < 6; ++k) EXPECT_LT(geometry(Line(k, 0)).top(), geometry(Line(k + 1, 0)).top());
  // "源泉税合計" at the lower right, level with line 6.
  EXPECT_EQ(geometry("Command6").top(), geometry("Text83").top());
  EXPECT_GT(geometry("Command6").left(), geometry("Text83").right());

  // The keyboard moves along a line of the withholding table, across both
  // halves, then on to the next line.
  QStringList order;
  for (QWidget* w = &screen.Control("Text84"); order.size() < 10; w = w->nextInFocusChain()) {
    order.append(w->objectName());
  }
  EXPECT_EQ(order, (QStringList{"Text84", "Text90", "Text108", "Text72", "Text96", "Text102",
                                "Text114", "Text78", "Text85", "Text91"}));

  std::map<QString, QStringList> worst;
  for (int k = 1; k <= 6; ++k) {
    for (int c : {0, 1, 4, 5}) worst[Line(k, c)] = {"１２", "12"};
  }
  worst["Command6"] = {"-2,147,483,648円", "2,147,483,647円"};
  testing::ExpectNothingOverlapsOrIsClipped(screen, worst);
}

}  // namespace
}  // namespace mirudanto::statements
