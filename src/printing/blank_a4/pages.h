#pragma once

#include "printing/blank_a4/page_table.h"

// The tables of the fourteen pages, one function each; BlankA4Pages puts them
// in screen order.
namespace mirudanto::printing::blank_a4 {

BlankA4Page DepositsPage();
// Page 1 or page 2 of ②, told apart only by their files and where "計" stands.
BlankA4Page NotesReceivablePage(StatementMark mark, double totalLabelY);
BlankA4Page ReceivablesPage();
BlankA4Page NotesPayablePage();
BlankA4Page PayablesPage();
BlankA4Page AdvancesAndLoansPage();
BlankA4Page InventoriesPage();
BlankA4Page FixedAssetsPage();
BlankA4Page SuspenseReceiptsPage();
BlankA4Page RentsPage();
BlankA4Page BorrowingsPage();
BlankA4Page OfficerPayPage();
BlankA4Page MiscGainsLossesPage();

// Shorthands of the tables.
using M = StatementMark;
using S = PrintStatement;
inline constexpr Nudge kNudged = Nudge::Apply;
inline constexpr Nudge kPlain = Nudge::None;

inline Lines Line(LineClass lineClass, double x1, double y1, double x2, double y2) {
  return Lines{lineClass, x1, y1, x2, y2};
}
// A run of `count` lines, each (dx, dy) from the one before.
inline Lines Run(LineClass lineClass, double x1, double y1, double x2, double y2, int count,
                 double dx, double dy) {
  return Lines{lineClass, x1, y1, x2, y2, count, dx, dy};
}
inline Literal Text(double x, double y, double points, const QString& text) {
  return Literal{x, y, points, text};
}
inline TextCell Cell(StatementMark mark, int first, int step, double x, double y, double points) {
  return TextCell{{mark, first, step}, x, y, points};
}
inline AmountCell Figure(StatementMark mark, int first, int step, double right, double y,
                         double points, Nudge nudge) {
  return AmountCell{{mark, first, step}, right, y, points, nudge};
}
// One amount at a fixed place: a stored total.
inline Rows Total(StatementMark mark, int number, double right, double y, double points,
                  Nudge nudge) {
  return Rows{1, 0, {Figure(mark, number, 0, right, y, points, nudge)}};
}

// A box's four sides: top, left, right, bottom.
inline std::vector<PageItem> Box(LineClass lineClass, double left, double top, double right,
                                 double bottom) {
  return {Line(lineClass, left, top, right, top), Line(lineClass, left, top, left, bottom),
          Line(lineClass, right, top, right, bottom), Line(lineClass, left, bottom, right, bottom)};
}

inline std::vector<PageItem> Joined(std::initializer_list<std::vector<PageItem>> parts) {
  std::vector<PageItem> items;
  for (const auto& part : parts) items.insert(items.end(), part.begin(), part.end());
  return items;
}

}  // namespace mirudanto::printing::blank_a4
