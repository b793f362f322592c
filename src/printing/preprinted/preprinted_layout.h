#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "core/statement_files.h"
#include "printing/page_plan.h"
#include "printing/print_data_set.h"

namespace mirudanto::printing {

// What one row of a preprinted layout does.
enum class Place {
  Repeat,     // the rows up to the matching End, printed row by row for r = 1..count
  End,
  Size,       // the font size of every later item
  Text,       // a stored text, its left at x
  Literal,    // a text of the layout, its left at x
  Amount,     // a stored amount, right-aligned at x
  Number,     // one of the six 16-bit numbers that open the ⑤ text file
  Correction, // the row correction of ②: every y of rows first..last moves by `value`
  LiteralIf,  // the layout's text, when the stored text is exactly `word`
  Sum,        // the sum of stored amounts, right-aligned at x (see SumRule)
};

// How a sum that the page works out itself is printed.
enum class SumRule {
  Wide,     // held in 64 bits and printed whole: it never wraps and never fails
  Fitting,  // must fit an Amount; beyond 32 bits the print fails with overflow
};

// One row of a layout table. A stored value is value a·r + b of its file, r
// being the row of the enclosing Repeat (0 outside one). Positions are the
// sheet's millimetres at r = 1; a row inside a Repeat moves down by the
// Repeat's pitch for each later r.
struct Placement {
  Place place;
  StatementMark mark = StatementMark::Deposits;
  int a = 0;
  int b = 0;
  double x = 0;
  double y = 0;
  double points = 0;            // Size
  Nudge nudge = Nudge::None;    // Amount, Sum
  QString text;                 // Literal, LiteralIf
  QString word;                 // LiteralIf
  int count = 0;                // Repeat
  double pitch = 0;             // Repeat
  int first = 0, last = 0;      // Correction
  double value = 0;             // Correction
  SumRule rule = SumRule::Wide; // Sum
  std::vector<AmountRun> runs;  // Sum
};

using PreprintedLayout = std::vector<Placement>;

// The layout of a statement on its official sheet; none for ⑧, which has no
// preprinted print.
const PreprintedLayout& PreprintedLayoutOf(PrintStatement statement);

// Writes a statement's page into the plan: every row of its layout in order,
// every x moved by offsetX and every y by offsetY. Only reads the data set.
// Fails (overflow) when a sum of a Fitting rule leaves 32 bits.
void PlanPreprintedPage(PagePlan& plan, const PreprintedLayout& layout, const PrintDataSet& data,
                        int offsetX, int offsetY);

}  // namespace mirudanto::printing
