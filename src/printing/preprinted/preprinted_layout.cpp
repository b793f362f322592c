#include "printing/preprinted/preprinted_layout.h"

#include <cstddef>
#include <limits>

#include "core/failure.h"

namespace mirudanto::printing {
namespace {

// Where the rows of a print stand: the row of the enclosing Repeat and what
// moves every position.
struct Frame {
  int row = 0;         // 0 outside a Repeat
  double pitch = 0;
  double correction = 0;
  int offsetX = 0;
  int offsetY = 0;
};

void PlanItem(PagePlan& plan, const Placement& p, const PrintDataSet& data, Frame& frame) {
  const int number = p.a * frame.row + p.b;
  const double x = p.x + frame.offsetX;
  const double rowTerm = frame.row > 0 ? frame.pitch * (frame.row - 1) : 0;
  const double y = p.y + rowTerm + frame.offsetY + frame.correction;
  switch (p.place) {
    case Place::Size: plan.SetFont(kMincho, p.points); break;
    case Place::Text: plan.PutText(x, y, data.TextAt(p.mark, number)); break;
    case Place::Literal: plan.PutText(x, y, p.text); break;
    case Place::Amount:
      RightAlignedAmount(plan, p.x, y, data.AmountAt(p.mark, number), p.nudge, frame.offsetX);
      break;
    case Place::Number: plan.PutText(x, y, NumberText(data.NumberAt(p.mark, number))); break;
    case Place::Correction:
      if (frame.row >= p.first && frame.row <= p.last) frame.correction = p.value;
      break;
    case Place::LiteralIf:
      if (data.TextAt(p.mark, number) == p.word) plan.PutText(x, y, p.text);
      break;
    case Place::Sum:
      RightAlignedAmount(plan, p.x, y, SumOfRuns(data, p.runs, p.rule == SumRule::Fitting), p.nudge, frame.offsetX);
      break;
    case Place::Repeat:
    case Place::End: break;
  }
}

}  // namespace

void PlanPreprintedPage(PagePlan& plan, const PreprintedLayout& layout, const PrintDataSet& data,
                        int offsetX, int offsetY) {
  Frame frame{0, 0, 0, offsetX, offsetY};
  for (std::size_t k = 0; k < layout.size(); ++k) {
    const Placement& p = layout[k];
    if (p.place != Place::Repeat) {
      PlanItem(plan, p, data, frame);
      continue;
    }
    std::size_t end = k + 1;
    while (end < layout.size() && layout[end].place != Place::End) ++end;
    for (int r = 1; r <= p.count; ++r) {
      frame.row = r;
      frame.pitch = p.pitch;
      for (std::size_t item = k + 1; item < end; ++item) PlanItem(plan, layout[item], data, frame);
    }
    // The correction belongs to the rows: whatever follows them stands where
    // the table puts it.
    frame = Frame{0, 0, 0, offsetX, offsetY};
    k = end;
  }
}

}  // namespace mirudanto::printing
