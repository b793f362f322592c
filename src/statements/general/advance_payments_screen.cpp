#include "statements/general/advance_payments_screen.h"

#include "statements/general/counterparty_grid.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

EntryScreenLayout AdvancePaymentsLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form5", "仮払金④", "Command2", "Command1", "ミルダント", "仮払金"});

  const CounterpartyGrid grid = AddCounterpartyGrid(layout, StatementMark::AdvancePayments);
  const GridGeometry& cells = grid.geometry;
  const int bottom = CounterpartyGrid::kBottomRow;
  layout.clientTwips = QSize(cells.Right() + 120, cells.Bottom(bottom + 1) + 120);

  AddBottomLine(layout, {cells.Cell(bottom, 0), "Command3", cells.Cell(bottom, 1),
                         grid.textCells + grid.balanceCells, cells.Cell(bottom, 2), "合　　　計",
                         cells.Cell(bottom, CounterpartyGrid::kBalanceColumn)});
  return layout;
}

}  // namespace

AdvancePaymentsScreen::AdvancePaymentsScreen() : EntryScreen(AdvancePaymentsLayout()) {}

}  // namespace mirudanto::statements
