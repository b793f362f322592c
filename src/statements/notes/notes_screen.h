#pragma once

#include "statements/entry_screen.h"

namespace mirudanto::statements {

// The three notes screens: both pages of notes receivable (②) and notes
// payable (⑧). Thirteen rows of one note each, a date cell holding the issue
// date above the due date, and the row tidying "整理整頓".
enum class NotesKind { ReceivablePage1, ReceivablePage2, Payable };

class NotesScreen : public EntryScreen {
 public:
  explicit NotesScreen(NotesKind kind);

 private:
  // Closes up the rows of the arrays: rows whose amount is 0 are emptied and
  // the rows below move up into them, one place a pass, six passes; then the
  // screen saves itself.
  void TidyRows();
};

// Form3, Form22 and Form8 as the run registers them.
class NotesReceivablePage1Screen : public NotesScreen {
 public:
  NotesReceivablePage1Screen() : NotesScreen(NotesKind::ReceivablePage1) {}
};
class NotesReceivablePage2Screen : public NotesScreen {
 public:
  NotesReceivablePage2Screen() : NotesScreen(NotesKind::ReceivablePage2) {}
};
class NotesPayableScreen : public NotesScreen {
 public:
  NotesPayableScreen() : NotesScreen(NotesKind::Payable) {}
};

}  // namespace mirudanto::statements
