#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/company_code.h"
#include "core/company_record.h"
#include "core/statement_files.h"

namespace mirudanto::backup {

// The files of one company that the data screen moves, by name only: every
// name comes from core/statement_files.h, on either root.

// The 36 files of the statement file set, in their copy order.
QStringList StatementFiles(CompanyCode code, const QString& root = kDataRoot);
// The same files in their deletion order (A⑭ before ⑭).
QStringList StatementFilesInDeletionOrder(CompanyCode code, const QString& root = kDataRoot);
// Page 2 of ② (its text file, then its amount file). In none of the fixed
// sets, it travels with its company wherever it exists.
QStringList SecondNotesPageFiles(CompanyCode code, const QString& root = kDataRoot);
// The companion program's schedule files on the hard disk: all ten, or the
// nine numbered ones.
QStringList ScheduleFiles(CompanyCode code);
QStringList NumberedScheduleFiles(CompanyCode code);

// The value of a company master file that holds the company's name.
inline constexpr int kNameValue = 10;

// Reads the first `count` values of a company master file's bytes into
// `record`, value by value as ReadCompanyRecord does; `nameRead` turns true
// once the name has been read, and stays so when a later value fails.
void ReadCompanyValues(const QByteArray& bytes, CompanyRecord& record, int count,
                       bool& nameRead);

// A company master file under another code: the code as value 1, then values
// 2 to 19 of the source file byte for byte, each with its own line end. Fails
// as reading the 19 values of the source would.
QByteArray MasterFileUnderCode(const QByteArray& source, CompanyCode code);

// The question before a deletion: the company's name as its master file on
// that root holds it now, or the code when that file cannot be read, then
// "　を削除しますか".
QString DeletionQuestion(CompanyCode code, const QString& root);

}  // namespace mirudanto::backup
