#pragma once

#include <QString>
#include <variant>
#include <vector>

#include "core/statement_files.h"
#include "printing/page_plan.h"
#include "printing/print_data_set.h"

namespace mirudanto::printing::blank_a4 {

// The weights of a form's lines, in dots of a 600 dpi printer (0.254, 0.127
// and 0.0423 mm), so that every printer and every PDF shows the same weights.
enum class LineClass : int {
  HeavyLine = 6,   // outer frames, borders between the blocks of a page
  MediumLine = 3,  // row rules, column lines, heading splits, diagonals
  LightLine = 1,   // splits inside one cell, cross-out strokes
};
using enum LineClass;

// A line, or a run of `count` evenly spaced lines, each (dx, dy) from the one
// before.
struct Lines {
  LineClass lineClass;
  double x1, y1, x2, y2;
  int count = 1;
  double dx = 0;
  double dy = 0;
};

// Column lines of one class: an upright at each x, from top to bottom.
struct Uprights {
  LineClass lineClass;
  std::vector<double> xs;
  double top, bottom;
};

// A fixed text at its size, or a run of the same text `count` times, each dy
// below the one before.
struct Literal {
  double x, y, points;
  QString text;
  int count = 1;
  double dy = 0;
};

// Which value of a file a row prints: value first + step × (row − 1).
struct ValueOf {
  StatementMark mark;
  int first;
  int step = 1;
};

// A text of a row, put by its top-left corner.
struct TextCell {
  ValueOf value;
  double x, y, points;
};

// An amount of a row, placed by RightAlignedAmount at its right reference.
struct AmountCell {
  ValueOf value;
  double right, y, points;
  Nudge nudge;
};

// `count` rows, row r standing pitch × (r − 1) below row 1; each row's cells
// are drawn in their order.
struct Rows {
  int count;
  double pitch;
  std::vector<std::variant<TextCell, AmountCell>> cells;
};

// A figure the page works out from the data set while it prints (stored
// nowhere): a 64-bit sum, placed like an amount. A sum that must fit an
// Amount fails with overflow when it does not, and the page sends nothing.
struct SumCell {
  std::vector<AmountRun> terms;
  double right, y, points;
  Nudge nudge;
  bool mustFitAmount = false;
};

// ⑤'s line naming the stocktaking method and date.
struct StocktakingLine {
  double x, y, points;
};

// `mark` (the circle) over an attendance slot when an officer's text is
// exactly `word`: officer 1 at (x, firstY), officer i ≥ 2 at
// (x, y + pitch × (i − 1)).
struct WordCircle {
  ValueOf value;
  int count;
  QString word;
  QString mark;
  double x, firstY, y, pitch, points;
};

using PageItem = std::variant<Lines, Uprights, Literal, Rows, SumCell, StocktakingLine, WordCircle>;

// One statement page on blank A4: what it prints from, whether it starts on the
// basic ruled frame, and its items in the order they are drawn.
struct BlankA4Page {
  PrintStatement statement;
  bool basicFrame;
  std::vector<PageItem> items;
};

// The 24 bands of 10 mm that six of the pages start on.
const std::vector<PageItem>& BasicFrame();

// The fourteen pages in screen order: the order of the sheet counters and of a
// batch.
const std::vector<BlankA4Page>& BlankA4Pages();
const BlankA4Page& PageOf(PrintStatement statement);

// Writes a page into a plan: the basic frame when the page has one, then its
// items, every text in the Mincho face at its own size.
void DrawPage(PagePlan& plan, const BlankA4Page& page, const PrintDataSet& data);

// The literal of the title and of the page mark, where every page has them.
Literal Title(const QString& text, double x = 27);
Literal PageMark(const QString& mark);

// The method and date line of ⑤, from its six leading numbers.
QString StocktakingText(const PrintDataSet& data);

}  // namespace mirudanto::printing::blank_a4
