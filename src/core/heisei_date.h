#pragma once

#include <cstdint>

namespace mirudanto {

// A Heisei-era date as three whole numbers, each in a box of its own. Dates are
// neither converted to another calendar nor validated.
struct HeiseiDate {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;

  friend bool operator==(const HeiseiDate&, const HeiseiDate&) = default;
};

}  // namespace mirudanto
