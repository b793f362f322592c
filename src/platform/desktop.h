#pragma once

#include <QString>
#include <QStringList>

#include "core/failure.h"

namespace mirudanto::platform {

enum class BoxIcon { Warning, Question };

// A message box as the desktop shows it; the first button is the default, the
// last the one that Esc and the close box mean.
struct MessageBoxRequest {
  QString title;
  QString text;
  BoxIcon icon = BoxIcon::Warning;
  QStringList buttons;
};

// The services of the desktop that operations use. Production shows real boxes;
// tests install a recorder, so that no dialog ever waits for a person.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual void Beep() = 0;
  // Shows a modal box and returns the index of the button pressed.
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  // Ends the program at once, whatever the screens hold.
  virtual void EndProgram() = 0;
};

Desktop& CurrentDesktop();
// Installs the desktop for the run (not owned); nullptr restores the Qt one.
void InstallDesktop(Desktop* desktop);

void Beep();

// Shows a failure under the title of the operation that met it: a warning
// icon, one "OK" button and the failure's own description.
void ReportError(const QString& title, const Failure& failure);

// Asks a question with "OK" (the default) and "キャンセル" (Esc, the close box);
// only OK goes on. The question stands in the title and, for window managers
// that show no title on a dialog, in the text as well.
bool ConfirmBox(const QString& question);

}  // namespace mirudanto::platform
