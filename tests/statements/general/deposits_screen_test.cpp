#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "core/statement_files.h"
#include "statements/general/deposits_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/faulty_file_system.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// Each row's boxes as the screen's table gives them: bank, branch, kind,
// account number, balance, remarks.
const int kTable[15][6] = {
    {7, 8, 9, 10, 11, 12},    {13, 14, 15, 16, 17, 18}, {19, 20, 21, 22, 23, 24},
    {25, 26, 27, 28, 29, 30}, {31, 32, 33, 34, 35, 36}, {37, 38, 39, 40, 41, 42},
    {43, 44, 45, 46, 47, 48}, {49, 50, 51, 52, 53, 54}, {90, 89, 88, 87, 86, 85},
    {84, 83, 82, 81, 80, 79}, {78, 77, 76, 75, 74, 73}, {72, 71, 70, 69, 68, 67},
    {66, 65, 64, 63, 62, 61}, {60, 59, 58, 57, 56, 55}, {96, 95, 94, 93, 92, 91},
};

QString Balance(int row) { return Box(kTable[row - 1][4]); }

using DepositsScreenTest = testing::EntryScreenTest<DepositsScreen>;

TEST_F(DepositsScreenTest, AnUntouchedScreenSavesItsInitialTextsAndZeros) {
  Save();

  EXPECT_EQ(Texts(), Quoted(QStringList{"", "　", "　現　　金"} + Repeated("　", 72)));
  EXPECT_EQ(Amounts(), Repeated("0", 16));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(screen.Read(Balance(1)), QString());
  EXPECT_EQ(screen.Read("Text97"), QString());
  EXPECT_EQ(screen.Read(Box(9)), QStringLiteral("　現　　金"));
}

TEST_F(DepositsScreenTest, EveryValueOfTheFilesHasItsBoxFromTheTable) {
  // A distinct text in every cell: the file order shows the mapping.
  QStringList expectedTexts;
  for (int r = 0; r < 15; ++r) {
    for (int c : {0, 1, 2, 3, 5}) {
      const QString text = QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
      screen.Write(Box(kTable[r][c]), text);
      expectedTexts.append(text);
    }
    screen.Write(Box(kTable[r][4]), QString::number(r + 1));
  }
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  QStringList expectedAmounts;
  for (int r = 1; r <= 15; ++r) expectedAmounts.append(QString::number(r));
  expectedAmounts.append("120");
  EXPECT_EQ(Amounts(), expectedAmounts);

  // Loaded into a fresh window, every value comes back into its own box.
  screen.Unload();
  Load();
  for (int r = 0; r < 15; ++r) {
    EXPECT_EQ(screen.Read(Box(kTable[r][5])), QStringLiteral("r%1c6").arg(r + 1));
  }
  EXPECT_EQ(screen.Read("Text97"), QStringLiteral("120"));
}

TEST_F(DepositsScreenTest, BalancesConvertByTheNumberRuleAndBlankCellsCountAsZero) {
  const std::pair<const char*, int> cells[] = {
      {"300", 300},    {"700", 700},        {"1,000", 1000},     {"-500", -500},
      {"12.5", 12},    {"13.5", 14},        {"　　", 0},         {" \t", 0},
      {"　", 0},       {"", 0},             {"１，０００", 1000}, {" 2 ", 2},
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
  expected += Repeated("0", 15 - static_cast<int>(std::size(cells)));
  expected.append(QString::number(sum));
  EXPECT_EQ(Amounts(), expected);
  EXPECT_EQ(screen.Read(Balance(3)), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read(Balance(4)), QStringLiteral("-500"));
  EXPECT_EQ(screen.Read(Balance(7)), QString());
  EXPECT_EQ(screen.Read("Text97"), QStringLiteral("2,528"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(DepositsScreenTest, ATypedTextThatIsNoNumberRefusesTheSaveAndShowsItsCell) {
  screen.Write(Balance(1), "100");
  Save();
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  desktop.beeps = 0;

  // The usual Japanese ways of writing a negative figure among them: the
  // number rule has no such signs, and a figure is never guessed at.
  for (const char* typed :
       {"▲300,000", "△200,000", "1,234円", "(50,000)", "1 000", "abc", "－"}) {
    SCOPED_TRACE(typed);
    desktop.boxes.clear();
    screen.Write(Balance(1), "5");
    screen.Write(Balance(3), QString::fromUtf8(typed));
    screen.Write(Box(7), "changed");

    Save();

    EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|型が一致しません。"});
    EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(Balance(3)));
    EXPECT_EQ(screen.Box(Balance(3)).selectedText(), QString::fromUtf8(typed));
    // No total shown, nothing written, what was typed still there.
    EXPECT_EQ(screen.Read("Text97"), QStringLiteral("100"));
    EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
    EXPECT_EQ(drives.Get(TextPath()), texts);
    EXPECT_EQ(drives.Get(AmountPath()), amounts);
  }
  EXPECT_EQ(desktop.beeps, 0);

  // A number beyond 32 bits keeps its own message.
  desktop.boxes.clear();
  screen.Write(Balance(3), "3,000,000,000");
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|オーバーフローしました。"});
  EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(Balance(3)));
}

TEST_F(DepositsScreenTest, ATotalBeyondThirtyTwoBitsIsRefusedAndNothingIsWritten) {
  Save();
  const QStringList before = Amounts();
  screen.Write(Balance(1), "2,147,483,647");
  screen.Write(Balance(2), "1");
  desktop.beeps = 0;

  screen.Press("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|オーバーフローしました。"});
  EXPECT_EQ(Amounts(), before);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("2,147,483,647"));
  EXPECT_EQ(screen.Read("Text97"), QString());
}

