#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "core/failure.h"

namespace mirudanto {

// A whole number of yen.
using Amount = std::int32_t;

enum class NumberWidth { Bits16, Bits32 };

// The outcome of reading a typed number: the value, or why it does not convert.
struct NumberReading {
  std::optional<std::int32_t> value;
  FailureKind failure = FailureKind::TypeMismatch;  // meaningful only without a value
};

// The one number rule of every amount cell, code box and number box, the same
// on every machine whatever its locale: blanks (ASCII space, tab, ideographic
// space) around; full-width digits and signs, "，" and "．" as their ASCII
// forms; an optional sign; digits with or without "," between them; an
// optional "." fraction rounded half to even on the exact decimal text; then
// the range check of the given width.
NumberReading ReadNumber(const QString& text, NumberWidth width);

// The number rule, failing with type mismatch or overflow.
std::int32_t ReadNumberOrFail(const QString& text, NumberWidth width);

// A text read as an amount where nothing typed is stored from it (a count, a
// marker box only code writes, a figure reformatted for show): a text that
// does not convert counts as 0.
Amount ReadAmountCell(const QString& text);

// A typed figure as an operation that takes it reads it: a text of blanks only
// (ideographic spaces included) is no figure and gives nothing; any other text
// that the number rule does not read fails, with type mismatch, or with
// overflow beyond the width, rather than be taken for 0.
std::optional<std::int32_t> ReadTypedNumber(const QString& text, NumberWidth width);

// What a text that is no number counts as when it is taken as a figure:
// refused, as anything the user typed; or 0, for a box that only code writes
// or whose text is replaced anyway.
enum class NonNumber { Refused, CountsAsZero };

// An amount cell as a save reads it: blanks count as 0, a number beyond 32
// bits fails with overflow, and a text that is no number as `nonNumber` says.
Amount ReadAmountCellForSave(const QString& text, NonNumber nonNumber = NonNumber::Refused);

// "#,###": thousands separators, zero as an empty text, a leading "-".
QString FormatAmount(Amount amount);
// The same rule for a sum held wide (④'s loans total): never wraps.
QString FormatWideAmount(std::int64_t amount);

// Sums amounts wide, so that a total beyond 32 bits can be refused before
// anything is shown or written.
class AmountSum {
 public:
  AmountSum& Add(Amount amount) {
    total_ += amount;
    return *this;
  }
  AmountSum& Subtract(Amount amount) {
    total_ -= amount;
    return *this;
  }
  std::int64_t Wide() const { return total_; }
  // The sum as an Amount; an overflow failure when it does not fit.
  Amount Value() const;

 private:
  std::int64_t total_ = 0;
};

}  // namespace mirudanto
