#pragma once

#include <QString>
#include <vector>

namespace mirudanto::app {

// How the main menu opens a screen.
enum class Opening {
  Plain,         // unload, code, load, show
  ShownFirst,    // unload, code, show, load
  ClearedFirst,  // unload, code, clear, load, show
  BothPages,     // ⑪ page 2, then page 1's load for its carried totals
  Register,      // the kept code, 18 boxes emptied, no load
  DataScreen,    // the kept code, no load
  PrinterScreen, // only loaded and shown
};

// One button of the main menu's column (and the two at its bottom right):
// the screen it opens and how. What the screen offers to its opening (its
// code box, its buttons, its files) the screen itself says.
struct MenuOpening {
  QString menuButton;
  QString caption;
  QString screen;
  Opening opening;
};

// In the order of the main menu's buttons.
const std::vector<MenuOpening>& MenuOpenings();

// The entry screens that company initialisation saves untouched: first those
// of "初期設定", then those of its steps "2" to "5", each group in the order of
// its saves.
const std::vector<std::vector<QString>>& SetupGroups();

// The screens "メモリーエラーの解除" unloads, in that order.
const std::vector<QString>& UnloadedScreens();

// Borrowings page 1, whose load the opening of page 2 presses.
inline const QString kBorrowingsPage1 = QStringLiteral("Form13");

}  // namespace mirudanto::app
