#include "core/amount.h"

#include <algorithm>
#include <limits>

namespace mirudanto {
namespace {

bool IsBlank(QChar c) {
  return c == QChar(' ') || c == QChar('\t') || c == QChar(0x3000);
}

// Full-width forms that a Japanese input method produces while it cannot be
// switched to half-width here.
QChar Narrow(QChar c) {
  const char16_t u = c.unicode();
  if (u >= 0xFF10 && u <= 0xFF19) return QChar(char16_t('0' + (u - 0xFF10)));
  switch (u) {
    case 0xFF0B: return QChar('+');
    case 0xFF0D:
    case 0x2212: return QChar('-');
    case 0xFF0C: return QChar(',');
    case 0xFF0E: return QChar('.');
    default: return c;
  }
}

}  // namespace

NumberReading ReadNumber(const QString& text, NumberWidth width) {
  NumberReading result;
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  QString s;
  s.reserve(end - begin);
  for (qsizetype i = begin; i < end; ++i) s.append(Narrow(text[i]));

  qsizetype i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }

  // Whole part: digits, single commas only between two digits. The magnitude
  // saturates far beyond any range checked, so that huge texts are overflows.
  constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
  std::int64_t magnitude = 0;
  int wholeDigits = 0;
  while (i < s.size()) {
    const QChar c = s[i];
    if (c.isDigit() && c.unicode() < 128) {
      magnitude = std::min<std::int64_t>(magnitude * 10 + (c.unicode() - '0'), kSaturated);
      ++wholeDigits;
      ++i;
    } else if (c == ',' && wholeDigits > 0 && i + 1 < s.size() && s[i + 1].unicode() < 128 &&
               s[i + 1].isDigit()) {
      ++i;
    } else {
      break;
    }
  }

  // Fraction: rounded half to even on its exact digits.
  int fractionDigits = 0;
  bool roundUp = false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    int first = -1;
    bool restNonZero = false;
    while (i < s.size() && s[i].unicode() < 128 && s[i].isDigit()) {
      const int d = s[i].unicode() - '0';
      if (first < 0) {
        first = d;
      } else if (d != 0) {
        restNonZero = true;
      }
      ++fractionDigits;
      ++i;
    }
    if (first > 5 || (first == 5 && restNonZero)) {
      roundUp = true;
    } else if (first == 5) {
      roundUp = (magnitude % 2) != 0;
    }
  }

  if (i != s.size() || wholeDigits + fractionDigits == 0) {
    result.failure = FailureKind::TypeMismatch;
    return result;
  }
  if (roundUp) magnitude = std::min<std::int64_t>(magnitude + 1, kSaturated);

  const std::int64_t value = negative ? -magnitude : magnitude;
  const std::int64_t low = width == NumberWidth::Bits16 ? std::numeric_limits<std::int16_t>::min()
                                                        : std::numeric_limits<std::int32_t>::min();
  const std::int64_t high = width == NumberWidth::Bits16 ? std::numeric_limits<std::int16_t>::max()
                                                         : std::numeric_limits<std::int32_t>::max();
  if (value < low || value > high) {
    result.failure = FailureKind::Overflow;
    return result;
  }
  result.value = static_cast<std::int32_t>(value);
  return result;
}

std::int32_t ReadNumberOrFail(const QString& text, NumberWidth width) {
  const NumberReading reading = ReadNumber(text, width);
  if (!reading.value) throw Failure(reading.failure);
  return *reading.value;
}

Amount ReadAmountCell(const QString& text) {
  return ReadNumber(text, NumberWidth::Bits32).value.value_or(0);
}

std::optional<std::int32_t> ReadTypedNumber(const QString& text, NumberWidth width) {
  const NumberReading reading = ReadNumber(text, width);
  if (reading.value) return reading.value;
  if (std::all_of(text.begin(), text.end(), IsBlank)) return std::nullopt;
  throw Failure(reading.failure);
}

Amount ReadAmountCellForSave(const QString& text, NonNumber nonNumber) {
  try {
    return ReadTypedNumber(text, NumberWidth::Bits32).value_or(0);
  } catch (const Failure& failure) {
    if (failure.Kind() != FailureKind::TypeMismatch || nonNumber == NonNumber::Refused) throw;
    return 0;
  }
}

QString FormatAmount(Amount amount) { return FormatWideAmount(amount); }

QString FormatWideAmount(std::int64_t amount) {
  if (amount == 0) return QString();
  const bool negative = amount < 0;
  // Through unsigned, so that the most negative value has a magnitude too.
  const std::uint64_t magnitude =
      negative ? std::uint64_t{0} - static_cast<std::uint64_t>(amount)
               : static_cast<std::uint64_t>(amount);
  const QString digits = QString::number(magnitude);
  QString out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  if (negative) out.append(QChar('-'));
  for (qsizetype k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0) out.append(QChar(','));
    out.append(digits[k]);
  }
  return out;
}

Amount AmountSum::Value() const {
  if (total_ < std::numeric_limits<Amount>::min() || total_ > std::numeric_limits<Amount>::max()) {
    throw Failure(FailureKind::Overflow);
  }
  return static_cast<Amount>(total_);
}

}  // namespace mirudanto
