#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>

#include "core/statement_files.h"
#include "platform/screen.h"
#include "statements/general/deposits_screen.h"
#include "support/faulty_file_system.h"
#include "support/recording_desktop.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"
#include "support/temp_drives.h"

namespace mirudanto::statements {
namespace {

using testing::FileLines;
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

QString Box(int n) { return QStringLiteral("Text%1").arg(n); }
QString Balance(int row) { return Box(kTable[row - 1][4]); }

class DepositsScreenTest : public ::testing::Test {
 protected:
  DepositsScreenTest() : form2(platform::ScreenSet::Instance().Add<DepositsScreen>()) {
    drives.MakeFolder(StatementFolder());
  }
  ~DepositsScreenTest() override { platform::ScreenSet::Instance().Clear(); }

  void Save(const QString& code = "7") {
    form2.Write("Text146", code);
    form2.Press("Command1");
  }
  QStringList Texts() { return FileLines(drives, StatementTextFile(StatementMark::Deposits, 7)); }
  QStringList Amounts() {
    return FileLines(drives, StatementAmountFile(StatementMark::Deposits, 7));
  }

  testing::TempDrives drives;
  testing::RecordingDesktop desktop;
  DepositsScreen& form2;
};

TEST_F(DepositsScreenTest, AnUntouchedScreenSavesItsInitialTextsAndZeros) {
  Save();

  EXPECT_EQ(Texts(), Quoted(QStringList{"", "　", "　現　　金"} + Repeated("　", 72)));
  EXPECT_EQ(Amounts(), Repeated("0", 16));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(form2.Read(Balance(1)), QString());
  EXPECT_EQ(form2.Read("Text97"), QString());
  EXPECT_EQ(form2.Read(Box(9)), QStringLiteral("　現　　金"));
}

TEST_F(DepositsScreenTest, EveryValueOfTheFilesHasItsBoxFromTheTable) {
  // A distinct text in every cell: the file order shows the mapping.
  QStringList expectedTexts;
  for (int r = 0; r < 15; ++r) {
    for (int c : {0, 1, 2, 3, 5}) {
      const QString text = QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
      form2.Write(Box(kTable[r][c]), text);
      expectedTexts.append(text);
    }
    form2.Write(Box(kTable[r][4]), QString::number(r + 1));
  }
  Save();

  EXPECT_EQ(Texts(), Quoted(expectedTexts));
  QStringList expectedAmounts;
  for (int r = 1; r <= 15; ++r) expectedAmounts.append(QString::number(r));
  expectedAmounts.append("120");
  EXPECT_EQ(Amounts(), expectedAmounts);

  // Loaded into a fresh window, every value comes back into its own box.
  form2.Unload();
  form2.Write("Text146", "7");
  form2.Press("Command16");
  for (int r = 0; r < 15; ++r) {
    EXPECT_EQ(form2.Read(Box(kTable[r][5])), QStringLiteral("r%1c6").arg(r + 1));
  }
  EXPECT_EQ(form2.Read("Text97"), QStringLiteral("120"));
}

TEST_F(DepositsScreenTest, BalancesConvertByTheNumberRuleAndBadCellsCountAsZero) {
  const std::pair<const char*, int> cells[] = {
      {"300", 300},    {"700", 700},        {"1,000", 1000},     {"-500", -500},
      {"12.5", 12},    {"13.5", 14},        {"abc", 0},          {"2147483648", 0},
      {"　", 0},       {"", 0},             {"１，０００", 1000}, {" 2 ", 2},
  };
  int row = 1;
  int sum = 0;
  for (const auto& [text, value] : cells) {
    form2.Write(Balance(row++), QString::fromUtf8(text));
    sum += value;
  }
  Save();

  QStringList expected;
  for (const auto& cell : cells) expected.append(QString::number(cell.second));
  expected += Repeated("0", 15 - static_cast<int>(std::size(cells)));
  expected.append(QString::number(sum));
  EXPECT_EQ(Amounts(), expected);
  EXPECT_EQ(form2.Read(Balance(3)), QStringLiteral("1,000"));
  EXPECT_EQ(form2.Read(Balance(4)), QStringLiteral("-500"));
  EXPECT_EQ(form2.Read(Balance(7)), QString());
  EXPECT_EQ(form2.Read("Text97"), QStringLiteral("2,528"));
}

TEST_F(DepositsScreenTest, ATotalBeyondThirtyTwoBitsIsRefusedAndNothingIsWritten) {
  Save();
  const QStringList before = Amounts();
  form2.Write(Balance(1), "2,147,483,647");
  form2.Write(Balance(2), "1");
  desktop.beeps = 0;

  form2.Press("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|オーバーフローしました。"});
  EXPECT_EQ(Amounts(), before);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(form2.Read(Balance(1)), QStringLiteral("2,147,483,647"));
  EXPECT_EQ(form2.Read("Text97"), QString());
}

TEST_F(DepositsScreenTest, AFileThatCannotBeWrittenIsReportedWithoutReloadOrBeep) {
  drives.MakeFolder(kDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  form2.Write(Balance(1), "5");

  Save();

  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|パスが見つかりません。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(form2.Read(Balance(1)), QStringLiteral("5"));
}

TEST_F(DepositsScreenTest, ASaveWhoseFirstFileMeetsAFullDiskKeepsTheOldFiles) {
  Save();
  const QStringList texts = Texts();
  const QStringList amounts = Amounts();
  form2.Write(Box(7), "新しい銀行");
  form2.Write(Balance(1), "5");
  desktop.beeps = 0;
  testing::FaultyFileSystem files;
  files.Fail(testing::FileOperation::Write, 1, FailureKind::DiskFull);

  form2.Press("Command1");

  EXPECT_EQ(desktop.Summary(),
            QStringList{"預貯金|" + Failure::Describe(FailureKind::DiskFull)});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(Texts(), texts);
  EXPECT_EQ(Amounts(), amounts);
  // The amounts file is not tried once the texts have failed.
  EXPECT_EQ(files.Calls(testing::FileOperation::Write), 1);
  EXPECT_EQ(form2.Read(Box(7)), QStringLiteral("新しい銀行"));
}

TEST_F(DepositsScreenTest, ACodeBeyondSixteenBitsFailsTheLoadAndTheSave) {
  form2.Write("Text146", "40000");
  form2.Press("Command16");
  form2.Press("Command1");
  EXPECT_EQ(desktop.Summary(), (QStringList{"預貯金|オーバーフローしました。",
                                            "預貯金|オーバーフローしました。"}));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Deposits, 40000)));
}

