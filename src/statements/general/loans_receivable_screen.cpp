#include "statements/general/loans_receivable_screen.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kEntryCount = 7;

// The boxes of each entry, in the order of the screen's table: name,
// relationship, interest, address, balance, rate, reason, collateral.
constexpr int kEntries[kEntryCount][8] = {
    {9, 10, 12, 11, 1, 13, 14, 15},     {17, 18, 20, 19, 16, 21, 22, 23},
    {25, 26, 28, 27, 24, 29, 30, 31},   {33, 34, 36, 35, 32, 37, 38, 39},
    {41, 42, 44, 43, 40, 45, 46, 47},   {49, 50, 52, 51, 48, 53, 54, 55},
    {57, 58, 60, 59, 56, 61, 62, 63},
};
enum Field { kName, kRelationship, kInterest, kAddress, kBalance, kRate, kReason, kCollateral };
// The texts of an entry in the order the file holds them.
constexpr Field kTextOrder[7] = {kName, kRelationship, kAddress, kInterest,
                                 kRate, kReason, kCollateral};

// Grid columns, left to right; the address spans the first two on an entry's
// second line.
enum Column { kNameColumn, kRelationshipColumn, kBalanceColumn, kInterestColumn, kReasonColumn,
              kCollateralColumn };

QString Box(int number) { return QStringLiteral("Text%1").arg(number); }

constexpr int kLineHeight = 330;
// Space between two entries, so that each pair of lines reads as one borrower.
constexpr int kEntryGap = 45;
constexpr int kLastLine = 2 * (kEntryCount + 1);  // the bottom line

EntryScreenLayout LoansReceivableLayout() {
  EntryScreenLayout layout;
  layout.name = QStringLiteral("Form20");
  layout.caption = QStringLiteral("貸付金");
  layout.loadButton = QStringLiteral("Command3");
  layout.saveButton = QStringLiteral("Command2");
  layout.loadTitle = QStringLiteral("借入金");
  layout.saveTitle = QStringLiteral("貸付金");

  const GridGeometry grid(120, 120, kLineHeight, {2200, 1300, 1600, 1400, 1800, 1800}, 15);
  // Line 0 and 1 are the headings, entry e has lines 2e and 2e+1.
  auto cell = [&grid](int line, int column) {
    return grid.Cell(line, column).translated(0, (line / 2) * kEntryGap);
  };
  auto span = [&grid](int line, int first, int last) {
    return grid.Span(line, first, last).translated(0, (line / 2) * kEntryGap);
  };
  layout.clientTwips = QSize(grid.Right() + 120, cell(kLastLine, 0).bottom() + 1 + 120);

  auto heading = [&layout](const char* name, const char* text, QRect rect) {
    layout.boxes.push_back({name, rect, QString::fromUtf8(text), BoxStyle::Heading});
  };
  heading("Text2", "貸　付　先", cell(0, kNameColumn));
  heading("Text3", "関　係", cell(0, kRelationshipColumn));
  heading("Text5", "支払利子額", cell(0, kInterestColumn));
  heading("Text4", "所　在　地（住所）", span(1, kNameColumn, kRelationshipColumn));
  heading("Text6", "利　　率", cell(1, kInterestColumn));
  heading("Text7", "借入理由", cell(1, kReasonColumn));
  heading("Text73", "担保の内容", cell(1, kCollateralColumn));

  FileLayout texts{{StatementMark::LoansReceivable, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::LoansReceivable, FileRole::Amounts}, {}};
  QStringList textCells;
  QStringList balanceCells;
  for (int e = 1; e <= kEntryCount; ++e) {
    const int* boxes = kEntries[e - 1];
    const int first = 2 * e;
    const int second = first + 1;
    auto rectOf = [&](Field field) {
      switch (field) {
        case kName: return cell(first, kNameColumn);
        case kRelationship: return cell(first, kRelationshipColumn);
        case kInterest: return cell(first, kInterestColumn);
        case kAddress: return span(second, kNameColumn, kRelationshipColumn);
        case kBalance: return cell(second, kBalanceColumn);
        case kRate: return cell(second, kInterestColumn);
        case kReason: return cell(second, kReasonColumn);
        case kCollateral: return cell(second, kCollateralColumn);
      }
      return QRect();
    };
    for (Field field : kTextOrder) {
      const QString name = Box(boxes[field]);
      // Interest and rate are figures typed as text: the input method stays.
      const InputMode mode = field == kInterest || field == kRate ? InputMode::Unchanged
                                                                  : InputMode::Hiragana;
      layout.boxes.push_back({name, rectOf(field), QString(), BoxStyle::Entry, Qt::AlignLeft,
                              mode});
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString balance = Box(boxes[kBalance]);
    layout.boxes.push_back(AmountBox(balance, rectOf(kBalance)));
    amounts.values.push_back({ValueKind::Amount, balance});
    balanceCells.append(balance);
  }
  const QString total = Box(72);
  layout.boxes.push_back(AmountBox(total, cell(kLastLine, kBalanceColumn)));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  // The total is stored as computed; the engine never reads it back.
  layout.totals = {SumRule({1, 8}, 1, kEntryCount)};

  layout.boxes.push_back({layout.codeBox, cell(kLastLine, kRelationshipColumn), QString(),
                          BoxStyle::Hidden});

  // The first line has no box under the balance, reason and collateral
  // columns; each such cell is crossed out.
  int lineNumber = 0;
  for (int line = 0; line < kLastLine; line += 2) {
    for (int column : {kBalanceColumn, kReasonColumn, kCollateralColumn}) {
      const QRect r = cell(line, column);
      // Inset, so that the line stays inside its own cell.
      layout.lines.push_back({QStringLiteral("Line%1").arg(++lineNumber),
                              QPoint(r.left() + 30, r.top() + r.height() - 30),
                              QPoint(r.left() + r.width() - 30, r.top() + 30)});
    }
  }

  const QRect dataAndClear = cell(kLastLine, kNameColumn);
  const int half = (dataAndClear.width() - 15) / 2;
  const QRect data(dataAndClear.left(), dataAndClear.top(), half, dataAndClear.height());
  const QRect clear(dataAndClear.left() + dataAndClear.width() - half, dataAndClear.top(), half,
                    dataAndClear.height());
  layout.buttons = {
      {"Command17", "期末現在高", cell(1, kBalanceColumn), ButtonRole::ClearBoxes,
       balanceCells + QStringList{total}},
      {"Command3", "DATA", data, ButtonRole::Load},
      {"Command4", "クリア", clear, ButtonRole::ClearBoxes,
       balanceCells + QStringList{total} + textCells},
      {"Command2", "合　　計", cell(kLastLine, kInterestColumn), ButtonRole::Save},
  };
  return layout;
}

}  // namespace

LoansReceivableScreen::LoansReceivableScreen() : EntryScreen(LoansReceivableLayout()) {}

void LoansReceivableScreen::BeforeRead(CompanyCode) {
  // The screen is emptied once the code has been read, so that whatever
  // follows shows only what both files hold, or nothing.
  Press(QStringLiteral("Command4"));
}

}  // namespace mirudanto::statements
