#pragma once

#include <QString>
#include <QStringList>

#include "core/company_code.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "statements/entry_screen.h"
#include "support/screen_test.h"
#include "support/statement_files_support.h"

namespace mirudanto::testing {

// The entry screens name their boxes by number.
inline QString Box(int n) { return QStringLiteral("Text%1").arg(n); }

// A test of one entry screen: the screen added to the run, the statement
// folder in place, and the files of company 7 at hand. Saving and loading go
// through the screen's own code box and buttons, as the main menu and the
// user reach them, so a test never restates which button is which.
template <class Screen>
class EntryScreenTest : public ScreenTest {
 protected:
  EntryScreenTest()
      : screen(platform::ScreenSet::Instance().Add<Screen>()),
        mark(screen.Layout().files.front().file.mark) {
    drives.MakeFolder(StatementFolder());
  }

  // Enters the code and presses save or load, on this screen or on another.
  void Save(const QString& code = "7") { Save(screen, code); }
  void Load(const QString& code = "7") { Load(screen, code); }
  static void Save(statements::EntryScreen& on, const QString& code = "7") {
    on.Write(on.Layout().codeBox, code);
    on.Press(on.Layout().saveButton);
  }
  static void Load(statements::EntryScreen& on, const QString& code = "7") {
    on.Write(on.Layout().codeBox, code);
    on.Press(on.Layout().loadButton);
  }

  QString TextPath() const { return StatementTextFile(mark, 7); }
  QString AmountPath() const { return StatementAmountFile(mark, 7); }
  // The lines of the screen's files, or of another statement's.
  QStringList Texts() const { return Texts(mark); }
  QStringList Amounts() const { return Amounts(mark); }
  QStringList Texts(StatementMark of, CompanyCode code = 7) const {
    return FileLines(drives, StatementTextFile(of, code));
  }
  QStringList Amounts(StatementMark of, CompanyCode code = 7) const {
    return FileLines(drives, StatementAmountFile(of, code));
  }
  // Writes the screen's files by hand; text lines carry their own quotes.
  void PutTexts(const QStringList& lines) const { PutLines(drives, TextPath(), lines); }
  void PutAmounts(const QStringList& lines) const { PutLines(drives, AmountPath(), lines); }

  Screen& screen;
  const StatementMark mark;
};

}  // namespace mirudanto::testing
