#include "core/sequential_value_file.h"

#include <limits>

#include "core/failure.h"
#include "core/cp932.h"

namespace mirudanto {
namespace {

// Only ASCII blanks surround a value; an ideographic space is part of a text.
QString TrimAscii(const QString& line) {
  qsizetype begin = 0;
  qsizetype end = line.size();
  while (begin < end && (line[begin] == ' ' || line[begin] == '\t')) ++begin;
  while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  return line.mid(begin, end - begin);
}

// One value a line, ended by LF or CR LF. Splitting the bytes gives the same
// lines as splitting their text, since no cp932 character holds an LF or a CR.
template <class Text>
QList<Text> SplitLines(const Text& text) {
  using Char = typename Text::value_type;
  QList<Text> lines = text.split(Char('\n'));
  // The line break ends the last value; what follows it is no value.
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (Text& line : lines) {
    if (line.endsWith(Char('\r'))) line.chop(1);
  }
  return lines;
}

}  // namespace

ValueReader ValueReader::FromBytes(const QByteArray& bytes) {
  ValueReader reader;
  // Nearly every file decodes whole, in one pass. One that does not may still
  // hold its bad bytes only beyond the values its reader takes, so it is
  // decoded value by value as they are read.
  if (const std::optional<QString> text = DecodeCp932(bytes)) {
    reader.lines_ = SplitLines(*text);
  } else {
    reader.undecoded_ = SplitLines(bytes);
    reader.lines_.resize(reader.undecoded_.size());
  }
  return reader;
}

const QString& ValueReader::NextLine() {
  if (next_ >= lines_.size()) throw Failure(FailureKind::TooFewValues);
  if (!undecoded_.isEmpty()) {
    std::optional<QString> line = DecodeCp932(undecoded_[next_]);
    if (!line) throw Failure(FailureKind::TypeMismatch);
    lines_[next_] = std::move(*line);
  }
  return lines_[next_++];
}

QString ValueReader::ReadText() {
  const QString& line = NextLine();
  qsizetype begin = 0;
  while (begin < line.size() && (line[begin] == ' ' || line[begin] == '\t')) ++begin;
  if (begin < line.size() && line[begin] == '"') {
    const qsizetype close = line.indexOf(QChar('"'), begin + 1);
    return close < 0 ? line.mid(begin + 1) : line.mid(begin + 1, close - begin - 1);
  }
  return TrimAscii(line);
}

std::int64_t ValueReader::ReadWhole(std::int64_t low, std::int64_t high) {
  const QString line = TrimAscii(NextLine());
  if (line.isEmpty()) return 0;
  qsizetype i = 0;
  const bool negative = line[0] == '-';
  if (negative) ++i;
  if (i == line.size()) throw Failure(FailureKind::TypeMismatch);
  std::int64_t magnitude = 0;
  bool overflow = false;
  for (; i < line.size(); ++i) {
    const char16_t c = line[i].unicode();
    if (c < '0' || c > '9') throw Failure(FailureKind::TypeMismatch);
    if (magnitude > (std::int64_t{1} << 40)) {
      overflow = true;
    } else {
      magnitude = magnitude * 10 + (c - '0');
    }
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (overflow || value < low || value > high) throw Failure(FailureKind::Overflow);
  return value;
}

std::int32_t ValueReader::ReadInt32() {
  return static_cast<std::int32_t>(ReadWhole(std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
}

std::int16_t ValueReader::ReadInt16() {
  return static_cast<std::int16_t>(ReadWhole(std::numeric_limits<std::int16_t>::min(),
                                             std::numeric_limits<std::int16_t>::max()));
}

bool IsStorableText(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '"' || (u < 0x20 && u != '\t') || u == 0x7F) return false;
    if (c.isSurrogate() || !Cp932Holds(u)) return false;
  }
  return true;
}

ValueWriter& ValueWriter::WriteText(const QString& text) {
  values_.emplace_back(text);
  return *this;
}

ValueWriter& ValueWriter::WriteNumber(std::int64_t number) {
  values_.emplace_back(number);
  return *this;
}

QByteArray ValueWriter::Encode() const {
  QString content;
  content.reserve(static_cast<qsizetype>(values_.size()) * 8);
  for (const auto& value : values_) {
    if (const QString* text = std::get_if<QString>(&value)) {
      if (!IsStorableText(*text)) throw Failure(FailureKind::UnstorableText);
      content.append(QChar('"')).append(*text).append(QChar('"'));
    } else {
      content.append(QString::number(std::get<std::int64_t>(value)));
    }
    content.append(QStringLiteral("\r\n"));
  }
  const std::optional<QByteArray> bytes = EncodeCp932(content);
  if (!bytes) throw Failure(FailureKind::UnstorableText);
  return *bytes;
}

}  // namespace mirudanto
