#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QPushButton>

#include "app/main_menu.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "statements/borrowings_and_expenses/borrowings_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"
#include "statements/loan_row_table.h"

namespace mirudanto::statements {
namespace {

using platform::ScreenSet;
using testing::Box;
using testing::Quoted;
using testing::Repeated;

// The boxes of each row, the same on both pages: lender, relationship,
// interest paid, address, closing balance, rate, reason, collateral.
const auto& kRows = testing::kLoanRowTable;
enum { kLender, kRelationship, kInterest, kAddress, kBalance, kRate, kReason, kCollateral };
// The texts of a row in file order.
const int kTextOrder[6] = {kLender, kRelationship, kAddress, kRate, kReason, kCollateral};

QString Cell(int row, int field) { return Box(kRows[row - 1][field]); }
QStringList Column(int field) {
  QStringList boxes;
  for (int r = 1; r <= 7; ++r) boxes.append(Cell(r, field));
  return boxes;
}
QStringList RowCells() {
  QStringList boxes;
  for (const auto& row : kRows) {
    for (int n : row) boxes.append(Box(n));
  }
  return boxes;
}
const QStringList kPage1Totals = {"Text72", "Text64"};
const QStringList kPage2Totals = {"Text72", "Text64", "Text67", "Text66", "Text8", "Text65"};

// Page 1 is the fixture's screen; page 2 and the main menu, whose openings
// the page switches press, join it.
class BorrowingsScreenTest : public testing::EntryScreenTest<BorrowingsPage1Screen> {
 protected:
  BorrowingsScreenTest()
      : page1(screen),
        page2(ScreenSet::Instance().Add<BorrowingsPage2Screen>()),
        menu(ScreenSet::Instance().Add<app::MainMenu>()) {
    drives.MakeFolder(CompanyFolder());
  }

  QStringList Shown(EntryScreen& page, const QStringList& boxes) {
    QStringList shown;
    for (const QString& box : boxes) shown.append(page.Read(box));
    return shown;
  }
  QStringList Carried() { return Shown(page2, {"Text72", "Text64"}); }
  QStringList Page2Files() {
    return Texts(StatementMark::Borrowings2) + Amounts(StatementMark::Borrowings2);
  }
  // Balances and interest typed into page 1's first rows, then saved.
  void SavePage1(const QStringList& balances, const QStringList& interest) {
    for (int r = 1; r <= balances.size(); ++r) page1.Write(Cell(r, kBalance), balances[r - 1]);
    for (int r = 1; r <= interest.size(); ++r) page1.Write(Cell(r, kInterest), interest[r - 1]);
    Save(page1);
  }
  void Open(const char* menuButton) {
    menu.Write("Text1", "7");
    menu.Press(menuButton);
  }

