#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include "core/statement_files.h"
#include "statements/general/fixed_assets_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The screen's table, field by field for entries 1 to 5.
const int kKindStructure[5] = {20, 29, 38, 47, 56};
const int kUse[5] = {21, 30, 39, 48, 57};
const int kArea[5] = {22, 31, 40, 49, 58};
const int kLocation[5] = {23, 32, 41, 50, 59};
const int kChangeDate[5] = {24, 33, 42, 51, 60};
const int kChangeReason[5] = {25, 34, 43, 52, 61};
const int kCounterpartyName[5] = {26, 35, 44, 53, 62};
const int kCounterpartyAddress[5] = {27, 36, 45, 54, 63};
const int kSoldAssetAcquiredDate[5] = {28, 37, 46, 55, 64};
const int kClosingBalance[5] = {1, 2, 3, 4, 5};
const int kBookValue[5] = {6, 7, 8, 9, 10};
const int kPrice[5] = {72, 71, 70, 69, 68};
// The texts of an entry in FixedAssetEntry order.
const int* const kTextFields[9] = {kKindStructure, kUse,           kArea,
                                   kLocation,      kChangeDate,    kChangeReason,
                                   kCounterpartyName, kCounterpartyAddress, kSoldAssetAcquiredDate};
const int* const kAmountFields[3] = {kClosingBalance, kBookValue, kPrice};

class FixedAssetsScreenTest : public testing::EntryScreenTest<FixedAssetsScreen> {
 protected:
  // The 62 boxes of the entries and totals, as shown.
  QStringList Shown() {
    QStringList shown;
    for (int n = 1; n <= 10; ++n) shown.append(screen.Read(Box(n)));
    for (int n = 20; n <= 64; ++n) shown.append(screen.Read(Box(n)));
    for (int n = 68; n <= 74; ++n) shown.append(screen.Read(Box(n)));
    return shown;
  }
};

TEST_F(FixedAssetsScreenTest, AnUntouchedScreenSavesEmptyTextsAndZeros) {
  Save();

  EXPECT_EQ(drives.Get(TextPath()), QByteArray("\"\"\r\n").repeated(45));
  EXPECT_EQ(drives.Get(AmountPath()), QByteArray("0\r\n").repeated(17));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Shown(), Repeated("", 62));
}

TEST_F(FixedAssetsScreenTest, EveryValueOfTheFilesHasItsBoxFromTheTable) {
  QStringList all;
  for (const int* field : kTextFields) {
    for (int e = 0; e < 5; ++e) all.append(Box(field[e]));
  }
  for (const int* field : kAmountFields) {
    for (int e = 0; e < 5; ++e) all.append(Box(field[e]));
  }
  all += QStringList{"Text73", "Text74", "Text11", "Text12", "Text13", "Text14", "Text15",
                     "Text16", "Text17", "Text18", "Text19", "Text65", "Text66", "Text67",
                     "Text146"};
  EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size());
  for (const QString& box : all) EXPECT_TRUE(screen.HasControl(box)) << box.toStdString();

  QStringList expectedTexts;
  for (int e = 0; e < 5; ++e) {
    for (int f = 0; f < 9; ++f) {
      const QString text = QStringLiteral("e%1f%2").arg(e + 1).arg(f + 1);
      screen.Write(Box(kTextFields[f][e]), text);
      expectedTexts.append(text);
    }
  }
  // Balances 1-5, book values 10-50, prices 100-500.
  for (int e = 0; e < 5; ++e) {
    screen.Write(Box(kClosingBalance[e]), QString::number(e + 1));
    screen.Write(Box(kBookValue[e]), QString::number((e + 1) * 10));
    screen.Write(Box(kPrice[e]), QString::number((e + 1) * 100));
  }
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  EXPECT_EQ(Amounts(), (QStringList{"1", "2", "3", "4", "5", "10", "20", "30", "40", "50", "100",
                                    "200", "300", "400", "500", "15", "150"}));

  screen.Unload();
  Load();
  for (int e = 0; e < 5; ++e) {
    for (int f = 0; f < 9; ++f) {
      EXPECT_EQ(screen.Read(Box(kTextFields[f][e])),
                QStringLiteral("e%1f%2").arg(e + 1).arg(f + 1));
    }
    EXPECT_EQ(screen.Read(Box(kPrice[e])), QString::number((e + 1) * 100));
  }
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("15"));
  EXPECT_EQ(screen.Read("Text74"), QStringLiteral("150"));
}

