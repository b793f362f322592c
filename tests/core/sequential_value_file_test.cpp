#include <gtest/gtest.h>

#include <functional>

#include "core/failure.h"
#include "core/sequential_value_file.h"
#include "support/qt_printers.h"
#include "support/failure_of.h"

namespace mirudanto {
namespace {

using testing::FailureOf;

// ---------------------------------------------------------------- writing

TEST(ValueWriter, WritesTheBytesTheOldFilesHold) {
  ValueWriter writer;
  writer.WriteText(QStringLiteral("㈱ミルダ商事"))
      .WriteNumber(-123)
      .WriteText(QString())
      .WriteNumber(0)
      .WriteText(QStringLiteral("  a　"))
      .WriteText(QStringLiteral("a\tb"))
      .WriteNumber(2147483647)
      .WriteText(QStringLiteral("㈲ｱ"));
  // Adjacent literals keep each hex escape to its own two digits.
  const QByteArray expected(
      "\"\x87\x8A" "\x83\x7E" "\x83\x8B" "\x83\x5F" "\x8F\xA4" "\x8E\x96" "\"\r\n"
      "-123\r\n"
      "\"\"\r\n"
      "0\r\n"
      "\"  a\x81\x40\"\r\n"
      "\"a\tb\"\r\n"
      "2147483647\r\n"
      "\"\x87\x8B" "\xB1\"\r\n");
  EXPECT_EQ(writer.Encode(), expected);
  EXPECT_EQ(writer.Count(), 8);
}

TEST(ValueWriter, NothingWrittenIsAnEmptyFile) {
  EXPECT_EQ(ValueWriter().Encode(), QByteArray());
}

TEST(ValueWriter, CircledNumbersAreTheirCp932Row) {
  QString marks;
  QByteArray row;
  for (int k = 0; k < 16; ++k) {
    marks.append(QChar(char16_t(0x2460 + k)));  // ① .. ⑯
    row.append('\x87').append(char(0x40 + k));
  }
  ValueWriter writer;
  writer.WriteText(marks);
  EXPECT_EQ(writer.Encode(), '"' + row + "\"\r\n");
  EXPECT_EQ(ValueReader::FromBytes(writer.Encode()).ReadText(), marks);
}

// The rule is that cp932 gives the character back unchanged; iconv's CP932
// also maps some characters one way only (to a look-alike that decodes as
// something else), and those must be refused as firmly as unmapped ones.
TEST(ValueWriter, RefusesWhatWouldBreakTheFileOrNotComeBack) {
  const char16_t* refused[] = {
      u"a\"b",  u"a\rb", u"a\nb", u"\r\n", u"a\u0001",
      u"a\u007f",  // DEL, which the text boxes refuse as well
      u"😀",    // beyond the code page, and a surrogate pair in UTF-16
      u"€",     // not in iconv's CP932 at all
      u"¦",     // nor this
      u"¥100",  // encodes as 5C, which reads back as "\"
      u"‾",     // encodes as 7E, "~"
      u"−",     // U+2212 encodes as 81 7C, which reads back as U+FF0D
      u"〜",    // U+301C, back as U+FF5E
      u"‖",     // U+2016, back as U+2225
      u"¢",     // back as U+FFE0
      u"¬",     // back as U+FFE2
      u"—",     // U+2014, back as U+2015
  };
  for (const char16_t* raw : refused) {
    const QString text = QString::fromUtf16(raw);
    SCOPED_TRACE(QString(text).toUtf8().toHex(' ').toStdString());
    EXPECT_FALSE(IsStorableText(text));
    ValueWriter writer;
    writer.WriteNumber(1).WriteText(text);
    const std::optional<Failure> failure = FailureOf([&] { writer.Encode(); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::UnstorableText);
  }
}

TEST(ValueWriter, KeepsEveryCharacterThatComesBackUnchanged) {
  // Including the full-width forms that the one-way look-alikes above map to,
  // the backslash and tilde of the ASCII rows, and the extension rows.
  const QString text =
      QStringLiteral("\t～－∥￢￠￡―\\~髙﨑ⅰⅠ∵≒￤㈱①⑯ｱﾟ　漢字カナ abc 123 !#$%&'()*+,-./:;<=>?@[]^_`{|}");
  EXPECT_TRUE(IsStorableText(text));
  ValueWriter writer;
  writer.WriteText(text);
  EXPECT_EQ(ValueReader::FromBytes(writer.Encode()).ReadText(), text);
}

// ---------------------------------------------------------------- reading

TEST(ValueReader, TakesValuesFromCrLfAndLfLines) {
  ValueReader reader = ValueReader::FromBytes(QByteArray(
      "\"\x87\x8A" "\"\r\n"  // a text
      "-123\n"               // a number on a bare LF line
      "\r\n"                 // an empty line as a text
      "\n"                   // an empty line as a number
      "\"  a\x81\x40\"\r\n"  // blanks inside the quotes are the text's own
      "  42 \r\n"            // blanks around a number are not
      "-32768\r\n"
      "unquoted\r\n"
      "7"));  // the last line may lack its break
  EXPECT_EQ(reader.Remaining(), 9);
  EXPECT_EQ(reader.ReadText(), QStringLiteral("㈱"));
  EXPECT_EQ(reader.ReadInt32(), -123);
  EXPECT_EQ(reader.ReadText(), QString());
  EXPECT_EQ(reader.ReadInt16(), 0);
  EXPECT_EQ(reader.ReadText(), QStringLiteral("  a　"));
  EXPECT_EQ(reader.ReadInt32(), 42);
  EXPECT_EQ(reader.ReadInt16(), -32768);
  EXPECT_EQ(reader.ReadText(), QStringLiteral("unquoted"));
  EXPECT_EQ(reader.ReadInt32(), 7);
  EXPECT_EQ(reader.Remaining(), 0);
}

TEST(ValueReader, ReadsTheLimitsOfEachWidth) {
  ValueReader reader = ValueReader::FromBytes("2147483647\r\n-2147483648\r\n32767\r\n-32768\r\n");
  EXPECT_EQ(reader.ReadInt32(), 2147483647);
  EXPECT_EQ(reader.ReadInt32(), -2147483647 - 1);
  EXPECT_EQ(reader.ReadInt16(), 32767);
  EXPECT_EQ(reader.ReadInt16(), -32768);
}

TEST(ValueReader, IgnoresValuesBeyondThoseTaken) {
  ValueReader reader = ValueReader::FromBytes("1\r\n\"x\"\r\nnot a number\r\n");
  EXPECT_EQ(reader.ReadInt32(), 1);
  EXPECT_EQ(reader.Remaining(), 2);
}

TEST(ValueReader, FailsAsTheOldFilesDid) {
  using Read = std::function<void(ValueReader&)>;
  const Read text = [](ValueReader& r) { r.ReadText(); };
  const Read int32 = [](ValueReader& r) { r.ReadInt32(); };
  const Read int16 = [](ValueReader& r) { r.ReadInt16(); };
  const Read twoNumbers = [](ValueReader& r) {
    r.ReadInt32();
    r.ReadInt32();
  };
  const struct {
    const char* bytes;
    Read read;
    FailureKind kind;
  } cases[] = {
      {"", text, FailureKind::TooFewValues},
      {"", int32, FailureKind::TooFewValues},
      {"\r\n", twoNumbers, FailureKind::TooFewValues},
      {"5\r\n", twoNumbers, FailureKind::TooFewValues},
      {"\"5\"\r\n", int32, FailureKind::TypeMismatch},
      {"\"abc\"\r\n", int16, FailureKind::TypeMismatch},
      {"abc\r\n", int32, FailureKind::TypeMismatch},
      {"-\r\n", int32, FailureKind::TypeMismatch},
      {"12x\r\n", int32, FailureKind::TypeMismatch},
      {"\x81\x40" "5\r\n", int32, FailureKind::TypeMismatch},
      {"2147483648\r\n", int32, FailureKind::Overflow},
      {"-2147483649\r\n", int32, FailureKind::Overflow},
      {"99999999999999999999999\r\n", int32, FailureKind::Overflow},
      {"32768\r\n", int16, FailureKind::Overflow},
      {"-32769\r\n", int16, FailureKind::Overflow},
      {"2147483647\r\n", int16, FailureKind::Overflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QByteArray(c.bytes).toHex(' ').toStdString());
    ValueReader reader = ValueReader::FromBytes(c.bytes);
    const std::optional<Failure> failure = FailureOf([&] { c.read(reader); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), c.kind);
  }
}

TEST(ValueReader, FailureDescriptionsAreTheOldWording) {
  ValueReader empty = ValueReader::FromBytes(QByteArray());
  const std::optional<Failure> tooFew = FailureOf([&] { empty.ReadText(); });
  ASSERT_TRUE(tooFew);
  EXPECT_EQ(tooFew->Description(), QStringLiteral("ファイルにこれ以上データがありません。"));

  ValueReader text = ValueReader::FromBytes("\"abc\"\r\n");
  const std::optional<Failure> mismatch = FailureOf([&] { text.ReadInt32(); });
  ASSERT_TRUE(mismatch);
  EXPECT_EQ(mismatch->Description(), QStringLiteral("型が一致しません。"));
}

// Bytes that are no cp932 text are never guessed at: they fail the value that
// holds them, as a fault of the contents, and that value is not taken. Beyond
// the values read they do not matter, and their line breaks still end values.
TEST(ValueReader, BytesThatAreNoCp932FailOnlyAValueThatIsRead) {
  const struct {
    const char* what;
    QByteArray bytes;
    int reads;
    QStringList taken;  // the texts read before any failure
    bool fails;
    int left;  // Remaining() afterwards
  } cases[] = {
      {"a lone lead byte", "\"\x87\"\r\n", 1, {}, true, 1},
      {"a byte the code page leaves undefined", "\"\x80\"\r\n", 1, {}, true, 1},
      {"in the second value read", "\"a\"\r\n\"\x80\"\r\n", 2, {"a"}, true, 1},
      {"a lead byte before a read value's line break", "\"a\"\r\nb\x82\r\n", 2, {"a"}, true, 1},
      {"in a value beyond those read", "\"a\"\r\n\"\x80\"\r\n", 1, {"a"}, false, 1},
      {"a lead byte before the line break of a value beyond",
       "\"a\"\r\nb\x82\r\n\"c\"\r\n", 1, {"a"}, false, 2},
      {"in a last value beyond, without its line break", "\"a\"\r\n\"b\"\r\n\x87", 2,
       {"a", "b"}, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ValueReader reader = ValueReader::FromBytes(c.bytes);
    QStringList taken;
    const std::optional<Failure> failure = FailureOf([&] {
      for (int k = 0; k < c.reads; ++k) taken.append(reader.ReadText());
    });
    EXPECT_EQ(taken, c.taken);
    ASSERT_EQ(failure.has_value(), c.fails);
    if (failure) EXPECT_EQ(failure->Description(), QStringLiteral("型が一致しません。"));
    EXPECT_EQ(reader.Remaining(), c.left);
  }
}

}  // namespace
}  // namespace mirudanto
