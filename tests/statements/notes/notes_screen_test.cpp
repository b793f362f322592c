#include <gtest/gtest.h>

#include <QPushButton>

#include "app/main_menu.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "statements/notes/notes_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using platform::ScreenSet;
using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The boxes of rows 1 to 13 per field, as the notes screens list them.
const int kDrawer[13] = {7, 14, 23, 32, 41, 50, 59, 68, 77, 86, 95, 104, 113};
const int kIssue[13] = {8, 13, 22, 31, 40, 49, 58, 67, 76, 85, 94, 103, 108};
const int kDue[13] = {1, 15, 24, 33, 42, 51, 60, 69, 78, 87, 96, 105, 114};
const int kBank[13] = {9, 12, 21, 30, 39, 48, 57, 66, 75, 84, 93, 102, 112};
const int kBranch[13] = {10, 6, 20, 29, 38, 47, 56, 65, 74, 83, 92, 101, 111};
const int kAmount[13] = {11, 5, 19, 28, 37, 46, 55, 64, 73, 82, 91, 100, 110};
const int kDiscountBank[13] = {3, 17, 26, 35, 44, 53, 62, 71, 80, 89, 98, 109, 117};
const int kDiscountBranch[13] = {2, 16, 25, 34, 43, 52, 61, 70, 79, 88, 97, 106, 115};
const int kRemarks[13] = {4, 18, 27, 36, 45, 54, 63, 72, 81, 90, 99, 107, 116};

// Page 1 is the fixture's screen; page 2, the payables and the main menu that
// switches the pages join it.
class NotesScreenTest : public testing::EntryScreenTest<NotesReceivablePage1Screen> {
 protected:
  NotesScreenTest()
      : page1(screen),
        page2(ScreenSet::Instance().Add<NotesReceivablePage2Screen>()),
        payable(ScreenSet::Instance().Add<NotesPayableScreen>()),
        menu(ScreenSet::Instance().Add<app::MainMenu>()) {
    drives.MakeFolder(CompanyFolder());
  }

  // Puts one row per amount (0 for an empty row), each text naming its row.
  void Rows(NotesScreen& screen, const std::vector<int>& amounts) {
    for (int r = 0; r < 13; ++r) {
      screen.Write(Box(kAmount[r]), QString::number(amounts[static_cast<std::size_t>(r)]));
      screen.Write(Box(kDrawer[r]), QStringLiteral("d%1").arg(r + 1));
      screen.Write(Box(kRemarks[r]), QStringLiteral("m%1").arg(r + 1));
      if (&screen != &payable) screen.Write(Box(kDiscountBank[r]), QStringLiteral("b%1").arg(r + 1));
    }
    Save(screen);
  }
  // Each row after tidying as "drawer:amount", empty rows as ":0".
  QStringList Grid(NotesScreen& screen) {
    QStringList rows;
    for (int r = 0; r < 13; ++r) {
      rows.append(screen.Read(Box(kDrawer[r])) + ":" +
                  QString::number(ReadAmountCell(screen.Read(Box(kAmount[r])))));
    }
    return rows;
  }
  void Tidy(NotesScreen& screen) {
    screen.Press(&screen == &payable ? "Command5" : "Command7");
  }

  NotesScreen& page1;
  NotesScreen& page2;
  NotesScreen& payable;
  app::MainMenu& menu;
};

