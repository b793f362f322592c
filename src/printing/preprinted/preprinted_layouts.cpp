// The data of every statement on its official preprinted sheet, one table per
// sheet: millimetres from the sheet's corner, sizes in points. The sheet
// carries its ruling and headings; a layout prints the data and the few words
// and circles below.
#include <utility>

#include "printing/preprinted/preprinted_layout.h"

namespace mirudanto::printing {
namespace {

using M = StatementMark;
using S = PrintStatement;
constexpr Nudge N = Nudge::Apply;
constexpr Nudge Z = Nudge::None;

Placement Repeat(int count, double pitch) {
  Placement p{Place::Repeat};
  p.count = count;
  p.pitch = pitch;
  return p;
}
Placement End() { return Placement{Place::End}; }
Placement Size(double points) {
  Placement p{Place::Size};
  p.points = points;
  return p;
}
Placement Text(M mark, int a, int b, double x, double y) {
  Placement p{Place::Text, mark, a, b, x, y};
  return p;
}
Placement Literal(const QString& text, double x, double y) {
  Placement p{Place::Literal};
  p.x = x;
  p.y = y;
  p.text = text;
  return p;
}
Placement Amount(M mark, int a, int b, double right, double y, Nudge nudge) {
  Placement p{Place::Amount, mark, a, b, right, y};
  p.nudge = nudge;
  return p;
}
Placement Number(M mark, int number, double x, double y) {
  Placement p{Place::Number, mark, 0, number, x, y};
  return p;
}
Placement Correction(int first, int last, double millimetres) {
  Placement p{Place::Correction};
  p.first = first;
  p.last = last;
  p.value = millimetres;
  return p;
}
Placement LiteralIf(M mark, int a, int b, const QString& word, const QString& text, double x,
                    double y) {
  Placement p{Place::LiteralIf, mark, a, b, x, y};
  p.word = word;
  p.text = text;
  return p;
}
Placement Sum(std::vector<AmountRun> runs, SumRule rule, double right, double y, Nudge nudge) {
  Placement p{Place::Sum};
  p.x = right;
  p.y = y;
  p.nudge = nudge;
  p.rule = rule;
  p.runs = std::move(runs);
  return p;
}

const QString kCircle = QStringLiteral("〇");

// ①: 15 rows of 9 mm; the branch 3 mm and the balance 1 mm below the bank.
PreprintedLayout Deposits() {
  constexpr M D = M::Deposits;
  return {
      Repeat(15, 9),
        Size(11),
        Text(D, 5, -4, 27, 32),   // bankName
        Text(D, 5, -3, 47, 35),   // branchName
        Text(D, 5, -2, 66, 32),   // depositKind
        Text(D, 5, -1, 90, 32),   // accountNumber
        Text(D, 5, 0, 152, 32),   // remarks
        Size(15),
        Amount(D, 1, 0, 143, 33, N),  // closingBalance
      End(),
      Size(15),
      Amount(D, 0, 16, 143, 239, N),  // total
  };
}

// ②, either page: 13 rows of 9 mm, the lower rows pulled up to meet the
// sheet's lines; the total line is not corrected.
PreprintedLayout NotesReceivable(M page) {
  return {
      Repeat(13, 9),
        Correction(1, 3, 0),
        Correction(4, 9, -2),
        Correction(10, 11, -4),
        Correction(12, 13, -5),
        Size(11),
        Text(page, 1, 0, 27, 32),    // counterpartyName
        Text(page, 2, 12, 59, 31),   // issueDate
        Text(page, 2, 13, 59, 35),   // dueDate
        Text(page, 1, 39, 76, 31),   // payingBank
        Text(page, 1, 52, 87, 35),   // payingBranch
        Text(page, 1, 65, 131, 31),  // discountBank
        Text(page, 1, 78, 143, 34),  // discountBranch
        Text(page, 1, 91, 157, 32),  // remarks
        Size(15),
        Amount(page, 1, 0, 125, 32, N),  // amount
      End(),
      Size(15),
      Amount(page, 0, 14, 125, 230, N),  // total
  };
}

// ③: 14 rows of 8 mm.
PreprintedLayout Receivables() {
  constexpr M R = M::Receivables;
  return {
      Repeat(14, 8),
        Size(11),
        Text(R, 1, 0, 27, 36),    // account
        Text(R, 1, 14, 46, 36),   // counterpartyName
        Text(R, 1, 28, 83, 36),   // counterpartyAddress
        Text(R, 1, 42, 170, 36),  // remarks
        Size(15),
        Amount(R, 1, 0, 162, 36, N),  // closingBalance
      End(),
      Size(15),
      Amount(R, 0, 15, 162, 244, N),  // total
  };
}

// ④: the advance payments (row 11 holds their total), then the loans, whose
// total the sheet shows as the sum of the seven balances printed above it.
PreprintedLayout AdvancesAndLoans() {
  constexpr M P = M::AdvancePayments;
  constexpr M L = M::LoansReceivable;
  return {
      Repeat(11, 7),
        Size(11),
        Text(P, 1, 0, 24, 38),    // account
        Text(P, 1, 11, 46, 38),   // counterpartyName
        Text(P, 1, 22, 79, 38),   // counterpartyAddress
        Text(P, 1, 33, 125, 38),  // relationship
        Text(P, 1, 44, 166, 38),  // transactionDetail
        Size(15),
        Amount(P, 1, 0, 163, 38, Z),  // closingBalance
      End(),
      Size(11),
      Literal(QStringLiteral("計"), 32, 112),
      Repeat(7, 11.5),
        Size(11),
        Text(L, 7, -6, 27, 152),   // borrowerName
        Text(L, 7, -5, 65, 152),   // relationship
        Text(L, 7, -4, 27, 159),   // borrowerAddress
        Text(L, 7, -3, 115, 152),  // interestReceived
        Text(L, 7, -2, 115, 158),  // interestRate
        Text(L, 7, -1, 134, 155),  // loanReason
        Text(L, 7, 0, 157, 155),   // collateral
        Size(15),
        Amount(L, 1, 0, 111, 155, Z),  // closingBalance
      End(),
      Sum({{L, 1, 7}}, SumRule::Wide, 111, 234, Z),  // loans total, in the size left
  };
}

// ⑤: five rows of 8 mm, the total, then the method's circle (always in the
// first box) and the stocktaking date.
PreprintedLayout Inventories() {
  constexpr M I = M::Inventories;
  return {
      Repeat(5, 8),
        Size(11),
        Text(I, 5, 2, 27, 31),   // account
        Text(I, 5, 3, 50, 31),   // itemName
        Text(I, 5, 4, 84, 31),   // quantity
        Text(I, 5, 5, 103, 31),  // unitPrice
        Text(I, 5, 6, 157, 31),  // remarks
        Size(15),
        Amount(I, 1, 0, 148, 31, N),  // closingBalance
      End(),
      Amount(I, 0, 6, 148, 218, N),  // total, in the size left
      Size(11),
      Literal(kCircle, 47, 237),
      Number(I, 1, 87, 244),   // year
      Number(I, 2, 100, 244),  // month
      Number(I, 3, 112, 244),  // day
  };
}

// ⑦: five entries of 20 mm on three lines each, all at 10 points.
PreprintedLayout FixedAssets() {
  constexpr M F = M::FixedAssets;
  return {
      Repeat(5, 20),
        Size(10),
        Text(F, 9, -8, 24, 46),   // kindStructure
        Text(F, 9, -7, 42, 46),   // use
        Text(F, 9, -6, 64, 46),   // area
        Text(F, 9, -5, 25, 56),   // location
        Text(F, 9, -4, 95, 46),   // changeDate
        Text(F, 9, -3, 95, 56),   // changeReason
        Text(F, 9, -2, 134, 46),  // counterpartyName
        Text(F, 9, -1, 134, 56),  // counterpartyAddress
        Text(F, 9, 0, 174, 51),   // soldAssetAcquiredDate
        Amount(F, 1, 10, 132, 46, Z),  // acquisitionOrDisposalPrice
        Amount(F, 1, 5, 132, 56, Z),   // bookValueBeforeChange
        Amount(F, 1, 0, 92, 51, Z),    // closingBalance
      End(),
      Literal(QStringLiteral("合　　計"), 40, 234),
      Amount(F, 0, 16, 92, 234, Z),   // total of the closing balances
      Amount(F, 0, 17, 132, 234, Z),  // total of the book values before the change
  };
}

// ⑨: 11 accounts payable and 9 other payables on 7.75 mm, each block with its
// stored total, which also covers the rows the sheet has no room for.
PreprintedLayout Payables() {
  constexpr M P = M::Payables;
  constexpr M O = M::OtherPayables;
  return {
      Repeat(11, 7.75),
        Size(11),
        Text(P, 1, 0, 26, 36),    // account
        Text(P, 1, 13, 44, 36),   // counterpartyName
        Text(P, 1, 26, 81, 36),   // counterpartyAddress
        Text(P, 1, 39, 166, 36),  // remarks
        Size(15),
        Amount(P, 1, 0, 161, 36, N),  // closingBalance
      End(),
      Size(15),
      Literal(QStringLiteral("合　　計"), 93, 121),
      Amount(P, 0, 14, 161, 121, N),
      Repeat(9, 7.75),
        Size(11),
        Text(O, 1, 0, 26, 136),    // account
        Text(O, 1, 11, 44, 136),   // counterpartyName
        Text(O, 1, 22, 81, 136),   // counterpartyAddress
        Text(O, 1, 33, 166, 136),  // remarks
        Size(15),
        Amount(O, 1, 0, 161, 136, N),  // closingBalance
      End(),
      Size(15),
      Literal(QStringLiteral("合　　計"), 93, 207),
      Amount(O, 0, 12, 161, 207, N),
  };
}

// ⑩: ten suspense receipts (the amount 1 mm above its texts) with their total,
// then the two lists of withheld tax side by side.
PreprintedLayout SuspenseReceipts() {
  constexpr M R = M::SuspenseReceipts;
  return {
      Repeat(10, 7),
        Size(11),
        Text(R, 1, 0, 23, 39),    // account
        Text(R, 1, 11, 44, 39),   // counterpartyName
        Text(R, 1, 22, 73, 39),   // counterpartyAddress
        Text(R, 1, 33, 115, 39),  // relationship
        Text(R, 1, 44, 167, 39),  // transactionDetail
        Size(15),
        Amount(R, 1, 0, 161, 38, N),  // closingBalance
      End(),
      Size(15),
      Literal(QStringLiteral("合　　計"), 81, 139),
      Amount(R, 0, 11, 161, 139, N),
      Repeat(6, 9),
        Size(11),
        Text(R, 1, 55, 29, 213),  // left year
        Text(R, 1, 61, 41, 213),  // left month
        Text(R, 1, 67, 55, 213),  // left incomeKind
        Size(15),
        Amount(R, 1, 11, 102, 213, Z),  // left amount
        Size(11),
        Text(R, 1, 73, 113, 213),  // right year
        Text(R, 1, 79, 125, 213),  // right month
        Text(R, 1, 85, 140, 213),  // right incomeKind
        Size(15),
        Amount(R, 1, 17, 184, 213, N),  // right amount
      End(),
  };
}

// ⑪: page 1's rows in the upper half, page 2's in the lower, row by row; the
// grand totals are the sums of what the sheet shows (page 1's stored totals
// and page 2's rows), since page 2's stored grand totals go stale when only
// page 1 is saved.
PreprintedLayout Borrowings() {
  constexpr M P1 = M::Borrowings1;
  constexpr M P2 = M::Borrowings2;
  return {
      Repeat(7, 13),
        Size(11),
        Text(P1, 6, -5, 27, 36),       // lenderName
        Text(P1, 6, -4, 59, 36),       // relationship
        Text(P1, 6, -3, 27, 42),       // lenderAddress
        Amount(P1, 1, 8, 125, 36, N),  // interestPaid
        Text(P1, 6, -2, 110, 42),      // interestRate
        Text(P1, 6, -1, 134, 39),      // borrowingReason
        Text(P1, 6, 0, 158, 39),       // collateral
        Size(15),
        Amount(P1, 1, 0, 102, 39, N),  // closingBalance
        Size(11),
        Text(P2, 6, -5, 27, 124),       // lenderName
        Text(P2, 6, -4, 59, 124),       // relationship
        Text(P2, 6, -3, 27, 131),       // lenderAddress
        Amount(P2, 1, 9, 125, 124, N),  // interestPaid
        Text(P2, 6, -2, 110, 129),      // interestRate
        Text(P2, 6, -1, 134, 128),      // borrowingReason
        Text(P2, 6, 0, 158, 128),       // collateral
        Size(15),
        Amount(P2, 1, 0, 102, 128, N),  // closingBalance
      End(),
      Size(11),
      Sum({{P1, 16, 16}, {P2, 10, 16}}, SumRule::Fitting, 125, 213, N),  // interest
      Size(15),
      Sum({{P1, 8, 8}, {P2, 1, 7}}, SumRule::Fitting, 102, 219, N),  // closing balances
  };
}

// ⑭: six officers of two lines each, the total line, the attendance circles,
// then the personnel costs; no amount takes the nudge.
PreprintedLayout OfficerPay() {
  constexpr M O = M::OfficerPay;
  return {
      Repeat(6, 12),
        Size(11),
        Text(O, 5, -4, 26, 52),  // position
        Text(O, 5, -3, 41, 47),  // officerName
        Text(O, 5, -2, 67, 47),  // relationship
        Text(O, 5, -1, 41, 53),  // address
        Amount(O, 1, 0, 115, 53, Z),   // remuneration
        Amount(O, 1, 7, 140, 53, Z),   // bonusExpensed
        Amount(O, 1, 14, 163, 53, Z),  // bonusAppropriated
        Amount(O, 1, 21, 186, 53, Z),  // rowTotal
        Amount(O, 1, 36, 140, 47, Z),  // innerOuterAmount
        Amount(O, 1, 43, 187, 47, Z),  // outerAmount
      End(),
      Size(11),
      Amount(O, 0, 7, 115, 172, Z),   // total of remuneration
      Amount(O, 0, 28, 186, 172, Z),  // total of rowTotal
      Repeat(6, 12),
        LiteralIf(O, 5, 0, QStringLiteral("常勤"), kCircle, 83, 49),
      End(),
      Repeat(6, 12),
        LiteralIf(O, 5, 0, QStringLiteral("非常勤"), kCircle, 90, 51),
      End(),
      Repeat(4, 10),
        Size(15),
        Amount(O, 1, 28, 135, 201, Z),  // total
        Amount(O, 1, 32, 182, 201, Z),  // familyShare
      End(),
      Size(11),
  };
}

// ⑮: seven rents of two lines, then the total line; all at 11 points.
PreprintedLayout Rents() {
  constexpr M R = M::Rents;
  return {
      Repeat(7, 11),
        Size(11),
        Text(R, 7, -6, 29, 49),   // rentKind
        Text(R, 7, -5, 47, 44),   // propertyUse
        Text(R, 7, -4, 47, 49),   // propertyLocation
        Text(R, 7, -3, 90, 44),   // lessorName
        Text(R, 7, -2, 90, 49),   // lessorAddress
        Text(R, 7, -1, 132, 44),  // paymentPeriod
        Text(R, 7, 0, 158, 49),   // remarks
        Amount(R, 1, 0, 152, 49, Z),  // rentPaid
      End(),
      Size(11),
      Literal(QStringLiteral("合　　　計"), 97, 125),
      Amount(R, 0, 8, 152, 125, Z),
  };
}

// ⑯: ten gains above, ten losses below, subtotal lines as rows; no total.
PreprintedLayout MiscGainsLosses() {
  constexpr M G = M::MiscGains;
  constexpr M L = M::MiscLosses;
  return {
      Repeat(10, 11),
        Size(11),
        Text(G, 4, -3, 38, 37),   // account
        Text(G, 4, -2, 58, 37),   // transactionDetail
        Text(G, 4, -1, 90, 37),   // counterpartyName
        Text(G, 4, 0, 122, 37),   // counterpartyAddress
        Size(15),
        Amount(G, 1, 0, 186, 37, N),  // amount
      End(),
      Repeat(10, 11),
        Size(11),
        Text(L, 4, -3, 38, 149),  // account
        Text(L, 4, -2, 58, 149),  // transactionDetail
        Text(L, 4, -1, 90, 149),  // counterpartyName
        Text(L, 4, 0, 122, 149),  // counterpartyAddress
        Size(15),
        Amount(L, 1, 0, 186, 149, N),  // amount
      End(),
  };
}

}  // namespace

const PreprintedLayout& PreprintedLayoutOf(PrintStatement statement) {
  static const PreprintedLayout none;
  static const PreprintedLayout deposits = Deposits();
  static const PreprintedLayout notes1 = NotesReceivable(M::NotesReceivable);
  static const PreprintedLayout notes2 = NotesReceivable(M::NotesReceivable2nd);
  static const PreprintedLayout receivables = Receivables();
  static const PreprintedLayout advancesAndLoans = AdvancesAndLoans();
  static const PreprintedLayout inventories = Inventories();
  static const PreprintedLayout fixedAssets = FixedAssets();
  static const PreprintedLayout payables = Payables();
  static const PreprintedLayout suspense = SuspenseReceipts();
  static const PreprintedLayout borrowings = Borrowings();
  static const PreprintedLayout officerPay = OfficerPay();
  static const PreprintedLayout rents = Rents();
  static const PreprintedLayout misc = MiscGainsLosses();
  switch (statement) {
    case S::Deposits: return deposits;
    case S::NotesReceivable: return notes1;
    case S::NotesReceivable2nd: return notes2;
    case S::Receivables: return receivables;
    case S::AdvancesAndLoans: return advancesAndLoans;
    case S::Inventories: return inventories;
    case S::FixedAssets: return fixedAssets;
    case S::NotesPayable: return none;
    case S::Payables: return payables;
    case S::SuspenseReceipts: return suspense;
    case S::Borrowings: return borrowings;
    case S::OfficerPay: return officerPay;
    case S::Rents: return rents;
    case S::MiscGainsLosses: return misc;
  }
  return none;
}

}  // namespace mirudanto::printing
