#include "statements/borrowings_and_expenses/misc_screen.h"

#include <algorithm>

#include "platform/desktop.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

constexpr int kRowCount = 10;

// Each row's boxes: account, transaction, counterparty, address, amount, the
// hidden marker box (none on row 1); then its "小計" and "訂正" buttons.
struct MiscRowNames {
  int account, transaction, counterparty, address, amount, marker;
  int subtotalButton, correctButton;
};
constexpr MiscRowNames kRows[kRowCount] = {
    {15, 16, 17, 18, 1, 0, 1, 14},   {19, 20, 21, 22, 2, 55, 5, 15},
    {23, 24, 25, 26, 3, 56, 6, 16},  {27, 28, 29, 30, 4, 57, 7, 18},
    {31, 32, 33, 34, 5, 58, 8, 19},  {35, 36, 37, 38, 6, 59, 9, 20},
    {39, 40, 41, 42, 7, 60, 10, 21}, {43, 44, 45, 46, 8, 61, 11, 22},
    {47, 48, 49, 50, 10, 62, 12, 23}, {51, 52, 53, 54, 11, 63, 13, 24},
};

// The amount column is 345 wider than the design's 1455, so that the widest
// amounts show whole in the screen's font; the button columns follow it.
constexpr int kWidening = 345;
constexpr int kColumnLeft[7] = {120, 1320, 3000, 4680, 6840, 8280 + kWidening,
                                8880 + kWidening};
constexpr int kColumnWidth[7] = {1215, 1695, 1695, 2175, 1455 + kWidening, 615, 615};
constexpr int kAmountColumn = 4;
constexpr int kBoxHeight = 330;
constexpr int kButtonHeight = 375;
constexpr int kMarkerWidth = 375;
constexpr int kBottom = 4080;

int RowTop(int row) { return 120 + 360 * row; }
QRect Cell(int row, int column, int height = kBoxHeight) {
  return QRect(kColumnLeft[column], RowTop(row), kColumnWidth[column], height);
}
const MiscRowNames& RowNames(int row) { return kRows[row - 1]; }

EntryScreenLayout MiscLayout(MiscKind kind) {
  const bool gains = kind == MiscKind::Gains;
  const StatementMark mark = gains ? StatementMark::MiscGains : StatementMark::MiscLosses;
  EntryScreenLayout layout =
      NewEntryLayout({gains ? "Form16" : "Form19",
                      gains ? "その他の内訳書⑯雑益" : "その他の内訳書⑯雑損", "Command3",
                      "Command2", "ミルダント", "ミルダント"});
  layout.clientTwips = gains ? QSize(9630 + kWidening, 4620) : QSize(9600 + kWidening, 4560);
  layout.fontPoints = 11.25;

  const std::pair<const char*, const char*> headings[4] = {
      {"Text12", "科　　目"}, {"Text9", "取引の内容"}, {"Text13", "相　手　先"},
      {"Text14", "所在地（住所）"}};
  for (int c = 0; c < 4; ++c) AddHeading(layout, headings[c].first, headings[c].second, Cell(0, c));

  FileLayout texts{{mark, FileRole::Text}, {}};
  FileLayout amounts{{mark, FileRole::Amounts}, {}};
  // The markers are read once the rows are shown: a marker file that fails
  // leaves the rows shown and the marker boxes as they were.
  FileLayout markers{{mark, FileRole::SubtotalMarkers}, {}, true};
  QStringList amountCells;
  QStringList textCells;
  QStringList markerBoxes;
  QStringList subtotalButtons;
  QStringList correctButtons;
  for (int r = 1; r <= kRowCount; ++r) {
    const MiscRowNames& row = RowNames(r);
    for (int c = 0; c < 4; ++c) {
      const int numbers[4] = {row.account, row.transaction, row.counterparty, row.address};
      const QString name = BoxName(numbers[c]);
      AddTextCell(layout, name, Cell(r, c));
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString amount = BoxName(row.amount);
    AddAmountCell(layout, amount, Cell(r, kAmountColumn));
    amounts.values.push_back({ValueKind::Amount, amount});
    amountCells.append(amount);

    if (r > 1) {
      const QString marker = BoxName(row.marker);
      BoxLayout box = AmountBox(marker, QRect(kColumnLeft[6], RowTop(r), kMarkerWidth, kBoxHeight));
      box.style = BoxStyle::Hidden;
      layout.boxes.push_back(box);
      // Only code writes a marker box: a text there that is no number is an
      // ordinary row's marker, 0.
      markers.values.push_back(
          {ValueKind::Amount, marker, Display::Digits, 0, NonNumber::CountsAsZero});
      markerBoxes.append(marker);
      layout.buttons.push_back(
          {ButtonName(row.subtotalButton), "小計", Cell(r, 5, kButtonHeight)});
      subtotalButtons.append(ButtonName(row.subtotalButton));
    }
    // "訂正" empties the row's address, its amount and its marker box.
    QStringList corrected = {BoxName(row.address), amount};
    if (r > 1) corrected.append(BoxName(row.marker));
    AddClearingButton(layout, ButtonName(row.correctButton), "訂正", Cell(r, 6, kButtonHeight),
                      corrected);
    correctButtons.append(ButtonName(row.correctButton));
  }
  // Row 1 has no "小計": in its place the hidden button that takes the
  // markers from their boxes into the screen's values.
  ButtonLayout reload{ButtonName(RowNames(1).subtotalButton), QString(), Cell(1, 5, kButtonHeight),
                      ButtonRole::Capture, markerBoxes};
  reload.hidden = true;
  layout.buttons.push_back(reload);
  const QString total = BoxName(118);
  AddAmountCell(layout, total, QRect(kColumnLeft[kAmountColumn], kBottom,
                                     kColumnWidth[kAmountColumn], kBoxHeight));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts, markers};

  // The total leaves out what the subtotal lines carry.
  TotalRule rule = SumRule({FileRole::Amounts, kRowCount + 1}, 1, kRowCount);
  for (int k = 1; k < kRowCount; ++k) rule.minus.push_back({FileRole::SubtotalMarkers, k});
  layout.totals = {rule};

  const QStringList amountsAndTotal = amountCells + QStringList{total};
  AddClearingButton(layout, "Command17", "期末現在高", Cell(0, kAmountColumn, kButtonHeight),
                    amountsAndTotal + markerBoxes);
  AddBottomLine(layout, {QRect(120, kBottom, 735, kButtonHeight), "Command4",
                         QRect(855, kBottom, 735, kButtonHeight), amountsAndTotal + textCells + markerBoxes,
                         QRect(gains ? 1920 : 5160, kBottom, 735, kBoxHeight), "合　　計",
                         QRect(5400, kBottom, 1455, 345)});

  // The losses screen takes the right-hand columns from the bottom up.
  if (!gains) {
    std::reverse(subtotalButtons.begin(), subtotalButtons.end());
    std::reverse(correctButtons.begin(), correctButtons.end());
  }
  const QStringList rightColumns =
      gains ? subtotalButtons + correctButtons : correctButtons + subtotalButtons;
  layout.focusOrder = QStringList{"Command3", "Command4", "Command17"} + amountCells +
                      QStringList{"Text12", "Text9", "Text13", "Text14"} + textCells +
                      QStringList{total, "Command2"} + rightColumns;
  return layout;
}

}  // namespace

