#include "statements/grid_geometry.h"

namespace mirudanto::statements {

GridGeometry::GridGeometry(int left, int top, int rowHeight, std::vector<int> columnWidths,
                           int gap, int rowGap)
    : left_(left),
      top_(top),
      rowHeight_(rowHeight),
      widths_(std::move(columnWidths)),
      gap_(gap),
      rowGap_(rowGap) {}

int GridGeometry::ColumnLeft(int column) const {
  int x = left_;
  for (int c = 0; c < column; ++c) x += widths_[static_cast<std::size_t>(c)] + gap_;
  return x;
}

QRect GridGeometry::Cell(int row, int column) const {
  return QRect(ColumnLeft(column), top_ + row * (rowHeight_ + rowGap_),
               widths_[static_cast<std::size_t>(column)], rowHeight_);
}

QRect GridGeometry::Span(int row, int firstColumn, int lastColumn) const {
  const int x = ColumnLeft(firstColumn);
  const int right = ColumnLeft(lastColumn) + widths_[static_cast<std::size_t>(lastColumn)];
  return QRect(x, top_ + row * (rowHeight_ + rowGap_), right - x, rowHeight_);
}

int GridGeometry::Right() const { return ColumnLeft(static_cast<int>(widths_.size())) - gap_; }

int GridGeometry::Bottom(int rows) const { return top_ + rows * (rowHeight_ + rowGap_) - rowGap_; }

QRect TwoLineGrid::Cell(int line, int column) const {
  return lines_.Cell(line, column).translated(0, (line / 2) * entryGap_);
}

QRect TwoLineGrid::Span(int line, int firstColumn, int lastColumn) const {
  return lines_.Span(line, firstColumn, lastColumn).translated(0, (line / 2) * entryGap_);
}

}  // namespace mirudanto::statements
