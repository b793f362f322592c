#include "statements/general/counterparty_grid.h"

#include <algorithm>
#include <iterator>

#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kRows = 11;
constexpr int kTotalRow = 11;

// The boxes of each row: account, name, address, relationship, balance,
// transaction detail. Row 2's detail cell is Text5; from row 3 on the numbers
// fall from left to right.
constexpr int kCells[kRows][6] = {
    {7, 8, 9, 10, 11, 12},    {17, 16, 15, 14, 13, 5},  {23, 22, 21, 20, 19, 18},
    {29, 28, 27, 26, 25, 24}, {35, 34, 33, 32, 31, 30}, {41, 40, 39, 38, 37, 36},
    {47, 46, 45, 44, 43, 42}, {53, 52, 51, 50, 49, 48}, {59, 58, 57, 56, 55, 54},
    {65, 64, 63, 62, 61, 60}, {71, 70, 69, 68, 67, 66},
};
// The text columns in the order of the file (k = 1 to 5).
constexpr int kTextColumns[5] = {0, 1, 2, 3, 5};

}  // namespace

CounterpartyGrid AddCounterpartyGrid(EntryScreenLayout& layout, StatementMark mark) {
  CounterpartyGrid grid{GridGeometry(120, 120, 330, {1300, 2100, 3400, 1000, 1700, 2300}, 15),
                        {}, {}};

  const char* headings[6] = {"科　目", "名称（氏名）", "所在地（住所）", "関係", nullptr,
                             "取引内容"};
  for (int c = 0; c < 6; ++c) {
    if (headings[c] != nullptr) {
      AddHeading(layout, BoxName(c + 1), QString::fromUtf8(headings[c]), grid.geometry.Cell(0, c));
    }
  }

  // The cells are made row by row, so that the keyboard moves along a row.
  FileLayout texts{{mark, FileRole::Text}, std::vector<FileValue>(5 * kRows)};
  FileLayout amounts{{mark, FileRole::Amounts}, std::vector<FileValue>(kRows)};
  std::vector<QString> textCells(5 * kRows);
  for (int r = 1; r <= kRows; ++r) {
    for (int column = 0; column < 6; ++column) {
      const QString name = BoxName(kCells[r - 1][column]);
      const QRect cell = grid.geometry.Cell(r, column);
      if (column == CounterpartyGrid::kBalanceColumn) {
        AddAmountCell(layout, name, cell);
        amounts.values[static_cast<std::size_t>(r - 1)] = {ValueKind::Amount, name};
        grid.balanceCells.append(name);
        continue;
      }
      AddTextCell(layout, name, cell);
      // Text value 11(k - 1) + r, k the text column from 1.
      const int k = static_cast<int>(std::find(std::begin(kTextColumns), std::end(kTextColumns),
                                               column) -
                                     std::begin(kTextColumns));
      const auto value = static_cast<std::size_t>(kRows * k + r - 1);
      texts.values[value] = {ValueKind::Text, name};
      textCells[value] = name;
    }
    // Row 11 is the total, no row of its own.
    if (r < kTotalRow) {
    }
  }
  grid.textCells = QStringList(textCells.begin(), textCells.end());
  layout.files = {texts, amounts};

  layout.totals = {SumRule({FileRole::Amounts, kTotalRow}, 1, kTotalRow - 1)};

  AddClearingButton(layout, "Command17", "期末現在高",
                    grid.geometry.Cell(0, CounterpartyGrid::kBalanceColumn), grid.balanceCells);
  return grid;
}

}  // namespace mirudanto::statements
