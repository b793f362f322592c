#pragma once

#include "core/heisei_date.h"
#include "platform/screen.h"

namespace mirudanto::platform {

// A Heisei date into its three boxes, each number in plain decimal.
void ShowHeiseiDate(Screen& screen, const char* year, const char* month, const char* day,
                    const HeiseiDate& date);

// The fiscal period, which the main menu, the register and the data screen all
// show in Text13 to Text15 and Text17 to Text19.
void ShowFiscalPeriod(Screen& screen, const HeiseiDate& start, const HeiseiDate& end);

}  // namespace mirudanto::platform
