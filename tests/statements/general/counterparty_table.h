#pragma once

namespace mirudanto::testing {

// The grid that advance payments and suspense receipts share, rows 1 to 11 as
// the screens' table gives them: account, name, address, relationship,
// closing balance, transaction detail.
inline constexpr int kCounterpartyTable[11][6] = {
    {7, 8, 9, 10, 11, 12},    {17, 16, 15, 14, 13, 5},  {23, 22, 21, 20, 19, 18},
    {29, 28, 27, 26, 25, 24}, {35, 34, 33, 32, 31, 30}, {41, 40, 39, 38, 37, 36},
    {47, 46, 45, 44, 43, 42}, {53, 52, 51, 50, 49, 48}, {59, 58, 57, 56, 55, 54},
    {65, 64, 63, 62, 61, 60}, {71, 70, 69, 68, 67, 66},
};
// The text columns of the grid in the order of the text file (k = 1 to 5).
inline constexpr int kCounterpartyTextColumns[5] = {0, 1, 2, 3, 5};

}  // namespace mirudanto::testing
