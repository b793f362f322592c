#pragma once

#include <QRect>
#include <QString>

#include "statements/grid_geometry.h"

namespace mirudanto::statements {

// The seven two-line rows that the loans receivable screen (④貸) and both
// pages of the borrowings (⑪) share box for box: the name, relationship and
// interest on a row's first line; the address (under name and relationship),
// closing balance, rate, reason and collateral on its second.
namespace loan_rows {

constexpr int kRowCount = 7;

enum Field { kName, kRelationship, kInterest, kAddress, kBalance, kRate, kReason, kCollateral };

// The grid's columns, left to right; interest and rate share one.
enum Column { kNameColumn, kRelationshipColumn, kBalanceColumn, kInterestColumn, kReasonColumn,
              kCollateralColumn };

// The box of a field in row r (from 1).
QString BoxOf(int r, Field field);
// Where that box stands: row r takes lines 2r and 2r + 1 of the grid, below
// its two heading lines.
QRect CellOf(const TwoLineGrid& grid, int r, Field field);

}  // namespace loan_rows
}  // namespace mirudanto::statements
