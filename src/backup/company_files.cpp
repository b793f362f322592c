#include "backup/company_files.h"

#include "core/failure.h"
#include "core/sequential_value_file.h"
#include "platform/files.h"

namespace mirudanto::backup {
namespace {

QStringList PathsOf(const std::array<StatementFile, 36>& files, CompanyCode code,
                    const QString& root) {
  QStringList paths;
  paths.reserve(static_cast<qsizetype>(files.size()));
  for (const StatementFile& file : files) paths.append(PathOf(file, code, root));
  return paths;
}

}  // namespace

QStringList StatementFiles(CompanyCode code, const QString& root) {
  return PathsOf(StatementFileSet(), code, root);
}

QStringList StatementFilesInDeletionOrder(CompanyCode code, const QString& root) {
  return PathsOf(StatementFileSetDeletionOrder(), code, root);
}

QStringList SecondNotesPageFiles(CompanyCode code, const QString& root) {
  return {StatementTextFile(StatementMark::NotesReceivable2nd, code, root),
          StatementAmountFile(StatementMark::NotesReceivable2nd, code, root)};
}

QStringList ScheduleFiles(CompanyCode code) {
  QStringList paths;
  for (const QString& name : ScheduleFileNames()) paths.append(ScheduleFile(name, code));
  return paths;
}

QStringList NumberedScheduleFiles(CompanyCode code) {
  QStringList paths = ScheduleFiles(code);
  paths.removeLast();  // "特設欄"
  return paths;
}

void ReadCompanyValues(const QByteArray& bytes, CompanyRecord& record, int count,
                       bool& nameRead) {
  ValueReader reader = ValueReader::FromBytes(bytes);
  const int available = reader.Remaining();
  try {
    ReadCompanyRecord(reader, record, count);
  } catch (...) {
    // A value that fails has been taken from the file when it was no number,
    // not when the file had run out or its bytes were no cp932 text; a text
    // never fails otherwise. So the name was read exactly when the values
    // taken reach it.
    nameRead = nameRead || available - reader.Remaining() >= kNameValue;
    throw;
  }
  nameRead = nameRead || count >= kNameValue;
}

QByteArray MasterFileUnderCode(const QByteArray& source, CompanyCode code) {
  // The 19 values must be there and of their types, as for any reader.
  CompanyRecord checked;
  bool nameRead = false;
  ReadCompanyValues(source, checked, kCompanyRecordValues, nameRead);

  // One value a line; a line ends at its LF, which no cp932 character holds.
  const qsizetype firstEnd = source.indexOf('\n');
  qsizetype end = firstEnd;
  for (int value = 2; value <= kCompanyRecordValues; ++value) {
    end = end < 0 ? -1 : source.indexOf('\n', end + 1);
  }
  QByteArray bytes = CodeText(code).toLatin1() + "\r\n";
  if (end < 0) {
    // Value 19 ends the file without a line end (or with a lone CR); the new
    // file ends it.
    const QByteArray rest = source.mid(firstEnd + 1);
    bytes += rest + (rest.endsWith('\r') ? "\n" : "\r\n");
  } else {
    bytes += source.mid(firstEnd + 1, end - firstEnd);
  }
  return bytes;
}

QString DeletionQuestion(CompanyCode code, const QString& root) {
  QString name = CodeText(code);
  try {
    CompanyRecord record;
    bool nameRead = false;
    ReadCompanyValues(platform::ReadFileBytes(CompanyMasterFile(code, root)), record, kNameValue,
                      nameRead);
    name = record.name;
  } catch (const Failure&) {
    // No file, no medium, too few values: the code names the company.
  }
  return name + QStringLiteral("　を削除しますか");
}

}  // namespace mirudanto::backup
