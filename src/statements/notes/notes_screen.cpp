#include "statements/notes/notes_screen.h"

#include "core/failure.h"
#include "platform/screen.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kRowCount = 13;

// The boxes of each row: drawer (payee on ⑧), issue date, due date, paying
// bank, paying branch, amount, discounting bank, discounting branch, remarks.
// ⑧ has the same boxes without the two discounting ones.
constexpr int kRows[kRowCount][9] = {
    {7, 8, 1, 9, 10, 11, 3, 2, 4},           {14, 13, 15, 12, 6, 5, 17, 16, 18},
    {23, 22, 24, 21, 20, 19, 26, 25, 27},    {32, 31, 33, 30, 29, 28, 35, 34, 36},
    {41, 40, 42, 39, 38, 37, 44, 43, 45},    {50, 49, 51, 48, 47, 46, 53, 52, 54},
    {59, 58, 60, 57, 56, 55, 62, 61, 63},    {68, 67, 69, 66, 65, 64, 71, 70, 72},
    {77, 76, 78, 75, 74, 73, 80, 79, 81},    {86, 85, 87, 84, 83, 82, 89, 88, 90},
    {95, 94, 96, 93, 92, 91, 98, 97, 99},    {104, 103, 105, 102, 101, 100, 109, 106, 107},
    {113, 108, 114, 112, 111, 110, 117, 115, 116},
};
enum Column { kDrawer, kIssue, kDue, kBank, kBranch, kAmount, kDiscountBank, kDiscountBranch,
              kRemarks };

// The eight text values of row r (from 1), in the order the files hold them.
std::array<int, 8> RowTextValues(int r) {
  return {r, 12 + 2 * r, 13 + 2 * r, 39 + r, 52 + r, 65 + r, 78 + r, 91 + r};
}

constexpr int kRowHeight = 540;
constexpr double kDateFont = 9;

// What the three screens differ in besides ⑧'s missing discounting columns.
struct NotesDesign {
  const char* name;
  const char* caption;
  StatementMark mark;
};

NotesDesign DesignOf(NotesKind kind) {
  switch (kind) {
    case NotesKind::ReceivablePage1: return {"Form3", "受取手形②", StatementMark::NotesReceivable};
    case NotesKind::ReceivablePage2:
      return {"Form22", "受取手形②その２", StatementMark::NotesReceivable2nd};
    case NotesKind::Payable: return {"Form8", "支払手形⑧", StatementMark::NotesPayable};
  }
  return {};
}

