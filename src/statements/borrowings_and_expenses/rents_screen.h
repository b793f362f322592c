#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form15, rents (⑮): seven rents of land or buildings, each on two lines, with
// the words for the kind of rent on buttons of their own.
class RentsScreen : public EntryScreen {
 public:
  RentsScreen();
};

}  // namespace mirudanto::statements
