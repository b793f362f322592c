#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// The three ledger screens, one design in three sizes: receivables (③, 14
// rows), accounts payable (⑨買, 13 rows) and other payables (⑨未, 11 rows).
// Each row is one LedgerRow: account, counterparty name and address, closing
// balance and remarks; the total of the balances stands under the balance
// column. The rows can be put in order of their balances, largest first.
enum class LedgerKind { Receivables, Payables, OtherPayables };

class LedgerScreen : public EntryScreen {
 public:
  explicit LedgerScreen(LedgerKind kind);

  int RowCount() const { return static_cast<int>(Layout().rows.size()); }

 private:
  // "大きい順に並び替え": exchanges rows on the screen, two at a time, from a
  // capture of the grid pressed before each comparison, then saves.
  void OrderByAmount();
  // Writes the moving cells of row `to` (name, address, balance in plain
  // digits, remarks) from the captured values of row `from`.
  void WriteRowFrom(int to, int from);
  Amount CapturedBalance(int row) const;
};

// Form4, Form9 and Form11 as the run registers them.
class ReceivablesScreen : public LedgerScreen {
 public:
  ReceivablesScreen() : LedgerScreen(LedgerKind::Receivables) {}
};
class PayablesScreen : public LedgerScreen {
 public:
  PayablesScreen() : LedgerScreen(LedgerKind::Payables) {}
};
class OtherPayablesScreen : public LedgerScreen {
 public:
  OtherPayablesScreen() : LedgerScreen(LedgerKind::OtherPayables) {}
};

}  // namespace mirudanto::statements
