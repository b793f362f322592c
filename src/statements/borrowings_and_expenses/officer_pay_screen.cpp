#include "statements/borrowings_and_expenses/officer_pay_screen.h"

#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kOfficerCount = 6;

// The boxes of each officer: position, name, relationship, address,
// attendance (file order), then remuneration, bonus expensed, bonus
// appropriated, row total, inner-outer amount, outer amount.
constexpr int kOfficers[kOfficerCount][11] = {
    {26, 27, 28, 29, 30, 1, 7, 12, 17, 72, 61},  {31, 32, 33, 34, 35, 2, 8, 13, 18, 73, 62},
    {36, 37, 38, 39, 40, 3, 9, 14, 19, 74, 63},  {41, 42, 43, 44, 45, 4, 10, 15, 20, 75, 64},
    {46, 47, 48, 49, 50, 5, 11, 16, 6, 76, 65},  {51, 52, 53, 54, 55, 56, 57, 58, 59, 77, 66},
};
enum Field { kPosition, kName, kRelationship, kAddress, kAttendance, kRemuneration,
             kBonusExpensed, kBonusAppropriated, kRowTotal, kInnerOuter, kOuter };

// The buttons of each officer: "取締", "監", "常", "非".
constexpr int kWordButtons[kOfficerCount][4] = {
    {24, 23, 7, 8}, {26, 25, 9, 10}, {28, 27, 11, 12}, {30, 29, 13, 14},
    {32, 31, 15, 16}, {34, 33, 18, 19},
};

// The eight amount blocks of the amount file, each its boxes and its total:
// values 1-7, 8-14, ..., 44-50.
struct AmountBlock {
  std::vector<int> boxes;
  int total;
};
const AmountBlock kBlocks[8] = {
    {{1, 2, 3, 4, 5, 56}, 67},       {{7, 8, 9, 10, 11, 57}, 68},
    {{12, 13, 14, 15, 16, 58}, 69},  {{17, 18, 19, 20, 6, 59}, 70},
    {{79, 80, 81}, 82},              {{83, 84, 85}, 86},
    {{72, 73, 74, 75, 76, 77}, 78},  {{61, 62, 63, 64, 65, 66}, 71},
};
enum Block { kRemunerations, kBonusesExpensed, kBonusesAppropriated, kRowTotals, kPersonnelTotals,
             kFamilyShares, kInnerOuters, kOuters };

// Grid columns, left to right; the address spans name and relationship.
enum Column { kPositionColumn, kNameColumn, kRelationshipColumn, kAttendanceColumn,
              kRemunerationColumn, kExpensedColumn, kAppropriatedColumn, kTotalColumn };

constexpr int kLineHeight = 360;
// Every amount box is as wide, so that each shows the widest amounts whole in
// the screen's font. A column that also holds a "内外" or "外" label beside
// its amount is wider by the label and the gap of SplitCell.
constexpr int kAmountWidth = 1800;
constexpr int kLabelWidth = 450;
constexpr int kLabelledAmountWidth = kLabelWidth + 15 + kAmountWidth;
constexpr int kTotalsLine = 2 * (kOfficerCount + 1);
constexpr int kPersonnelLine = kTotalsLine + 2;  // its heading

QStringList Boxes(const std::vector<int>& numbers) {
  QStringList boxes;
  for (int n : numbers) boxes.append(BoxName(n));
  return boxes;
}

QStringList BlockBoxes(Block block) {
  return Boxes(kBlocks[block].boxes) + QStringList{BoxName(kBlocks[block].total)};
}

QStringList FieldBoxes(Field field) {
  QStringList boxes;
  for (const auto& officer : kOfficers) boxes.append(BoxName(officer[field]));
  return boxes;
}