  BorrowingsScreen& page1;
  BorrowingsScreen& page2;
  app::MainMenu& menu;
};

TEST_F(BorrowingsScreenTest, UntouchedPagesSaveEmptyTextsAndZerosAndShowNothingAfterwards) {
  EXPECT_EQ(page1.Read(Cell(1, kBalance)), QStringLiteral("　　"));
  EXPECT_EQ(page1.Read(Cell(1, kInterest)), QString());
  Save(page1);
  EXPECT_EQ(Texts(StatementMark::Borrowings1), Quoted(Repeated("", 42)));
  EXPECT_EQ(Amounts(StatementMark::Borrowings1), Repeated("0", 16));
  EXPECT_EQ(Shown(page1, RowCells() + kPage1Totals), Repeated("", 58));
  // Page 1's save created page 2 hidden, with its carried boxes emptied.
  EXPECT_TRUE(page2.IsLoaded());
  EXPECT_FALSE(page2.IsShown());
  EXPECT_EQ(Carried(), Repeated("", 2));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Borrowings2, 7)));

  page2.Unload();
  EXPECT_EQ(page2.Read("Text8"), QStringLiteral("　　"));
  Save(page2);
  EXPECT_EQ(Texts(StatementMark::Borrowings2), Quoted(Repeated("", 42)));
  EXPECT_EQ(Amounts(StatementMark::Borrowings2), Repeated("0", 18));
  EXPECT_EQ(Shown(page2, RowCells() + kPage2Totals), Repeated("", 62));
  EXPECT_EQ(page2.Read("Text69"), QStringLiteral("前頁小計"));
  EXPECT_EQ(desktop.beeps, 2);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BorrowingsScreenTest, EveryValueOfBothPagesHasItsOwnBox) {
  for (BorrowingsScreen* page : {&page1, &page2}) {
    const bool first = page == &page1;
    const StatementMark mark = first ? StatementMark::Borrowings1 : StatementMark::Borrowings2;
    SCOPED_TRACE(first ? "page 1" : "page 2");
    QStringList texts;
    for (int r = 1; r <= 7; ++r) {
      for (int field : kTextOrder) {
        const QString text = QStringLiteral("r%1v%2").arg(r).arg(texts.size() + 1);
        page->Write(Cell(r, field), text);
        texts.append(text);
      }
      page->Write(Cell(r, kBalance), QString::number(r * 100));
      page->Write(Cell(r, kInterest), QString::number(r));
    }
    if (!first) {
      page->Write("Text72", "5,000");
      page->Write("Text64", "50");
    }
    Save(*page);

    EXPECT_EQ(Texts(mark), Quoted(texts));
    const QStringList balances = {"100", "200", "300", "400", "500", "600", "700"};
    const QStringList interest = {"1", "2", "3", "4", "5", "6", "7"};
    const QStringList stored = first ? balances + QStringList{"2800"} + interest +
                                           QStringList{"28"}
                                     : balances + QStringList{"5000", "7800"} + interest +
                                           QStringList{"50", "78"};
    EXPECT_EQ(Amounts(mark), stored);

    // Into a fresh window, each value comes back into its own box.
    page->Unload();
    Load(*page);
    for (int r = 1; r <= 7; ++r) {
      for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(page->Read(Cell(r, kTextOrder[v])), texts[(r - 1) * 6 + v]);
      }
      EXPECT_EQ(page->Read(Cell(r, kBalance)), QString::number(r * 100));
      EXPECT_EQ(page->Read(Cell(r, kInterest)), QString::number(r));
    }
  }
  EXPECT_EQ(Shown(page1, kPage1Totals), (QStringList{"2,800", "28"}));
  EXPECT_EQ(Shown(page2, kPage2Totals),
            (QStringList{"5,000", "50", "2,800", "28", "7,800", "78"}));
}

