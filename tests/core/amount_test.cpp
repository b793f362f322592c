#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/amount.h"
#include "core/failure.h"
#include "support/failure_of.h"
#include "support/qt_printers.h"

namespace mirudanto {
namespace {

using testing::FailureOf;

constexpr auto k16 = NumberWidth::Bits16;
constexpr auto k32 = NumberWidth::Bits32;

// What a typed text becomes: a value, or the failure that refuses it.
struct Case {
  const char16_t* text;
  NumberWidth width;
  std::optional<std::int32_t> value;
  FailureKind failure = FailureKind::TypeMismatch;
};

constexpr FailureKind kMismatch = FailureKind::TypeMismatch;
constexpr FailureKind kOverflow = FailureKind::Overflow;

const Case kCases[] = {
    // Blanks around, of all three kinds.
    {u" 1,000 ", k32, 1000},
    {u"\t42\t", k32, 42},
    {u"　7　", k32, 7},
    {u" \t　-5　\t ", k32, -5},
    // Full-width forms read as their ASCII ones.
    {u"１，０００", k32, 1000},
    {u"＋１２", k32, 12},
    {u"－１２", k32, -12},
    {u"−１２", k32, -12},
    {u"１２．５", k32, 12},
    {u"1,2３4", k32, 1234},
    // Signs, leading zeros, commas between any two digits.
    {u"+5", k32, 5},
    {u"-0", k32, 0},
    {u"007", k32, 7},
    {u"1,0000", k32, 10000},
    {u"1,234,567", k32, 1234567},
    // The fraction rounds half to even on its exact digits, never by a binary
    // approximation of them.
    {u"2.5", k32, 2},
    {u"3.5", k32, 4},
    {u"-2.5", k32, -2},
    {u"-3.5", k32, -4},
    {u"2.50000", k32, 2},
    {u"2.5000001", k32, 3},
    {u"2.4999999999", k32, 2},
    {u"0.5", k32, 0},
    {u"1.5", k32, 2},
    {u"-0.5", k32, 0},
    {u"-0.6", k32, -1},
    {u".5", k32, 0},
    {u".6", k32, 1},
    {u"1.", k32, 1},
    {u"1,000.", k32, 1000},
    {u"1,001.5", k32, 1002},
    // Range of 32 bits, with the rounding counted before the check.
    {u"2147483647", k32, std::numeric_limits<std::int32_t>::max()},
    {u"-2147483648", k32, std::numeric_limits<std::int32_t>::min()},
    {u"2,147,483,647.4", k32, std::numeric_limits<std::int32_t>::max()},
    {u"-2147483648.5", k32, std::numeric_limits<std::int32_t>::min()},
    {u"2147483648", k32, std::nullopt, kOverflow},
    {u"-2147483649", k32, std::nullopt, kOverflow},
    {u"2147483647.5", k32, std::nullopt, kOverflow},
    {u"99999999999999999999999999", k32, std::nullopt, kOverflow},
    // Range of 16 bits.
    {u"32767", k16, 32767},
    {u"-32768", k16, -32768},
    {u"32766.5", k16, 32766},
    {u"-32768.5", k16, -32768},
    {u"32767.5", k16, std::nullopt, kOverflow},
    {u"32768", k16, std::nullopt, kOverflow},
    {u"-32769", k16, std::nullopt, kOverflow},
    {u"40000", k32, 40000},
    // Not numbers at all.
    {u"", k32, std::nullopt, kMismatch},
    {u"　　", k32, std::nullopt, kMismatch},
    {u"   ", k32, std::nullopt, kMismatch},
    {u"abc", k32, std::nullopt, kMismatch},
    {u"12a", k32, std::nullopt, kMismatch},
    {u"1,,000", k32, std::nullopt, kMismatch},
    {u",100", k32, std::nullopt, kMismatch},
    {u"100,", k32, std::nullopt, kMismatch},
    {u"1.000,5", k32, std::nullopt, kMismatch},
    {u"1.2.3", k32, std::nullopt, kMismatch},
    {u"1e3", k32, std::nullopt, kMismatch},
    {u"¥100", k32, std::nullopt, kMismatch},
    {u"￥100", k32, std::nullopt, kMismatch},
    {u"0x10", k32, std::nullopt, kMismatch},
    {u"+", k32, std::nullopt, kMismatch},
    {u"-", k32, std::nullopt, kMismatch},
    {u".", k32, std::nullopt, kMismatch},
    {u"+-5", k32, std::nullopt, kMismatch},
    {u"- 5", k32, std::nullopt, kMismatch},
    {u"1 000", k32, std::nullopt, kMismatch},
    {u"1　000", k32, std::nullopt, kMismatch},
    {u"5-", k32, std::nullopt, kMismatch},
    {u"(5)", k32, std::nullopt, kMismatch},
    {u"\u00A05", k32, std::nullopt, kMismatch},  // a no-break space is no blank
    // The usual Japanese ways of writing a negative figure are no signs.
    {u"▲300,000", k32, std::nullopt, kMismatch},
    {u"△200,000", k32, std::nullopt, kMismatch},
    {u"(50,000)", k32, std::nullopt, kMismatch},
    {u"1,234円", k32, std::nullopt, kMismatch},
    {u"－", k32, std::nullopt, kMismatch},
    {u"٣", k32, std::nullopt, kMismatch},        // a digit of another script
    // A mismatch is a mismatch in any width, even when the digits are huge.
    {u"99999999999x", k16, std::nullopt, kMismatch},
};

TEST(NumberRule, EveryEntryPointAgreesOnTheTable) {
  for (const Case& c : kCases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString() + (c.width == k16 ? " (16 bit)" : " (32 bit)"));

    const NumberReading reading = ReadNumber(text, c.width);
    EXPECT_EQ(reading.value, c.value);
    if (c.value) {
      EXPECT_EQ(ReadNumberOrFail(text, c.width), *c.value);
    } else {
      EXPECT_EQ(reading.failure, c.failure);
      try {
        ReadNumberOrFail(text, c.width);
        ADD_FAILURE() << "converted";
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.Kind(), c.failure);
      }
    }