EntryScreenLayout OfficerPayLayout() {
  EntryScreenLayout layout =
      NewEntryLayout({"Form14", "役員報酬⑭", "Command3", "Command2", "ミルダント", "ミルダント"});
  layout.fontPoints = 11.25;

  const TwoLineGrid grid(GridGeometry(120, 120, kLineHeight,
                                      {1350, 1900, 1050, 1200, kAmountWidth, kLabelledAmountWidth,
                                       kAmountWidth, kLabelledAmountWidth},
                                      15),
                         45);
  auto line = [&grid](int l, int column) {
    // Below the officers the lines follow each other without the gap between
    // two officers.
    if (l < kTotalsLine) return grid.Cell(l, column);
    return grid.Cell(kTotalsLine, column).translated(0, (l - kTotalsLine) * kLineHeight +
                                                            (l >= kPersonnelLine ? 240 : 0));
  };
  auto span = [&line](int l, int first, int last) { return line(l, first).united(line(l, last)); };
  auto twoLines = [&line](int column) { return line(0, column).united(line(1, column)); };
  layout.clientTwips =
      QSize(grid.Lines().Right() + 120, line(kPersonnelLine + 4, 0).bottom() + 1 + 120);

  // The headings, two lines; 報酬 and 計 are two lines high.
  AddHeading(layout, "Text22", "氏　　名", line(0, kNameColumn));
  AddHeading(layout, "Text23", "関係", line(0, kRelationshipColumn));
  AddCrossedCell(layout, line(0, kAttendanceColumn));
  AddHeading(layout, "Text60", "賞　　　　　　　与", span(0, kExpensedColumn, kAppropriatedColumn));
  AddHeading(layout, "Text24", "住　　　　所", span(1, kNameColumn, kRelationshipColumn));

  FileLayout amounts{{StatementMark::OfficerPay, FileRole::Amounts}, {}};
  FileLayout texts{{StatementMark::OfficerPay, FileRole::Text}, {}};
  int value = 1;
  for (const AmountBlock& block : kBlocks) {
    const int first = value;
    for (int n : block.boxes) amounts.values.push_back({ValueKind::Amount, BoxName(n)});
    amounts.values.push_back({ValueKind::Amount, BoxName(block.total)});
    value += static_cast<int>(block.boxes.size()) + 1;
    layout.totals.push_back(SumRule({FileRole::Amounts, value - 1}, first, value - 2));
  }
  // Each officer's total of pay and both bonuses is worked out before the
  // column's total, and shown by the save as plain digits.
  std::vector<TotalRule> rowTotals;
  for (int r = 1; r <= kOfficerCount; ++r) {
    TotalRule rowTotal{{FileRole::Amounts, 21 + r},
                       {{FileRole::Amounts, r}, {FileRole::Amounts, 7 + r},
                        {FileRole::Amounts, 14 + r}}};
    rowTotal.shownAs = Display::Digits;
    rowTotals.push_back(rowTotal);
  }
  layout.totals.insert(layout.totals.begin() + kRowTotals, rowTotals.begin(), rowTotals.end());

  for (int r = 1; r <= kOfficerCount; ++r) {
    const int* boxes = kOfficers[r - 1];
    const int upper = 2 * r;
    const int lower = upper + 1;
    const std::pair<Field, QRect> textCells[5] = {
        {kPosition, line(lower, kPositionColumn)},
        {kName, line(upper, kNameColumn)},
        {kRelationship, line(upper, kRelationshipColumn)},
        {kAddress, span(lower, kNameColumn, kRelationshipColumn)},
        {kAttendance, line(lower, kAttendanceColumn)},
    };
    for (const auto& [field, rect] : textCells) {
      const QString name = BoxName(boxes[field]);
      const bool principal = r == 1 && field == kRelationship;
      BoxLayout& box = AddTextCell(layout, name, rect, principal ? "本人" : QString());
      if (principal || field == kAttendance) box.alignment = Qt::AlignCenter;
      texts.values.push_back({ValueKind::Text, name});
    }
    const std::pair<Field, Column> amountCells[4] = {
        {kRemuneration, kRemunerationColumn}, {kBonusExpensed, kExpensedColumn},
        {kBonusAppropriated, kAppropriatedColumn}, {kRowTotal, kTotalColumn}};
    for (const auto& [field, column] : amountCells) {
      AddAmountCell(layout, BoxName(boxes[field]), line(lower, column));
    }

    // The upper line: the position and attendance words, the 内外 and 外
    // amounts, and the empty cells crossed.
    const int* words = kWordButtons[r - 1];
    const auto [director, auditor] = SplitCell(line(upper, kPositionColumn), 750);
    const auto [fullTime, partTime] = SplitCell(line(upper, kAttendanceColumn), 592);
    const QString position = BoxName(boxes[kPosition]);
    const QString attendance = BoxName(boxes[kAttendance]);
    AddWordButton(layout, ButtonName(words[0]), "取締", director, {position},
                  {"取締役"});
    layout.buttons.back().fontPoints = 9;
    AddWordButton(layout, ButtonName(words[1]), "監", auditor, {position},
                  {"監査役"});
    AddWordButton(layout, ButtonName(words[2]), "常", fullTime, {attendance},
                  {"常勤"});
    AddWordButton(layout, ButtonName(words[3]), "非", partTime, {attendance},
                  {"非常勤"});
    AddCrossedCell(layout, line(upper, kRemunerationColumn));
    AddCrossedCell(layout, line(upper, kAppropriatedColumn));
  }

  // The 内外 and 外 amounts: on each officer's upper line, and their totals on
  // the line below the other totals, each with its label at its left.
  auto labelled = [&layout](const QString& label, const QString& caption, const QString& box,
                            QRect cell) {
    const auto [labelRect, boxRect] = SplitCell(cell, kLabelWidth);
    layout.labels.push_back({label, caption, labelRect, Qt::AlignRight | Qt::AlignVCenter});
    BoxLayout& amount = AddAmountCell(layout, box, boxRect);
    amount.background = kLightCyan;
  };
  for (int r = 1; r <= kOfficerCount; ++r) {
    labelled(QStringLiteral("Label%1").arg(7 + r), "内外", BoxName(kOfficers[r - 1][kInnerOuter]),
             line(2 * r, kExpensedColumn));
    labelled(QStringLiteral("Label%1").arg(r), "外", BoxName(kOfficers[r - 1][kOuter]),
             line(2 * r, kTotalColumn));
  }
  AddHeading(layout, "Text93", "計", span(kTotalsLine, kPositionColumn, kAttendanceColumn));
  for (Block block : {kRemunerations, kBonusesExpensed, kBonusesAppropriated, kRowTotals}) {
    AddAmountCell(layout, BoxName(kBlocks[block].total),
                  line(kTotalsLine, kRemunerationColumn + static_cast<int>(block)))
        .background = kHeadingGrey;
  }
  labelled("Label14", "内外", BoxName(kBlocks[kInnerOuters].total),
           line(kTotalsLine + 1, kExpensedColumn));
  labelled("Label7", "外", BoxName(kBlocks[kOuters].total), line(kTotalsLine + 1, kTotalColumn));

  // The personnel costs: a label column and two amount columns.
  const char* personnel[4] = {"役員報酬", "従業員給与", "従業員賃金", "計"};
  for (int k = 0; k < 4; ++k) {
    const int l = kPersonnelLine + 1 + k;
    AddHeading(layout, BoxName(87 + k), personnel[k],
               span(l, kRelationshipColumn, kAttendanceColumn));
    for (Block block : {kPersonnelTotals, kFamilyShares}) {
      const int number = k < 3 ? kBlocks[block].boxes[static_cast<std::size_t>(k)]
                               : kBlocks[block].total;
      BoxLayout& box = AddAmountCell(
          layout, BoxName(number),
          line(l, block == kPersonnelTotals ? kRemunerationColumn : kExpensedColumn));
      if (k == 3) box.background = kHeadingGrey;
    }
  }
  layout.files = {amounts, texts};

  // The column headings that empty their columns; two of them also the 内外
  // or 外 amounts that stand in their column.
  AddClearingButton(layout, "Command35", "役職名", line(1, kPositionColumn),
                    FieldBoxes(kPosition));
  AddClearingButton(layout, "Command22", "常・非", line(1, kAttendanceColumn),
                    FieldBoxes(kAttendance));
  AddClearingButton(layout, "Command17", "報　　酬", twoLines(kRemunerationColumn),
                    BlockBoxes(kRemunerations));
  AddClearingButton(layout, "Command1", "損金経理", line(1, kExpensedColumn),
                    BlockBoxes(kBonusesExpensed) + BlockBoxes(kInnerOuters));
  AddClearingButton(layout, "Command5", "利益金処分", line(1, kAppropriatedColumn),
                    BlockBoxes(kBonusesAppropriated));
  AddClearingButton(layout, "Command6", "計", twoLines(kTotalColumn),
                    BlockBoxes(kRowTotals) + BlockBoxes(kOuters));
  AddClearingButton(layout, "Command20", "総　　額", line(kPersonnelLine, kRemunerationColumn),
                    BlockBoxes(kPersonnelTotals));
  AddClearingButton(layout, "Command21", "家 族 分", line(kPersonnelLine, kExpensedColumn),
                    BlockBoxes(kFamilyShares));

  QStringList cleared;
  for (const AmountBlock& block : kBlocks) cleared += Boxes(block.boxes) + Boxes({block.total});
  for (int n = 26; n <= 55; ++n) cleared.append(BoxName(n));
  AddBottomLine(layout, {line(kPersonnelLine + 1, kAppropriatedColumn), "Command4",
                         line(kPersonnelLine + 1, kTotalColumn), cleared,
                         line(kPersonnelLine + 2, kAppropriatedColumn), "合　　計",
                         line(kTotalsLine + 1, kAppropriatedColumn)});
  return layout;
}

}  // namespace

OfficerPayScreen::OfficerPayScreen() : EntryScreen(OfficerPayLayout()) {}

}  // namespace mirudanto::statements
