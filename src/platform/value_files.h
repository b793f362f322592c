#pragma once

#include <QString>
#include <functional>

#include "core/sequential_value_file.h"

namespace mirudanto::platform {

// Value files on drive-form paths: the format is core's, the file is the file
// layer's, with its failures and its whole-file replacement.

// Reads the whole file at once; the file is closed on return, and its values
// are decoded as they are read.
ValueReader OpenValueFile(const QString& path);

// Opens the file and takes its values with `read`. Whatever fails, the drive
// or the file's contents, is reported with the file's name (without its
// folder) on a second line, so that the user knows which file to mend.
void ReadValueFile(const QString& path, const std::function<void(ValueReader&)>& read);

// Encodes first, so a text the file cannot hold stops the save before the
// disk is touched; then replaces the file atomically.
void SaveValueFile(const QString& path, const ValueWriter& values);

}  // namespace mirudanto::platform
