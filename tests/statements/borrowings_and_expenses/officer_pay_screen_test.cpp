#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QRegularExpression>

#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "statements/borrowings_and_expenses/officer_pay_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/faulty_file_system.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The boxes of the 50 amounts, in the order of the amount file.
const int kAmountBoxes[50] = {
    1,  2,  3,  4,  5,  56, 67,  // remuneration, total
    7,  8,  9,  10, 11, 57, 68,  // bonus expensed
    12, 13, 14, 15, 16, 58, 69,  // bonus appropriated
    17, 18, 19, 20, 6,  59, 70,  // row totals
    79, 80, 81, 82,              // personnel totals
    83, 84, 85, 86,              // family shares
    72, 73, 74, 75, 76, 77, 78,  // inner-outer amounts
    61, 62, 63, 64, 65, 66, 71,  // outer amounts
};
// Per officer: position, attendance, then remuneration, bonus expensed, bonus
// appropriated, row total, inner-outer, outer.
const int kOfficers[6][8] = {
    {26, 30, 1, 7, 12, 17, 72, 61}, {31, 35, 2, 8, 13, 18, 73, 62},
    {36, 40, 3, 9, 14, 19, 74, 63}, {41, 45, 4, 10, 15, 20, 75, 64},
    {46, 50, 5, 11, 16, 6, 76, 65}, {51, 55, 56, 57, 58, 59, 77, 66},
};

QStringList AmountBoxes() {
  QStringList boxes;
  for (int n : kAmountBoxes) boxes.append(Box(n));
  return boxes;
}

class OfficerPayScreenTest : public testing::EntryScreenTest<OfficerPayScreen> {
 protected:
  QStringList ShownAmounts() {
    QStringList shown;
    for (const QString& box : AmountBoxes()) shown.append(screen.Read(box));
    return shown;
  }
  QStringList ShownTexts() {
    QStringList shown;
    for (int n = 26; n <= 55; ++n) shown.append(screen.Read(Box(n)));
    return shown;
  }
};

