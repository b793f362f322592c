#include <gtest/gtest.h>

#include <QRegularExpression>
#include <map>
#include <set>

#include "core/amount.h"
#include "core/failure.h"
#include "printing/blank_a4/page_table.h"
#include "support/failure_of.h"
#include "support/print_company.h"
#include "support/printed_operations.h"
#include "support/qt_printers.h"

namespace mirudanto::printing::blank_a4 {
namespace {

using testing::FailureOf;
using testing::Edit;
using testing::Is;
using testing::SetAmount;
using testing::TempDrives;
using M = StatementMark;
using S = PrintStatement;
constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;

// The width of n characters of the fixed-pitch face: digits and "-" half an em.
double HalfEms(int n, double points) { return n * 0.5 * points * 25.4 / 72; }

// A text as it lands on the page, with the font in force.
struct Placed {
  double x, y;
  QString text;
  QString font;
  double points;
};

struct Page {
  std::vector<Placed> texts;
  std::vector<DrawLine> lines;
  std::vector<SetFont> fonts;

  std::vector<Placed> Named(const QString& text) const {
    std::vector<Placed> found;
    for (const Placed& placed : texts) {
      if (placed.text == text) found.push_back(placed);
    }
    return found;
  }
  bool Has(const QString& text, double x, double y, double points) const {
    for (const Placed& placed : Named(text)) {
      if (std::abs(placed.x - x) < 1e-4 && std::abs(placed.y - y) < 1e-4 &&
          placed.points == points) {
        return true;
      }
    }
    return false;
  }
  int LinesOf(LineClass lineClass) const {
    int count = 0;
    for (const DrawLine& line : lines) count += line.dots == static_cast<int>(lineClass) ? 1 : 0;
    return count;
  }
};

Page Recorded(const std::vector<Operation>& operations) {
  Page page;
  QString font;
  double points = 0;
  for (const Operation& operation : operations) {
    if (const auto* set = std::get_if<SetFont>(&operation)) {
      font = set->name;
      points = set->points;
      page.fonts.push_back(*set);
    } else if (const auto* text = std::get_if<PutText>(&operation)) {
      page.texts.push_back({text->x, text->y, text->text, font, points});
    } else {
      page.lines.push_back(std::get<DrawLine>(operation));
    }
  }
  return page;
}

class BlankA4PagesTest : public ::testing::Test {
 protected:
  // Loads company 7, its files as the entry screens write them after `edit`.
  void Load(const Edit& edit = {}) {
    testing::WriteCompany(drives, 7, edit);
    data.Load(QStringLiteral("7"));
  }
  Page Plan(S statement) const {
    PagePlan plan(metric);
    DrawPage(plan, PageOf(statement), data);
    plan.Check();
    return Recorded(plan.Operations());
  }

