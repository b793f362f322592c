#include "statements/general/advance_payments_screen.h"

#include "statements/general/counterparty_grid.h"

namespace mirudanto::statements {
namespace {

EntryScreenLayout AdvancePaymentsLayout() {
  EntryScreenLayout layout;
  layout.name = QStringLiteral("Form5");
  layout.caption = QStringLiteral("仮払金④");
  layout.loadButton = QStringLiteral("Command2");
  layout.saveButton = QStringLiteral("Command1");
  layout.loadTitle = QStringLiteral("ミルダント");
  layout.saveTitle = QStringLiteral("仮払金");

  const CounterpartyGrid grid = AddCounterpartyGrid(layout, StatementMark::AdvancePayments);
  const GridGeometry& cells = grid.geometry;
  const int bottom = CounterpartyGrid::kBottomRow;
  layout.clientTwips = QSize(cells.Right() + 120, cells.Bottom(bottom + 1) + 120);

  // The bottom line: "DATA", "クリア", the hidden code box, and "合　　　計"
  // under the balance column.
  layout.buttons.push_back({"Command2", "DATA", cells.Cell(bottom, 0), ButtonRole::Load});
  layout.buttons.push_back({"Command3", "クリア", cells.Cell(bottom, 1), ButtonRole::ClearBoxes,
                            grid.textCells + grid.balanceCells});
  layout.boxes.push_back({layout.codeBox, cells.Cell(bottom, 2), QString(), BoxStyle::Hidden});
  layout.buttons.push_back({"Command1", "合　　　計",
                            cells.Cell(bottom, CounterpartyGrid::kBalanceColumn),
                            ButtonRole::Save});
  return layout;
}

}  // namespace

AdvancePaymentsScreen::AdvancePaymentsScreen() : EntryScreen(AdvancePaymentsLayout()) {}

}  // namespace mirudanto::statements