TEST_F(FixedAssetsScreenTest, ThreeAmountColumnsOfWhichTwoAreTotalled) {
  // Prices alone: neither total moves.
  for (int e = 0; e < 5; ++e) screen.Write(Box(kPrice[e]), "1,000,000");
  Save();
  EXPECT_EQ(Amounts().mid(10), (QStringList{"1000000", "1000000", "1000000", "1000000",
                                            "1000000", "0", "0"}));
  EXPECT_EQ(screen.Read("Text73"), QString());
  EXPECT_EQ(screen.Read("Text74"), QString());
  EXPECT_EQ(screen.Read(Box(72)), QStringLiteral("1,000,000"));

  // Cells convert on their own; texts keep their blanks.
  screen.Press("Command4");
  const std::pair<const char*, int> balances[5] = {
      {"1,234", 1234}, {"　", 0}, {"-34", -34}, {"2.5", 2}, {" ", 0}};
  for (int e = 0; e < 5; ++e) screen.Write(Box(kClosingBalance[e]), balances[e].first);
  screen.Write(Box(kBookValue[2]), "7");
  screen.Write(Box(kLocation[0]), "　");
  screen.Write(Box(kArea[0]), " 12.5 ");
  Save();
  EXPECT_EQ(Amounts(), (QStringList{"1234", "0", "-34", "2", "0", "0", "0", "7", "0", "0", "0",
                                    "0", "0", "0", "0", "1202", "7"}));
  EXPECT_EQ(Texts()[2], QStringLiteral("\" 12.5 \""));
  EXPECT_EQ(Texts()[3], QStringLiteral("\"　\""));
  EXPECT_EQ(screen.Read(Box(1)), QStringLiteral("1,234"));
  EXPECT_EQ(screen.Read(Box(2)), QString());
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("1,202"));
  EXPECT_EQ(screen.Read("Text74"), QStringLiteral("7"));
}

TEST_F(FixedAssetsScreenTest, EachTotalMustFitThirtyTwoBits) {
  struct Case {
    const int* field;
    const char* first;
    const char* second;
    bool refused;
  };
  const Case cases[] = {
      {kClosingBalance, "2147483647", "1", true},
      {kBookValue, "-2147483648", "-1", true},
      {kClosingBalance, "2147483646", "1", false},
      {kPrice, "2147483647", "2147483647", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " " + c.second);
    screen.Press("Command4");
    Save();
    const QStringList before = Amounts();
    desktop.boxes.clear();
    desktop.beeps = 0;
    screen.Write(Box(c.field[0]), c.first);
    screen.Write(Box(c.field[4]), c.second);
    screen.Press("Command2");
    if (!c.refused) {
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(desktop.beeps, 1);
      EXPECT_NE(Amounts(), before);
      continue;
    }
    EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(screen.Read(Box(c.field[0])), QString::fromUtf8(c.first));
  }
}

TEST_F(FixedAssetsScreenTest, TheLoadWorksTheTotalsOutAgain) {
  drives.Put(TextPath(), QByteArray("\"t\"\r\n").repeated(45) + "\"extra\"\r\n");
  PutAmounts({"1", "2", "3", "4", "5", "10", "20", "30", "40", "50", "100", "0", "0", "0", "0",
              "999", "-1", "42"});
  Load();
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("15"));
  EXPECT_EQ(screen.Read("Text74"), QStringLiteral("150"));
  EXPECT_EQ(screen.Read(Box(72)), QStringLiteral("100"));
  EXPECT_EQ(screen.Read(Box(64)), QStringLiteral("t"));
  EXPECT_EQ(screen.Held().Of(FileRole::Amounts)[15].number, 15);
  EXPECT_EQ(desktop.beeps, 0);

  screen.Press("Command2");
  EXPECT_EQ(Amounts().mid(15), (QStringList{"15", "150"}));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(FixedAssetsScreenTest, ARecomputedTotalBeyondThirtyTwoBitsStopsTheLoadAfterTheAmounts) {
  screen.Write(Box(20), "typed");
  screen.Write("Text73", "typed total");
  drives.Put(TextPath(), QByteArray("\"t\"\r\n").repeated(45));
  PutAmounts(QStringList{"2147483647", "1"} + Repeated("0", 15));

  Load();

  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(screen.Read(Box(1)), QStringLiteral("2,147,483,647"));
  EXPECT_EQ(screen.Read(Box(2)), QStringLiteral("1"));
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("typed total"));
  EXPECT_EQ(screen.Read(Box(20)), QStringLiteral("typed"));
}

TEST_F(FixedAssetsScreenTest, AReadFailureShowsNothingOfTheFiles) {
  Save();
  screen.Write(Box(20), "typed");
  screen.Write(Box(1), "5");

  QFile::remove(drives.Native(AmountPath()));
  Load();
  PutAmounts(Repeated("1", 16));
  Load();
  PutAmounts(Repeated("1", 16) + QStringList{"1.5"});
  Load();
  Load("40000");

  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|ファイルが見つかりません。\nA⑦7.txt",
                         "ミルダント|ファイルにこれ以上データがありません。\nA⑦7.txt",
                         "ミルダント|型が一致しません。\nA⑦7.txt",
                         "ミルダント|オーバーフローしました。"}));
  EXPECT_EQ(screen.Read(Box(20)), QStringLiteral("typed"));
  EXPECT_EQ(screen.Read(Box(1)), QStringLiteral("5"));
}

