#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <variant>
#include <vector>

namespace mirudanto {

// The encoding of every data file: cp932 text, one value per line, each line
// ended by CR LF; a text between double quotes exactly as held, a whole number
// as bare decimal digits with a leading "-" when negative. No header, count or
// end marker: a reader takes the values it needs from the start.
class ValueReader {
 public:
  // A value is decoded only when it is read, so a file may hold anything
  // beyond the values its reader takes. Bytes that are no cp932 text in a value
  // that is read are never guessed at: the read fails as a type mismatch, a
  // fault of the file's contents rather than of the drive, and the value is
  // not taken.
  static ValueReader FromBytes(const QByteArray& bytes);

  QString ReadText();
  std::int32_t ReadInt32();
  std::int16_t ReadInt16();

  int Remaining() const { return static_cast<int>(lines_.size() - next_); }

 private:
  ValueReader() = default;
  const QString& NextLine();
  std::int64_t ReadWhole(std::int64_t low, std::int64_t high);

  QStringList lines_;
  // Only when the file as a whole is no cp932 text: its lines as bytes, each
  // decoded into lines_ when it is reached.
  QByteArrayList undecoded_;
  qsizetype next_ = 0;
};

class ValueWriter {
 public:
  ValueWriter& WriteText(const QString& text);
  ValueWriter& WriteNumber(std::int64_t number);

  // The file's bytes; fails with an unstorable-text failure when a text holds
  // what would break the file (a double quote, a line break, a control
  // character other than a tab, DEL) or what cp932 cannot hold unchanged.
  QByteArray Encode() const;

  int Count() const { return static_cast<int>(values_.size()); }

 private:
  std::vector<std::variant<QString, std::int64_t>> values_;
};

// True when a text can be stored as a value and read back unchanged.
bool IsStorableText(const QString& text);

}  // namespace mirudanto