  TempDrives drives;
  FixedPitchMetric metric;
  PrintDataSet data;
};

// An edit that sets several values of one file, counted from 1.
Edit SetValues(M mark, FileRole role, std::map<int, QString> values) {
  return [=](const StatementFile& file, QStringList& lines) {
    if (!Is(file, mark, role)) return;
    for (const auto& [number, value] : values) lines[number - 1] = value;
  };
}

Edit Both(Edit first, Edit second) {
  return [=](const StatementFile& file, QStringList& lines) {
    first(file, lines);
    second(file, lines);
  };
}

TEST(BlankA4Pages, FourteenPagesInScreenOrder) {
  ASSERT_EQ(BlankA4Pages().size(), 14u);
  for (std::size_t k = 0; k < BlankA4Pages().size(); ++k) {
    EXPECT_EQ(BlankA4Pages()[k].statement, PrintStatements()[k]);
  }
}

TEST(BlankA4Pages, TheLineClassesAreDotsOfA600DpiPrinter) {
  EXPECT_EQ(static_cast<int>(HeavyLine), 6);
  EXPECT_EQ(static_cast<int>(MediumLine), 3);
  EXPECT_EQ(static_cast<int>(LightLine), 1);
  EXPECT_NEAR(6 * kMillimetresPerDot, 0.254, 1e-4);
  EXPECT_NEAR(3 * kMillimetresPerDot, 0.127, 1e-4);
  EXPECT_NEAR(1 * kMillimetresPerDot, 0.0423, 1e-4);
}

TEST_F(BlankA4PagesTest, TheBasicFrameIsAHeavyFrameOf24BandsOf10Millimetres) {
  PagePlan plan(metric);
  const BlankA4Page frameOnly{S::Deposits, true, {}};
  DrawPage(plan, frameOnly, data);
  const Page page = Recorded(plan.Operations());
  ASSERT_EQ(page.lines.size(), 27u);
  EXPECT_EQ(page.lines[0], (DrawLine{25, 32, 192, 32, 6}));
  EXPECT_EQ(page.lines[1], (DrawLine{25, 32, 25, 272, 6}));
  EXPECT_EQ(page.lines[2], (DrawLine{192, 32, 192, 272, 6}));
  EXPECT_EQ(page.lines[3], (DrawLine{25, 272, 192, 272, 6}));
  for (int i = 1; i <= 23; ++i) {
    EXPECT_EQ(page.lines[3 + i], (DrawLine{25, 32.0 + 10 * i, 192, 32.0 + 10 * i, 3}));
  }
  EXPECT_TRUE(page.texts.empty());
}

// Every page of a company with no figures: its whole form, each line of its
// class, the title and mark, every text in the Mincho face, and no amount.
TEST_F(BlankA4PagesTest, EveryPagePrintsItsWholeFormInMincho) {
  Load();
  struct Expected {
    S statement;
    int heavy, medium, light;
    QString title;
    double titleX;
    QString mark;
  };
  const Expected pages[] = {
      {S::Deposits, 4, 27, 0, "預貯金等の明細書", 27, "①"},
      {S::NotesReceivable, 4, 28, 26, "受取手形の内訳書", 27, "②"},
      {S::NotesReceivable2nd, 4, 28, 26, "受取手形の内訳書", 27, "②"},
      {S::Receivables, 4, 28, 0, "売掛金（未収入金）の内訳書", 27, "③"},
      {S::AdvancesAndLoans, 8, 29, 25, "仮払金（前渡金）の内訳書", 27, "④"},
      {S::Inventories, 8, 23, 1, "棚卸資産（商品又は製品、半製品、仕掛品、原材料、貯蔵品）の内訳書",
       26, "⑤"},
      {S::FixedAssets, 4, 16, 44, "固定資産(土地、土地の上に存する権利及び建物に限る。)の内訳書",
       27, "⑦"},
      {S::NotesPayable, 4, 27, 25, "支払手形の内訳書", 26, "⑧"},
      {S::Payables, 4, 28, 0, "買掛金（未払金・未払費用）の内訳書", 27, "⑨"},
      {S::SuspenseReceipts, 9, 32, 0, "仮受金（前受金・預り金）の内訳書", 27, "⑩"},
      {S::Borrowings, 4, 23, 46, "借入金及び支払利子の内訳書", 27, "⑪"},
      {S::OfficerPay, 8, 29, 22, "役員報酬手当等及び人件費の内訳書", 27, "⑭"},
      {S::Rents, 8, 31, 17, "地代家賃等のの内訳書", 27, "⑮"},
      {S::MiscGainsLosses, 6, 27, 0, "雑益、雑損失等の内訳書", 27, "⑯"},
  };
  const int totals[] = {31, 58, 58, 32, 62, 32, 64, 56, 32, 41, 73, 59, 56, 33};
  static const QRegularExpression figure(QStringLiteral("^[-0-9,]+$"));
  for (std::size_t k = 0; k < std::size(pages); ++k) {
    const Expected& want = pages[k];
    SCOPED_TRACE(want.mark.toStdString());
    const Page page = Plan(want.statement);
    EXPECT_EQ(static_cast<int>(page.lines.size()), totals[k]);
    EXPECT_EQ(page.LinesOf(HeavyLine), want.heavy);
    EXPECT_EQ(page.LinesOf(MediumLine), want.medium);
    EXPECT_EQ(page.LinesOf(LightLine), want.light);
    for (const DrawLine& line : page.lines) {
      for (const double x : {line.x1, line.x2}) EXPECT_TRUE(x >= 25 && x <= 192) << x;
      for (const double y : {line.y1, line.y2}) EXPECT_TRUE(y >= 32 && y <= 272) << y;
    }
    EXPECT_TRUE(page.Has(want.title, want.titleX, 26, 11));
    EXPECT_TRUE(page.Has(want.mark, 188, 26, 11));
    ASSERT_FALSE(page.fonts.empty());
    for (const SetFont& font : page.fonts) EXPECT_EQ(font.name, kMincho);
    for (const Placed& placed : page.texts) {
      EXPECT_EQ(placed.font, kMincho) << placed.text.toStdString();
      EXPECT_FALSE(figure.match(placed.text).hasMatch()) << placed.text.toStdString();
    }
  }
}

// Which values of its text files a page prints: each text of the data set
// tells its place ("⑨買#12"), so a wrong row formula or a row printed that the
// form has no line for shows here.
TEST_F(BlankA4PagesTest, EachPagePrintsTheTextsOfItsFormAndNoOthers) {
  Load();
  auto range = [](int first, int last, std::set<int> without = {}) {
    std::set<int> numbers;
    for (int n = first; n <= last; ++n) {
      if (!without.count(n)) numbers.insert(n);
    }
    return numbers;
  };
  std::set<int> notesPayable = range(1, 65);
  for (int n = 79; n <= 91; ++n) notesPayable.insert(n);
  const std::map<M, std::set<int>> expected = {
      {M::Deposits, range(1, 75)},
      {M::NotesReceivable, range(1, 104)},
      {M::NotesReceivable2nd, range(1, 104)},
      {M::Receivables, range(1, 56)},
      {M::AdvancePayments, range(1, 55)},
      {M::LoansReceivable, range(1, 49)},
      {M::Inventories, range(7, 31)},
      {M::FixedAssets, range(1, 45)},
      {M::NotesPayable, notesPayable},
      {M::Payables, range(1, 52, {12, 13, 25, 26, 38, 39, 51, 52})},
      {M::OtherPayables, range(1, 44, {10, 11, 21, 22, 32, 33, 43, 44})},
      {M::SuspenseReceipts, range(1, 91, {11, 22, 33, 44, 55})},
      {M::Borrowings1, range(1, 42)},
      {M::Borrowings2, range(1, 42)},
      {M::OfficerPay, range(1, 30, {5, 10, 15, 20, 25, 30})},
      {M::Rents, range(1, 49)},
      {M::MiscGains, range(1, 40)},
      {M::MiscLosses, range(1, 40)},
  };
  std::map<M, std::set<int>> printed;
  for (const S statement : PrintStatements()) {
    for (const Placed& placed : Plan(statement).texts) {
      const qsizetype hash = placed.text.indexOf(QChar('#'));
      if (hash < 0) continue;
      const QString markText = placed.text.left(hash);
      for (const auto& [mark, numbers] : expected) {
        if (MarkText(mark) == markText) printed[mark].insert(placed.text.mid(hash + 1).toInt());
      }
    }
  }
  for (const auto& [mark, numbers] : expected) {
    SCOPED_TRACE(MarkText(mark).toStdString());
    EXPECT_EQ(printed[mark], numbers);
  }
}

TEST_F(BlankA4PagesTest, TheRowsStandWhereTheFormsPutThem) {
  Load();
  struct Expected {
    S statement;
    QString text;
    double x, y, points;
  };
  const Expected cells[] = {
      {S::Deposits, "①#1", 27, 44, 11},
      {S::Deposits, "①#2", 47, 47, 11},
      {S::Deposits, "①#3", 66, 44, 11},
      {S::Deposits, "①#5", 152, 44, 11},
      {S::Deposits, "①#71", 27, 184, 11},
      {S::Deposits, "①#75", 152, 184, 11},
      {S::NotesReceivable, "②#1", 27, 45, 11},
      {S::NotesReceivable, "②#14", 59, 43, 9},
      {S::NotesReceivable, "②#15", 59, 48, 9},
      {S::NotesReceivable, "②#38", 59, 163, 9},
      {S::NotesReceivable, "②#39", 59, 168, 9},
      {S::NotesReceivable, "②#40", 76, 43, 9},
      {S::NotesReceivable, "②#53", 87, 48, 9},
      {S::NotesReceivable, "②#66", 131, 43, 9},
      {S::NotesReceivable, "②#79", 143, 48, 9},
      {S::NotesReceivable, "②#104", 157, 165, 11},
      {S::NotesReceivable2nd, "②2nd#13", 27, 165, 11},
      {S::Receivables, "③#1", 27, 46, 11},
      {S::Receivables, "③#15", 43, 46, 11},
      {S::Receivables, "③#29", 80, 46, 11},
      {S::Receivables, "③#56", 170, 176, 11},
      {S::NotesPayable, "⑧#14", 61, 43, 8},
      {S::NotesPayable, "⑧#39", 61, 168, 8},
      {S::NotesPayable, "⑧#40", 78, 43, 8},
      {S::NotesPayable, "⑧#53", 86, 48, 8},
      {S::NotesPayable, "⑧#79", 134, 45, 11},
      {S::NotesPayable, "⑧#91", 134, 165, 11},
      {S::Payables, "⑨買#11", 27, 146, 11},
      {S::Payables, "⑨買#50", 166, 146, 11},
      {S::Payables, "⑨未#1", 27, 156, 11},
      {S::Payables, "⑨未#42", 166, 236, 11},
      {S::Inventories, "⑤#7", 27, 45, 11},
      {S::Inventories, "⑤#31", 157, 85, 11},
      {S::AdvancesAndLoans, "④仮#1", 25, 45, 11},
      {S::AdvancesAndLoans, "④仮#55", 167, 145, 11},
      {S::AdvancesAndLoans, "④貸#43", 27, 253, 11},
      {S::AdvancesAndLoans, "④貸#45", 27, 258, 11},
      {S::AdvancesAndLoans, "④貸#47", 115, 259, 11},
      {S::AdvancesAndLoans, "④貸#49", 157, 256, 11},
      {S::FixedAssets, "⑦#1", 27, 66, 11},
      {S::FixedAssets, "⑦#4", 28, 76, 11},
      {S::FixedAssets, "⑦#45", 177, 151, 11},
      {S::SuspenseReceipts, "⑩#10", 28, 145, 11},
      {S::SuspenseReceipts, "⑩#73", 55, 265, 11},
      {S::SuspenseReceipts, "⑩#91", 140, 265, 11},
      {S::Borrowings, "⑪一#3", 27, 54, 11},
      {S::Borrowings, "⑪一#42", 158, 135, 11},
      {S::Borrowings, "⑪二#1", 27, 145, 11},
      {S::Borrowings, "⑪二#40", 110, 235, 11},
      {S::OfficerPay, "⑭#1", 26, 63, 11},
      {S::OfficerPay, "⑭#3", 67, 57, 11},
      {S::OfficerPay, "⑭#29", 47, 123, 11},
      {S::Rents, "⑮#1", 29, 61, 11},
      {S::Rents, "⑮#49", 158, 135, 11},
      {S::MiscGainsLosses, "⑯益#40", 122, 135, 11},
      {S::MiscGainsLosses, "⑯損#1", 38, 155, 11},
  };
  for (const Expected& cell : cells) {
    EXPECT_TRUE(Plan(cell.statement).Has(cell.text, cell.x, cell.y, cell.points))
        << cell.text.toStdString();
  }
}

TEST_F(BlankA4PagesTest, TheHeadingsThatDifferFromPageToPage) {
  Load();
  struct Expected {
    S statement;
    QString text;
    double x, y, points;
    int count = 1;
  };
  const Expected headings[] = {
      {S::Deposits, "提  　      　要", 155, 35, 11},
      {S::Deposits, "計", 42, 265, 11},
      {S::NotesReceivable, "計", 38, 264, 11},
      {S::NotesReceivable2nd, "計", 38, 267, 11},
      {S::NotesReceivable, "割引銀行名等", 134, 35, 9},
      {S::Receivables, "相         手         先", 63, 33, 11},
      {S::Payables, "合　　計", 93, 246, 15},
      {S::Payables, "合　　計", 93, 256, 15},
      {S::Inventories, "計", 34, 215, 15},
      {S::Inventories, "(期末棚卸の方法)", 57, 234, 11},
      {S::AdvancesAndLoans, "受取利息額", 114, 183, 10},
      {S::AdvancesAndLoans, "計", 50, 265, 11},
      {S::FixedAssets, "異動直前簿価", 115, 55, 9},
      {S::FixedAssets, "合　　計", 40, 255, 11},
      {S::NotesPayable, "支払銀行名", 79, 35, 9},
      {S::SuspenseReceipts, "源泉所得税与り金の内訳", 27, 196, 11},
      {S::SuspenseReceipts, "合　　計", 83, 165, 15},
      {S::Borrowings, "所  　在　  地　(住所)", 33, 40, 11},
      {S::Borrowings, "(物件の種類、数量、所在地等)", 157, 41, 7},
      {S::Borrowings, "計", 51, 247, 11},
      {S::OfficerPay, "代表者との関係", 67, 46, 6},
      {S::OfficerPay, "人 　　件 　　費　 　の　　 内　　 訳", 83, 204, 11},
      {S::Rents, "権　利　金　等　の　期　中　支　払　の　内　訳", 75, 156, 11},
      {S::Rents, "合　　　計", 97, 147, 11},
      {S::MiscGainsLosses, "失", 28, 221, 11},
  };
  for (const Expected& heading : headings) {
    EXPECT_TRUE(Plan(heading.statement).Has(heading.text, heading.x, heading.y, heading.points))
        << heading.text.toStdString();
  }
  // The runs: "/" in all 22 row bands, "常・非" in all ten officer slots.
  const Page deposits = Plan(S::Deposits);
  ASSERT_EQ(deposits.Named("/").size(), 22u);
  for (int n = 1; n <= 22; ++n) EXPECT_TRUE(deposits.Has("/", 44, 45.0 + 10 * (n - 1), 11));
  EXPECT_EQ(Plan(S::NotesReceivable).Named("/").size(), 44u);
  EXPECT_EQ(Plan(S::NotesPayable).Named("/").size(), 22u);
  const Page officers = Plan(S::OfficerPay);
  ASSERT_EQ(officers.Named("常・非").size(), 10u);
  EXPECT_TRUE(officers.Has("常・非", 85, 168, 10));
  // ①'s first two column lines lean.
  EXPECT_EQ(deposits.lines[27], (DrawLine{64, 32, 62, 272, 3}));
  EXPECT_EQ(deposits.lines[28], (DrawLine{84, 32, 83, 272, 3}));
}

// Amounts stand at their right reference less the width of their plain
// digits, plus the nudge only where the form takes it.
TEST_F(BlankA4PagesTest, AmountsAreRightAlignedAndNudgedOnlyWhereTheFormSaysSo) {
  struct Column {
    S statement;
    M mark;
    int number;
    double right, y, points;
    bool nudged;
  };
  const Column columns[] = {
      {S::Deposits, M::Deposits, 1, 137, 45, 15, true},
      {S::Deposits, M::Deposits, 16, 137, 265, 15, true},
      {S::NotesReceivable, M::NotesReceivable, 13, 125, 165, 15, true},
      {S::NotesReceivable2nd, M::NotesReceivable2nd, 14, 125, 265, 15, true},
      {S::Receivables, M::Receivables, 15, 161, 264, 15, true},
      {S::NotesPayable, M::NotesPayable, 1, 129, 45, 15, false},
      {S::Payables, M::Payables, 14, 161, 246, 15, true},
      {S::Payables, M::OtherPayables, 9, 161, 236, 15, true},
      {S::Inventories, M::Inventories, 6, 149, 215, 15, true},
      {S::AdvancesAndLoans, M::AdvancePayments, 11, 163, 145, 15, false},
      {S::FixedAssets, M::FixedAssets, 11, 132, 66, 11, false},
      {S::FixedAssets, M::FixedAssets, 10, 132, 156, 11, false},
      {S::FixedAssets, M::FixedAssets, 5, 92, 155, 11, false},
      {S::FixedAssets, M::FixedAssets, 17, 132, 255, 11, false},
      {S::SuspenseReceipts, M::SuspenseReceipts, 1, 161, 54, 15, true},
      {S::SuspenseReceipts, M::SuspenseReceipts, 11, 161, 165, 15, true},
      {S::SuspenseReceipts, M::SuspenseReceipts, 12, 102, 215, 15, false},
      {S::SuspenseReceipts, M::SuspenseReceipts, 23, 184, 265, 15, true},
      {S::Borrowings, M::Borrowings1, 9, 125, 48, 11, true},
      {S::Borrowings, M::Borrowings1, 7, 102, 135, 15, true},
      {S::Borrowings, M::Borrowings2, 10, 125, 146, 11, true},
      {S::OfficerPay, M::OfficerPay, 1, 115, 60, 11, false},
      {S::OfficerPay, M::OfficerPay, 42, 140, 125, 11, false},
      {S::OfficerPay, M::OfficerPay, 49, 187, 125, 11, false},
      {S::OfficerPay, M::OfficerPay, 28, 186, 180, 11, false},
      {S::OfficerPay, M::OfficerPay, 36, 182, 263, 15, false},
      {S::Rents, M::Rents, 1, 152, 63, 11, false},
      {S::Rents, M::Rents, 8, 152, 147, 11, false},
      {S::MiscGainsLosses, M::MiscLosses, 10, 186, 245, 15, true},
  };
  struct Case {
    Amount amount;
    QString text;
    int plainWidth;  // half ems
    double nudge;
  };
  const Case cases[] = {{999, "999", 3, 2},
                        {1000, "1,000", 4, 1},
                        {999999, "999,999", 6, 1},
                        {1000000, "1,000,000", 7, 0},
                        {-5, "-5", 2, 2}};
  Load();
  for (const Column& column : columns) {
    const StatementFile file{column.mark, A};
    for (const Case& c : cases) {
      SCOPED_TRACE(MarkText(column.mark).toStdString() + " #" + std::to_string(column.number) +
                   " " + c.text.toStdString());
      QStringList lines = testing::DefaultLines(file);
      lines[column.number - 1] = QString::number(c.amount);
      testing::PutLines(drives, PathOf(file, 7), lines);
      data.Load(QStringLiteral("7"));
      const double x =
          column.right - HalfEms(c.plainWidth, column.points) + (column.nudged ? c.nudge : 0);
      EXPECT_TRUE(Plan(column.statement).Has(c.text, x, column.y, column.points));
    }
    testing::PutLines(drives, PathOf(file, 7), testing::DefaultLines(file));
  }
}

TEST_F(BlankA4PagesTest, TheStocktakingLineNamesTheFirstMethodChosenAndTheDate) {
  struct Case {
    std::map<int, QString> numbers;
    QString line;
  };
  const Case cases[] = {
      {{{1, "13"}, {2, "5"}, {3, "31"}}, "A 実地棚卸　　平成　13年 5月 31日 現在"},
      {{{1, "13"}, {2, "5"}, {3, "31"}, {4, "1"}}, "A 実地棚卸　　平成　13年 5月 31日 現在"},
      {{{1, "13"}, {2, "5"}, {3, "31"}, {5, "1"}}, "A 帳簿棚卸　　平成　13年 5月 31日 現在"},
      {{{1, "13"}, {2, "5"}, {3, "31"}, {6, "1"}}, "A 上記併用　　平成　13年 5月 31日 現在"},
      {{{4, "2"}, {5, "1"}, {6, "1"}}, "A 帳簿棚卸　　平成　0年 0月 0日 現在"},
      {{{1, "-1"}, {4, "1"}, {5, "1"}}, "A 実地棚卸　　平成　-1年 0月 0日 現在"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    Load(SetValues(M::Inventories, T, c.numbers));
    EXPECT_TRUE(Plan(S::Inventories).Has(c.line, 57, 244, 11));
  }
}

TEST_F(BlankA4PagesTest, TheLoansTotalIsTheExactSumOfTheSevenLoansNotTheStoredTotal) {
  Load(SetValues(M::LoansReceivable, A, {{1, "2147483647"}, {2, "1"}, {7, "1000"}, {8, "5"}}));
  Page page = Plan(S::AdvancesAndLoans);
  EXPECT_TRUE(page.Has("2,147,484,648", 111 - HalfEms(10, 15), 264, 15));
  EXPECT_TRUE(page.Named("5").empty());

  Load(SetValues(M::LoansReceivable, A, {{1, "-2147483648"}, {2, "-2147483648"}}));
  EXPECT_TRUE(Plan(S::AdvancesAndLoans).Has("-4,294,967,296", 111 - HalfEms(11, 15), 264, 15));
  // A zero sum leaves "計" alone.
  Load(SetValues(M::LoansReceivable, A, {{1, "7"}, {2, "-7"}, {8, "9"}}));
  page = Plan(S::AdvancesAndLoans);
  for (const Placed& placed : page.texts) EXPECT_NE(placed.y, 264) << placed.text.toStdString();
}

TEST_F(BlankA4PagesTest, BorrowingsGrandTotalsArePage1sTotalsAndPage2sRows) {
  // Page 2's stored grand totals (#9, #18) are stale and never printed.
  Load(Both(SetValues(M::Borrowings1, A, {{8, "1000"}, {16, "50"}}),
            SetValues(M::Borrowings2, A,
                      {{1, "200"}, {7, "3"}, {9, "777"}, {10, "4"}, {16, "6"}, {18, "888"}})));
  const Page page = Plan(S::Borrowings);
  EXPECT_TRUE(page.Has("1,203", 102 - HalfEms(4, 15) + 1, 247, 15));
  EXPECT_TRUE(page.Has("60", 125 - HalfEms(2, 11) + 2, 243, 11));
  EXPECT_TRUE(page.Named("777").empty());
  EXPECT_TRUE(page.Named("888").empty());
  EXPECT_TRUE(page.Named("1,000").empty());  // page 1's own total is not printed

  // A grand total beyond 32 bits is refused: the page is not planned.
  Load(Both(SetValues(M::Borrowings1, A, {{8, "2147483647"}}),
            SetValues(M::Borrowings2, A, {{1, "1"}})));
  const auto failure = FailureOf([&] { Plan(S::Borrowings); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Description(), QStringLiteral("オーバーフローしました。"));
}

TEST_F(BlankA4PagesTest, AttendanceCirclesOnlyForTheExactWords) {
  Load(SetValues(M::OfficerPay, T,
                 {{5, "\"常勤\""},
                  {10, "\"非常勤\""},
                  {15, "\" 常勤\""},
                  {20, "\"常\""},
                  {25, "\"非常勤 \""},
                  {30, "\"常勤\""}}));
  const Page page = Plan(S::OfficerPay);
  const std::vector<Placed> circles = page.Named(QStringLiteral("〇"));
  ASSERT_EQ(circles.size(), 3u);
  EXPECT_TRUE(page.Has("〇", 85, 61, 11));   // officer 1 stands a millimetre lower
  EXPECT_TRUE(page.Has("〇", 85, 120, 11));  // officer 6
  EXPECT_TRUE(page.Has("〇", 90, 72, 11));   // officer 2, "非常勤"

  Load(SetValues(M::OfficerPay, T, {{5, "\"非常勤\""}}));
  EXPECT_TRUE(Plan(S::OfficerPay).Has("〇", 90, 60, 11));
}

TEST_F(BlankA4PagesTest, PayablesPrintElevenAndNineRowsWithTheirStoredTotals) {
  Load(Both(SetValues(M::Payables, A, {{12, "5000"}, {13, "6000"}, {14, "11000"}}),
            SetValues(M::OtherPayables, A, {{10, "7000"}, {12, "7000"}})));
  const Page page = Plan(S::Payables);
  EXPECT_TRUE(page.Named("5,000").empty());
  EXPECT_TRUE(page.Named("6,000").empty());
  EXPECT_TRUE(page.Has("11,000", 161 - HalfEms(5, 15) + 1, 246, 15));
  ASSERT_EQ(page.Named("7,000").size(), 1u);
  EXPECT_TRUE(page.Has("7,000", 161 - HalfEms(4, 15) + 1, 256, 15));
  // Band 21 holds the accounts-payable total and nothing else.
  for (const Placed& placed : page.texts) {
    if (placed.y > 242 && placed.y < 252) {
      EXPECT_TRUE(placed.text == "合　　計" || placed.text == "11,000")
          << placed.text.toStdString();
    }
  }
}

TEST_F(BlankA4PagesTest, TextsPrintExactlyAsStored) {
  Load(SetValues(M::Deposits, T,
                 {{1, "\"　甲　\""}, {2, "\"㈱乙\""}, {3, "\"<b>&amp;\""}, {4, ""}}));
  const Page page = Plan(S::Deposits);
  EXPECT_TRUE(page.Has("　甲　", 27, 44, 11));
  EXPECT_TRUE(page.Has("㈱乙", 47, 47, 11));
  EXPECT_TRUE(page.Has("<b>&amp;", 66, 44, 11));
  EXPECT_TRUE(page.Has("", 90, 44, 11));
}

}  // namespace
}  // namespace mirudanto::printing::blank_a4
