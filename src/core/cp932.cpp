#include "core/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <vector>

namespace mirudanto {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<QByteArray> Convert(const QByteArray& input) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    QByteArray output;
    output.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    char* out = output.data();
    std::size_t outLeft = static_cast<std::size_t>(output.size());
    while (inLeft > 0) {
      const std::size_t r = iconv(handle_, &in, &inLeft, &out, &outLeft);
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) return std::nullopt;
      const std::ptrdiff_t used = out - output.data();
      output.resize(output.size() * 2);
      out = output.data() + used;
      outLeft = static_cast<std::size_t>(output.size() - used);
    }
    // Flush any shift state; CP932 has none, but a stateful result must not be cut.
    if (iconv(handle_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    output.resize(out - output.data());
    return output;
  }

 private:
  iconv_t handle_;
};

Converter& Encoder() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

Converter& Decoder() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

// Every character cp932 gives back unchanged, found once by decoding every
// byte sequence the code page defines and encoding the result again.
const std::vector<bool>& HeldCharacters() {
  static const std::vector<bool> held = [] {
    std::vector<bool> table(0x10000, false);
    auto tryBytes = [&table](const QByteArray& bytes) {
      const std::optional<QByteArray> utf8 = Decoder().Convert(bytes);
      if (!utf8 || utf8->isEmpty()) return;
      const QString decoded = QString::fromUtf8(*utf8);
      if (decoded.size() != 1) return;
      const std::optional<QByteArray> again = Encoder().Convert(*utf8);
      if (again && *again == bytes) table[decoded[0].unicode()] = true;
    };
    for (int b = 0; b < 0x100; ++b) tryBytes(QByteArray(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead > 0x9F && lead < 0xE0) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        QByteArray bytes;
        bytes.append(static_cast<char>(lead));
        bytes.append(static_cast<char>(trail));
        tryBytes(bytes);
      }
    }
    return table;
  }();
  return held;
}

}  // namespace

std::optional<QByteArray> EncodeCp932(const QString& text) {
  if (text.isEmpty()) return QByteArray();
  for (const QChar c : text) {
    if (c.isSurrogate() || !HeldCharacters()[c.unicode()]) return std::nullopt;
  }
  return Encoder().Convert(text.toUtf8());
}

std::optional<QString> DecodeCp932(const QByteArray& bytes) {
  if (bytes.isEmpty()) return QString();
  const std::optional<QByteArray> utf8 = Decoder().Convert(bytes);
  if (!utf8) return std::nullopt;
  return QString::fromUtf8(*utf8);
}

bool Cp932Holds(char32_t character) {
  if (character >= 0x10000) return false;
  return HeldCharacters()[character];
}

}  // namespace mirudanto
