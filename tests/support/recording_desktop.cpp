#include "support/recording_desktop.h"

#include <stdexcept>

namespace mirudanto::testing {

RecordingDesktop::RecordingDesktop() { platform::InstallDesktop(this); }

RecordingDesktop::~RecordingDesktop() { platform::InstallDesktop(nullptr); }

int RecordingDesktop::ShowMessageBox(const platform::MessageBoxRequest& request) {
  boxes.push_back(request);
  // A box with one button has nothing to choose; the script answers questions.
  if (request.buttons.size() < 2 || answers.empty()) return 0;
  const QString answer = answers.front();
  answers.pop_front();
  const qsizetype index = request.buttons.indexOf(answer);
  if (index < 0) throw std::logic_error(("no button " + answer).toStdString());
  return static_cast<int>(index);
}

QStringList RecordingDesktop::Summary() const {
  QStringList lines;
  for (const auto& box : boxes) lines.append(box.title + QChar('|') + box.text);
  return lines;
}

}  // namespace mirudanto::testing