TEST_F(FixedAssetsScreenTest, TheSaveReportsItsFailuresUnderTheSystemsTitle) {
  Save("40000");
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::FixedAssets, 40000)));

  drives.MakeFolder(kDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write(Box(3), "5");
  Save();
  EXPECT_EQ(screen.Read(Box(3)), QStringLiteral("5"));
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("5"));

  EXPECT_EQ(desktop.Summary(), (QStringList{"ミルダント|オーバーフローしました。",
                                            "ミルダント|パスが見つかりません。"}));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(FixedAssetsScreenTest, ClearEmptiesEveryEntryAndTotal) {
  for (int n = 1; n <= 10; ++n) screen.Write(Box(n), "1");
  for (int n = 20; n <= 64; ++n) screen.Write(Box(n), "x");
  for (int n = 68; n <= 72; ++n) screen.Write(Box(n), "1");
  Save();
  EXPECT_EQ(screen.Read("Text73"), QStringLiteral("5"));

  screen.Press("Command4");
  EXPECT_EQ(Shown(), Repeated("", 62));
  EXPECT_EQ(screen.Read("Text146"), QStringLiteral("7"));
  EXPECT_EQ(screen.Read("Text11"), QStringLiteral("種類構造"));
  screen.Press("Command2");
  EXPECT_EQ(Texts(), Quoted(Repeated("", 45)));
  EXPECT_EQ(Amounts(), Repeated("0", 17));
}

TEST_F(FixedAssetsScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("固定資産⑦"));
  const std::pair<const char*, const char*> captions[] = {
      {"Command3", "DATA"},           {"Command4", "クリア"},
      {"Command2", "合　　計"},       {"Text11", "種類構造"},
      {"Text12", "用　途"},           {"Text13", "面積"},
      {"Text14", "物件の所在地"},     {"Text65", "期末現在高"},
      {"Text15", "移動年月日"},       {"Text16", "移動事由"},
      {"Text67", "取得処分価額"},     {"Text66", "異動直前簿価"},
      {"Text17", "売却(購入)先の名称"}, {"Text18", "売却(購入)先の住所"},
      {"Text19", "売却年月"},
  };
  for (const auto& [control, caption] : captions) {
    EXPECT_EQ(screen.CaptionOf(control), QString::fromUtf8(caption)) << control;
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int e = 0; e < 5; ++e) {
    for (const int* field : {kKindStructure, kUse, kLocation, kChangeReason, kCounterpartyName,
                             kCounterpartyAddress}) {
      EXPECT_EQ(screen.Box(Box(field[e])).Mode(), platform::InputMode::Hiragana) << field[e];
    }
    for (const int* field : {kArea, kChangeDate, kSoldAssetAcquiredDate, kClosingBalance,
                             kBookValue, kPrice}) {
      EXPECT_EQ(screen.Box(Box(field[e])).Mode(), platform::InputMode::Unchanged) << field[e];
    }
    for (const int* field : kAmountFields) {
      EXPECT_EQ(screen.Box(Box(field[e])).alignment() & Qt::AlignRight, Qt::AlignRight);
    }
    // Each entry's second line lies below its first; the location spans
    // the kind, use and area columns.
    const QRect kind = screen.Control(Box(kKindStructure[e])).geometry();
    const QRect area = screen.Control(Box(kArea[e])).geometry();
    const QRect location = screen.Control(Box(kLocation[e])).geometry();
    EXPECT_GT(location.top(), kind.bottom());
    EXPECT_EQ(location.left(), kind.left());
    EXPECT_EQ(location.right(), area.right());
    EXPECT_EQ(screen.Control(Box(kPrice[e])).y(), kind.y());
    EXPECT_EQ(screen.Control(Box(kBookValue[e])).y(), location.y());
    EXPECT_EQ(screen.Control(Box(kBookValue[e])).x(), screen.Control(Box(kPrice[e])).x());
    EXPECT_EQ(screen.Control(Box(kClosingBalance[e])).x(), screen.Control("Text73").x());
    EXPECT_EQ(screen.Control(Box(kBookValue[e])).x(), screen.Control("Text74").x());
  }
  for (const char* total : {"Text73", "Text74"}) {
    EXPECT_EQ(screen.Box(total).alignment() & Qt::AlignRight, Qt::AlignRight);
  }

  // 12 crossed cells and the closing line; no two visible controls overlap.
  const QList<QWidget*> controls =
      screen.Window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  int lines = 0;
  for (QWidget* control : controls) {
    if (qobject_cast<platform::LineControl*>(control) != nullptr) ++lines;
  }
  EXPECT_EQ(lines, 13);
  testing::ExpectNothingOverlapsOrIsClipped(screen);
}

}  // namespace
}  // namespace mirudanto::statements
