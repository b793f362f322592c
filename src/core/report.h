#pragma once

#include <QString>

#include "core/failure.h"

namespace mirudanto {

// Shows a failure under the title of the operation that met it: a warning
// icon, one "OK" button and the failure's own description.
void ReportError(const QString& title, const Failure& failure);

// Asks a question with "OK" (the default) and "キャンセル" (Esc, the close box);
// only OK goes on. The question stands in the title and, for window managers
// that show no title on a dialog, in the text as well.
bool ConfirmBox(const QString& question);

}  // namespace mirudanto
