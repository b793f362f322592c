#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form12, suspense receipts (⑩): the grid of the advance payments screen
// cell for cell, and below it the table of withheld income tax, twelve lines
// of year, month, kind of income and amount in two halves, whose total the
// button "源泉税合計" (Command6) shows as its caption.
class SuspenseReceiptsScreen : public EntryScreen {
 public:
  SuspenseReceiptsScreen();

 protected:
  // The save presses "源泉税合計" once its files are written, before it
  // reloads the screen.
  void AfterWrite() override;

 private:
  // Command6: the total of the twelve withheld amounts the screen holds (as
  // last loaded or saved, not as typed), followed by "円", as the button's
  // caption. A total beyond 32 bits is reported and the caption stays.
  void ShowWithholdingTotal();
};

}  // namespace mirudanto::statements
