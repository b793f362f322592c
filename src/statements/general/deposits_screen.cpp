#include "statements/general/deposits_screen.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

// The boxes of each row: bank, branch, kind, account number, balance, remarks.
// From row 9 on the numbers fall from left to right.
constexpr int kRows[15][6] = {
    {7, 8, 9, 10, 11, 12},     {13, 14, 15, 16, 17, 18}, {19, 20, 21, 22, 23, 24},
    {25, 26, 27, 28, 29, 30},  {31, 32, 33, 34, 35, 36}, {37, 38, 39, 40, 41, 42},
    {43, 44, 45, 46, 47, 48},  {49, 50, 51, 52, 53, 54}, {90, 89, 88, 87, 86, 85},
    {84, 83, 82, 81, 80, 79},  {78, 77, 76, 75, 74, 73}, {72, 71, 70, 69, 68, 67},
    {66, 65, 64, 63, 62, 61},  {60, 59, 58, 57, 56, 55}, {96, 95, 94, 93, 92, 91},
};
constexpr int kBalance = 4;
// The text columns in file order within a row.
constexpr int kTextColumns[5] = {0, 1, 2, 3, 5};

QString Box(int number) { return QStringLiteral("Text%1").arg(number); }

EntryScreenLayout DepositsLayout() {
  EntryScreenLayout layout;
  layout.name = QStringLiteral("Form2");
  layout.caption = QStringLiteral("預貯金等の内訳書①");
  layout.loadButton = QStringLiteral("Command16");
  layout.saveButton = QStringLiteral("Command1");
  layout.loadTitle = QStringLiteral("預貯金");
  layout.saveTitle = QStringLiteral("預貯金");

  const GridGeometry grid(120, 120, 330, {1900, 1500, 1500, 1400, 1700, 2100}, 15);
  const int wordsLeft = grid.Right() + 240;
  layout.clientTwips = QSize(wordsLeft + 1500 + 120, grid.Bottom(18));

  const char* headings[6] = {"銀行名", "支　　店", "種　　類", "口座番号", nullptr, "摘　　　要"};
  for (int c = 0; c < 6; ++c) {
    if (headings[c] == nullptr) continue;
    layout.boxes.push_back({Box(c + 1), grid.Cell(0, c), QString::fromUtf8(headings[c]),
                            BoxStyle::Heading});
  }

  FileLayout texts{{StatementMark::Deposits, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::Deposits, FileRole::Amounts}, {}};
  QStringList textCells;
  QStringList balanceCells;
  for (int r = 0; r < 15; ++r) {
    for (int c : kTextColumns) {
      const QString name = Box(kRows[r][c]);
      QString initial = QStringLiteral("　");
      if (r == 0 && c == 0) initial.clear();
      if (r == 0 && c == 2) initial = QStringLiteral("　現　　金");
      // The account number is a number: the input method stays as it is.
      const InputMode mode = c == 3 ? InputMode::Unchanged : InputMode::Hiragana;
      layout.boxes.push_back({name, grid.Cell(r + 1, c), initial, BoxStyle::Entry, Qt::AlignLeft,
                              mode});
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString balance = Box(kRows[r][kBalance]);
    layout.boxes.push_back(AmountBox(balance, grid.Cell(r + 1, kBalance)));
    amounts.values.push_back({ValueKind::Amount, balance});
    balanceCells.append(balance);
  }
  const QString total = Box(97);
  layout.boxes.push_back(AmountBox(total, grid.Cell(16, kBalance)));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  layout.totals = {SumRule({1, 16}, 1, 15)};

  layout.boxes.push_back({layout.codeBox, grid.Cell(16, 2), QString(), BoxStyle::Hidden});

  // The deposit-kind words, which no operation reads and no file holds.
  const QStringList wordBoxes = {Box(5), Box(99), Box(100), Box(101), Box(102)};
  const QStringList initialWords = {"現　　　金　", "当座預金", "普通預金", "定期預金",
                                    "定期積金"};
  for (int k = 0; k < 5; ++k) {
    layout.boxes.push_back({wordBoxes[k], QRect(wordsLeft, grid.Cell(k + 1, 0).top(), 1500, 330),
                            initialWords[k], BoxStyle::Entry, Qt::AlignLeft, InputMode::Hiragana});
  }
  QStringList restoredWords = initialWords;
  restoredWords[0] = QStringLiteral("現　　　金");

  const QStringList balancesAndTotal = balanceCells + QStringList{total};
  layout.buttons = {
      {"Command17", "期末現在高", grid.Cell(0, kBalance), ButtonRole::ClearBoxes,
       balancesAndTotal},
      {"Command16", "DATA", grid.Cell(16, 0), ButtonRole::Load},
      {"Command3", "クリア", grid.Cell(16, 1), ButtonRole::ClearBoxes,
       textCells + balancesAndTotal},
      {"Command1", "合　　　計", grid.Cell(16, 5), ButtonRole::Save},
      {"Command2", "復　　活", QRect(wordsLeft, grid.Cell(6, 0).top() + 60, 1500, 390),
       ButtonRole::FillWord, wordBoxes, restoredWords},
  };
  return layout;
}

}  // namespace

DepositsScreen::DepositsScreen() : EntryScreen(DepositsLayout()) {}

}  // namespace mirudanto::statements