    // A typed figure: blanks are no figure; any other text that does not
    // convert is refused with its own failure.
    const bool blank = std::all_of(text.begin(), text.end(), [](QChar ch) {
      return ch == QChar(' ') || ch == QChar('\t') || ch == QChar(0x3000);
    });
    if (c.value || blank) {
      EXPECT_EQ(ReadTypedNumber(text, c.width), c.value);
    } else {
      const std::optional<Failure> refused = FailureOf([&] { ReadTypedNumber(text, c.width); });
      ASSERT_TRUE(refused);
      EXPECT_EQ(refused->Kind(), c.failure);
    }

    // An amount cell reads 32 bits; whatever does not convert is 0 on the
    // screen. A save takes blanks as 0, refuses any other text that is no
    // number, unless the box is one that counts such a text as 0, and always
    // refuses a number too large to keep.
    if (c.width == k32) {
      EXPECT_EQ(ReadAmountCell(text), c.value.value_or(0));
      const bool refused = !c.value && !blank;
      for (NonNumber nonNumber : {NonNumber::Refused, NonNumber::CountsAsZero}) {
        const bool refusedHere =
            refused && (c.failure == kOverflow || nonNumber == NonNumber::Refused);
        std::optional<Amount> saved;
        const std::optional<Failure> failure =
            FailureOf([&] { saved = ReadAmountCellForSave(text, nonNumber); });
        if (refusedHere) {
          ASSERT_TRUE(failure);
          EXPECT_EQ(failure->Kind(), c.failure);
        } else {
          EXPECT_EQ(saved, c.value.value_or(0));
        }
      }
    }
  }
}

TEST(NumberRule, FailuresCarryTheirDescriptions) {
  try {
    ReadNumberOrFail(QStringLiteral("　　"), k32);
    FAIL() << "converted";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Description(), QStringLiteral("型が一致しません。"));
  }
  try {
    ReadNumberOrFail(QStringLiteral("32767.5"), k16);
    FAIL() << "converted";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Description(), QStringLiteral("オーバーフローしました。"));
  }
}

TEST(FormatAmount, ThousandsSeparatorsAndZeroAsNothing) {
  const struct {
    Amount amount;
    const char* text;
  } cases[] = {
      {0, ""},
      {1, "1"},
      {-1, "-1"},
      {999, "999"},
      {-999, "-999"},
      {1000, "1,000"},
      {-1000, "-1,000"},
      {100000, "100,000"},
      {1234567, "1,234,567"},
      {-1234567, "-1,234,567"},
      {std::numeric_limits<Amount>::max(), "2,147,483,647"},
      {std::numeric_limits<Amount>::min(), "-2,147,483,648"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.amount);
    const QString text = FormatAmount(c.amount);
    EXPECT_EQ(text, QString::fromLatin1(c.text));
    // What is shown is read back as the same amount.
    EXPECT_EQ(ReadAmountCell(text), c.amount);
  }
}

TEST(AmountSum, RefusesATotalBeyond32Bits) {
  constexpr Amount kMax = std::numeric_limits<Amount>::max();
  constexpr Amount kMin = std::numeric_limits<Amount>::min();

  // Intermediate sums may leave the range as long as the total comes back.
  EXPECT_EQ(AmountSum().Add(kMax).Add(kMax).Subtract(kMax).Value(), kMax);
  EXPECT_EQ(AmountSum().Add(kMin).Value(), kMin);
  EXPECT_EQ(AmountSum().Subtract(kMax).Subtract(1).Value(), kMin);
  EXPECT_EQ(AmountSum().Value(), 0);

  const AmountSum tooHigh = AmountSum().Add(kMax).Add(1);
  const AmountSum tooLow = AmountSum().Add(kMin).Subtract(1);
  const AmountSum minusMin = AmountSum().Subtract(kMin);
  EXPECT_EQ(tooHigh.Wide(), std::int64_t{kMax} + 1);
  for (const AmountSum* sum : {&tooHigh, &tooLow, &minusMin}) {
    try {
      sum->Value();
      ADD_FAILURE() << "no overflow for " << sum->Wide();
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Kind(), FailureKind::Overflow);
    }
  }
}

// A sum held wide (④'s loans total) prints exactly, never wrapped.
TEST(FormatWideAmount, TheSameRuleBeyond32Bits) {
  EXPECT_EQ(FormatWideAmount(0), QString());
  EXPECT_EQ(FormatWideAmount(-5), QStringLiteral("-5"));
  EXPECT_EQ(FormatWideAmount(1000000), QStringLiteral("1,000,000"));
  EXPECT_EQ(FormatWideAmount(7 * std::int64_t{2147483647}), QStringLiteral("15,032,385,529"));
  EXPECT_EQ(FormatWideAmount(7 * std::int64_t{-2147483647 - 1}),
            QStringLiteral("-15,032,385,536"));
  EXPECT_EQ(FormatWideAmount(std::numeric_limits<std::int64_t>::min()),
            QStringLiteral("-9,223,372,036,854,775,808"));
  EXPECT_EQ(FormatAmount(-2147483647 - 1), QStringLiteral("-2,147,483,648"));
}

}  // namespace
}  // namespace mirudanto
