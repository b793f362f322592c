#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/statement_files.h"
#include "printing/print_data_set.h"
#include "support/statement_files_support.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

// Each text of a company's print files tells where it stands ("①#3"), so that
// a value read or printed from the wrong place shows; amounts and numbers
// are 0.
inline QStringList DefaultLines(const StatementFile& file, const QString& tag = QString()) {
  QStringList lines;
  for (int n = 1; n <= printing::ValueCount(file); ++n) {
    if (file.role == FileRole::Amounts || (file.mark == StatementMark::Inventories && n <= 6)) {
      lines.append(QStringLiteral("0"));
    } else {
      lines.append(QChar('"') + tag + MarkText(file.mark) + QChar('#') + QString::number(n) +
                   QChar('"'));
    }
  }
  return lines;
}

// A company's 36 print files as the entry screens write them; `edit` may
// change the lines of any file before it is written.
using Edit = std::function<void(const StatementFile&, QStringList&)>;
inline void WriteCompany(const TempDrives& drives, CompanyCode code, const Edit& edit = {},
                         const QString& tag = QString()) {
  for (const StatementFile& file : PrintDataSetOrder()) {
    QStringList lines = DefaultLines(file, tag);
    if (edit) edit(file, lines);
    PutLines(drives, PathOf(file, code), lines);
  }
}

inline bool Is(const StatementFile& file, StatementMark mark, FileRole role) {
  return file.mark == mark && file.role == role;
}

// An edit that sets value n of one amount file.
inline Edit SetAmount(StatementMark mark, int number, const QString& value) {
  return [=](const StatementFile& file, QStringList& lines) {
    if (Is(file, mark, FileRole::Amounts)) lines[number - 1] = value;
  };
}

}  // namespace mirudanto::testing