TEST_F(DepositsScreenTest, ALoadShowsNothingUnlessEveryFileIsReadWhole) {
  Save();
  form2.Write(Box(7), "typed");
  drives.Put(StatementTextFile(StatementMark::Deposits, 7),
             QByteArray("\"from file\"\r\n").repeated(75));

  // The amount file is missing: the texts read are not shown.
  QFile::remove(drives.Native(StatementAmountFile(StatementMark::Deposits, 7)));
  form2.Press("Command16");
  EXPECT_EQ(form2.Read(Box(7)), QStringLiteral("typed"));

  // One value short.
  drives.Put(StatementAmountFile(StatementMark::Deposits, 7), QByteArray("1\r\n").repeated(15));
  form2.Press("Command16");
  EXPECT_EQ(form2.Read(Box(7)), QStringLiteral("typed"));

  EXPECT_EQ(desktop.Summary(), (QStringList{"預貯金|ファイルが見つかりません。",
                                            "預貯金|ファイルにこれ以上データがありません。"}));
  EXPECT_FALSE(form2.HeldIsValid() && form2.Held()[0][0].text == "from file");

  // More values than taken load; the stored total is shown as stored.
  drives.Put(StatementAmountFile(StatementMark::Deposits, 7), QByteArray("1\r\n").repeated(20));
  form2.Press("Command16");
  EXPECT_EQ(form2.Read(Box(7)), QStringLiteral("from file"));
  EXPECT_EQ(form2.Read("Text97"), QStringLiteral("1"));
}

TEST_F(DepositsScreenTest, TheClearingButtonsAndTheWordList) {
  form2.Write(Balance(1), "10");
  form2.Write(Box(8), "支店");
  form2.Press("Command17");
  Save();
  EXPECT_EQ(Amounts(), Repeated("0", 16));
  EXPECT_EQ(Texts()[1], QStringLiteral("\"支店\""));

  form2.Write(Box(99), "changed");
  form2.Press("Command3");
  Save();
  EXPECT_EQ(Texts(), Quoted(Repeated("", 75)));
  EXPECT_EQ(form2.Read(Box(99)), QStringLiteral("changed"));

  form2.Press("Command2");
  QStringList words;
  for (int n : {5, 99, 100, 101, 102}) words.append(form2.Read(Box(n)));
  EXPECT_EQ(words, (QStringList{"現　　　金", "当座預金", "普通預金", "定期預金", "定期積金"}));
}

TEST_F(DepositsScreenTest, TheScreenLooksAsDesigned) {
  form2.Show();
  EXPECT_EQ(form2.Window().windowTitle(), QStringLiteral("預貯金等の内訳書①"));
  EXPECT_EQ(form2.CaptionOf("Command1"), QStringLiteral("合　　　計"));
  EXPECT_EQ(form2.CaptionOf("Command17"), QStringLiteral("期末現在高"));
  EXPECT_FALSE(form2.IsControlVisible("Text146"));
  EXPECT_EQ(form2.Box(Balance(1)).alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(form2.Box(Box(7)).Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(form2.Box(Box(10)).Mode(), platform::InputMode::Unchanged);
  EXPECT_EQ(form2.Box(Balance(1)).Mode(), platform::InputMode::Unchanged);
  testing::ExpectNothingOverlapsOrIsClipped(
      form2, {{"Text97", {"-2,147,483,648"}}, {Balance(1), {"-2,147,483,648"}}});
}

}  // namespace
}  // namespace mirudanto::statements
