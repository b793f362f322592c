#include "statements/general/fixed_assets_screen.h"

#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kEntryCount = 5;

// The boxes of each entry: its nine texts in file order, then its balance,
// book value before the change and acquisition or disposal price. The price
// boxes run upwards from the last entry.
constexpr int kEntries[kEntryCount][12] = {
    {20, 21, 22, 23, 24, 25, 26, 27, 28, 1, 6, 72},
    {29, 30, 31, 32, 33, 34, 35, 36, 37, 2, 7, 71},
    {38, 39, 40, 41, 42, 43, 44, 45, 46, 3, 8, 70},
    {47, 48, 49, 50, 51, 52, 53, 54, 55, 4, 9, 69},
    {56, 57, 58, 59, 60, 61, 62, 63, 64, 5, 10, 68},
};
enum Field {
  kKindStructure, kUse, kArea, kLocation, kChangeDate, kChangeReason, kCounterpartyName,
  kCounterpartyAddress, kSoldAssetAcquiredDate, kClosingBalance, kBookValue, kPrice
};
constexpr int kTextCount = 9;
constexpr int kAmountColumns = 3;

constexpr int kLastLine = 2 * (kEntryCount + 1);  // the bottom line

// Where each field stands: the line of its entry (0 or 1) and its column;
// the location spans the first three columns.
struct Place {
  int line;
  int column;
};
constexpr Place kPlaces[12] = {
    {0, 0}, {0, 1}, {0, 2}, {1, 0}, {0, 4}, {1, 4},
    {0, 6}, {1, 6}, {1, 7}, {1, 3}, {1, 5}, {0, 5},
};
constexpr int kBalanceColumn = 3;

EntryScreenLayout FixedAssetsLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form7", "固定資産⑦", "Command3", "Command2", "ミルダント", "ミルダント"});
  // The stored totals are not trusted: the load works both out from the rows.
  layout.totalsOnLoad = TotalsOnLoad::Recomputed;

  const TwoLineGrid grid(
      GridGeometry(120, 120, 330, {1700, 1300, 1000, 1500, 1300, 1500, 2300, 1200}, 15), 45);
  auto rectOf = [&grid](int line, int column) {
    if (line % 2 == 0 || column != 0) return grid.Cell(line, column);
    return grid.Span(line, 0, 2);
  };
  const int closingLine = grid.Lines().Right() + 60;
  layout.clientTwips = QSize(closingLine + 120, grid.Cell(kLastLine, 0).bottom() + 1 + 120);

  const std::tuple<int, int, const char*, const char*> headings[] = {
      {0, 0, "Text11", "種類構造"},           {0, 1, "Text12", "用　途"},
      {0, 2, "Text13", "面積"},               {0, 4, "Text15", "移動年月日"},
      {0, 5, "Text67", "取得処分価額"},       {0, 6, "Text17", "売却(購入)先の名称"},
      {1, 0, "Text14", "物件の所在地"},       {1, 3, "Text65", "期末現在高"},
      {1, 4, "Text16", "移動事由"},           {1, 5, "Text66", "異動直前簿価"},
      {1, 6, "Text18", "売却(購入)先の住所"}, {1, 7, "Text19", "売却年月"},
  };
  for (const auto& [line, column, name, text] : headings) {
    AddHeading(layout, name, QString::fromUtf8(text), rectOf(line, column));
  }

  FileLayout texts{{StatementMark::FixedAssets, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::FixedAssets, FileRole::Amounts},
                     std::vector<FileValue>(kEntryCount * kAmountColumns + 2)};
  QStringList textCells;
  QStringList amountCells(kEntryCount * kAmountColumns);
  for (int e = 0; e < kEntryCount; ++e) {
    const int first = 2 * (e + 1);
    for (int f = 0; f < 12; ++f) {
      const QString name = BoxName(kEntries[e][f]);
      const QRect rect = rectOf(first + kPlaces[f].line, kPlaces[f].column);
      if (f < kTextCount) {
        // Area and the two dates are figures: the input method stays.
        const bool figure = f == kArea || f == kChangeDate || f == kSoldAssetAcquiredDate;
        AddTextCell(layout, name, rect, QString(),
                    figure ? InputMode::Unchanged : InputMode::Hiragana);
        texts.values.push_back({ValueKind::Text, name});
        textCells.append(name);
        continue;
      }
      AddAmountCell(layout, name, rect);
      // Amount values 1-5 balances, 6-10 book values, 11-15 prices.
      const int value = (f - kTextCount) * kEntryCount + e;
      amounts.values[static_cast<std::size_t>(value)] = {ValueKind::Amount, name};
      amountCells[value] = name;
    }
  }
  const QString balanceTotal = BoxName(73);
  const QString bookValueTotal = BoxName(74);
  AddAmountCell(layout, balanceTotal, grid.Cell(kLastLine, kBalanceColumn));
  AddAmountCell(layout, bookValueTotal, grid.Cell(kLastLine, 5));
  amounts.values[15] = {ValueKind::Amount, balanceTotal};
  amounts.values[16] = {ValueKind::Amount, bookValueTotal};
  layout.files = {texts, amounts};

  // The prices have no total.
  layout.totals = {SumRule({FileRole::Amounts, 16}, 1, kEntryCount),
                   SumRule({FileRole::Amounts, 17}, kEntryCount + 1, 2 * kEntryCount)};

  // The first line of the heading and of every entry has no box under the
  // balance and the last column.
  for (int line = 0; line < kLastLine; line += 2) {
    for (int column : {kBalanceColumn, 7}) AddCrossedCell(layout, grid.Cell(line, column));
  }
  AddLine(layout, QPoint(closingLine, grid.Cell(0, 0).top()),
          QPoint(closingLine, grid.Cell(kLastLine - 1, 0).bottom() + 1));

  AddBottomLine(layout, {grid.Cell(kLastLine, 0), "Command4", grid.Cell(kLastLine, 1),
                         amountCells + QStringList{balanceTotal, bookValueTotal} + textCells,
                         grid.Cell(kLastLine, 2), "合　　計", grid.Cell(kLastLine, 4)});
  return layout;
}

}  // namespace

FixedAssetsScreen::FixedAssetsScreen() : EntryScreen(FixedAssetsLayout()) {}

}  // namespace mirudanto::statements
