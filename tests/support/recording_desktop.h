#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/desktop.h"
#include "support/qt_printers.h"

namespace mirudanto::testing {

// Stands in for the desktop while a test runs: logs every message box,
// answers each question from a script (the first button when the script is
// empty; a box of one button takes no answer from the script),
// counts beeps and notes the end of the program. Installed for its lifetime.
class RecordingDesktop : public platform::Desktop {
 public:
  RecordingDesktop();
  ~RecordingDesktop() override;

  void Beep() override { ++beeps; }
  int ShowMessageBox(const platform::MessageBoxRequest& request) override;
  void EndProgram() override { ended = true; }

  // Queues the caption of the button that the next question is answered with.
  void Answer(const QString& buttonCaption) { answers.push_back(buttonCaption); }

  // "title|text" of every box, in order: short to compare in a test.
  QStringList Summary() const;

  std::vector<platform::MessageBoxRequest> boxes;
  std::deque<QString> answers;
  int beeps = 0;
  bool ended = false;
};

}  // namespace mirudanto::testing