TEST_F(OfficerPayScreenTest, AnUntouchedScreenSavesZerosAndThePrincipal) {
  EXPECT_EQ(ShownAmounts(), Repeated("　　", 50));
  testing::FaultyFileSystem files;

  Save();

  EXPECT_EQ(Amounts(), Repeated("0", 50));
  QStringList texts = Repeated("", 30);
  texts[2] = QStringLiteral("本人");
  EXPECT_EQ(Texts(), Quoted(texts));
  // The amount file is put in place before the text file, and read first.
  EXPECT_EQ(files.Log().filter("rename " + StatementFolder()),
            (QStringList{"rename " + AmountPath(), "rename " + TextPath()}));
  EXPECT_EQ(files.Log().filter("read"), (QStringList{"read " + AmountPath(), "read " + TextPath()}));
  EXPECT_EQ(ShownAmounts(), Repeated("", 50));
  EXPECT_EQ(screen.Read("Text28"), QStringLiteral("本人"));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(OfficerPayScreenTest, RowTotalsAddPayAndBothBonusesOnlyAndReplaceWhatWasTyped) {
  screen.Write(Box(1), "1,000,000");
  screen.Write(Box(7), "200,000");
  screen.Write(Box(12), "300000");
  screen.Write(Box(72), "50,000");
  screen.Write(Box(61), "30,000");
  screen.Write(Box(17), "999");  // typed over a row total
  // Letters over a column total: the save works it out anew and never reads it.
  screen.Write(Box(70), "abc");
  // Officer 6: a negative bonus, a blank pay.
  screen.Write(Box(56), "　");
  screen.Write(Box(58), "-700");
  screen.Write(Box(79), "5,000");
  screen.Write(Box(83), "2,000");
  screen.Write(Box(85), "-1");
  Save();

  QStringList expected = Repeated("0", 50);
  auto put = [&expected](int value, const char* number) { expected[value - 1] = number; };
  put(1, "1000000");
  put(7, "1000000");
  put(8, "200000");
  put(14, "200000");
  put(15, "300000");
  put(20, "-700");
  put(21, "299300");
  put(22, "1500000");
  put(27, "-700");
  put(28, "1499300");
  put(29, "5000");
  put(32, "5000");
  put(33, "2000");
  put(35, "-1");
  put(36, "1999");
  put(37, "50000");
  put(43, "50000");
  put(44, "30000");
  put(50, "30000");
  EXPECT_EQ(Amounts(), expected);
  EXPECT_EQ(screen.Read(Box(17)), QStringLiteral("1,500,000"));
  EXPECT_EQ(screen.Read(Box(59)), QStringLiteral("-700"));
  EXPECT_EQ(screen.Read(Box(70)), QStringLiteral("1,499,300"));
  EXPECT_EQ(screen.Read(Box(56)), QString());
  EXPECT_TRUE(desktop.boxes.empty());
}

// A load that stopped on a damaged file says which; the statement's figures
// are not on the screen, so a save over its files asks first.
TEST_F(OfficerPayScreenTest, ASaveAfterALoadThatStoppedOnADamagedFileAsksFirst) {
  screen.Write(Box(1), "1,000");
  Save();
  PutAmounts(Amounts().mid(0, 49));  // one value short
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  desktop.beeps = 0;

  screen.Unload();
  Load();
  EXPECT_EQ(desktop.Summary(),
            QStringList{"ミルダント|ファイルにこれ以上データがありません。\nA⑭7.txt"});

  // キャンセル: nothing written, nothing on the screen changed, no beep.
  screen.Write(Box(2), "5");
  const QStringList shown = ShownAmounts();
  desktop.boxes.clear();
  desktop.Answer("キャンセル");
  screen.Press("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(desktop.boxes.front().buttons, (QStringList{"OK", "キャンセル"}));
  EXPECT_EQ(drives.Get(TextPath()), texts);
  EXPECT_EQ(drives.Get(AmountPath()), amounts);
  EXPECT_EQ(ShownAmounts(), shown);
  EXPECT_EQ(desktop.beeps, 0);

  // OK saves as ever; the reload reads whole, so the next save asks nothing.
  desktop.boxes.clear();
  desktop.Answer("OK");
  screen.Press("Command2");
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(Amounts().mid(0, 2), (QStringList{"0", "5"}));
  EXPECT_EQ(desktop.beeps, 1);
  Save();
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(OfficerPayScreenTest, NoQuestionWhereThereIsNothingToOverwriteOrTheLoadWasOfAnotherCode) {
  // A company whose files do not exist yet.
  Load();
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|ファイルが見つかりません。\nA⑭7.txt"});
  Save();
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.beeps, 1);

  // The last load failed for code 8; the code now in the box is 7.
  Load("8");
  desktop.boxes.clear();
  Save();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(OfficerPayScreenTest, BytesThatAreNoCp932TextAreAFaultOfTheNamedFile) {
  Save();
  QByteArray bytes = drives.Get(TextPath());
  bytes.replace(0, 2, "\"\x80");
  drives.Put(TextPath(), bytes);
  desktop.boxes.clear();
  Load();
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|型が一致しません。\n⑭7.txt"});
}

// The save shows the row totals as plain digits; the reload formats them.
class DigitsProbe : public OfficerPayScreen {
 public:
  QStringList asSaved;

 protected:
  void AfterWrite() override {
    for (int n : {17, 18, 59, 70}) asSaved.append(Read(QStringLiteral("Text%1").arg(n)));
  }
};
using OfficerPayDigitsTest = testing::EntryScreenTest<DigitsProbe>;

TEST_F(OfficerPayDigitsTest, TheSaveWritesTheRowTotalsAsPlainDigits) {
  screen.Write(Box(1), "1,234,567");
  screen.Write(Box(58), "-5");
  Save();
  EXPECT_EQ(screen.asSaved, (QStringList{"1234567", "0", "-5", "1,234,562"}));
  EXPECT_EQ(screen.Read(Box(17)), QStringLiteral("1,234,567"));
  EXPECT_EQ(screen.Read(Box(18)), QString());
}

TEST_F(OfficerPayScreenTest, ALoadShowsBothFilesAsStoredOrNothingAtAll) {
  QStringList amounts;
  for (int v = 1; v <= 50; ++v) amounts.append(QString::number(v * 1000));
  PutAmounts(amounts + QStringList{"77"});  // one value more is ignored
  QStringList texts;
  for (int v = 1; v <= 30; ++v) texts.append(QStringLiteral("t%1").arg(v));
  PutTexts(Quoted(texts));
  Load();
  QStringList shown;
  for (int v = 1; v <= 50; ++v) shown.append(FormatAmount(v * 1000));
  // Totals and row totals as stored, not worked out again.
  EXPECT_EQ(ShownAmounts(), shown);
  EXPECT_EQ(ShownTexts(), texts);
  EXPECT_TRUE(desktop.boxes.empty());

  // A short amount file: one message, the text file not read, nothing shown.
  screen.Write(Box(27), "typed");
  PutAmounts(Repeated("1", 49));
  {
    testing::FaultyFileSystem files;
    Load();
    EXPECT_EQ(files.Log().filter("read "), QStringList{"read " + AmountPath()});
  }
  // A missing text file; a code beyond 16 bits.
  PutAmounts(Repeated("1", 50));
  QFile::remove(drives.Native(TextPath()));
  Load();
  Load("40000");
  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|ファイルにこれ以上データがありません。\nA⑭7.txt",
                         "ミルダント|ファイルが見つかりません。\n⑭7.txt",
                         "ミルダント|オーバーフローしました。"}));
  EXPECT_EQ(screen.Read(Box(27)), QStringLiteral("typed"));
  EXPECT_EQ(ShownAmounts(), shown);
}

