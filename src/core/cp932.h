#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace mirudanto {

// The Japanese ANSI code page of the data files, through iconv "CP932".
// Both directions fail rather than substitute: a figure or a name that cannot
// pass unchanged must not pass at all.
std::optional<QByteArray> EncodeCp932(const QString& text);
std::optional<QString> DecodeCp932(const QByteArray& bytes);

// True when cp932 holds the character and gives it back unchanged.
bool Cp932Holds(char32_t character);

}  // namespace mirudanto
