#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form5, advance payments (④仮): ten rows of account, counterparty,
// address, relationship, closing balance and transaction detail, and the
// total row 11.
class AdvancePaymentsScreen : public EntryScreen {
 public:
  AdvancePaymentsScreen();
};

}  // namespace mirudanto::statements
