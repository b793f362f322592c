#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form20, loans receivable (④貸): seven borrowers of two lines each, their
// balances and the total. Its load empties the screen before it reads, so a
// failed load leaves nothing of what was shown.
class LoansReceivableScreen : public EntryScreen {
 public:
  LoansReceivableScreen();
};

}  // namespace mirudanto::statements
