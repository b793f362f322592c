#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Officer pay (⑭): six officers, each on two lines, with their pay, bonuses
// and the row totals the save works out, and under them the personnel costs.
// The amount file is written and read before the text file.
class OfficerPayScreen : public EntryScreen {
 public:
  OfficerPayScreen();
};

}  // namespace mirudanto::statements
