#pragma once

#include <QString>
#include <cstdint>

namespace mirudanto {

// The number that keys every file of a client company. The main menu, the
// register and the data screen hold it in 32 bits; the entry and print screens
// read it back from their code box in 16 bits each time they load or save.
using CompanyCode = std::int32_t;

// A code as typed, by the number rule; a text that does not convert fails with
// type mismatch, a number out of range with overflow.
CompanyCode ReadCompanyCode32(const QString& text);
CompanyCode ReadCompanyCode16(const QString& text);

// The code as it stands in file names and travels between screens: plain
// decimal digits, a minus sign before a negative code.
QString CodeText(CompanyCode code);

}  // namespace mirudanto
