#include "statements/general/loans_receivable_screen.h"

#include "statements/layout_builders.h"
#include "statements/loan_rows.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

using namespace loan_rows;

constexpr int kEntryCount = kRowCount;

// The texts of an entry in the order the file holds them.
constexpr Field kTextOrder[7] = {kName, kRelationship, kAddress, kInterest,
                                 kRate, kReason, kCollateral};

constexpr int kLastLine = 2 * (kEntryCount + 1);  // the bottom line

EntryScreenLayout LoansReceivableLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form20", "貸付金", "Command3", "Command2", "借入金", "貸付金"});
  // The screen is emptied once the code has been read, so that whatever
  // follows shows only what both files hold, or nothing.
  layout.clearBeforeRead = QStringLiteral("Command4");

  const TwoLineGrid grid(GridGeometry(120, 120, 330, {2200, 1300, 1600, 1400, 1800, 1800}, 15),
                         45);
  layout.clientTwips = QSize(grid.Lines().Right() + 120, grid.Cell(kLastLine, 0).bottom() + 1 + 120);

  AddHeading(layout, "Text2", "貸　付　先", grid.Cell(0, kNameColumn));
  AddHeading(layout, "Text3", "関　係", grid.Cell(0, kRelationshipColumn));
  AddHeading(layout, "Text5", "支払利子額", grid.Cell(0, kInterestColumn));
  AddHeading(layout, "Text4", "所　在　地（住所）", grid.Span(1, kNameColumn, kRelationshipColumn));
  AddHeading(layout, "Text6", "利　　率", grid.Cell(1, kInterestColumn));
  AddHeading(layout, "Text7", "借入理由", grid.Cell(1, kReasonColumn));
  AddHeading(layout, "Text73", "担保の内容", grid.Cell(1, kCollateralColumn));

  FileLayout texts{{StatementMark::LoansReceivable, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::LoansReceivable, FileRole::Amounts}, {}};
  QStringList textCells;
  QStringList balanceCells;
  for (int e = 1; e <= kEntryCount; ++e) {
    for (Field field : kTextOrder) {
      const QString name = BoxOf(e, field);
      // Interest and rate are figures typed as text: the input method stays.
      AddTextCell(layout, name, CellOf(grid, e, field), QString(),
                  field == kInterest || field == kRate ? InputMode::Unchanged
                                                       : InputMode::Hiragana);
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString balance = BoxOf(e, kBalance);
    AddAmountCell(layout, balance, CellOf(grid, e, kBalance));
    amounts.values.push_back({ValueKind::Amount, balance});
    balanceCells.append(balance);
  }
  const QString total = BoxName(72);
  AddAmountCell(layout, total, grid.Cell(kLastLine, kBalanceColumn));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  // The total is stored as computed; the engine never reads it back.
  layout.totals = {SumRule({FileRole::Amounts, 8}, 1, kEntryCount)};

  // The first line has no box under the balance, reason and collateral
  // columns.
  for (int line = 0; line < kLastLine; line += 2) {
    for (int column : {kBalanceColumn, kReasonColumn, kCollateralColumn}) {
      AddCrossedCell(layout, grid.Cell(line, column));
    }
  }

  const QRect dataAndClear = grid.Cell(kLastLine, kNameColumn);
  const int half = (dataAndClear.width() - 15) / 2;
  const QRect data(dataAndClear.left(), dataAndClear.top(), half, dataAndClear.height());
  const QRect clear(dataAndClear.left() + dataAndClear.width() - half, dataAndClear.top(), half,
                    dataAndClear.height());
  const QStringList balancesAndTotal = balanceCells + QStringList{total};
  AddClearingButton(layout, "Command17", "期末現在高", grid.Cell(1, kBalanceColumn),
                    balancesAndTotal);
  AddBottomLine(layout, {data, "Command4", clear, balancesAndTotal + textCells,
                         grid.Cell(kLastLine, kRelationshipColumn), "合　　計",
                         grid.Cell(kLastLine, kInterestColumn)});
  return layout;
}

}  // namespace

LoansReceivableScreen::LoansReceivableScreen() : EntryScreen(LoansReceivableLayout()) {}

}  // namespace mirudanto::statements