TEST_F(BorrowingsScreenTest, Page1TotalsItsCellsAndCarriesThemWithoutTouchingPage2sFiles) {
  Save(page2);
  const QStringList page2Files = Page2Files();
  page2.Write(Cell(1, kLender), "typed on page 2");

  SavePage1({"1,234", "", "　　", " "}, {"", "", "", "", "", "", ""});

  EXPECT_EQ(Amounts(StatementMark::Borrowings1),
            QStringList({"1234", "0", "0", "0", "0", "0", "0", "1234"}) + Repeated("0", 8));
  EXPECT_EQ(page1.Read("Text72"), QStringLiteral("1,234"));
  EXPECT_EQ(page1.Read("Text64"), QString());
  EXPECT_EQ(page1.Read(Cell(2, kBalance)), QString());
  EXPECT_EQ(Carried(), (QStringList{"1,234", ""}));
  EXPECT_EQ(page2.Read(Cell(1, kLender)), QStringLiteral("typed on page 2"));
  EXPECT_EQ(Page2Files(), page2Files);

  // A negative total is carried with its sign; a rate stays a text.
  page1.Write(Cell(3, kRate), "2.5%");
  SavePage1({"-5,000"}, {"-3", "1"});
  EXPECT_EQ(Carried(), (QStringList{"-5,000", "-2"}));
  EXPECT_EQ(Amounts(StatementMark::Borrowings1).value(7), QStringLiteral("-5000"));
  EXPECT_EQ(Amounts(StatementMark::Borrowings1).value(15), QStringLiteral("-2"));
  EXPECT_EQ(Texts(StatementMark::Borrowings1).value(15), QStringLiteral("\"2.5%\""));
  EXPECT_EQ(page1.Read(Cell(3, kRate)), QStringLiteral("2.5%"));
  EXPECT_EQ(desktop.beeps, 3);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BorrowingsScreenTest, Page1LoadsAndCarriesItsStoredTotalsOrIsLeftEmpty) {
  PutTexts(Quoted(Repeated("t", 42)));
  PutAmounts(QStringList{"10", "0", "0", "0", "0", "0", "0", "999"} + Repeated("0", 7) +
             QStringList{"-4"});
  Load(page1);
  // The totals as stored, here and on page 2.
  EXPECT_EQ(Shown(page1, kPage1Totals), (QStringList{"999", "-4"}));
  EXPECT_EQ(Carried(), (QStringList{"999", "-4"}));
  EXPECT_EQ(page1.Read(Cell(7, kCollateral)), QStringLiteral("t"));

  // The amount file missing while the text file is whole: page 1 is emptied
  // and page 2 keeps what it had.
  QFile::remove(drives.Native(AmountPath()));
  Load(page1);
  EXPECT_EQ(Shown(page1, RowCells() + kPage1Totals), Repeated("", 58));
  EXPECT_EQ(Carried(), (QStringList{"999", "-4"}));

  // A code beyond 16 bits empties nothing.
  page1.Write(Cell(1, kLender), "typed");
  Load(page1, "40000");
  EXPECT_EQ(page1.Read(Cell(1, kLender)), QStringLiteral("typed"));
  EXPECT_EQ(desktop.Summary(), (QStringList{"借入金|ファイルが見つかりません。\nA⑪一7.txt",
                                            "借入金|オーバーフローしました。"}));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(BorrowingsScreenTest, Page2WorksOutItsSumsAndGrandTotalsOnLoadAndTakesTheCarriedBoxes) {
  const StatementMark two = StatementMark::Borrowings2;
  PutLines(drives, StatementTextFile(two, 7), Quoted(Repeated("", 42)));
  // Stored grand totals that disagree with the rows are never shown.
  PutLines(drives, StatementAmountFile(two, 7),
           QStringList{"100", "200", "0", "0", "0", "0", "0", "1000", "1"} +
               QStringList{"5", "0", "0", "0", "0", "0", "0", "20", "2"});
  Load(page2);
  EXPECT_EQ(Shown(page2, kPage2Totals),
            (QStringList{"1,000", "20", "300", "5", "1,300", "25"}));
  EXPECT_TRUE(desktop.boxes.empty());

  // The save takes the carried boxes as they stand.
  page2.Write("Text72", "1,234,567");
  page2.Write("Text64", "");
  Save(page2);
  EXPECT_EQ(Amounts(two).mid(7, 2), (QStringList{"1234567", "1234867"}));
  EXPECT_EQ(Amounts(two).mid(16, 2), (QStringList{"0", "5"}));
  EXPECT_EQ(Shown(page2, kPage2Totals),
            (QStringList{"1,234,567", "", "300", "5", "1,234,867", "5"}));

  // "期末現在高" empties the carried balance but not the sums; the next save
  // stores no carried balance.
  page2.Press("Command17");
  const QStringList afterClear = Repeated("", 8) + QStringList{"300", "1,234,867"};
  EXPECT_EQ(Shown(page2, Column(kBalance) + QStringList{"Text72", "Text67", "Text8"}), afterClear);
  Save(page2);
  EXPECT_EQ(Amounts(two).mid(0, 9), Repeated("0", 9));
}

TEST_F(BorrowingsScreenTest, Page2IsLeftEmptyByALoadThatFailsAfterItsClear) {
  const StatementMark two = StatementMark::Borrowings2;
  auto type = [&] {
    page2.Write(Cell(2, kLender), "typed");
    page2.Write("Text72", "9");
  };
  PutLines(drives, StatementTextFile(two, 7), Quoted(Repeated("t", 42)));
  struct Case {
    QStringList amounts;  // empty: no amount file
    const char* failure;
  };
  const Case cases[] = {
      {{}, "ファイルが見つかりません。\nA⑪二7.txt"},
      {Repeated("0", 17), "ファイルにこれ以上データがありません。\nA⑪二7.txt"},
      {QStringList{"abc"} + Repeated("0", 17), "型が一致しません。\nA⑪二7.txt"},
      // The page's sum plus the carried balance leaves 32 bits.
      {QStringList{"2147483647", "0", "0", "0", "0", "0", "0", "1", "0"} + Repeated("0", 9),
       "オーバーフローしました。"},
      {QStringList{"2147483647", "1"} + Repeated("0", 16), "オーバーフローしました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    QFile::remove(drives.Native(StatementAmountFile(two, 7)));
    if (!c.amounts.isEmpty()) PutLines(drives, StatementAmountFile(two, 7), c.amounts);
    desktop.boxes.clear();
    type();
    Load(page2);
    EXPECT_EQ(desktop.Summary(), QStringList{QStringLiteral("借入金|") + c.failure});
    EXPECT_EQ(Shown(page2, RowCells() + kPage2Totals), Repeated("", 62));
  }
  type();
  Load(page2, "x");
  EXPECT_EQ(page2.Read(Cell(2, kLender)), QStringLiteral("typed"));
}

TEST_F(BorrowingsScreenTest, TheColumnButtonsEmptyTheirListsAndPage1sInterestReachesPage2) {
  struct Case {
    bool onPage1;
    const char* button;
    QStringList page1Emptied;
    QStringList page2Emptied;
  };
  const Case cases[] = {
      {true, "Command17", Column(kBalance) + QStringList{"Text72"}, {}},
      {true, "Command36", Column(kInterest) + QStringList{"Text64"},
       Column(kInterest) + QStringList{"Text64", "Text65", "Text66"}},
      {true, "Command35", Column(kRate), {}},
      {true, "Command26", Column(kReason), {}},
      {true, "Command27", Column(kCollateral), {}},
      {true, "Command4", RowCells() + kPage1Totals, {}},
      {false, "Command17", {}, Column(kBalance) + QStringList{"Text72"}},
      {false, "Command36", {}, Column(kInterest) + QStringList{"Text64", "Text65", "Text66"}},
      {false, "Command35", {}, Column(kRate) + QStringList{"Text66"}},
      {false, "Command26", {}, Column(kReason)},
      {false, "Command27", {}, Column(kCollateral)},
      {false, "Command4", {}, RowCells() + kPage2Totals},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.onPage1 ? "page 1 " : "page 2 ") + c.button);
    for (const QString& box : RowCells() + kPage1Totals) page1.Write(box, "x");
    for (const QString& box : RowCells() + kPage2Totals) page2.Write(box, "x");
    (c.onPage1 ? page1 : page2).Press(c.button);
    for (const QString& box : RowCells() + kPage1Totals) {
      EXPECT_EQ(page1.Read(box), c.page1Emptied.contains(box) ? "" : "x") << box.toStdString();
    }
    for (const QString& box : RowCells() + kPage2Totals) {
      EXPECT_EQ(page2.Read(box), c.page2Emptied.contains(box) ? "" : "x") << box.toStdString();
    }
  }
  EXPECT_EQ(page2.Read("Text146"), QString());
  EXPECT_EQ(page2.Read("Text70"), QStringLiteral("小　　計"));
}

