#include "statements/borrowings_and_expenses/rents_screen.h"

#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kRowCount = 7;

// Each row's buttons and boxes: "地代", "家賃", then the boxes of kind, use,
// location, lessor, lessor's address, period, rent paid and remarks.
struct RentRowNames {
  int landButton;
  int buildingButton;
  int kind, use, location, lessor, lessorAddress, period, rent, remarks;
};
constexpr RentRowNames kRows[kRowCount] = {
    {5, 6, 10, 11, 12, 13, 14, 15, 2, 16},       {1, 7, 17, 18, 19, 20, 21, 22, 9, 23},
    {8, 9, 25, 26, 27, 28, 29, 30, 24, 31},      {10, 11, 33, 34, 35, 36, 37, 38, 32, 39},
    {12, 13, 41, 42, 43, 44, 45, 46, 40, 47},    {14, 15, 49, 50, 51, 52, 53, 54, 48, 55},
    {16, 18, 57, 58, 59, 60, 61, 62, 56, 63},
};

// The fourth column, of the rents and their total, is 345 wider than the
// design's 1455, so that the widest amounts show whole in the screen's font;
// the fifth follows it.
constexpr int kColumnLeft[5] = {120, 1560, 3960, 6360, 8145};
constexpr int kColumnWidth[5] = {1455, 2415, 2415, 1800, 1455};
constexpr int kBoxHeight = 330;
constexpr int kButtonHeight = 375;
constexpr int kWordButtonWidth = 735;

// The upper line of the heading is line 0; row r (from 1) has lines 2r and 2r + 1.
int LineTop(int line) { return 120 + 360 * line; }

QRect Cell(int line, int column) {
  return QRect(kColumnLeft[column], LineTop(line), kColumnWidth[column], kBoxHeight);
}

EntryScreenLayout RentsLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form15", "地代家賃⑮", "Command3", "Command2", "ミルダント", "ミルダント"});
  layout.clientTwips = QSize(kColumnLeft[4] + kColumnWidth[4] + 75, 6405);
  layout.fontPoints = 11.25;

  AddHeading(layout, "Text1", "区　　分", Cell(1, 0));
  AddHeading(layout, "Text3", "物件の用途", Cell(0, 1));
  AddHeading(layout, "Text4", "所　　在　　地", Cell(1, 1));
  AddHeading(layout, "Text5", "貸主の名称", Cell(0, 2));
  AddHeading(layout, "Text6", "貸主の所在地", Cell(1, 2));
  AddHeading(layout, "Text7", "支払対象期間", Cell(0, 3));
  AddHeading(layout, "Text8", "摘　　　要", Cell(1, 4));

  FileLayout texts{{StatementMark::Rents, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::Rents, FileRole::Amounts}, {}};
  QStringList kinds;
  QStringList rents;
  QStringList textCells;
  for (int r = 0; r < kRowCount; ++r) {
    const RentRowNames& row = kRows[r];
    const int upper = 2 * (r + 1);
    const int lower = upper + 1;
    const QString kind = BoxName(row.kind);
    BoxLayout& kindBox = AddTextCell(layout, kind, Cell(lower, 0));
    kindBox.alignment = Qt::AlignCenter;
    // The boxes in the file's order within the row, with their cells.
    const std::pair<int, QRect> rowTexts[7] = {
        {row.kind, Cell(lower, 0)},          {row.use, Cell(upper, 1)},
        {row.location, Cell(lower, 1)},      {row.lessor, Cell(upper, 2)},
        {row.lessorAddress, Cell(lower, 2)}, {row.period, Cell(upper, 3)},
        {row.remarks, Cell(lower, 4)}};
    for (const auto& [number, cell] : rowTexts) {
      const QString name = BoxName(number);
      if (number != row.kind) {
        // The payment period is dates and figures: the input method stays.
        AddTextCell(layout, name, cell, QString(),
                    number == row.period ? InputMode::Unchanged : InputMode::Hiragana);
      }
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString rent = BoxName(row.rent);
    AddAmountCell(layout, rent, Cell(lower, 3)).background = kLightCyan;
    amounts.values.push_back({ValueKind::Amount, rent});
    kinds.append(kind);
    rents.append(rent);

    const int buttonTop = LineTop(upper);
    AddWordButton(layout, ButtonName(row.landButton), "地代",
                  QRect(kColumnLeft[0], buttonTop, kWordButtonWidth, kButtonHeight), {kind},
                  {"地　代"});
    AddWordButton(layout, ButtonName(row.buildingButton), "家賃",
                  QRect(kColumnLeft[0] + kWordButtonWidth, buttonTop, kWordButtonWidth,
                        kButtonHeight),
                  {kind}, {"家　賃"});
  }

  const int bottom = 5880;
  const QString total = BoxName(118);
  AddAmountCell(layout, total, QRect(kColumnLeft[3], bottom, kColumnWidth[3], kBoxHeight))
      .background = kLightCyan;
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};
  layout.totals = {SumRule({FileRole::Amounts, 8}, 1, kRowCount)};

  AddClearingButton(layout, "Command19", "地代・家賃",
                    QRect(kColumnLeft[0], LineTop(0), kColumnWidth[0], kButtonHeight), kinds);
  AddClearingButton(layout, "Command17", "支払賃借料",
                    QRect(kColumnLeft[3], LineTop(1), kColumnWidth[3], kButtonHeight),
                    rents + QStringList{total});
  AddBottomLine(layout,
                {QRect(kColumnLeft[0], bottom, kWordButtonWidth, kButtonHeight), "Command4",
                 QRect(kColumnLeft[0] + kWordButtonWidth, bottom, kWordButtonWidth, kButtonHeight),
                 rents + QStringList{total} + textCells,
                 QRect(kColumnLeft[1], bottom, kColumnWidth[1], kBoxHeight), "合　　計",
                 QRect(kColumnLeft[4], bottom, kColumnWidth[4], kButtonHeight)});

  // The fifth column's upper cells hold nothing and are crossed out; the
  // column is ruled along its top and down its right edge.
  for (int line = 0; line <= 2 * kRowCount; line += 2) AddCrossedCell(layout, Cell(line, 4));
  const int right = kColumnLeft[4] + kColumnWidth[4];
  AddLine(layout, QPoint(kColumnLeft[4], LineTop(0)), QPoint(right, LineTop(0)));
  AddLine(layout, QPoint(right, LineTop(0)), QPoint(right, LineTop(2 * kRowCount + 1)));
  return layout;
}

}  // namespace

RentsScreen::RentsScreen() : EntryScreen(RentsLayout()) {}

}  // namespace mirudanto::statements
