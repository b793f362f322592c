#pragma once

#include <QString>

#include "core/sequential_value_file.h"

namespace mirudanto::platform {

// Value files on drive-form paths: the format is core's, the file is the file
// layer's, with its failures and its whole-file replacement.

// Reads and decodes the whole file at once; the file is closed on return.
ValueReader OpenValueFile(const QString& path);

// Encodes first, so a text the file cannot hold stops the save before the
// disk is touched; then replaces the file atomically.
void SaveValueFile(const QString& path, const ValueWriter& values);

}  // namespace mirudanto::platform
