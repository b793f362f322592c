#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// The two pages of the borrowings statement (⑪): seven borrowings a page, each
// on two lines, with their closing balances and the interest paid. Page 1
// carries its two totals into page 2's 前頁小計 boxes whenever it loads or
// saves; page 2 adds them into its grand totals.
enum class BorrowingsPage { Page1, Page2 };

class BorrowingsScreen : public EntryScreen {
 public:
  explicit BorrowingsScreen(BorrowingsPage page);

 private:
  // Page 2's "借入金⑪その１呼出": page 1 saves itself and carries its totals
  // again, but only from a page that its last load filled.
  void CallPage1Totals();
};

// Form13 and Form17 as the run registers them.
class BorrowingsPage1Screen : public BorrowingsScreen {
 public:
  BorrowingsPage1Screen() : BorrowingsScreen(BorrowingsPage::Page1) {}
};
class BorrowingsPage2Screen : public BorrowingsScreen {
 public:
  BorrowingsPage2Screen() : BorrowingsScreen(BorrowingsPage::Page2) {}
};

}  // namespace mirudanto::statements
