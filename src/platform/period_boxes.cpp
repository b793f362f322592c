#include "platform/period_boxes.h"

namespace mirudanto::platform {

void ShowHeiseiDate(Screen& screen, const char* year, const char* month, const char* day,
                    const HeiseiDate& date) {
  screen.Write(year, QString::number(date.year));
  screen.Write(month, QString::number(date.month));
  screen.Write(day, QString::number(date.day));
}

void ShowFiscalPeriod(Screen& screen, const HeiseiDate& start, const HeiseiDate& end) {
  ShowHeiseiDate(screen, "Text13", "Text14", "Text15", start);
  ShowHeiseiDate(screen, "Text17", "Text18", "Text19", end);
}

}  // namespace mirudanto::platform
