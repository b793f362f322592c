#pragma once

#include <QString>
#include <vector>

#include "core/statement_files.h"

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

// One button of the main menu's column (and the two at its bottom right) with
// what the opened screen offers: its code box, its load button and, for an
// entry screen, its save button and the files it writes.
struct ScreenContract {
  QString menuButton;
  QString caption;
  QString screen;
  Opening opening;
  QString codeBox;
  QString loadButton;
  QString clearButton;   // pressed first by a cleared-first opening
  QString saveButton;    // entry screens only
  std::vector<StatementFile> files;  // what the save writes
};

// In the order of the main menu's buttons.
const std::vector<ScreenContract>& ScreenContracts();
const ScreenContract& ContractOfScreen(const QString& screen);

// The entry screens that company initialisation saves untouched: first those
// of "初期設定", then those of its steps "2" to "5", each group in the order of
// its saves.
const std::vector<std::vector<QString>>& SetupGroups();

// The screens "メモリーエラーの解除" unloads, in that order.
const std::vector<QString>& UnloadedScreens();

}  // namespace mirudanto::app
