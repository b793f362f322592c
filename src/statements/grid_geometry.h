#pragma once

#include <QRect>
#include <vector>

namespace mirudanto::statements {

// Geometry of a grid laid out by order: column widths and a row height, in
// twips, from a top-left corner; `gap` between two columns, `rowGap` between
// two rows.
class GridGeometry {
 public:
  GridGeometry(int left, int top, int rowHeight, std::vector<int> columnWidths, int gap = 0,
               int rowGap = 0);
  QRect Cell(int row, int column) const;  // row 0 is the heading line
  QRect Span(int row, int firstColumn, int lastColumn) const;
  int Right() const;
  int Bottom(int rows) const;
  int ColumnLeft(int column) const;

 private:
  int left_;
  int top_;
  int rowHeight_;
  std::vector<int> widths_;
  int gap_;
  int rowGap_;
};

// A grid whose entries take two lines each, with a little space between two
// entries so that each pair of lines reads as one: line 0 and 1 are the
// heading, entry e has lines 2e and 2e + 1.
class TwoLineGrid {
 public:
  TwoLineGrid(GridGeometry lines, int entryGap) : lines_(std::move(lines)), entryGap_(entryGap) {}
  QRect Cell(int line, int column) const;
  QRect Span(int line, int firstColumn, int lastColumn) const;
  const GridGeometry& Lines() const { return lines_; }

 private:
  GridGeometry lines_;
  int entryGap_;
};

}  // namespace mirudanto::statements