TEST_F(DepositsScreenTest, AFileThatCannotBeWrittenIsReportedWithoutReloadOrBeep) {
  drives.MakeFolder(kDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write(Balance(1), "5");

  Save();

  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|パスが見つかりません。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(screen.Read(Balance(1)), QStringLiteral("5"));
}

TEST_F(DepositsScreenTest, ASaveWhoseFirstFileMeetsAFullDiskKeepsTheOldFiles) {
  Save();
  const QStringList texts = Texts();
  const QStringList amounts = Amounts();
  screen.Write(Box(7), "新しい銀行");
  screen.Write(Balance(1), "5");
  desktop.beeps = 0;
  testing::FaultyFileSystem files;
  // The first write is the change's record; the second the texts' new content.
  files.Fail(testing::FileOperation::Write, 2, FailureKind::DiskFull);

  screen.Press("Command1");

  EXPECT_EQ(desktop.Summary(),
            QStringList{"預貯金|" + Failure::Describe(FailureKind::DiskFull)});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(Texts(), texts);
  EXPECT_EQ(Amounts(), amounts);
  // The amounts file is not tried once the texts have failed.
  EXPECT_EQ(files.Calls(testing::FileOperation::Write), 2);
  EXPECT_TRUE(files.Log().filter("write ").last().startsWith(
      "write " + StatementFolder() + "\\.~saving." + TextPath().section(QChar('\\'), -1)));
  EXPECT_EQ(screen.Read(Box(7)), QStringLiteral("新しい銀行"));
}

TEST_F(DepositsScreenTest, ASaveWhoseSecondFileCannotBeWrittenLeavesTheFirstAsItWas) {
  struct Case {
    const char* name;
    std::function<void(testing::FaultyFileSystem&)> spoil;
  };
  const Case cases[] = {
      {"the amounts file is a folder",
       [&](testing::FaultyFileSystem&) {
         QFile::remove(drives.Native(AmountPath()));
         QDir().mkdir(drives.Native(AmountPath()));
       }},
      {"the disk fills on the amounts file",
       [](testing::FaultyFileSystem& files) {
         files.Fail(testing::FileOperation::Write, 3, FailureKind::DiskFull);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(drives.Native(AmountPath())).removeRecursively();
    Save();
    const QByteArray text = drives.Get(TextPath());
    screen.Write(Box(7), "新しい銀行");
    screen.Write(Balance(1), "5");
    desktop.boxes.clear();
    desktop.beeps = 0;
    testing::FaultyFileSystem files;
    c.spoil(files);

    screen.Press("Command1");

    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(drives.Get(TextPath()), text);
    EXPECT_EQ(QDir(drives.Native(StatementFolder()))
                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                  .filter(QStringLiteral(".~")),
              QStringList());
  }
}

TEST_F(DepositsScreenTest, ABalanceBeyondThirtyTwoBitsIsRefusedAndShown) {
  for (const char* typed : {"2,147,483,648", "-2,147,483,649", "3,000,000,000", "２１４７４８３６４８"}) {
    SCOPED_TRACE(typed);
    Save();
    const QStringList before = Amounts();
    screen.Write(Balance(3), QString::fromUtf8(typed));
    desktop.boxes.clear();
    desktop.beeps = 0;

    screen.Press("Command1");

    EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|オーバーフローしました。"});
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(Balance(3)));
    EXPECT_EQ(screen.Box(Balance(3)).selectedText(), QString::fromUtf8(typed));
  }
  screen.Write(Balance(3), "2,147,483,647");
  desktop.boxes.clear();
  screen.Press("Command1");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Amounts().front(), QStringLiteral("0"));
  EXPECT_TRUE(Amounts().contains(QStringLiteral("2147483647")));
}

TEST_F(DepositsScreenTest, ATextFromADamagedFileThatCannotBeStoredIsRefusedAndShown) {
  screen.Write(Box(14), "支店");
  Save();
  QStringList lines = Texts();
  const qsizetype branch = lines.indexOf(QStringLiteral("\"支店\""));
  ASSERT_GE(branch, 0);
  lines[branch] = QStringLiteral("\"支\x7f店\"");
  PutTexts(lines);
  const QByteArray stored = drives.Get(TextPath());
  Load();
  ASSERT_EQ(screen.Read(Box(14)), QStringLiteral("支\x7f店"));
  desktop.boxes.clear();
  desktop.beeps = 0;

  screen.Press("Command1");

  EXPECT_EQ(desktop.Summary(),
            QStringList{"預貯金|" + Failure::Describe(FailureKind::UnstorableText)});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(drives.Get(TextPath()), stored);
  EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(Box(14)));
  EXPECT_EQ(screen.Box(Box(14)).selectedText(), QStringLiteral("支\x7f店"));
}

