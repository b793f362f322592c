#include "statements/general/suspense_receipts_screen.h"

#include <algorithm>

#include "core/amount.h"
#include "platform/desktop.h"
#include "statements/general/counterparty_grid.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kLines = 6;
// The withheld amounts are amount values 12 to 23 of the amount file.
constexpr int kFirstWithheldAmount = 12;
constexpr int kWithheldAmounts = 12;

// The first box of each column of a half, lines 1 to 6 numbered upwards
// from it.
struct HalfBoxes {
  int year;
  int month;
  int incomeKind;
  int amount;
};
constexpr HalfBoxes kLeft{84, 90, 108, 72};
constexpr HalfBoxes kRight{96, 102, 114, 78};

// The columns of the withholding table: both halves, a space between them,
// and the column of "源泉税合計".
enum WithholdingColumn {
  kLeftYear, kLeftMonth, kLeftKind, kLeftAmount, kGap1,
  kRightYear, kRightMonth, kRightKind, kRightAmount, kGap2,
  kTotalButton,
};

EntryScreenLayout SuspenseReceiptsLayout() {
  EntryScreenLayout layout = NewEntryLayout(
      {"Form12", "仮受金⑩", "Command2", "Command1", "ミルダント", "ミルダント"});

  const CounterpartyGrid grid = AddCounterpartyGrid(layout, StatementMark::SuspenseReceipts);
  const GridGeometry& upper = grid.geometry;
  const int bottom = CounterpartyGrid::kBottomRow;

  // The withholding table lies below the bottom line of the upper table.
  const GridGeometry table(upper.ColumnLeft(0), upper.Bottom(bottom + 1) + 240, 330,
                           {600, 600, 1700, 1700, 360, 600, 600, 1700, 1700, 360, 1900}, 15);
  layout.clientTwips = QSize(std::max(upper.Right(), table.Right()) + 120,
                             table.Bottom(kLines + 1) + 120);

  // The withholding table: headings, then the 48 cells of the two halves.
  AddHeading(layout, "Text120", "年 月", table.Span(0, kLeftYear, kLeftMonth));
  AddHeading(layout, "Text121", "所得", table.Cell(0, kLeftKind));
  AddHeading(layout, "Text122", "年 月", table.Span(0, kRightYear, kRightMonth));
  AddHeading(layout, "Text123", "所得", table.Cell(0, kRightKind));

  // Text values 56 to 91: per half, the year cells, the month cells, the
  // kinds of income, lines 1 to 6 each; amount values 12 to 23: the left
  // amounts, then the right ones. The cells are made half by half and line by
  // line, so that the keyboard moves along a line.
  std::vector<FileValue>& texts = layout.FileOf(FileRole::Text).values;
  std::vector<FileValue>& amounts = layout.FileOf(FileRole::Amounts).values;
  const std::size_t firstText = texts.size();
  texts.resize(firstText + 2 * 3 * kLines);
  QStringList withholdingCells;
  QStringList amountCells[2];
  const HalfBoxes halves[2] = {kLeft, kRight};
  const WithholdingColumn firstColumn[2] = {kLeftYear, kRightYear};
  for (int h = 0; h < 2; ++h) {
    const struct {
      int first;
      InputMode mode;
    } textColumns[3] = {{halves[h].year, InputMode::Unchanged},
                        {halves[h].month, InputMode::Unchanged},
                        {halves[h].incomeKind, InputMode::Hiragana}};
    for (int line = 1; line <= kLines; ++line) {
      for (int t = 0; t < 3; ++t) {
        const QString name = BoxName(textColumns[t].first + line - 1);
        AddTextCell(layout, name, table.Cell(line, firstColumn[h] + t), QString(),
                    textColumns[t].mode);
        const std::size_t value =
            firstText + static_cast<std::size_t>((3 * h + t) * kLines + line - 1);
        texts[value] = {ValueKind::Text, name};
        withholdingCells.append(name);
      }
      const QString amount = BoxName(halves[h].amount + line - 1);
      AddAmountCell(layout, amount, table.Cell(line, firstColumn[h] + 3));
      amounts.push_back({ValueKind::Amount, amount});
      amountCells[h].append(amount);
      withholdingCells.append(amount);
    }
  }

  // The bottom line of the upper table: "クリア", "DATA", "合　　　計" under
  // the balance column, then the hidden code box.
  AddBottomLine(layout, {upper.Cell(bottom, 1), "Command3", upper.Cell(bottom, 0),
                         grid.textCells + grid.balanceCells + withholdingCells,
                         upper.Cell(bottom, 5), "合　　　計",
                         upper.Cell(bottom, CounterpartyGrid::kBalanceColumn)});

  AddClearingButton(layout, "Command4", "期末現在高", table.Cell(0, kLeftAmount), amountCells[0]);
  AddClearingButton(layout, "Command5", "期末現在高", table.Cell(0, kRightAmount),
                    amountCells[1]);
  layout.buttons.push_back({"Command6", "源泉税合計", table.Cell(kLines, kTotalButton),
                            ButtonRole::Custom});
  return layout;
}

}  // namespace

SuspenseReceiptsScreen::SuspenseReceiptsScreen() : EntryScreen(SuspenseReceiptsLayout()) {
  OnClick(QStringLiteral("Command6"), [this] { ShowWithholdingTotal(); });
}

void SuspenseReceiptsScreen::AfterWrite() { Press(QStringLiteral("Command6")); }

void SuspenseReceiptsScreen::ShowWithholdingTotal() {
  AmountSum sum;
  for (int v = kFirstWithheldAmount; v < kFirstWithheldAmount + kWithheldAmounts; ++v) {
    sum.Add(Held()[{FileRole::Amounts, v}].number);
  }
  try {
    const Amount total = sum.Value();
    SetCaption(QStringLiteral("Command6"), FormatAmount(total) + QStringLiteral("円"));
  } catch (const Failure& failure) {
    platform::ReportError(QStringLiteral("ミルダント"), failure);
  }
}

}  // namespace mirudanto::statements
