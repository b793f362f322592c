#include "statements/ledgers/ledger_screen.h"

#include "core/failure.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

constexpr int kMostRows = 14;

// The boxes of each row: account (科目), name (名称（氏名）), address
// (所在地（住所）), closing balance (期末現在高), remarks (摘要). The smaller
// screens have the first 13 and 11 rows, with the same names.
constexpr int kRows[kMostRows][5] = {
    {7, 8, 9, 11, 10},    {14, 13, 12, 4, 5},   {19, 18, 17, 15, 16}, {24, 23, 22, 20, 21},
    {29, 28, 27, 25, 26}, {34, 33, 32, 30, 31}, {39, 38, 37, 35, 36}, {44, 43, 42, 40, 41},
    {49, 48, 47, 45, 46}, {54, 53, 52, 50, 51}, {59, 58, 57, 55, 56}, {64, 63, 62, 60, 61},
    {69, 68, 67, 65, 66}, {74, 73, 72, 70, 71},
};
// The columns, left to right, which are also the columns of each RowLayout.
enum Column { kAccount, kName, kAddress, kBalance, kRemarks };
// The text columns in the order of the text file: all accounts, all names,
// all addresses, all remarks.
constexpr Column kTextColumns[4] = {kAccount, kName, kAddress, kRemarks};
// What moves with a row when the rows are ordered, in the order its cells are
// written; the account belongs to the grid position.
constexpr Column kMovingColumns[4] = {kName, kAddress, kBalance, kRemarks};

const QString kTotalBox = QStringLiteral("Text118");
const QString kCaptureButton = QStringLiteral("Command7");
const QString kOrderButton = QStringLiteral("Command5");

// What differs between the three screens.
struct LedgerDesign {
  const char* name;
  const char* caption;
  StatementMark mark;
  int rows;
  const char* word;  // of the "科　目" button, and row 1's initial account
  // The capture takes the accounts and works out and shows the total
  // (③ and ⑨未), or takes only the balances and the moving texts (⑨買).
  bool captureAccountsAndTotal;
  // The Tab order runs from the "期末現在高" button down the rows (③), or from
  // the "科　目" button up from the bottom line (⑨買, ⑨未).
  bool tabDownFromBalanceButton;
};

LedgerDesign DesignOf(LedgerKind kind) {
  switch (kind) {
    case LedgerKind::Receivables:
      return {"Form4", "売掛金③", StatementMark::Receivables, 14, "売掛金", true, true};
    case LedgerKind::Payables:
      return {"Form9", "買掛金⑨", StatementMark::Payables, 13, "買掛金", false, false};
    case LedgerKind::OtherPayables:
      return {"Form11", "未払金⑨", StatementMark::OtherPayables, 11, "未払金", true, false};
  }
  return {};
}

QString Cell(int row, Column column) { return BoxName(kRows[row - 1][column]); }

