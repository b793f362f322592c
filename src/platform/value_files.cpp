#include "platform/value_files.h"

#include "core/failure.h"
#include "platform/files.h"

namespace mirudanto::platform {

ValueReader OpenValueFile(const QString& path) {
  return ValueReader::FromBytes(ReadFileBytes(path));
}

void ReadValueFile(const QString& path, const std::function<void(ValueReader&)>& read) {
  try {
    ValueReader reader = OpenValueFile(path);
    read(reader);
  } catch (const Failure& failure) {
    throw Failure(failure.Kind(), path.mid(path.lastIndexOf(QChar('\\')) + 1));
  }
}

void SaveValueFile(const QString& path, const ValueWriter& values) {
  WriteFileAtomic(path, values.Encode());
}

}  // namespace mirudanto::platform
