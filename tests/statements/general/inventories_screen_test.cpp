#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QRadioButton>
#include <QSet>

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/drives.h"
#include "statements/general/inventories_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The screen's grid: account, item, quantity, unit price, balance, remarks.
const int kTable[5][6] = {
    {7, 8, 9, 10, 11, 12},    {5, 13, 14, 15, 16, 17},  {18, 19, 20, 21, 22, 23},
    {24, 25, 26, 27, 28, 29}, {30, 31, 32, 33, 34, 35},
};
const int kTextColumns[5] = {0, 1, 2, 3, 5};

QString Balance(int row) { return Box(kTable[row - 1][4]); }

// The ⑤ file of an untouched screen after its six numbers.
QStringList DesignTexts() {
  return Quoted(QStringList{"商　　品", "", "", "", "明細書会社保存"} + Repeated("", 20));
}

class InventoriesScreenTest : public testing::EntryScreenTest<InventoriesScreen> {
 protected:
  // The user's own click on "DATA": the load reports nothing itself, the
  // click reports what escapes it.
  void ClickLoad(const QString& code = "7") {
    screen.Write(screen.Layout().codeBox, code);
    screen.RunUserAction(screen.Layout().loadButton);
  }
  QStringList Numbers() { return Texts().mid(0, 6); }
  QStringList Date() {
    return {screen.Read("Text37"), screen.Read("Text38"), screen.Read("Text39")};
  }
  void TypeDate(const QString& year, const QString& month, const QString& day) {
    screen.Write("Text37", year);
    screen.Write("Text38", month);
    screen.Write("Text39", day);
  }
  QRadioButton& Option(int k) {
    return screen.ControlAs<QRadioButton>(QStringLiteral("Option%1").arg(k));
  }
  int Selected() {
    for (int k = 1; k <= 3; ++k) {
      if (Option(k).isChecked()) return k;
    }
    return 0;
  }
  // A ⑤ file with these six numbers and the design texts.
  void PutNumbers(const QStringList& numbers, CompanyCode code = 7) {
    testing::PutLines(drives, StatementTextFile(mark, code), numbers + DesignTexts());
  }
};

TEST_F(InventoriesScreenTest, AnUntouchedScreenSavesItsDesignContents) {
  Save();

  EXPECT_EQ(Texts(), QStringList({"13", "5", "31", "1", "0", "0"}) + DesignTexts());
  EXPECT_EQ(drives.Get(AmountPath()), QByteArray("0\r\n").repeated(6));
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(Date(), (QStringList{"13", "5", "31"}));
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(screen.Read(Balance(r)), QString());
  EXPECT_EQ(screen.Read("Text36"), QString());
  EXPECT_EQ(screen.Read(Box(7)), QStringLiteral("商　　品"));
  EXPECT_EQ(Selected(), 1);
}

TEST_F(InventoriesScreenTest, EveryValueOfTheFilesHasItsBoxFromTheTable) {
  QStringList all;
  for (const auto& row : kTable) {
    for (int n : row) all.append(Box(n));
  }
  all += QStringList{"Text1", "Text2", "Text3", "Text4", "Text6", "Text36", "Text37", "Text38",
                     "Text39", "Text146"};
  EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size());
  for (const QString& box : all) EXPECT_TRUE(screen.HasControl(box)) << box.toStdString();

  QStringList expected = {"20", "3", "15", "1", "0", "0"};
  TypeDate("20", "3", "15");
  for (int r = 0; r < 5; ++r) {
    for (int c : kTextColumns) {
      const QString text = QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
      screen.Write(Box(kTable[r][c]), text);
      expected.append(QChar('"') + text + QChar('"'));
    }
    // Row 4 counts like every other.
    screen.Write(Box(kTable[r][4]), QString::number((r + 1) * 10));
  }
  Save();

  EXPECT_EQ(Texts(), expected);
  EXPECT_EQ(Amounts(), (QStringList{"10", "20", "30", "40", "50", "150"}));

  screen.Unload();
  Load();
  for (int r = 0; r < 5; ++r) {
    for (int c : kTextColumns) {
      EXPECT_EQ(screen.Read(Box(kTable[r][c])), QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1));
    }
    EXPECT_EQ(screen.Read(Box(kTable[r][4])), QString::number((r + 1) * 10));
  }
  EXPECT_EQ(screen.Read("Text36"), QStringLiteral("150"));
  EXPECT_EQ(Date(), (QStringList{"20", "3", "15"}));
}

