#include "statements/borrowings_and_expenses/borrowings_screen.h"

#include "platform/desktop.h"
#include "statements/layout_builders.h"
#include "statements/loan_rows.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

const QString kTitle = QStringLiteral("借入金");
const QString kPage1 = QStringLiteral("Form13");
const QString kPage2 = QStringLiteral("Form17");
constexpr double kSmallFont = 9.75;

using namespace loan_rows;

// The texts of a row in the order the file holds them.
constexpr Field kTextOrder[6] = {kName, kRelationship, kAddress, kRate, kReason, kCollateral};

// The word buttons of each row: "運転", "設備", "信用", "証書".
constexpr int kWordButtons[kRowCount][4] = {
    {6, 5, 1, 28},    {9, 8, 7, 29},    {12, 11, 10, 30}, {15, 14, 13, 31},
    {19, 18, 16, 32}, {22, 21, 20, 33}, {25, 24, 23, 34},
};

constexpr int kLineHeight = 360;
constexpr int kBottomLine = 2 * (kRowCount + 1);

QStringList ColumnBoxes(Field field) {
  QStringList boxes;
  for (int r = 1; r <= kRowCount; ++r) boxes.append(BoxOf(r, field));
  return boxes;
}

EntryScreenLayout BorrowingsLayout(BorrowingsPage page) {
  const bool page1 = page == BorrowingsPage::Page1;
  EntryScreenLayout layout =
      NewEntryLayout({page1 ? kPage1 : kPage2, page1 ? "借入金⑪-その１" : "借入金⑪-その２",
                      "Command3", "Command2", kTitle, kTitle});
  layout.fontPoints = 11.25;
  // Each page empties itself before it reads, so that a failed read leaves it
  // empty rather than half of one company and half of another.
  layout.clearBeforeRead = QStringLiteral("Command4");
  if (!page1) layout.totalsOnLoad = TotalsOnLoad::Recomputed;

  const TwoLineGrid grid(
      GridGeometry(120, 120, kLineHeight, {1800, 1100, 1800, 1800, 1650, 1800}, 15), 45);
  const int bottomLines = page1 ? 1 : 3;
  auto bottom = [&grid](int line, int column) {
    return grid.Cell(kBottomLine, column).translated(0, line * kLineHeight);
  };
  const int right = grid.Lines().Right();
  layout.clientTwips = QSize(right + 180, bottom(bottomLines - 1, 0).bottom() + 1 + 120);

  AddHeading(layout, "Text2", "借　入　先", grid.Cell(0, kNameColumn));
  AddHeading(layout, "Text3", "関　係", grid.Cell(0, kRelationshipColumn));
  AddHeading(layout, "Text4", "所　在　地（住所）",
             grid.Span(1, kNameColumn, kRelationshipColumn));

  FileLayout texts{{page1 ? StatementMark::Borrowings1 : StatementMark::Borrowings2,
                    FileRole::Text},
                   {}};
  FileLayout amounts{{texts.file.mark, FileRole::Amounts}, {}};
  // Balances, then interest, each followed by its totals.
  std::vector<FileValue> balances;
  std::vector<FileValue> interests;
  for (int r = 1; r <= kRowCount; ++r) {
    const int first = 2 * r;
    for (Field field : kTextOrder) {
      const QString name = BoxOf(r, field);
      // The rate is a figure typed as text, the reason mostly a word button's.
      const bool figure = field == kRate || field == kReason;
      BoxLayout& box = AddTextCell(layout, name, CellOf(grid, r, field), QString(),
                                   figure ? InputMode::Unchanged : InputMode::Hiragana);
      if (field == kRate) box.alignment = Qt::AlignRight;
      texts.values.push_back({ValueKind::Text, name});
    }
    const QString balance = BoxOf(r, kBalance);
    AddAmountCell(layout, balance, CellOf(grid, r, kBalance));
    balances.push_back({ValueKind::Amount, balance});
    // The interest cells start empty, not as two ideographic spaces.
    const QString interest = BoxOf(r, kInterest);
    BoxLayout& interestBox = AddAmountCell(layout, interest, CellOf(grid, r, kInterest));
    interestBox.initialText.clear();
    interestBox.background = kLightCyan;
    interests.push_back({ValueKind::Amount, interest});

    // The upper line has no box under the balance column.
    AddCrossedCell(layout, grid.Cell(first, kBalanceColumn));
    const int* words = kWordButtons[r - 1];
    const auto [working, equipment] = SplitCell(grid.Cell(first, kReasonColumn), 810);
    const auto [credit, deed] = SplitCell(grid.Cell(first, kCollateralColumn), 870);
    const QString reason = BoxOf(r, kReason);
    const QString collateral = BoxOf(r, kCollateral);
    AddWordButton(layout, ButtonName(words[0]), "運転", working, {reason},
                  {"運転資金"});
    AddWordButton(layout, ButtonName(words[1]), "設備", equipment, {reason},
                  {"設備資金"});
    AddWordButton(layout, ButtonName(words[2]), "信用", credit, {collateral},
                  {"信用借入"});
    AddWordButton(layout, ButtonName(words[3]), "証書", deed, {collateral},
                  {"証書借入"});
  }

  // The totals: on page 1 one line; on page 2 its own sums, page 1's totals
  // as carried, and the grand totals.
  auto totalBox = [&layout](const QString& name, QRect rect, bool grey,
                            std::optional<QColor> colour = std::nullopt) {
    BoxLayout& box = AddAmountCell(layout, name, rect);
    if (!grey) box.initialText.clear();
    if (grey) box.background = kHeadingGrey;
    if (colour) box.background = colour;
  };
  const QString balanceTotal = page1 ? QStringLiteral("Text72") : QStringLiteral("Text67");
  const QString interestTotal = page1 ? QStringLiteral("Text64") : QStringLiteral("Text66");
  totalBox(balanceTotal, bottom(0, kBalanceColumn), true);
  totalBox(interestTotal, bottom(0, kInterestColumn), false, kLightCyan);
  amounts.values = balances;
  if (page1) {
    amounts.values.push_back({ValueKind::Amount, "Text72"});
    amounts.values.insert(amounts.values.end(), interests.begin(), interests.end());
    amounts.values.push_back({ValueKind::Amount, "Text64"});
    layout.totals = {SumRule({FileRole::Amounts, 8}, 1, 7), SumRule({FileRole::Amounts, 16}, 9, 15)};
    for (const auto& [value, box] : {std::pair{8, "Text72"}, std::pair{16, "Text64"}}) {
      const CarriedValue carried{{FileRole::Amounts, value}, kPage2, box};
      layout.carriedOnLoad.push_back(carried);
      layout.carriedOnSave.push_back(carried);
    }
  } else {
    const std::pair<const char*, const char*> labels[3] = {
        {"Text70", "小　　計"}, {"Text69", "前頁小計"}, {"Text68", "総　　計"}};
    for (int line = 0; line < 3; ++line) {
      AddHeading(layout, labels[line].first, labels[line].second,
                 bottom(line, kRelationshipColumn), kSmallFont);
    }
    totalBox("Text72", bottom(1, kBalanceColumn), true);
    totalBox("Text64", bottom(1, kInterestColumn), false, kLightCyan);
    totalBox("Text8", bottom(2, kBalanceColumn), true);
    totalBox("Text65", bottom(2, kInterestColumn), false, kLightCyan);
    amounts.values.push_back({ValueKind::Amount, "Text72"});
    amounts.values.push_back({ValueKind::Amount, "Text8"});
    amounts.values.insert(amounts.values.end(), interests.begin(), interests.end());
    amounts.values.push_back({ValueKind::Amount, "Text64"});
    amounts.values.push_back({ValueKind::Amount, "Text65"});
    // The page sums are shown, never stored; the grand totals add the carried
    // values to them.
    TotalRule pageBalances = SumRule({FileRole::Amounts, 9}, 1, 7);
    pageBalances.unstoredBox = QStringLiteral("Text67");
    TotalRule pageInterest = SumRule({FileRole::Amounts, 18}, 10, 16);
    pageInterest.unstoredBox = QStringLiteral("Text66");
    layout.totals = {pageBalances, SumRule({FileRole::Amounts, 9}, 1, 8), pageInterest,
                     SumRule({FileRole::Amounts, 18}, 10, 17)};
  }
  layout.files = {texts, amounts};

  // The heading's empty cells: above the balances, and above reason and
  // collateral, with a rule along the top and down the right edge.
  AddCrossedCell(layout, grid.Cell(0, kBalanceColumn));
  AddCrossedCell(layout, grid.Span(0, kReasonColumn, kCollateralColumn));
  const QRect headingTop = grid.Cell(0, kBalanceColumn);
  AddLine(layout, QPoint(headingTop.left(), headingTop.top() - 60),
          QPoint(right + 60, headingTop.top() - 60));
  // The two rules do not quite meet: their controls may not overlap.
  AddLine(layout, QPoint(right + 60, headingTop.top() - 15),
          QPoint(right + 60, grid.Cell(1, 0).top()));

  // The column headings that empty their columns; on page 2 some reach the
  // total lines too.
  const QStringList balanceCells = ColumnBoxes(kBalance);
  const QStringList interestCells = ColumnBoxes(kInterest);
  const QStringList rateCells = ColumnBoxes(kRate);
  AddClearingButton(layout, "Command17", "期末現在高", grid.Cell(1, kBalanceColumn),
                    balanceCells + QStringList{"Text72"});
  ButtonLayout interestHeading{"Command36", "支払利子額", grid.Cell(0, kInterestColumn),
                               ButtonRole::ClearBoxes};
  interestHeading.background = kLightCyan;
  interestHeading.fontPoints = kSmallFont;
  if (page1) {
    interestHeading.boxes = interestCells + QStringList{"Text64"};
    interestHeading.thenPress = ButtonRef{kPage2, "Command36"};
  } else {
    interestHeading.boxes = interestCells + QStringList{"Text64", "Text65", "Text66"};
  }
  layout.buttons.push_back(interestHeading);
  AddClearingButton(layout, "Command35", "利　　率", grid.Cell(1, kInterestColumn),
                    page1 ? rateCells : rateCells + QStringList{"Text66"});
  AddClearingButton(layout, "Command26", "借入理由", grid.Cell(1, kReasonColumn),
                    ColumnBoxes(kReason));
  AddClearingButton(layout, "Command27", "担保の内容", grid.Cell(1, kCollateralColumn),
                    ColumnBoxes(kCollateral));

  QStringList cleared;
  for (int r = 1; r <= kRowCount; ++r) {
    for (int field = kName; field <= kCollateral; ++field) {
      cleared.append(BoxOf(r, static_cast<Field>(field)));
    }
  }
  cleared += page1 ? QStringList{"Text72", "Text64"}
                   : QStringList{"Text72", "Text64", "Text67", "Text66", "Text8", "Text65"};
  const auto [data, clear] = SplitCell(bottom(0, kNameColumn), 892);
  const int saveLine = page1 ? 0 : 2;
  AddBottomLine(layout, {data, "Command4", clear, cleared,
                         bottom(page1 ? 0 : 1, page1 ? kRelationshipColumn : kNameColumn),
                         "合　　計", bottom(saveLine, kReasonColumn)});
  // The page switches go through the main menu's openings, which unload this
  // page while its button is still running.
  layout.buttons.push_back({page1 ? "Command37" : "Command38",
                            page1 ? "借入金その２" : "借入金その１",
                            bottom(saveLine, kCollateralColumn), ButtonRole::Press});
  layout.buttons.back().thenPress =
      ButtonRef{"Form1", page1 ? QStringLiteral("Command22") : QStringLiteral("Command17")};
  if (!page1) {
    ButtonLayout call{"Command37", "借入金⑪その１呼出",
                      grid.Span(kBottomLine, kReasonColumn, kCollateralColumn)
                          .translated(0, kLineHeight),
                      ButtonRole::Custom};
    call.background = kLightMagenta;
    call.fontPoints = kSmallFont;
    layout.buttons.push_back(call);
  }
  return layout;
}

}  // namespace

BorrowingsScreen::BorrowingsScreen(BorrowingsPage page) : EntryScreen(BorrowingsLayout(page)) {
  if (page == BorrowingsPage::Page2) OnClick("Command37", [this] { CallPage1Totals(); });
}

void BorrowingsScreen::CallPage1Totals() {
  auto& page1 = dynamic_cast<EntryScreen&>(platform::ScreenNamed(kPage1));
  // A page 1 whose load failed holds nothing of the company, or only part of
  // it: its save would overwrite the company's files with that.
  if (page1.LastLoadFailure()) {
    platform::ReportError(kTitle, *page1.LastLoadFailure());
    return;
  }
  page1.Press(page1.Layout().saveButton);
}

}  // namespace mirudanto::statements
