#include "platform/desktop.h"

namespace mirudanto::platform {

void Beep() { CurrentDesktop().Beep(); }

void ReportError(const QString& title, const Failure& failure) {
  CurrentDesktop().ShowMessageBox(
      {title, failure.Description(), BoxIcon::Warning, {QStringLiteral("OK")}});
}

bool ConfirmBox(const QString& question) {
  return CurrentDesktop().ShowMessageBox({question, question, BoxIcon::Question,
                                          {QStringLiteral("OK"), QStringLiteral("キャンセル")}}) ==
         0;
}

}  // namespace mirudanto::platform