TEST_F(OfficerPayScreenTest, ASaveThatFailsChangesNeitherFile) {
  Save();
  const QByteArray amounts = drives.Get(AmountPath());
  QFile::remove(drives.Native(TextPath()));
  QDir().mkdir(drives.Native(TextPath()));
  screen.Write(Box(1), "5");
  screen.Write(Box(27), "typed");
  desktop.beeps = 0;

  Save();

  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes.front().title, QStringLiteral("ミルダント"));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(drives.Get(AmountPath()), amounts);
  EXPECT_EQ(screen.Read(Box(1)), QStringLiteral("5"));
  EXPECT_EQ(screen.Read(Box(27)), QStringLiteral("typed"));

  Save("x");
  EXPECT_EQ(desktop.boxes.back().title, QStringLiteral("ミルダント"));

  // A row total beyond 32 bits is refused before anything is shown.
  QDir(drives.Native(TextPath())).removeRecursively();
  desktop.boxes.clear();
  screen.Write(Box(1), "2,147,483,647");
  screen.Write(Box(7), "1");
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(screen.Read(Box(17)), QStringLiteral("5"));  // as the failed write left it
  EXPECT_EQ(drives.Get(AmountPath()), amounts);
  EXPECT_EQ(desktop.beeps, 0);
}

// Once both files are in place the save stands; a commit that cannot be
// flushed is still reported, and a load shows what is stored.
TEST_F(OfficerPayScreenTest, ASaveWhoseCommitCannotBeFlushedIsReportedWithTheNewFilesStored) {
  Save();
  int commitFlush = 0;
  {
    testing::FaultyFileSystem files;
    screen.Write(Box(1), "5");
    Save();
    const QStringList log = files.Log();
    const qsizetype commit =
        log.indexOf("rename " + kDataRoot + QChar('\\') + platform::kDoneName);
    ASSERT_GT(commit, 0);
    ASSERT_EQ(log.value(commit + 1), "flush " + kDataRoot);
    commitFlush = static_cast<int>(log.mid(0, commit + 2).filter(QRegularExpression("^flush ")).size());
  }
  const QByteArray amounts = drives.Get(AmountPath());
  const QByteArray texts = drives.Get(TextPath());
  desktop.boxes.clear();
  desktop.beeps = 0;
  screen.Write(Box(1), "7");
  screen.Write(Box(27), "typed");
  {
    testing::FaultyFileSystem files;
    files.Fail(testing::FileOperation::FlushFolder, commitFlush, FailureKind::OtherIO);
    Save();
  }
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|デバイス I/O エラーです。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_NE(drives.Get(AmountPath()), amounts);
  EXPECT_NE(drives.Get(TextPath()), texts);
  Load();
  EXPECT_EQ(screen.Read(Box(1)), QStringLiteral("7"));
  EXPECT_EQ(screen.Read(Box(27)), QStringLiteral("typed"));
}

TEST_F(OfficerPayScreenTest, TheColumnButtonsEmptyTheirListsAndClearEmptiesEverything) {
  struct Case {
    const char* button;
    std::vector<int> emptied;
  };
  const Case cases[] = {
      {"Command35", {26, 31, 36, 41, 46, 51}},
      {"Command22", {30, 35, 40, 45, 50, 55}},
      {"Command17", {1, 2, 3, 4, 5, 56, 67}},
      {"Command1", {7, 8, 9, 10, 11, 57, 68, 72, 73, 74, 75, 76, 77, 78}},
      {"Command5", {12, 13, 14, 15, 16, 58, 69}},
      {"Command6", {17, 18, 19, 20, 6, 59, 70, 61, 62, 63, 64, 65, 66, 71}},
      {"Command20", {79, 80, 81, 82}},
      {"Command21", {83, 84, 85, 86}},
  };
  QStringList all = AmountBoxes();
  for (int n = 26; n <= 55; ++n) all.append(Box(n));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    for (const QString& box : all) screen.Write(box, "x");
    screen.Press(c.button);
    for (const QString& box : all) {
      const bool emptied = std::find(c.emptied.begin(), c.emptied.end(),
                                     box.mid(4).toInt()) != c.emptied.end();
      EXPECT_EQ(screen.Read(box), emptied ? QString() : QStringLiteral("x")) << box.toStdString();
    }
  }

  screen.Press("Command4");
  EXPECT_EQ(ShownAmounts(), Repeated("", 50));
  EXPECT_EQ(ShownTexts(), Repeated("", 30));
  EXPECT_EQ(screen.Read("Text22"), QStringLiteral("氏　　名"));
  Save();
  EXPECT_EQ(Texts(), Quoted(Repeated("", 30)));
}