const QString& MiscScreen::SubtotalLabel() {
  static const QString label = QString(18, QChar(' ')) + QStringLiteral("小　 計");
  return label;
}

MiscScreen::MiscScreen(MiscKind kind) : EntryScreen(MiscLayout(kind)) {
  for (int r = 2; r <= kRowCount; ++r) {
    OnClick(ButtonName(RowNames(r).subtotalButton), [this, r] { InsertSubtotalLine(r); });
  }
}

Amount& MiscScreen::HeldMarker(int row) {
  return MutableHeld()[{FileRole::SubtotalMarkers, row - 1}].number;
}

std::vector<Amount> MiscScreen::MarkersInBoxes() {
  std::vector<Amount> markers(kRowCount + 1, 0);
  for (int r = 2; r <= kRowCount; ++r) {
    markers[r] = ReadAmountCell(Read(BoxName(RowNames(r).marker)));
  }
  return markers;
}

void MiscScreen::InsertSubtotalLine(int row) {
  std::vector<Amount> a(static_cast<std::size_t>(row) + 1, 0);
  for (int j = 1; j <= row; ++j) {
    const QString box = BoxName(RowNames(j).amount);
    try {
      // The pressed row's own text is replaced by the subtotal, so only a
      // number there decides anything.
      a[j] = ReadAmountCellForSave(Read(box), j == row ? NonNumber::CountsAsZero
                                                        : NonNumber::Refused);
    } catch (const Failure& failure) {
      // The line would write the rows above back as read: a text that is no
      // number, or a figure beyond 32 bits, is shown to the user rather than
      // lost.
      platform::ReportError(Layout().saveTitle, failure);
      FocusAndSelect(box);
      return;
    }
  }
  // Only a row without a positive amount becomes a subtotal line, and not one
  // right below a line that still shows its own subtotal.
  if (a[row] > 0) return;
  if (row > 2 && a[row - 1] == HeldMarker(row - 1)) return;

  // The markers as their boxes hold them; taken in only when the line is made.
  const std::vector<Amount> m = MarkersInBoxes();
  AmountSum sum;
  for (int j = 1; j < row; ++j) sum.Add(a[j]);
  if (row == 4) {
    sum.Subtract(m[2]).Subtract(m[2]);
  } else if (row >= 5) {
    for (int j = 2; j <= row - 2; ++j) sum.Subtract(m[j]).Subtract(m[j]);
    sum.Subtract(m[row - 1]);
  }
  Amount subtotal = 0;
  try {
    subtotal = sum.Value();
  } catch (const Failure& failure) {
    // Beyond 32 bits no line is made: the rows and markers stay as they were.
    platform::ReportError(Layout().saveTitle, failure);
    return;
  }

  Press(ButtonName(RowNames(1).subtotalButton));
  HeldMarker(row) = subtotal;
  Write(BoxName(RowNames(row).marker), QString::number(subtotal));
  Write(BoxName(RowNames(row).amount), FormatAmount(subtotal));
  for (int j = 1; j < row; ++j) Write(BoxName(RowNames(j).amount), FormatAmount(a[j]));
  Write(BoxName(RowNames(row).address), SubtotalLabel());
}


}  // namespace mirudanto::statements
