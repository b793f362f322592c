#pragma once

#include <QString>
#include <QStringList>

#include "core/cp932.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

// The lines of a data file as its bytes hold them, each checked to end in
// CR LF and decoded from cp932.
inline QStringList FileLines(const TempDrives& drives, const QString& drivePath) {
  const QByteArray bytes = drives.Get(drivePath);
  if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) return {QStringLiteral("<no CR LF at end>")};
  QStringList lines = DecodeCp932(bytes).value_or(QStringLiteral("<not cp932>"))
                          .split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// Writes lines as a data file holds them, cp932 and each ending in CR LF:
// what FileLines reads back.
inline void PutLines(const TempDrives& drives, const QString& drivePath,
                     const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += EncodeCp932(line).value() + "\r\n";
  drives.Put(drivePath, bytes);
}

// The value lines of n texts, each between double quotes.
inline QStringList Quoted(const QStringList& texts) {
  QStringList lines;
  for (const QString& text : texts) lines.append(QChar('"') + text + QChar('"'));
  return lines;
}

inline QStringList Repeated(const QString& line, int count) {
  QStringList lines;
  for (int k = 0; k < count; ++k) lines.append(line);
  return lines;
}

}  // namespace mirudanto::testing
