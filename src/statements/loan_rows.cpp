#include "statements/loan_rows.h"

#include "statements/layout_builders.h"

namespace mirudanto::statements::loan_rows {
namespace {

constexpr int kRows[kRowCount][8] = {
    {9, 10, 12, 11, 1, 13, 14, 15},   {17, 18, 20, 19, 16, 21, 22, 23},
    {25, 26, 28, 27, 24, 29, 30, 31}, {33, 34, 36, 35, 32, 37, 38, 39},
    {41, 42, 44, 43, 40, 45, 46, 47}, {49, 50, 52, 51, 48, 53, 54, 55},
    {57, 58, 60, 59, 56, 61, 62, 63},
};

}  // namespace

QString BoxOf(int r, Field field) { return BoxName(kRows[r - 1][field]); }

QRect CellOf(const TwoLineGrid& grid, int r, Field field) {
  const int first = 2 * r;
  const int second = first + 1;
  switch (field) {
    case kName: return grid.Cell(first, kNameColumn);
    case kRelationship: return grid.Cell(first, kRelationshipColumn);
    case kInterest: return grid.Cell(first, kInterestColumn);
    case kAddress: return grid.Span(second, kNameColumn, kRelationshipColumn);
    case kBalance: return grid.Cell(second, kBalanceColumn);
    case kRate: return grid.Cell(second, kInterestColumn);
    case kReason: return grid.Cell(second, kReasonColumn);
    case kCollateral: return grid.Cell(second, kCollateralColumn);
  }
  return QRect();
}

}  // namespace mirudanto::statements::loan_rows
