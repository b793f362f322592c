#include "platform/value_files.h"

#include "platform/files.h"

namespace mirudanto::platform {

ValueReader OpenValueFile(const QString& path) {
  return ValueReader::FromBytes(ReadFileBytes(path));
}

void SaveValueFile(const QString& path, const ValueWriter& values) {
  WriteFileAtomic(path, values.Encode());
}

}  // namespace mirudanto::platform