TEST_F(BorrowingsScreenTest, EachWordButtonWritesItsWordIntoItsOwnRow) {
  // "運転", "設備", "信用", "証書" of each row.
  const int buttons[7][4] = {{6, 5, 1, 28},    {9, 8, 7, 29},    {12, 11, 10, 30},
                             {15, 14, 13, 31}, {19, 18, 16, 32}, {22, 21, 20, 33},
                             {25, 24, 23, 34}};
  const char* words[4] = {"運転資金", "設備資金", "信用借入", "証書借入"};
  for (BorrowingsScreen* page : {&page1, &page2}) {
    for (int r = 1; r <= 7; ++r) {
      for (int w = 0; w < 4; ++w) {
        const QString cell = Cell(r, w < 2 ? kReason : kCollateral);
        for (const QString& box : RowCells()) page->Write(box, "typed");
        page->Press(QStringLiteral("Command%1").arg(buttons[r - 1][w]));
        for (const QString& box : RowCells()) {
          EXPECT_EQ(page->Read(box), box == cell ? QString::fromUtf8(words[w]) : "typed")
              << page->Name().toStdString() << " " << buttons[r - 1][w] << " " << box.toStdString();
        }
      }
    }
  }
}

TEST_F(BorrowingsScreenTest, OpeningPage2ShowsPage1sSavedTotalsBesideItsOwnStoredGrandTotals) {
  SavePage1({"1,000"}, {"10"});
  page2.Write(Cell(1, kBalance), "5");
  Save(page2);  // carries 1,000 and 10 into A⑪二
  SavePage1({"3,000"}, {"30"});
  const QStringList page1Files =
      Texts(StatementMark::Borrowings1) + Amounts(StatementMark::Borrowings1);
  const QStringList page2Files = Page2Files();
  desktop.beeps = 0;

  Open("Command22");

  EXPECT_TRUE(page2.IsShown());
  EXPECT_TRUE(page1.IsLoaded());
  EXPECT_FALSE(page1.IsShown());
  // 前頁小計 is page 1's, 総計 still adds what page 2 stored.
  EXPECT_EQ(Shown(page2, kPage2Totals), (QStringList{"3,000", "30", "5", "", "1,005", "10"}));

  // "借入金⑪その１呼出": page 1 saves from its hidden screen, with one beep.
  page2.Press("Command37");
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(Texts(StatementMark::Borrowings1) + Amounts(StatementMark::Borrowings1), page1Files);
  EXPECT_EQ(Page2Files(), page2Files);
  EXPECT_EQ(Shown(page2, kPage2Totals), (QStringList{"3,000", "30", "5", "", "1,005", "10"}));
  Save(page2);
  EXPECT_EQ(Amounts(StatementMark::Borrowings2).mid(7, 2), (QStringList{"3000", "3005"}));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BorrowingsScreenTest, CallingPage1TotalsNeverSavesAPage1WhoseLoadFailed) {
  Save(page2);
  SavePage1({"1,000"}, {});
  // The amount file one value short, the text file whole.
  PutAmounts(Amounts().mid(0, 15));
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  desktop.beeps = 0;

  Open("Command22");
  ASSERT_EQ(desktop.Summary(),
            QStringList{"借入金|ファイルにこれ以上データがありません。\nA⑪一7.txt"});
  page2.Press("Command37");

  EXPECT_EQ(desktop.Summary(),
            Repeated("借入金|ファイルにこれ以上データがありません。\nA⑪一7.txt", 2));
  EXPECT_EQ(drives.Get(TextPath()), texts);
  EXPECT_EQ(drives.Get(AmountPath()), amounts);
  EXPECT_EQ(desktop.beeps, 0);

  // Once page 1 loads again, the call saves it.
  PutAmounts(Repeated("0", 16));
  Open("Command22");
  page2.Press("Command37");
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(desktop.boxes.size(), 2u);
}

