#include "core/report.h"

#include "platform/desktop.h"

namespace mirudanto {

void ReportError(const QString& title, const Failure& failure) {
  platform::CurrentDesktop().ShowMessageBox(
      {title, failure.Description(), platform::BoxIcon::Warning, {QStringLiteral("OK")}});
}

bool ConfirmBox(const QString& question) {
  return platform::CurrentDesktop().ShowMessageBox(
             {question, question, platform::BoxIcon::Question,
              {QStringLiteral("OK"), QStringLiteral("キャンセル")}}) == 0;
}

}  // namespace mirudanto