TEST_F(DepositsScreenTest, ACodeBeyondSixteenBitsFailsTheLoadAndTheSave) {
  Load("40000");
  screen.Press("Command1");
  EXPECT_EQ(desktop.Summary(), (QStringList{"預貯金|オーバーフローしました。",
                                            "預貯金|オーバーフローしました。"}));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Deposits, 40000)));
}

TEST_F(DepositsScreenTest, ALoadShowsNothingUnlessEveryFileIsReadWhole) {
  Save();
  screen.Write(Box(7), "typed");
  drives.Put(TextPath(), QByteArray("\"from file\"\r\n").repeated(75));

  // The amount file is missing: the texts read are not shown.
  QFile::remove(drives.Native(AmountPath()));
  screen.Press("Command16");
  EXPECT_EQ(screen.Read(Box(7)), QStringLiteral("typed"));

  // One value short.
  drives.Put(AmountPath(), QByteArray("1\r\n").repeated(15));
  screen.Press("Command16");
  EXPECT_EQ(screen.Read(Box(7)), QStringLiteral("typed"));

  EXPECT_EQ(desktop.Summary(), (QStringList{"預貯金|ファイルが見つかりません。\nA①7.txt",
                                            "預貯金|ファイルにこれ以上データがありません。\nA①7.txt"}));
  EXPECT_FALSE(screen.HeldIsValid() && screen.Held().Of(FileRole::Text)[0].text == "from file");

  // More values than taken load; the stored total is shown as stored.
  drives.Put(AmountPath(), QByteArray("1\r\n").repeated(20));
  screen.Press("Command16");
  EXPECT_EQ(screen.Read(Box(7)), QStringLiteral("from file"));
  EXPECT_EQ(screen.Read("Text97"), QStringLiteral("1"));
}

TEST_F(DepositsScreenTest, TheClearingButtonsAndTheWordList) {
  screen.Write(Balance(1), "10");
  screen.Write(Box(8), "支店");
  screen.Press("Command17");
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 16));
  EXPECT_EQ(Texts()[1], QStringLiteral("\"支店\""));

  screen.Write(Box(99), "changed");
  screen.Press("Command3");
  Save();
  EXPECT_EQ(Texts(), Quoted(Repeated("", 75)));
  EXPECT_EQ(screen.Read(Box(99)), QStringLiteral("changed"));

  screen.Press("Command2");
  QStringList words;
  for (int n : {5, 99, 100, 101, 102}) words.append(screen.Read(Box(n)));
  EXPECT_EQ(words, (QStringList{"現　　　金", "当座預金", "普通預金", "定期預金", "定期積金"}));
}

TEST_F(DepositsScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("預貯金等の内訳書①"));
  EXPECT_EQ(screen.CaptionOf("Command1"), QStringLiteral("合　　　計"));
  EXPECT_EQ(screen.CaptionOf("Command17"), QStringLiteral("期末現在高"));
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  EXPECT_EQ(screen.Box(Balance(1)).alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(screen.Box(Box(7)).Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(screen.Box(Box(10)).Mode(), platform::InputMode::Unchanged);
  EXPECT_EQ(screen.Box(Balance(1)).Mode(), platform::InputMode::Unchanged);
  testing::ExpectNothingOverlapsOrIsClipped(screen);
}

}  // namespace
}  // namespace mirudanto::statements