TEST_F(NotesScreenTest, UntouchedPagesSaveTheirInitialTexts) {
  Save(page1);
  QStringList page1Texts;
  for (int value = 1; value <= 104; ++value) {
    const bool empty = value <= 13 || (value >= 40 && value <= 52) || value == 65;
    page1Texts.append(empty ? "" : "　");
  }
  EXPECT_EQ(Texts(StatementMark::NotesReceivable), Quoted(page1Texts));
  EXPECT_EQ(Amounts(StatementMark::NotesReceivable), Repeated("0", 14));

  Save(payable);
  QStringList payableTexts;
  for (int value = 1; value <= 104; ++value) {
    const bool blank = value <= 65 || (value >= 80 && value <= 91);
    payableTexts.append(blank ? "　" : "");
  }
  EXPECT_EQ(Texts(StatementMark::NotesPayable), Quoted(payableTexts));
  EXPECT_EQ(desktop.beeps, 2);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(NotesScreenTest, EveryBoxHoldsItsOwnValueOnBothStatements) {
  struct Field {
    const int* boxes;
    int (*value)(int r);
    bool payable;
  };
  const Field fields[] = {
      {kDrawer, [](int r) { return r; }, true},
      {kIssue, [](int r) { return 12 + 2 * r; }, true},
      {kDue, [](int r) { return 13 + 2 * r; }, true},
      {kBank, [](int r) { return 39 + r; }, true},
      {kBranch, [](int r) { return 52 + r; }, true},
      {kDiscountBank, [](int r) { return 65 + r; }, false},
      {kDiscountBranch, [](int r) { return 78 + r; }, false},
  };
  for (NotesScreen* screen : {&page1, &payable}) {
    const bool isPayable = screen == &payable;
    QStringList expected = Repeated("", 104);
    for (const Field& field : fields) {
      if (isPayable && !field.payable) continue;
      for (int r = 1; r <= 13; ++r) {
        const QString text = QStringLiteral("v%1").arg(field.value(r));
        screen->Write(Box(field.boxes[r - 1]), text);
        expected[field.value(r) - 1] = text;
      }
    }
    for (int r = 1; r <= 13; ++r) {
      const int value = isPayable ? 78 + r : 91 + r;
      screen->Write(Box(kRemarks[r - 1]), QStringLiteral("v%1").arg(value));
      expected[value - 1] = QStringLiteral("v%1").arg(value);
      screen->Write(Box(kAmount[r - 1]), QString::number(r * 10));
    }
    Save(*screen);
    const StatementMark mark = isPayable ? StatementMark::NotesPayable : StatementMark::NotesReceivable;
    EXPECT_EQ(Texts(mark), Quoted(expected));
    QStringList amounts;
    for (int r = 1; r <= 13; ++r) amounts.append(QString::number(r * 10));
    amounts.append("910");
    EXPECT_EQ(Amounts(mark), amounts);
    EXPECT_EQ(screen->Read(Box(kRemarks[12])), QStringLiteral("v%1").arg(isPayable ? 91 : 104));
    EXPECT_EQ(screen->Read("Text118"), QStringLiteral("910"));
  }
}

TEST_F(NotesScreenTest, ThePayablesValuesWithoutABoxGoBackAsReadOnlyForTheirOwnCompany) {
  QStringList stored = Repeated("x", 104);
  for (int value = 1; value <= 104; ++value) stored[value - 1] = QStringLiteral("s%1").arg(value);
  ValueWriter texts;
  for (const QString& text : stored) texts.WriteText(text);
  platform::SaveValueFile(StatementTextFile(StatementMark::NotesPayable, 7), texts);
  ValueWriter amounts;
  for (int k = 0; k < 14; ++k) amounts.WriteNumber(0);
  platform::SaveValueFile(StatementAmountFile(StatementMark::NotesPayable, 7), amounts);

  Load(payable);
  payable.Press("Command4");  // クリア
  Save(payable);
  const QStringList saved = Texts(StatementMark::NotesPayable);
  EXPECT_EQ(saved[65], QStringLiteral("\"s66\""));
  EXPECT_EQ(saved[103], QStringLiteral("\"s104\""));
  EXPECT_EQ(saved[0], QStringLiteral("\"\""));

  // Saved under another code, the first company's hidden values stay behind.
  Save(payable, "8");
  const QStringList other = Texts(StatementMark::NotesPayable, 8);
  EXPECT_EQ(other[65], QStringLiteral("\"\""));
  EXPECT_EQ(other[103], QStringLiteral("\"\""));
}

TEST_F(NotesScreenTest, TidyingClosesUpRowsSixPlacesAPress) {
  struct Case {
    const char* what;
    std::vector<int> amounts;
    QStringList after;
  };
  auto rows = [](std::initializer_list<const char*> filled) {
    QStringList grid = Repeated(":0", 13);
    int r = 0;
    for (const char* row : filled) grid[r++] = QString::fromUtf8(row);
    return grid;
  };
  QStringList lastOnly = Repeated(":0", 13);
  lastOnly[6] = "d13:5";
  QStringList blocks = Repeated(":0", 13);
  blocks[1] = "d8:8";
  blocks[2] = "d9:9";
  blocks[3] = "d10:10";
  blocks[6] = "d13:13";
  QStringList negative = Repeated(":0", 13);
  negative[1] = "d2:-2";
  negative[2] = "d3:3";
  QStringList negativeFirst = Repeated(":0", 13);
  negativeFirst[0] = "d1:-1";
  negativeFirst[1] = "d3:3";
  const Case cases[] = {
      {"gap in the middle", {1, 2, 3, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0},
       rows({"d1:1", "d2:2", "d3:3", "d5:5", "d6:6"})},
      {"only the last row", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, lastOnly},
      {"a block and a single row", {0, 0, 0, 0, 0, 0, 0, 8, 9, 10, 0, 0, 13}, blocks},
      {"a negative row never moves", {0, -2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, negative},
      {"rows close up to a negative one", {-1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       negativeFirst},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rows(page1, c.amounts);
    Tidy(page1);
    EXPECT_EQ(Grid(page1), c.after);
  }
  // A second press brings the last row to the top; its other texts come along.
  Rows(page1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5});
  Tidy(page1);
  Tidy(page1);
  EXPECT_EQ(Grid(page1), rows({"d13:5"}));
  EXPECT_EQ(page1.Read(Box(kDiscountBank[0])), QStringLiteral("b13"));
  EXPECT_EQ(page1.Read(Box(kRemarks[0])), QStringLiteral("m13"));
  EXPECT_EQ(page1.Read(Box(kRemarks[12])), QString());
  EXPECT_EQ(Texts(StatementMark::NotesReceivable)[0], QStringLiteral("\"d13\""));
  EXPECT_EQ(Amounts(StatementMark::NotesReceivable).back(), QStringLiteral("5"));
}

TEST_F(NotesScreenTest, TidyingOnThePayablesMovesTheHiddenValuesWithTheirRow) {
  ValueWriter texts;
  for (int value = 1; value <= 104; ++value) texts.WriteText(QStringLiteral("s%1").arg(value));
  platform::SaveValueFile(StatementTextFile(StatementMark::NotesPayable, 7), texts);
  ValueWriter amounts;
  for (int r = 1; r <= 13; ++r) amounts.WriteNumber(r == 2 ? 50 : 0);
  amounts.WriteNumber(50);
  platform::SaveValueFile(StatementAmountFile(StatementMark::NotesPayable, 7), amounts);
  Load(payable);

  Tidy(payable);

  const QStringList saved = Texts(StatementMark::NotesPayable);
  EXPECT_EQ(saved[0], QStringLiteral("\"s2\""));    // payee of row 2 now in row 1
  EXPECT_EQ(saved[65], QStringLiteral("\"s67\""));  // value 65+r follows its row
  EXPECT_EQ(saved[78], QStringLiteral("\"s80\""));  // remarks 78+r
  EXPECT_EQ(saved[91], QStringLiteral("\"s93\""));  // value 91+r
  EXPECT_EQ(saved[66], QStringLiteral("\"\""));
  EXPECT_EQ(Amounts(StatementMark::NotesPayable).front(), QStringLiteral("50"));
}

TEST_F(NotesScreenTest, TidyingWorksOnlyOnRowsOfTheCompanyOnTheScreen) {
  Rows(page1, {0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const QStringList before = Texts(StatementMark::NotesReceivable);
  desktop.beeps = 0;

  page1.Write("Text146", "8");
  Tidy(page1);
  page1.Write("Text146", "abc");
  Tidy(page1);

  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable, 8)));
  EXPECT_EQ(Texts(StatementMark::NotesReceivable), before);
}

// The arrays kept from the last load that read whole are not what the damaged
// files hold: the tidying asks before it moves a row, and its save asks no more.
TEST_F(NotesScreenTest, TidyingAfterAFailedLoadAsksBeforeAnyRowMoves) {
  Rows(page1, {0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  testing::PutLines(drives, StatementAmountFile(StatementMark::NotesReceivable, 7),
                    Repeated("0", 13));
  const QByteArray texts = drives.Get(StatementTextFile(StatementMark::NotesReceivable, 7));
  const QByteArray amounts = drives.Get(StatementAmountFile(StatementMark::NotesReceivable, 7));
  Load(page1);
  const QStringList shown = Grid(page1);
  desktop.boxes.clear();
  desktop.beeps = 0;

  desktop.Answer("キャンセル");
  Tidy(page1);
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(Grid(page1), shown);
  EXPECT_EQ(drives.Get(StatementTextFile(StatementMark::NotesReceivable, 7)), texts);
  EXPECT_EQ(drives.Get(StatementAmountFile(StatementMark::NotesReceivable, 7)), amounts);
  EXPECT_EQ(desktop.beeps, 0);

  desktop.boxes.clear();
  Tidy(page1);  // answered OK
  EXPECT_EQ(desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(Grid(page1)[0], QStringLiteral("d2:5"));
  EXPECT_EQ(Amounts(StatementMark::NotesReceivable).front(), QStringLiteral("5"));
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(NotesScreenTest, TheClearingButtonsAndTheFailureTitles) {
  page1.Write(Box(kIssue[0]), "1.1");
  page1.Write(Box(kDue[12]), "2.2");
  page1.Write(Box(kBank[0]), "銀行");
  page1.Press("Command6");
  EXPECT_EQ(page1.Read(Box(kIssue[0])), QString());
  EXPECT_EQ(page1.Read(Box(kDue[12])), QString());
  EXPECT_EQ(page1.Read(Box(kBank[0])), QStringLiteral("銀行"));
  page1.Press("Command4");
  EXPECT_EQ(page1.Read(Box(kBank[0])), QString());
  EXPECT_EQ(page1.Read("Text140"), QStringLiteral("振　出　人"));

  Save(page1, "40000");
  Save(payable, "40000");
  page1.Press("Command3");
  EXPECT_EQ(desktop.Summary(), (QStringList{"受取手形|オーバーフローしました。",
                                            "ミルダント|オーバーフローしました。",
                                            "ミルダント|オーバーフローしました。"}));
}

TEST_F(NotesScreenTest, TheScreensLookAsDesigned) {
  const std::pair<NotesScreen*, const char*> screens[] = {
      {&page1, "受取手形②"}, {&page2, "受取手形②その２"}, {&payable, "支払手形⑧"}};
  for (const auto& [screen, caption] : screens) {
    screen->Show();
    EXPECT_EQ(screen->Window().windowTitle(), QString::fromUtf8(caption));
    testing::ExpectNothingOverlapsOrIsClipped(*screen);
  }
  EXPECT_EQ(page1.CaptionOf("Command5"), QStringLiteral("受取手形②"));
  EXPECT_EQ(page2.CaptionOf("Command5"), QStringLiteral("受取手形①"));
  EXPECT_EQ(payable.CaptionOf("Command5"), QStringLiteral("整理整頓"));
  EXPECT_EQ(page1.Box(Box(kDrawer[0])).TypingLimit(), 8);
  EXPECT_EQ(page1.Box(Box(kIssue[0])).font().pointSizeF(), 9);
  EXPECT_EQ(page1.Box(Box(kDrawer[0])).font().pointSizeF(), 11.25);
  EXPECT_EQ(page1.Box(Box(kBank[0])).Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(page1.Box(Box(kDue[0])).Mode(), platform::InputMode::Unchanged);
  EXPECT_EQ(payable.Box(Box(kDrawer[0])).TypingLimit(), 0);
}

class NotesPagesTest : public NotesScreenTest {
 protected:
  NotesPagesTest() {
    CompanyRecord record;
    record.code = 7;
    record.name = "見本";
    platform::SaveValueFile(CompanyMasterFile(7), CompanyRecordWriter(record));
    record.code = 8;
    platform::SaveValueFile(CompanyMasterFile(8), CompanyRecordWriter(record));
    menu.Load();
  }
  void OpenPage2(const QString& code) {
    menu.Write("Text1", code);
    menu.Press("Command34");
  }
};

TEST_F(NotesPagesTest, APage2NeverSavedReportsThenHasItsFilesAfterTheFirstSave) {
  OpenPage2("7");
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|ファイルが見つかりません。\n②2nd7.txt"});
  EXPECT_TRUE(page2.IsShown());
  EXPECT_EQ(page2.Read(Box(kDiscountBank[0])), QStringLiteral("　"));

  page2.Press("Command2");
  EXPECT_TRUE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable2nd, 7)));
  EXPECT_TRUE(drives.Exists(StatementAmountFile(StatementMark::NotesReceivable2nd, 7)));
  OpenPage2("7");
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(NotesPagesTest, Page2NeverCarriesOneCompanysRowsToAnother) {
  OpenPage2("7");
  page2.Write(Box(kDrawer[0]), "七の振出人");
  page2.Write(Box(kAmount[0]), "700");
  page2.Press("Command2");
  desktop.boxes.clear();

  OpenPage2("8");  // company 8 has no page 2
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|ファイルが見つかりません。\n②2nd8.txt"});
  EXPECT_EQ(page2.Read(Box(kDrawer[0])), QString());
  EXPECT_EQ(page2.Read(Box(kAmount[0])), QStringLiteral("　　"));
  page2.Press("Command7");  // nothing of company 7 to tidy under code 8
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::NotesReceivable2nd, 8)));
}

TEST_F(NotesPagesTest, ThePagesSwitchThroughTheMainMenuAndPage2OutlivesTheOpenings) {
  Save(page1);
  menu.Write("Text1", "7");
  menu.Press("Command1");
  page1.Show();
  page2.Write("Text146", "7");
  page2.Press("Command2");  // page 2 has files now

  // Page 1's own button unloads page 1 while its click runs.
  page1.ControlAs<QPushButton>("Command5").click();
  platform::DeleteDiscardedWindows();
  EXPECT_FALSE(page1.IsLoaded());
  EXPECT_TRUE(page2.IsShown());

  page2.Write(Box(kDrawer[0]), "typed, not saved");
  page2.ControlAs<QPushButton>("Command5").click();
  platform::DeleteDiscardedWindows();
  EXPECT_TRUE(page1.IsShown());
  EXPECT_TRUE(page2.IsLoaded());
  EXPECT_EQ(page2.Read(Box(kDrawer[0])), QStringLiteral("typed, not saved"));

  menu.Press("Command23");  // UnloadScreens leaves page 2 alone
  EXPECT_TRUE(page2.IsLoaded());
  EXPECT_FALSE(page1.IsLoaded());

  page1.Write("Text146", "7");
  page1.Show();
  page1.ControlAs<QPushButton>("Command5").click();
  platform::DeleteDiscardedWindows();
  EXPECT_EQ(page2.Read(Box(kDrawer[0])), QString());  // reloaded from its files
  EXPECT_EQ(desktop.Summary(), QStringList());
}

}  // namespace
}  // namespace mirudanto::statements