TEST_F(InventoriesScreenTest, TheDateIsStoredAsSixteenBitNumbersWithItsOwnFallbacks) {
  struct Case {
    const char* typed[3];
    QStringList stored;
  };
  const Case cases[] = {
      {{"13", "05", "31"}, {"13", "5", "31"}},
      {{"", "　", " \t"}, {"13", "6", "9"}},
      {{"-32768", "4.5", "5.5"}, {"-32768", "4", "6"}},
      {{"１２", "1,0", " 7 "}, {"12", "10", "7"}},
      {{"32767", "-32768", "0"}, {"32767", "-32768", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed[0]);
    TypeDate(c.typed[0], c.typed[1], c.typed[2]);
    Save();
    EXPECT_EQ(Numbers().mid(0, 3), c.stored);
    EXPECT_EQ(Date(), c.stored);
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(InventoriesScreenTest, ADateBoxThatDoesNotConvertRefusesTheSaveAndShowsTheBox) {
  Save();
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  desktop.beeps = 0;
  const QString overflow = QStringLiteral("棚卸資産|オーバーフローしました。");
  const QString mismatch = QStringLiteral("棚卸資産|型が一致しません。");
  struct Case {
    const char* typed[3];
    const char* refusedBox;
    QString message;
  };
  const Case cases[] = {
      {{"令和7", "5", "31"}, "Text37", mismatch},
      {{"H13", "5", "31"}, "Text37", mismatch},
      {{"70000", "5", "31"}, "Text37", overflow},
      {{"13", "-32769", "31"}, "Text38", overflow},
      {{"13", "5", "末日"}, "Text39", mismatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed[0] + std::string(" ") + c.typed[1] + " " + c.typed[2]);
    desktop.boxes.clear();
    TypeDate(c.typed[0], c.typed[1], c.typed[2]);
    screen.Write(Balance(1), "5");
    Save();
    EXPECT_EQ(desktop.Summary(), QStringList{c.message});
    EXPECT_EQ(screen.Window().focusWidget(), &screen.Box(c.refusedBox));
    // Nothing shown, nothing written: the boxes keep what was typed.
    EXPECT_EQ(Date(), (QStringList{c.typed[0], c.typed[1], c.typed[2]}));
    EXPECT_EQ(screen.Read("Text36"), QString());
    EXPECT_EQ(drives.Get(TextPath()), texts);
    EXPECT_EQ(drives.Get(AmountPath()), amounts);
  }
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(InventoriesScreenTest, TheDateButtons) {
  struct Case {
    const char* button;
    const char* before[3];
    const char* after[3];  // the boxes right after the press
    QStringList stored;
  };
  const Case cases[] = {
      {"Command4", {"14", "3", "1"}, {"", "", "30"}, {"13", "6", "30"}},
      {"Command5", {"14", "3", "1"}, {"", "", "31"}, {"13", "6", "31"}},
      {"Command6", {"14", "3", "1"}, {"0", "0", "0"}, {"0", "0", "0"}},
      {"Command7", {"13", "3", "1"}, {"14", "3", "1"}, {"14", "3", "1"}},
      {"Command7", {"", "3", "1"}, {"1", "3", "1"}, {"1", "3", "1"}},
      {"Command7", {"abc", "3", "1"}, {"1", "3", "1"}, {"1", "3", "1"}},
      {"Command7", {"-1", "3", "1"}, {"0", "3", "1"}, {"0", "3", "1"}},
      {"Command7", {"2147483647", "3", "1"}, {"1", "3", "1"}, {"1", "3", "1"}},
      // A year beyond 16 bits that "翌期" wrote is refused by the save.
      {"Command7", {"32767", "3", "1"}, {"32768", "3", "1"}, {}},
      {"Command7", {"2147483646", "3", "1"}, {"2147483647", "3", "1"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " " + c.before[0]);
    desktop.boxes.clear();
    TypeDate(c.before[0], c.before[1], c.before[2]);
    screen.RunUserAction(c.button);
    EXPECT_EQ(Date(), (QStringList{c.after[0], c.after[1], c.after[2]}));
    const QStringList before = Numbers();
    Save();
    if (c.stored.isEmpty()) {
      EXPECT_EQ(desktop.Summary(), QStringList{"棚卸資産|オーバーフローしました。"});
      EXPECT_EQ(Numbers(), before);
    } else {
      EXPECT_TRUE(desktop.boxes.empty());
      EXPECT_EQ(Numbers().mid(0, 3), c.stored);
    }
  }
}

TEST_F(InventoriesScreenTest, TheMethodOptionsSetTheFlagsTheSaveWrites) {
  Option(3).click();
  EXPECT_EQ(Selected(), 3);
  Save();
  EXPECT_EQ(Numbers().mid(3), (QStringList{"0", "0", "1"}));
  EXPECT_EQ(Selected(), 3);

  // A click on the option already selected keeps it.
  Option(3).click();
  Option(2).click();
  Save();
  EXPECT_EQ(Numbers().mid(3), (QStringList{"0", "1", "0"}));
}

TEST_F(InventoriesScreenTest, ALoadRestoresTheMethodFromTheFlags) {
  drives.Put(AmountPath(), QByteArray("0\r\n").repeated(6));
  struct Case {
    QStringList flags;
    int selectedBefore;
    int selectedAfter;
    QStringList saved;
  };
  const Case cases[] = {
      {{"0", "1", "0"}, 1, 2, {"0", "1", "0"}},
      {{"0", "0", "1"}, 1, 3, {"0", "0", "1"}},
      // The first flag that is 1 decides.
      {{"1", "1", "0"}, 3, 1, {"1", "0", "0"}},
      {{"0", "1", "1"}, 1, 2, {"0", "1", "0"}},
      // No flag 1: the option stays as shown, the flags as read.
      {{"0", "0", "0"}, 2, 2, {"0", "0", "0"}},
      {{"2", "-1", "0"}, 3, 3, {"2", "-1", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags.join(",").toStdString());
    Option(c.selectedBefore).click();
    PutNumbers(QStringList{"13", "5", "31"} + c.flags);
    ClickLoad();
    EXPECT_EQ(Selected(), c.selectedAfter);
    screen.Press("Command1");
    EXPECT_EQ(Numbers().mid(3), c.saved);
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(InventoriesScreenTest, ANewWindowStartsWithTheFlagsOfItsSelectedOption) {
  // Another company's statement, saved with "上記併用", was the last one read.
  drives.Put(StatementAmountFile(StatementMark::Inventories, 8), QByteArray("0\r\n").repeated(6));
  PutNumbers({"13", "5", "31", "0", "0", "1"}, 8);
  ClickLoad("8");
  EXPECT_EQ(Selected(), 3);
  screen.Unload();

  Save();

  EXPECT_EQ(Numbers().mid(3), (QStringList{"1", "0", "0"}));
}

TEST_F(InventoriesScreenTest, TheClearingButtons) {
  Option(2).click();
  screen.Write(Balance(1), "10");
  screen.Write(Box(8), "品");
  TypeDate("20", "3", "15");
  screen.Press("Command17");
  EXPECT_EQ(Date(), (QStringList{"", "3", "15"}));
  EXPECT_EQ(screen.Read(Balance(1)), QString());
  Save();
  EXPECT_EQ(Numbers(), (QStringList{"13", "3", "15", "0", "1", "0"}));
  EXPECT_EQ(Amounts(), Repeated("0", 6));
  EXPECT_EQ(Texts()[7], QStringLiteral("\"品\""));

  screen.Write(Balance(4), "10");
  screen.Press("Command3");
  EXPECT_EQ(Date(), (QStringList{"", "", ""}));
  EXPECT_EQ(screen.Read("Text1"), QStringLiteral("科　目"));
  Save();
  EXPECT_EQ(Texts(), QStringList({"13", "6", "9", "0", "1", "0"}) + Quoted(Repeated("", 25)));
  EXPECT_EQ(Amounts(), Repeated("0", 6));
  EXPECT_EQ(Selected(), 2);
}

TEST_F(InventoriesScreenTest, BalancesAndTheirTotal) {
  // Quantity and unit price are never multiplied; a blank cell counts 0.
  screen.Write(Box(9), "3");
  screen.Write(Box(10), "1,000");
  screen.Write(Balance(2), "　");
  screen.Write(Balance(3), "1,234.5");
  screen.Write(Balance(4), "-34");
  Save();
  EXPECT_EQ(Amounts(), (QStringList{"0", "0", "1234", "-34", "0", "1200"}));
  EXPECT_EQ(Texts()[8], QStringLiteral("\"3\""));
  EXPECT_EQ(screen.Read("Text36"), QStringLiteral("1,200"));
  EXPECT_EQ(screen.Read(Balance(2)), QString());

  // A total beyond 32 bits: nothing is written, nothing typed changes.
  const QStringList before = Texts();
  desktop.beeps = 0;
  screen.Write(Balance(1), "2147483647");
  screen.Write(Balance(5), "1");
  screen.Write("Text38", "05");
  screen.Press("Command1");
  EXPECT_EQ(desktop.Summary(), QStringList{"棚卸資産|オーバーフローしました。"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(Texts(), before);
  EXPECT_EQ(screen.Read("Text38"), QStringLiteral("05"));
  EXPECT_EQ(screen.Read("Text36"), QStringLiteral("1,200"));
}

TEST_F(InventoriesScreenTest, TheSaveReportsItsFailuresUnderItsTitleWithoutBeeping) {
  // A code beyond 16 bits.
  Save("40000");
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Inventories, 40000)));

  // A folder that is missing.
  drives.MakeFolder(kDataRoot);
  QDir(drives.Native(StatementFolder())).removeRecursively();
  screen.Write("Text38", "05");
  Save();
  EXPECT_EQ(screen.Read("Text38"), QStringLiteral("05"));

  EXPECT_EQ(desktop.Summary(), (QStringList{"棚卸資産|オーバーフローしました。",
                                            "棚卸資産|パスが見つかりません。"}));
  EXPECT_EQ(desktop.beeps, 0);
}

// The same screen whose files go missing between the save's writing and its
// reload.
class VanishingInventoriesScreen : public InventoriesScreen {
 protected:
  void AfterWrite() override {
    InventoriesScreen::AfterWrite();
    QFile::remove(platform::Drives::Translate(StatementAmountFile(StatementMark::Inventories, 7)));
  }
};

using InventoriesScreenReloadTest = testing::EntryScreenTest<VanishingInventoriesScreen>;

TEST_F(InventoriesScreenReloadTest, AReloadThatFailsIsAFailureOfTheSave) {
  screen.Write("Text146", "7");
  screen.RunUserAction("Command1");

  EXPECT_EQ(desktop.Summary(), QStringList{"棚卸資産|ファイルが見つかりません。\nA⑤7.txt"});
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_TRUE(drives.Exists(TextPath()));
}

TEST_F(InventoriesScreenTest, TheLoadLeavesItsFailuresToWhoeverPressedIt) {
  Save();
  screen.Write(Box(8), "typed");
  TypeDate("1", "2", "3");
  Option(3).click();

  // Pressed from code, the failure goes on to the presser.
  QFile::remove(drives.Native(AmountPath()));
  EXPECT_THROW(Load(), Failure);

  // Clicked by the user, it is reported under the system's title.
  ClickLoad();
  ClickLoad("40000");
  drives.Put(AmountPath(), QByteArray("0\r\n").repeated(6));
  PutNumbers({"40000", "5", "31", "1", "0", "0"});
  ClickLoad();
  PutNumbers({"13", "5", "31", "x", "0", "0"});
  ClickLoad();
  drives.Put(TextPath(), QByteArray("13\r\n5\r\n31\r\n1\r\n0\r\n0\r\n") +
                             QByteArray("\"\"\r\n").repeated(24));
  ClickLoad();

  EXPECT_EQ(desktop.Summary(),
            (QStringList{"ミルダント|ファイルが見つかりません。\nA⑤7.txt",
                         "ミルダント|オーバーフローしました。",
                         "ミルダント|オーバーフローしました。\n⑤7.txt",
                         "ミルダント|型が一致しません。\n⑤7.txt",
                         "ミルダント|ファイルにこれ以上データがありません。\n⑤7.txt"}));
  // Nothing of the files was shown, and the method stays as clicked.
  EXPECT_EQ(screen.Read(Box(8)), QStringLiteral("typed"));
  EXPECT_EQ(Date(), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Selected(), 3);
  screen.Press("Command1");
  EXPECT_EQ(Numbers().mid(3), (QStringList{"0", "0", "1"}));
}

TEST_F(InventoriesScreenTest, TheScreenLooksAsDesigned) {
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), QStringLiteral("棚卸資産⑤"));
  const std::pair<const char*, const char*> captions[] = {
      {"Command1", "合　　　計"}, {"Command2", "DATA"},   {"Command3", "クリア"},
      {"Command17", "期末現在高"}, {"Command4", "30日"},  {"Command5", "31日"},
      {"Command6", "00日"},       {"Command7", "翌期"},    {"Option1", "実地棚卸"},
      {"Option2", "帳簿棚卸"},    {"Option3", "上記併用"}, {"Label4", "棚卸を行った時期"},
      {"Label1", "年"},           {"Label2", "月"},        {"Label3", "日"},
      {"Text1", "科　目"},        {"Text2", "品　　　目"}, {"Text3", "数　量"},
      {"Text4", "単　価"},        {"Text6", "摘　　　要"},
  };
  for (const auto& [control, caption] : captions) {
    EXPECT_EQ(screen.CaptionOf(control), QString::fromUtf8(caption)) << control;
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  for (int r = 0; r < 5; ++r) {
    for (int c : {0, 1, 5}) {
      EXPECT_EQ(screen.Box(Box(kTable[r][c])).Mode(), platform::InputMode::Hiragana);
    }
    for (int c : {2, 3, 4}) {
      EXPECT_EQ(screen.Box(Box(kTable[r][c])).Mode(), platform::InputMode::Unchanged);
    }
  }
  for (const char* box : {"Text11", "Text36", "Text37", "Text38", "Text39"}) {
    EXPECT_EQ(screen.Box(box).alignment() & Qt::AlignRight, Qt::AlignRight) << box;
    EXPECT_EQ(screen.Box(box).Mode(), platform::InputMode::Unchanged) << box;
  }

  // The stocktaking controls stand in the frame, below the grid.
  auto& frame = screen.ControlAs<QGroupBox>("Frame1");
  for (const char* control : {"Option1", "Option2", "Option3", "Label4", "Text37", "Text38",
                              "Text39", "Label1", "Label2", "Label3", "Command4", "Command5",
                              "Command6", "Command7"}) {
    EXPECT_EQ(screen.Control(control).parentWidget(), &frame) << control;
  }
  EXPECT_GT(frame.y(), screen.Control("Command1").geometry().bottom());

  // No two visible controls overlap, in the window or in the frame, and none
  // leaves its parent.
  testing::ExpectNothingOverlapsOrIsClipped(screen);
  const QList<QWidget*> controls =
      frame.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (qsizetype i = 0; i < controls.size(); ++i) {
    if (controls[i]->isHidden() || controls[i]->objectName().isEmpty()) continue;
    EXPECT_TRUE(frame.rect().contains(controls[i]->geometry()))
        << controls[i]->objectName().toStdString();
    for (qsizetype j = i + 1; j < controls.size(); ++j) {
      if (controls[j]->isHidden() || controls[j]->objectName().isEmpty()) continue;
      EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
          << controls[i]->objectName().toStdString() << " "
          << controls[j]->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace mirudanto::statements
