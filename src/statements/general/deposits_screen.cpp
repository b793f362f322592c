#include "statements/general/deposits_screen.h"

#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kRowCount = 15;

// The boxes of each row: bank, branch, kind, account number, balance, remarks.
// From row 9 on the numbers fall from left to right.
constexpr int kRows[kRowCount][6] = {
    {7, 8, 9, 10, 11, 12},     {13, 14, 15, 16, 17, 18}, {19, 20, 21, 22, 23, 24},
    {25, 26, 27, 28, 29, 30},  {31, 32, 33, 34, 35, 36}, {37, 38, 39, 40, 41, 42},
    {43, 44, 45, 46, 47, 48},  {49, 50, 51, 52, 53, 54}, {90, 89, 88, 87, 86, 85},
    {84, 83, 82, 81, 80, 79},  {78, 77, 76, 75, 74, 73}, {72, 71, 70, 69, 68, 67},
    {66, 65, 64, 63, 62, 61},  {60, 59, 58, 57, 56, 55}, {96, 95, 94, 93, 92, 91},
};
constexpr int kBalance = 4;
// The text columns in file order within a row.
constexpr int kTextColumns[5] = {0, 1, 2, 3, 5};

EntryScreenLayout DepositsLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form2", "預貯金等の内訳書①", "Command16", "Command1", "預貯金", "預貯金"});

  const GridGeometry grid(120, 120, 330, {1900, 1500, 1500, 1400, 1700, 2100}, 15);
  const int wordsLeft = grid.Right() + 240;
  layout.clientTwips = QSize(wordsLeft + 1500 + 120, grid.Bottom(18));

  const char* headings[6] = {"銀行名", "支　　店", "種　　類", "口座番号", nullptr, "摘　　　要"};
  for (int c = 0; c < 6; ++c) {
    if (headings[c] != nullptr) {
      AddHeading(layout, BoxName(c + 1), QString::fromUtf8(headings[c]), grid.Cell(0, c));
    }
  }

  FileLayout texts{{StatementMark::Deposits, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::Deposits, FileRole::Amounts}, {}};
  QStringList textCells;
  QStringList balanceCells;
  for (int r = 0; r < kRowCount; ++r) {
    for (int c : kTextColumns) {
      const QString name = BoxName(kRows[r][c]);
      QString initial = QStringLiteral("　");
      if (r == 0 && c == 0) initial.clear();
      if (r == 0 && c == 2) initial = QStringLiteral("　現　　金");
      // The account number is a number: the input method stays as it is.
      AddTextCell(layout, name, grid.Cell(r + 1, c), initial,
                  c == 3 ? InputMode::Unchanged : InputMode::Hiragana);
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString balance = BoxName(kRows[r][kBalance]);
    AddAmountCell(layout, balance, grid.Cell(r + 1, kBalance));
    amounts.values.push_back({ValueKind::Amount, balance});
    balanceCells.append(balance);
  }
  const QString total = BoxName(97);
  AddAmountCell(layout, total, grid.Cell(16, kBalance));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  layout.totals = {SumRule({FileRole::Amounts, 16}, 1, kRowCount)};

  const QStringList balancesAndTotal = balanceCells + QStringList{total};
  AddClearingButton(layout, "Command17", "期末現在高", grid.Cell(0, kBalance), balancesAndTotal);
  AddBottomLine(layout, {grid.Cell(16, 0), "Command3", grid.Cell(16, 1),
                         textCells + balancesAndTotal, grid.Cell(16, 2), "合　　　計",
                         grid.Cell(16, 5)});

  // The deposit-kind words, which no operation reads and no file holds.
  const QStringList wordBoxes = {BoxName(5), BoxName(99), BoxName(100), BoxName(101),
                                 BoxName(102)};
  const QStringList initialWords = {"現　　　金　", "当座預金", "普通預金", "定期預金",
                                    "定期積金"};
  for (int k = 0; k < 5; ++k) {
    AddTextCell(layout, wordBoxes[k], QRect(wordsLeft, grid.Cell(k + 1, 0).top(), 1500, 330),
                initialWords[k]);
  }
  QStringList restoredWords = initialWords;
  restoredWords[0] = QStringLiteral("現　　　金");
  AddWordButton(layout, "Command2", "復　　活",
                QRect(wordsLeft, grid.Cell(6, 0).top() + 60, 1500, 390), wordBoxes,
                restoredWords);
  return layout;
}

}  // namespace

DepositsScreen::DepositsScreen() : EntryScreen(DepositsLayout()) {}

}  // namespace mirudanto::statements
