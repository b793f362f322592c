#include <gtest/gtest.h>

#include "core/amount.h"
#include "core/statement_files.h"
#include "statements/borrowings_and_expenses/rents_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// Each row's boxes in the order of its values: kind, use, location, lessor,
// lessor's address, period, remarks; then its rent paid.
const int kTable[7][8] = {
    {10, 11, 12, 13, 14, 15, 16, 2},  {17, 18, 19, 20, 21, 22, 23, 9},
    {25, 26, 27, 28, 29, 30, 31, 24}, {33, 34, 35, 36, 37, 38, 39, 32},
    {41, 42, 43, 44, 45, 46, 47, 40}, {49, 50, 51, 52, 53, 54, 55, 48},
    {57, 58, 59, 60, 61, 62, 63, 56},
};
// The word buttons of each row: "地代", "家賃".
const char* const kWordButtons[7][2] = {
    {"Command5", "Command6"},   {"Command1", "Command7"},   {"Command8", "Command9"},
    {"Command10", "Command11"}, {"Command12", "Command13"}, {"Command14", "Command15"},
    {"Command16", "Command18"},
};

QString Kind(int row) { return Box(kTable[row - 1][0]); }
QString Rent(int row) { return Box(kTable[row - 1][7]); }

using RentsScreenTest = testing::EntryScreenTest<RentsScreen>;

TEST_F(RentsScreenTest, AnUntouchedScreenSavesEmptyTextsAndZeros) {
  EXPECT_EQ(screen.Read(Rent(1)), QStringLiteral("　　"));
  Save();

  EXPECT_EQ(Texts(), Quoted(Repeated("", 49)));
  EXPECT_EQ(Amounts(), Repeated("0", 8));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(screen.Read(Rent(1)), QString());
  EXPECT_EQ(screen.Read("Text118"), QString());

  // Cleared and saved, the files are a new company's again.
  screen.Write(Kind(2), "家　賃");
  screen.Write(Rent(2), "5");
  screen.Press("Command4");
  Save();
  EXPECT_EQ(Texts(), Quoted(Repeated("", 49)));
  EXPECT_EQ(Amounts(), Repeated("0", 8));
}

TEST_F(RentsScreenTest, EveryValueHasItsBoxAndTheTotalIsWorkedOutAnew) {
  QStringList expectedTexts;
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      const QString text = QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
      screen.Write(Box(kTable[r][c]), text);
      expectedTexts.append(text);
    }
  }
  const char* rents[7] = {"120,000", "　", "-1,000", "", "12.5", "１，０００", "60000"};
  for (int r = 0; r < 7; ++r) screen.Write(Rent(r + 1), QString::fromUtf8(rents[r]));
  screen.Write("Text118", "999");
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  EXPECT_EQ(Amounts(), (QStringList{"120000", "0", "-1000", "0", "12", "1000", "60000", "180012"}));
  EXPECT_EQ(screen.Read(Rent(1)), QStringLiteral("120,000"));
  EXPECT_EQ(screen.Read(Rent(2)), QString());
  EXPECT_EQ(screen.Read(Rent(3)), QStringLiteral("-1,000"));
  EXPECT_EQ(screen.Read("Text118"), QStringLiteral("180,012"));

  // Loaded into a fresh window, every value comes back into its own box.
  screen.Unload();
  Load();
  for (int r = 0; r < 7; ++r) {
    for (int c = 0; c < 7; ++c) {
      EXPECT_EQ(screen.Read(Box(kTable[r][c])), QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1));
    }
  }
  EXPECT_EQ(screen.Read(Rent(7)), QStringLiteral("60,000"));
}

TEST_F(RentsScreenTest, ALoadShowsTheStoredTotalAndNothingUnlessBothFilesAreWhole) {
  PutTexts(Quoted(QStringList{"地　代"} + Repeated("", 49)));
  PutAmounts({"1", "2", "3", "4", "5", "6", "7", "100"});
  Load();
  EXPECT_EQ(screen.Read(Kind(1)), QStringLiteral("地　代"));
  EXPECT_EQ(screen.Read("Text118"), QStringLiteral("100"));
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 0);

  screen.Write(Kind(1), "typed");
  PutTexts(Quoted(Repeated("", 48)));
  Load();
  EXPECT_EQ(desktop.Summary(),
            QStringList{"ミルダント|" + Failure::Describe(FailureKind::TooFewValues) +
                        "\n⑮7.txt"});
  EXPECT_EQ(screen.Read(Kind(1)), QStringLiteral("typed"));
  EXPECT_EQ(screen.Read(Rent(1)), QStringLiteral("1"));
}

TEST_F(RentsScreenTest, ACodeThatIsNoSixteenBitNumberFailsUnderTheProgramsTitle) {
  for (const char* code : {"", "40000"}) {
    SCOPED_TRACE(code);
    desktop.boxes.clear();
    Load(code);
    Save(code);
    EXPECT_EQ(desktop.boxes.size(), 2u);
    for (const QString& box : desktop.Summary()) EXPECT_TRUE(box.startsWith("ミルダント|"));
  }
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Rents, 40000)));
}

TEST_F(RentsScreenTest, TheWordButtonsFillTheirOwnRowAndTheHeadingsClearTheirColumns) {
  for (int r = 1; r <= 7; ++r) {
    screen.Write(Kind(r), "家　賃");
    screen.Write(Rent(r), "1");
  }
  for (int r = 0; r < 7; ++r) {
    screen.Press(kWordButtons[r][r % 2]);
    EXPECT_EQ(screen.Read(Kind(r + 1)), r % 2 == 0 ? QStringLiteral("地　代") : QStringLiteral("家　賃"));
  }
  screen.Press(kWordButtons[1][0]);
  EXPECT_EQ(screen.Read(Kind(2)), QStringLiteral("地　代"));
  EXPECT_EQ(screen.Read(Kind(3)), QStringLiteral("地　代"));

  screen.Write(Box(11), "use");
  screen.Write("Text118", "7");
  screen.Press("Command19");
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(screen.Read(Kind(r)), QString());
  EXPECT_EQ(screen.Read(Rent(1)), QStringLiteral("1"));
  screen.Press("Command17");
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(screen.Read(Rent(r)), QString());
  EXPECT_EQ(screen.Read("Text118"), QString());
  EXPECT_EQ(screen.Read(Box(11)), QStringLiteral("use"));
}

TEST_F(RentsScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("地代家賃⑮"));
  EXPECT_EQ(screen.CaptionOf("Command2"), QStringLiteral("合　　計"));
  EXPECT_EQ(screen.CaptionOf("Command19"), QStringLiteral("地代・家賃"));
  EXPECT_EQ(screen.CaptionOf("Command17"), QStringLiteral("支払賃借料"));
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("所　　在　　地"));
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  EXPECT_EQ(screen.Box(Rent(1)).palette().color(QPalette::Base), kLightCyan);
  EXPECT_EQ(screen.Box("Text118").palette().color(QPalette::Base), kLightCyan);
  EXPECT_EQ(screen.Box(Kind(1)).alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(screen.Box(Rent(1)).alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(screen.Box(Kind(1)).Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(screen.Box(Box(15)).Mode(), platform::InputMode::Unchanged);
  EXPECT_EQ(screen.Box(Rent(1)).Mode(), platform::InputMode::Unchanged);
  testing::ExpectNothingOverlapsOrIsClipped(screen, {}, true);
}

}  // namespace
}  // namespace mirudanto::statements
