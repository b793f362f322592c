#pragma once

#include <QString>
#include <QStringList>

#include "core/amount.h"
#include "core/statement_files.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/entry_screen_fixture.h"

namespace mirudanto::testing {

// The grid of the ledger screens, rows 1 to 14 as the design numbers them:
// 科目, 名称（氏名）, 所在地（住所）, 期末現在高, 摘要. ⑨買 has the first 13
// rows, ⑨未 the first 11.
inline constexpr int kLedgerTable[14][5] = {
    {7, 8, 9, 11, 10},    {14, 13, 12, 4, 5},   {19, 18, 17, 15, 16}, {24, 23, 22, 20, 21},
    {29, 28, 27, 25, 26}, {34, 33, 32, 30, 31}, {39, 38, 37, 35, 36}, {44, 43, 42, 40, 41},
    {49, 48, 47, 45, 46}, {54, 53, 52, 50, 51}, {59, 58, 57, 55, 56}, {64, 63, 62, 60, 61},
    {69, 68, 67, 65, 66}, {74, 73, 72, 70, 71},
};
enum LedgerColumn { kAccount, kName, kAddress, kBalance, kRemarks };

inline QString LedgerCell(int row, LedgerColumn column) {
  return Box(kLedgerTable[row - 1][column]);
}

// What differs between the three screens.
struct LedgerFacts {
  int rows;
  QString caption;
  QString word;
  StatementMark mark;
  // ③ and ⑨未: the capture takes the accounts and shows the total; ⑨買: not.
  bool captureTakesAccountsAndTotal;
};

template <class S>
LedgerFacts FactsOf();
template <>
inline LedgerFacts FactsOf<statements::ReceivablesScreen>() {
  return {14, QStringLiteral("売掛金③"), QStringLiteral("売掛金"), StatementMark::Receivables, true};
}
template <>
inline LedgerFacts FactsOf<statements::PayablesScreen>() {
  return {13, QStringLiteral("買掛金⑨"), QStringLiteral("買掛金"), StatementMark::Payables, false};
}
template <>
inline LedgerFacts FactsOf<statements::OtherPayablesScreen>() {
  return {11, QStringLiteral("未払金⑨"), QStringLiteral("未払金"), StatementMark::OtherPayables,
          true};
}

// A test of one ledger screen, of the real class or of one derived from it
// (whose facts are its base's).
template <class S, class Base = S>
class LedgerTest : public EntryScreenTest<S> {
 protected:
  const LedgerFacts facts = FactsOf<Base>();
  const int n = facts.rows;

  QString Cell(int row, LedgerColumn column) const { return LedgerCell(row, column); }
  QString Read(int row, LedgerColumn column) { return this->screen.Read(Cell(row, column)); }
  void Write(int row, LedgerColumn column, const QString& text) {
    this->screen.Write(Cell(row, column), text);
  }
  // Row r as "name:balance as shown".
  QString RowShown(int row) { return Read(row, kName) + ":" + Read(row, kBalance); }
  QStringList RowsShown() {
    QStringList rows;
    for (int r = 1; r <= n; ++r) rows.append(RowShown(r));
    return rows;
  }
  // Every box of every row, row by row, in the grid's column order.
  QStringList Grid() {
    QStringList cells;
    for (int r = 1; r <= n; ++r) {
      for (int c = 0; c < 5; ++c) cells.append(Read(r, static_cast<LedgerColumn>(c)));
    }
    return cells;
  }
};

}  // namespace mirudanto::testing