TEST_F(OfficerPayScreenTest, TheWordButtonsWriteTheExactWordsIntoTheirOfficersBoxes) {
  const int buttons[6][4] = {{24, 23, 7, 8},    {26, 25, 9, 10},  {28, 27, 11, 12},
                             {30, 29, 13, 14}, {32, 31, 15, 16}, {34, 33, 18, 19}};
  for (int r = 0; r < 6; ++r) {
    const QString position = Box(kOfficers[r][0]);
    const QString attendance = Box(kOfficers[r][1]);
    screen.Write(position, "typed");
    screen.Press(QStringLiteral("Command%1").arg(buttons[r][1]));
    EXPECT_EQ(screen.Read(position), QStringLiteral("監査役"));
    screen.Press(QStringLiteral("Command%1").arg(buttons[r][0]));
    EXPECT_EQ(screen.Read(position), QStringLiteral("取締役"));
    screen.Press(QStringLiteral("Command%1").arg(buttons[r][2]));
    EXPECT_EQ(screen.Read(attendance), QStringLiteral("常勤"));
    screen.Press(QStringLiteral("Command%1").arg(buttons[r][3]));
    EXPECT_EQ(screen.Read(attendance), QStringLiteral("非常勤"));
  }
  screen.Write(Box(35), "常勤 ");
  Save();
  EXPECT_EQ(Texts()[4], QStringLiteral("\"非常勤\""));
  EXPECT_EQ(Texts()[9], QStringLiteral("\"常勤 \""));
  EXPECT_EQ(Texts()[20], QStringLiteral("\"取締役\""));
}

TEST_F(OfficerPayScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("役員報酬⑭"));
  const std::pair<const char*, const char*> captions[] = {
      {"Command3", "DATA"},       {"Command4", "クリア"},     {"Command2", "合　　計"},
      {"Command35", "役職名"},    {"Command22", "常・非"},    {"Command17", "報　　酬"},
      {"Command1", "損金経理"},   {"Command5", "利益金処分"}, {"Command6", "計"},
      {"Command20", "総　　額"},  {"Command21", "家 族 分"},  {"Text22", "氏　　名"},
      {"Text23", "関係"},         {"Text60", "賞　　　　　　　与"}, {"Text24", "住　　　　所"},
      {"Text93", "計"},           {"Text87", "役員報酬"},     {"Text88", "従業員給与"},
      {"Text89", "従業員賃金"},   {"Text90", "計"},           {"Label8", "内外"},
      {"Label14", "内外"},        {"Label1", "外"},           {"Label7", "外"},
  };
  for (const auto& [control, caption] : captions) {
    EXPECT_EQ(screen.CaptionOf(control), QString::fromUtf8(caption)) << control;
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int n = 26; n <= 55; ++n) {
    EXPECT_EQ(screen.Box(Box(n)).Mode(), platform::InputMode::Hiragana) << n;
  }
  for (const QString& box : AmountBoxes()) {
    EXPECT_EQ(screen.Box(box).Mode(), platform::InputMode::Unchanged);
    EXPECT_EQ(screen.Box(box).alignment() & Qt::AlignRight, Qt::AlignRight);
  }
  for (int n : {28, 30, 35, 40, 45, 50, 55}) {
    EXPECT_EQ(screen.Box(Box(n)).alignment() & Qt::AlignHCenter, Qt::AlignHCenter) << n;
  }
  EXPECT_EQ(screen.Box("Text72").palette().color(QPalette::Base), QColor(192, 255, 255));
  EXPECT_EQ(screen.Box("Text71").palette().color(QPalette::Base), QColor(192, 255, 255));
  EXPECT_EQ(screen.Box("Text70").palette().color(QPalette::Base), QColor(224, 224, 224));
  // Each officer's upper line above its lower, the officers downwards.
  for (int r = 0; r < 6; ++r) {
    EXPECT_LT(screen.Control(Box(kOfficers[r][6])).y(), screen.Control(Box(kOfficers[r][2])).y());
    if (r > 0) {
      EXPECT_GT(screen.Control(Box(kOfficers[r][6])).y(),
                screen.Control(Box(kOfficers[r - 1][2])).y());
    }
  }
  testing::ExpectNothingOverlapsOrIsClipped(
      screen, {{"Text30", {"非常勤"}}, {"Text26", {"監査役"}}});
}

}  // namespace
}  // namespace mirudanto::statements
