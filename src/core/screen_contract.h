#pragma once

#include <QString>
#include <vector>

#include "core/statement_files.h"

namespace mirudanto {

// What a screen offers to the screen that opens it: the box through which it
// receives the company code and the button that loads it; an entry screen
// also its clearing and save buttons and the files its save writes, in the
// order it writes them. A name is empty where the screen has no such control.
struct ScreenContract {
  QString codeBox;
  QString loadButton;
  QString clearButton;
  QString saveButton;
  std::vector<StatementFile> files;
};

}  // namespace mirudanto