EntryScreenLayout LedgerLayout(LedgerKind kind) {
  const LedgerDesign design = DesignOf(kind);
  const int n = design.rows;
  EntryScreenLayout layout = NewEntryLayout(
      {design.name, design.caption, "Command3", "Command2", "ミルダント", "ミルダント"});
  layout.fontPoints = 11.25;

  // Column left edges 120, 960, 2880 and 5160; boxes 330 high, a row every
  // 360 from the heading line at 120. Each column ends where the next begins,
  // so that no two boxes share a pixel; the balance column is 345 wider than
  // the design's 1455, so that the widest amounts show whole in this font
  // with room to spare, and the remarks column follows it.
  const GridGeometry grid(120, 120, 330, {840, 1920, 2280, 1800, 1335}, 0, 30);
  const int bottom = n + 1;  // the bottom line
  layout.clientTwips = QSize(grid.Right() + 120, grid.Bottom(bottom + 1) + 120);

  // The rows: one value of the amount file and four of the text file each,
  // the text file by column (value cN + r for text column c from 0).
  FileLayout texts{{design.mark, FileRole::Text}, std::vector<FileValue>(4 * n)};
  FileLayout amounts{{design.mark, FileRole::Amounts}, {}};
  QStringList balances;
  QStringList textCells[4];
  for (int r = 1; r <= n; ++r) {
    RowLayout row(5);
    for (int c = 0; c < 4; ++c) {
      const Column column = kTextColumns[c];
      QString initial;
      if (column == kAccount) {
        initial = r == 1 ? QString::fromUtf8(design.word) : QStringLiteral("　");
      }
      const QString name = Cell(r, column);
      AddTextCell(layout, name, grid.Cell(r, column), initial);
      texts.values[static_cast<std::size_t>(c * n + r - 1)] = {ValueKind::Text, name};
      row[column] = {FileRole::Text, c * n + r};
      textCells[c].append(name);
    }
    const QString balance = Cell(r, kBalance);
    AddAmountCell(layout, balance, grid.Cell(r, kBalance));
    amounts.values.push_back({ValueKind::Amount, balance});
    row[kBalance] = {FileRole::Amounts, r};
    balances.append(balance);
    layout.rows.push_back(row);
  }
  AddAmountCell(layout, kTotalBox, grid.Cell(bottom, kBalance));
  amounts.values.push_back({ValueKind::Amount, kTotalBox});
  layout.files = {texts, amounts};
  layout.totals = {SumRule({FileRole::Amounts, n + 1}, 1, n)};

  // The heading line: the word button, two heading boxes, the column button,
  // a heading box.
  AddWordButton(layout, "Command1", "科　目", grid.Cell(0, kAccount), {Cell(1, kAccount)},
                {QString::fromUtf8(design.word)});
  AddHeading(layout, "Text2", "名称（氏名）", grid.Cell(0, kName));
  AddHeading(layout, "Text3", "所在地（住所）", grid.Cell(0, kAddress));
  const QStringList balancesAndTotal = balances + QStringList{kTotalBox};
  AddClearingButton(layout, "Command17", "期末現在高", grid.Cell(0, kBalance), balancesAndTotal);
  AddHeading(layout, "Text6", "摘　　　要", grid.Cell(0, kRemarks));

  // The bottom line: "DATA", "クリア", "大きい順に並び替え", the total, "合　　計";
  // below it the hidden code box and the hidden capture, which only code
  // presses.
  const QStringList allTexts = textCells[0] + textCells[1] + textCells[2] + textCells[3];
  AddBottomLine(layout, {grid.Cell(bottom, kAccount), "Command4", grid.Cell(bottom, kName),
                         balancesAndTotal + allTexts, grid.Cell(bottom + 1, kAccount),
                         "合　　計", grid.Cell(bottom, kRemarks)});
  layout.buttons.push_back({kOrderButton, "大きい順に並び替え", grid.Cell(bottom, kAddress),
                            ButtonRole::Custom});
  ButtonLayout capture{kCaptureButton, "並替用のデータ呼出", grid.Span(bottom + 1, kName, kAddress),
                       ButtonRole::Capture};
  capture.boxes = balances + (design.captureAccountsAndTotal ? allTexts
                                                             : textCells[1] + textCells[2] +
                                                                   textCells[3]);
  capture.capturesTotals = design.captureAccountsAndTotal;
  capture.hidden = true;
  layout.buttons.push_back(capture);

  // The Tab order, each row's cells in the order of the design.
  QStringList& order = layout.focusOrder;
  if (design.tabDownFromBalanceButton) {
    auto rowCells = [](int r) {
      return QStringList{Cell(r, kBalance), Cell(r, kRemarks), Cell(r, kAddress), Cell(r, kName),
                         Cell(r, kAccount)};
    };
    order << "Command17" << rowCells(1) << "Text6" << "Text3" << "Text2";
    for (int r = 2; r <= n; ++r) order << rowCells(r);
    order << "Command4" << "Command3" << "Command2" << kTotalBox << "Command1" << kOrderButton;
  } else {
    auto rowCells = [](int r) {
      return QStringList{Cell(r, kAccount), Cell(r, kName), Cell(r, kAddress), Cell(r, kRemarks),
                         Cell(r, kBalance)};
    };
    order << "Command1" << kTotalBox << "Command2" << "Command3" << "Command4";
    for (int r = n; r >= 2; --r) order << rowCells(r);
    order << "Text2" << "Text3" << "Text6" << rowCells(1) << "Command17" << kOrderButton;
  }
  return layout;
}

}  // namespace

LedgerScreen::LedgerScreen(LedgerKind kind) : EntryScreen(LedgerLayout(kind)) {
  OnClick(kOrderButton, [this] { OrderByAmount(); });
}

Amount LedgerScreen::CapturedBalance(int row) const {
  return Held()[Layout().rows[static_cast<std::size_t>(row - 1)][kBalance]].number;
}

void LedgerScreen::WriteRowFrom(int to, int from) {
  const RowLayout& target = Layout().rows[static_cast<std::size_t>(to - 1)];
  const RowLayout& source = Layout().rows[static_cast<std::size_t>(from - 1)];
  for (Column column : kMovingColumns) {
    const HeldValue& value = Held()[source[column]];
    // A balance in plain digits: no separators, zero as "0".
    Write(Layout().ValueAt(target[column]).box,
          column == kBalance ? QString::number(value.number) : value.text);
  }
}

void LedgerScreen::OrderByAmount() {
  RunBeforeSaving([this] {
    const int n = RowCount();
    try {
      for (int i = 1; i < n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
          Press(kCaptureButton);
          // Only a strictly smaller balance gives way: equal rows stay.
          if (CapturedBalance(i) < CapturedBalance(j)) {
            WriteRowFrom(i, j);
            WriteRowFrom(j, i);
          }
        }
      }
      Press(kCaptureButton);
      WriteRowFrom(n, n);
    } catch (const Failure&) {
      // Only a balance that is no number or one beyond 32 bits fails a
      // capture, and it fails the first one, before any row has moved.
      // Nothing is ordered; the save is pressed so that it refuses the cell
      // as it would, with its message and the cell shown, rather than leave
      // the user without a word.
    }
    Press(Layout().saveButton);
  });
}

}  // namespace mirudanto::statements
