#pragma once

#include <QStringList>

#include "core/statement_files.h"
#include "statements/entry_screen_layout.h"
#include "statements/grid_geometry.h"

namespace mirudanto::statements {

// The grid that the advance payments screen (④仮, Form5) and the upper table
// of the suspense receipts screen (⑩, Form12) share cell for cell: a heading
// line, ten rows of account, counterparty name, address, relationship,
// closing balance and transaction detail, and the total row 11, whose balance
// box Text67 shows the total of rows 1 to 10.
struct CounterpartyGrid {
  // Row 0 is the heading line, rows 1 to 11 the table; the bottom line goes in
  // row kBottomRow.
  GridGeometry geometry;
  QStringList textCells;     // the 55 text cells in the order of text values 1 to 55
  QStringList balanceCells;  // the balance cells of rows 1 to 10, then Text67

  static constexpr int kBottomRow = 12;
  static constexpr int kBalanceColumn = 4;
};

// Adds the grid to a layout: its heading boxes and the "期末現在高" column
// button Command17, its 66 cells, the screen's two files of the given mark
// holding text values 1 to 55 and amount values 1 to 11 (a screen may append
// values of its own after them), and the total of rows 1 to 10 as amount 11.
CounterpartyGrid AddCounterpartyGrid(EntryScreenLayout& layout, StatementMark mark);

}  // namespace mirudanto::statements
