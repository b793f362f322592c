#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "core/company_code.h"

namespace mirudanto {

// The data roots and their folders, in the drive form that the file layer
// translates.
inline const QString kDataRoot = QStringLiteral("c:\\法人税");
inline const QString kFloppyDataRoot = QStringLiteral("a:\\法人税");

QString CompanyFolder(const QString& root = kDataRoot);    // ...\法人名
QString ScheduleFolder(const QString& root = kDataRoot);   // ...\別表
QString StatementFolder(const QString& root = kDataRoot);  // ...\ミルダ
// Every folder of a drive where the system keeps files: the drive itself,
// the root and its three folders.
QStringList DataFolders(const QString& root = kDataRoot);

// The mark that names a statement part in its file names.
enum class StatementMark {
  Deposits,              // ①
  NotesReceivable,       // ②
  NotesReceivable2nd,    // ②2nd
  Receivables,           // ③
  AdvancePayments,       // ④仮
  LoansReceivable,       // ④貸
  Inventories,           // ⑤
  FixedAssets,           // ⑦
  NotesPayable,          // ⑧
  Payables,              // ⑨買
  OtherPayables,         // ⑨未
  SuspenseReceipts,      // ⑩
  Borrowings1,           // ⑪一
  Borrowings2,           // ⑪二
  OfficerPay,            // ⑭
  Rents,                 // ⑮
  MiscGains,             // ⑯益
  MiscLosses,            // ⑯損
};
inline constexpr std::size_t kStatementMarkCount =
    static_cast<std::size_t>(StatementMark::MiscLosses) + 1;

QString MarkText(StatementMark mark);

QString CompanyMasterFile(CompanyCode code, const QString& root = kDataRoot);
QString StatementTextFile(StatementMark mark, CompanyCode code, const QString& root = kDataRoot);
QString StatementAmountFile(StatementMark mark, CompanyCode code, const QString& root = kDataRoot);
// Only ⑯益 and ⑯損 have one.
QString SubtotalMarkerFile(StatementMark mark, CompanyCode code, const QString& root = kDataRoot);

// The companion program's schedule files: ten names, of which the first nine
// are the numbered ones.
const QStringList& ScheduleFileNames();
QString ScheduleFile(const QString& name, CompanyCode code, const QString& root = kDataRoot);

// One file of a statement part.
enum class FileRole { Text, Amounts, SubtotalMarkers };
struct StatementFile {
  StatementMark mark;
  FileRole role;
};
QString PathOf(const StatementFile& file, CompanyCode code, const QString& root = kDataRoot);

// The 36 files a company receives when it is first set up, in the order they
// are copied.
const std::array<StatementFile, 36>& StatementFileSet();
// The same files in the order they are deleted (A⑭ before ⑭).
const std::array<StatementFile, 36>& StatementFileSetDeletionOrder();
// The company master file followed by the statement file set.
QStringList BackupSet(CompanyCode code, const QString& root = kDataRoot);
// The 36 files a print screen loads, in the order it reads them (page 2 of ②
// included, no subtotal markers).
const std::array<StatementFile, 36>& PrintDataSetOrder();

}  // namespace mirudanto