EntryScreenLayout NotesLayout(NotesKind kind) {
  const bool payable = kind == NotesKind::Payable;
  const NotesDesign design = DesignOf(kind);
  const QString saveTitle = payable ? QStringLiteral("ミルダント") : QStringLiteral("受取手形");
  EntryScreenLayout layout = NewEntryLayout(
      {design.name, design.caption, "Command3", "Command2", "ミルダント", saveTitle});
  // Page 2 stays open while other companies are called: a load that fails
  // for the new code must not leave the rows of the company shown before.
  if (kind == NotesKind::ReceivablePage2) layout.loadFailure = LoadFailureEnd::ReportAndReset;
  layout.fontPoints = 11.25;

  // The on-screen columns, left to right; ⑧ has no discounting columns.
  std::vector<Column> columns = {kDrawer, kIssue, kBank, kBranch, kAmount};
  if (!payable) columns.insert(columns.end(), {kDiscountBank, kDiscountBranch});
  columns.push_back(kRemarks);
  std::vector<int> widths;
  for (Column c : columns) {
    switch (c) {
      case kDrawer: widths.push_back(2100); break;
      case kIssue: widths.push_back(1250); break;
      case kAmount: widths.push_back(2000); break;
      case kRemarks: widths.push_back(payable ? 2700 : 1800); break;
      default: widths.push_back(1500); break;
    }
  }
  const GridGeometry grid(120, 120, kRowHeight, widths, 15);
  auto column = [&columns](Column c) {
    return static_cast<int>(std::find(columns.begin(), columns.end(), c) - columns.begin());
  };
  auto upperHalf = [&](int row) {
    QRect cell = grid.Cell(row, column(kIssue));
    cell.setHeight(kRowHeight / 2);
    return cell;
  };
  auto lowerHalf = [&](int row) { return upperHalf(row).translated(0, kRowHeight / 2); };
  auto cellOf = [&](int row, Column c) {
    if (c == kIssue) return upperHalf(row);
    if (c == kDue) return lowerHalf(row);
    return grid.Cell(row, column(c));
  };
  layout.clientTwips = QSize(grid.Right() + 120, grid.Bottom(kRowCount + 2) + 120);

  // The heading line: grey boxes, and the buttons of the amount and date columns.
  auto heading = [&layout](const char* name, const char* text, QRect rect, double points = 0) {
    AddHeading(layout, name, QString::fromUtf8(text), rect, points);
  };
  heading("Text140", payable ? "支   払  先" : "振　出　人", cellOf(0, kDrawer));
  heading("Text141", "引落日", lowerHalf(0), kDateFont);
  if (payable) heading("Text139", "振出日", upperHalf(0), kDateFont);
  heading("Text138", "銀行名", cellOf(0, kBank));
  heading("Text137", "支店名", cellOf(0, kBranch));
  if (!payable) {
    heading("Text143", "割引銀行", cellOf(0, kDiscountBank));
    heading("Text142", "支　　店", cellOf(0, kDiscountBranch));
  }
  heading("Text144", payable ? "摘　　　　　要" : "摘　　要", cellOf(0, kRemarks));

  FileLayout texts{{design.mark, FileRole::Text}, std::vector<FileValue>(104)};
  FileLayout amounts{{design.mark, FileRole::Amounts}, {}};

  QStringList cells;
  QStringList dates;
  QStringList amountCells;
  for (int r = 1; r <= kRowCount; ++r) {
    const auto values = RowTextValues(r);
    // Every text value of the row, those without a box on ⑧ too, and its amount.
    RowLayout row;
    for (int value : values) row.push_back({FileRole::Text, value});
    row.push_back({FileRole::Amounts, r});
    layout.rows.push_back(row);
    // File value of each text column of the row; ⑧ keeps its remarks where
    // ② keeps the discounting branch, and has no box for the other two.
    const std::pair<Column, int> textColumns[] = {
        {kDrawer, values[0]}, {kIssue, values[1]},        {kDue, values[2]},
        {kBank, values[3]},   {kBranch, values[4]},       {kDiscountBank, values[5]},
        {kDiscountBranch, values[6]}, {kRemarks, payable ? values[6] : values[7]}};
    for (const auto& [c, value] : textColumns) {
      if (payable && (c == kDiscountBank || c == kDiscountBranch)) continue;
      const QString name = BoxName(kRows[r - 1][c]);
      QString initial = QStringLiteral("　");
      if (payable) {
        if (r == 1 && c == kRemarks) initial.clear();
      } else if (c == kDrawer || c == kBank || (c == kBranch && r == kRowCount)) {
        initial.clear();
      }
      BoxLayout box{name, cellOf(r, c), initial};
      if (c == kIssue || c == kDue) {
        box.fontPoints = kDateFont;
        dates.append(name);
      } else {
        box.inputMode = InputMode::Hiragana;
      }
      if (c == kDrawer && !payable) box.typingLimit = 8;
      layout.boxes.push_back(box);
      texts.values[static_cast<std::size_t>(value - 1)] = {ValueKind::Text, name};
      cells.append(name);
    }
    const QString amount = BoxName(kRows[r - 1][kAmount]);
    AddAmountCell(layout, amount, cellOf(r, kAmount));
    amounts.values.push_back({ValueKind::Amount, amount});
    amountCells.append(amount);
  }
  const QString total = BoxName(118);
  AddAmountCell(layout, total, grid.Cell(kRowCount + 1, column(kAmount)));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  layout.totals = {SumRule({FileRole::Amounts, 14}, 1, kRowCount)};

  const int bottom = kRowCount + 1;
  const QStringList amountsAndTotal = amountCells + QStringList{total};
  AddClearingButton(layout, "Command1", "金　　　額", cellOf(0, kAmount), amountsAndTotal);
  AddBottomLine(layout, {grid.Cell(bottom, column(kDrawer)), "Command4",
                         grid.Cell(bottom, column(kIssue)), cells + amountsAndTotal,
                         grid.Cell(bottom, column(kBranch)), "合　　計",
                         grid.Cell(bottom, column(payable ? kRemarks : kDiscountBank))});
  const QString tidy = payable ? QStringLiteral("Command5") : QStringLiteral("Command7");
  layout.buttons.push_back({tidy, "整理整頓", grid.Cell(bottom, column(kBank)),
                            ButtonRole::Custom});
  if (!payable) {
    ButtonLayout dateColumn{"Command6", "振出日", upperHalf(0), ButtonRole::ClearBoxes, dates};
    dateColumn.fontPoints = kDateFont;
    layout.buttons.push_back(dateColumn);
    // The other page opens through the main menu's own opening, which unloads
    // this page while its button is still running.
    layout.buttons.push_back({"Command5",
                              kind == NotesKind::ReceivablePage1 ? "受取手形②" : "受取手形①",
                              grid.Cell(bottom, column(kRemarks)), ButtonRole::Press});
    layout.buttons.back().thenPress =
        ButtonRef{"Form1", kind == NotesKind::ReceivablePage1 ? QStringLiteral("Command34")
                                                              : QStringLiteral("Command1")};
  }
  return layout;
}

}  // namespace

NotesScreen::NotesScreen(NotesKind kind) : EntryScreen(NotesLayout(kind)) {
  OnClick(kind == NotesKind::Payable ? QStringLiteral("Command5") : QStringLiteral("Command7"),
          [this] { TidyRows(); });
}

void NotesScreen::TidyRows() {
  // Only rows that belong to the company now on the screen are tidied; any
  // failure ends the operation silently.
  try {
    const CompanyCode code = ReadCompanyCode16(Read(Layout().codeBox));
    if (!HeldIsValid() || HeldCode() != code) return;
  } catch (const Failure&) {
    return;
  }
  RunBeforeSaving([this] {
    HeldFiles& held = MutableHeld();
    const std::vector<RowLayout>& rows = Layout().rows;
    auto amount = [&held, &rows](int r) {
      return held[rows[static_cast<std::size_t>(r - 1)].back()].number;
    };
    for (int pass = 0; pass < 6; ++pass) {
      for (int r = 1; r <= kRowCount; ++r) {
        if (amount(r) == 0) ClearRow(held, rows[static_cast<std::size_t>(r - 1)]);
      }
      for (int r = 1; r < kRowCount; ++r) {
        if (amount(r) != 0 || amount(r + 1) <= 0) continue;
        MoveRow(held, rows[static_cast<std::size_t>(r)], rows[static_cast<std::size_t>(r - 1)]);
      }
      ShowValues(held);
    }
    Press(Layout().saveButton);
  });
}

}  // namespace mirudanto::statements
