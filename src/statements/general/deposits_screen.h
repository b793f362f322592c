#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form2, deposits (①): fifteen rows of bank, branch, kind, account number,
// closing balance and remarks, with a list of deposit-kind words beside them.
class DepositsScreen : public EntryScreen {
 public:
  DepositsScreen();
};

}  // namespace mirudanto::statements
