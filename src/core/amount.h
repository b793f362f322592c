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

// An amount cell: a text that does not convert counts as 0.
Amount ReadAmountCell(const QString& text);
// An amount cell as a save reads it: a text that is not a number counts as 0,
// but a number beyond 32 bits fails with overflow rather than lose the figure.
Amount ReadAmountCellForSave(const QString& text);

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
