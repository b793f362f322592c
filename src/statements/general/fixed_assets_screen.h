#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form7, fixed assets (⑦): five assets of two lines, three amounts to an
// asset, and totals of the balances and of the book values. Its load works
// the totals out again rather than trusting the stored ones.
class FixedAssetsScreen : public EntryScreen {
 public:
  FixedAssetsScreen();
};

}  // namespace mirudanto::statements
