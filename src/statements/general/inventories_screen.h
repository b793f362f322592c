#pragma once

#include <array>
#include <cstdint>

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// Form6, inventories (⑤): five rows of items and balances, the total, and
// below them the stocktaking date with its buttons and the stocktaking
// method. Its load reports nothing itself: the opening, the user's click or
// the save reports a failure under its own title.
class InventoriesScreen : public EntryScreen {
 public:
  InventoriesScreen();

 protected:
  void Build() override;
  void ShowExtra(const HeldFiles& files) override;
  void CaptureExtra(HeldFiles& files) override;
  void AfterWrite() override;

 private:
  // Selects option k (1 to 3) and makes the flags one-hot for it.
  void SelectMethod(int k);
  void OptionClicked(int k);
  void NextPeriod();

  // physicalCount, bookInventory, combined: what the next save writes. They
  // belong to the screen, not to its window, but start again at the option a
  // new window shows selected.
  std::array<std::int16_t, 3> flags_ = {1, 0, 0};
};

}  // namespace mirudanto::statements