TEST_F(BorrowingsScreenTest, ThePageSwitchesLoseWhatWasTypedAndOutliveTheirOwnPage) {
  SavePage1({"1,000"}, {"10"});
  page1.Write(Cell(1, kLender), "saved");
  Save(page1);
  Save(page2);
  auto click = [](platform::Screen& page, const char* button) {
    // The user's click, through the button's own signal.
    page.ControlAs<QPushButton>(button).click();
    platform::DeleteDiscardedWindows();
  };

  Open("Command17");
  ASSERT_TRUE(page1.IsShown());
  EXPECT_EQ(Carried(), (QStringList{"1,000", "10"}));
  page1.Write(Cell(1, kLender), "typed");
  click(page1, "Command37");
  EXPECT_TRUE(page2.IsShown());
  EXPECT_FALSE(page1.IsShown());
  EXPECT_EQ(page1.Read(Cell(1, kLender)), QStringLiteral("saved"));

  page2.Write(Cell(1, kLender), "typed");
  click(page2, "Command38");
  EXPECT_TRUE(page1.IsShown());
  EXPECT_FALSE(page2.IsShown());
  EXPECT_EQ(page1.Read(Cell(1, kLender)), QStringLiteral("saved"));
  EXPECT_EQ(page2.Read(Cell(1, kLender)), QString());
  EXPECT_EQ(Carried(), (QStringList{"1,000", "10"}));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(BorrowingsScreenTest, ASaveThatFailsChangesNoFileAndCarriesNothing) {
  SavePage1({"1,000"}, {"10"});
  const QByteArray texts = drives.Get(TextPath());
  QFile::remove(drives.Native(AmountPath()));
  QDir().mkdir(drives.Native(AmountPath()));
  desktop.beeps = 0;

  SavePage1({"2,000"}, {"20"});

  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes.front().title, QStringLiteral("借入金"));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_EQ(drives.Get(TextPath()), texts);
  EXPECT_EQ(Carried(), (QStringList{"1,000", "10"}));
  EXPECT_EQ(page1.Read(Cell(1, kBalance)), QStringLiteral("2,000"));

  Save(page1, "40000");
  Save(page2, "40000");
  EXPECT_EQ(desktop.Summary().mid(1), Repeated("借入金|オーバーフローしました。", 2));
  EXPECT_FALSE(drives.Exists(StatementTextFile(StatementMark::Borrowings2, 40000)));

  // A total beyond 32 bits is refused before anything is shown, written or
  // carried: page 1's column, page 2's sum with the carried balance.
  QDir(drives.Native(AmountPath())).removeRecursively();
  desktop.boxes.clear();
  SavePage1({"2,147,483,647", "1"}, {});
  page2.Write(Cell(1, kBalance), "2,147,483,647");
  page2.Write("Text72", "1");
  Save(page2);
  EXPECT_EQ(desktop.Summary(), Repeated("借入金|オーバーフローしました。", 2));
  EXPECT_EQ(Carried(), (QStringList{"1", "10"}));
  EXPECT_EQ(page1.Read("Text72"), QStringLiteral("2,000"));  // as the failed write left it
  EXPECT_FALSE(drives.Exists(AmountPath()));
  EXPECT_FALSE(drives.Exists(StatementAmountFile(StatementMark::Borrowings2, 7)));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(BorrowingsScreenTest, BothPagesLookAsDesigned) {
  const QColor cyan(192, 255, 255);
  const QColor grey(224, 224, 224);
  for (BorrowingsScreen* page : {&page1, &page2}) {
    const bool first = page == &page1;
    SCOPED_TRACE(first ? "page 1" : "page 2");
    page->Show();
    EXPECT_EQ(page->Window().windowTitle(), first ? QStringLiteral("借入金⑪-その１")
                                                  : QStringLiteral("借入金⑪-その２"));
    std::vector<std::pair<const char*, const char*>> captions = {
        {"Command3", "DATA"},       {"Command4", "クリア"},       {"Command2", "合　　計"},
        {"Command17", "期末現在高"}, {"Command36", "支払利子額"}, {"Command35", "利　　率"},
        {"Command26", "借入理由"},   {"Command27", "担保の内容"}, {"Text2", "借　入　先"},
        {"Text3", "関　係"},         {"Text4", "所　在　地（住所）"}, {"Command6", "運転"},
        {"Command5", "設備"},        {"Command1", "信用"},        {"Command28", "証書"},
    };
    if (first) {
      captions.push_back({"Command37", "借入金その２"});
    } else {
      captions.insert(captions.end(), {{"Command37", "借入金⑪その１呼出"},
                                       {"Command38", "借入金その１"},
                                       {"Text70", "小　　計"},
                                       {"Text69", "前頁小計"},
                                       {"Text68", "総　　計"}});
    }
    for (const auto& [control, caption] : captions) {
      EXPECT_EQ(page->CaptionOf(control), QString::fromUtf8(caption)) << control;
    }
    EXPECT_FALSE(page->IsControlVisible("Text146"));
    for (int r = 1; r <= 7; ++r) {
      for (int field : {kLender, kRelationship, kAddress, kCollateral}) {
        EXPECT_EQ(page->Box(Cell(r, field)).Mode(), platform::InputMode::Hiragana);
      }
      for (int field : {kInterest, kBalance, kRate, kReason}) {
        EXPECT_EQ(page->Box(Cell(r, field)).Mode(), platform::InputMode::Unchanged);
      }
      for (int field : {kInterest, kBalance, kRate}) {
        EXPECT_EQ(page->Box(Cell(r, field)).alignment() & Qt::AlignRight, Qt::AlignRight);
      }
      EXPECT_EQ(page->Box(Cell(r, kInterest)).palette().color(QPalette::Base), cyan);
      // A row's upper line above its lower, the rows downwards.
      EXPECT_LT(page->Control(Cell(r, kLender)).y(), page->Control(Cell(r, kAddress)).y());
      if (r > 1) {
        EXPECT_GT(page->Control(Cell(r, kLender)).y(),
                  page->Control(Cell(r - 1, kAddress)).y());
      }
    }
    EXPECT_EQ(page->Box("Text64").palette().color(QPalette::Base), cyan);
    EXPECT_EQ(page->Box("Text72").palette().color(QPalette::Base), grey);
    if (!first) {
      EXPECT_EQ(page->Box("Text8").palette().color(QPalette::Base), grey);
      EXPECT_EQ(page->Box("Text65").palette().color(QPalette::Base), cyan);
      EXPECT_EQ(page->ControlAs<QPushButton>("Command37").palette().color(QPalette::Button),
                QColor(255, 192, 255));
    }
    testing::ExpectNothingOverlapsOrIsClipped(
        *page, {{"Text14", {"運転資金"}}, {"Text15", {"信用借入"}}});
  }
}

}  // namespace
}  // namespace mirudanto::statements
