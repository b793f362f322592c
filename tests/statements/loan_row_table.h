#pragma once

namespace mirudanto::testing {

// The rows that loans receivable and both borrowings pages share, rows 1 to 7
// as the screens' tables give them: name, relationship, interest, address,
// closing balance, rate, reason, collateral.
inline constexpr int kLoanRowTable[7][8] = {
    {9, 10, 12, 11, 1, 13, 14, 15},   {17, 18, 20, 19, 16, 21, 22, 23},
    {25, 26, 28, 27, 24, 29, 30, 31}, {33, 34, 36, 35, 32, 37, 38, 39},
    {41, 42, 44, 43, 40, 45, 46, 47}, {49, 50, 52, 51, 48, 53, 54, 55},
    {57, 58, 60, 59, 56, 61, 62, 63},
};

}  // namespace mirudanto::testing
