#pragma once

#include <vector>

#include "core/amount.h"
#include "statements/entry_screen.h"

namespace mirudanto::statements {

enum class MiscKind { Gains, Losses };

// Form16 and Form19, miscellaneous gains and losses (⑯): ten rows of account,
// transaction, counterparty, address and amount. Rows 2 to 10 can be turned
// into subtotal lines; each carries its subtotal as a marker that the total
// leaves out, kept as text in a hidden box beside the row.
class MiscScreen : public EntryScreen {
 public:
  explicit MiscScreen(MiscKind kind);

  // The text a subtotal line shows in its address cell.
  static const QString& SubtotalLabel();

 private:
  // The markers as the hidden boxes hold them, by row (rows 2 to 10).
  std::vector<Amount> MarkersInBoxes();
  void InsertSubtotalLine(int row);

  // The markers as the screen holds them, for rows 2 to 10.
  Amount& HeldMarker(int row);
};

class MiscGainsScreen : public MiscScreen {
 public:
  MiscGainsScreen() : MiscScreen(MiscKind::Gains) {}
};

class MiscLossesScreen : public MiscScreen {
 public:
  MiscLossesScreen() : MiscScreen(MiscKind::Losses) {}
};

}  // namespace mirudanto::statements
