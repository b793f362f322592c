#include "core/statement_files.h"

namespace mirudanto {

QString CompanyFolder(const QString& root) { return root + QStringLiteral("\\法人名"); }
QString ScheduleFolder(const QString& root) { return root + QStringLiteral("\\別表"); }
QString StatementFolder(const QString& root) { return root + QStringLiteral("\\ミルダ"); }

QStringList DataFolders(const QString& root) {
  return {root.left(2), root, CompanyFolder(root), ScheduleFolder(root), StatementFolder(root)};
}

QString MarkText(StatementMark mark) {
  switch (mark) {
    case StatementMark::Deposits: return QStringLiteral("①");
    case StatementMark::NotesReceivable: return QStringLiteral("②");
    case StatementMark::NotesReceivable2nd: return QStringLiteral("②2nd");
    case StatementMark::Receivables: return QStringLiteral("③");
    case StatementMark::AdvancePayments: return QStringLiteral("④仮");
    case StatementMark::LoansReceivable: return QStringLiteral("④貸");
    case StatementMark::Inventories: return QStringLiteral("⑤");
    case StatementMark::FixedAssets: return QStringLiteral("⑦");
    case StatementMark::NotesPayable: return QStringLiteral("⑧");
    case StatementMark::Payables: return QStringLiteral("⑨買");
    case StatementMark::OtherPayables: return QStringLiteral("⑨未");
    case StatementMark::SuspenseReceipts: return QStringLiteral("⑩");
    case StatementMark::Borrowings1: return QStringLiteral("⑪一");
    case StatementMark::Borrowings2: return QStringLiteral("⑪二");
    case StatementMark::OfficerPay: return QStringLiteral("⑭");
    case StatementMark::Rents: return QStringLiteral("⑮");
    case StatementMark::MiscGains: return QStringLiteral("⑯益");
    case StatementMark::MiscLosses: return QStringLiteral("⑯損");
  }
  return QString();
}

QString CompanyMasterFile(CompanyCode code, const QString& root) {
  return CompanyFolder(root) + QChar('\\') + CodeText(code) + QStringLiteral(".txt");
}

QString StatementTextFile(StatementMark mark, CompanyCode code, const QString& root) {
  return StatementFolder(root) + QChar('\\') + MarkText(mark) + CodeText(code) +
         QStringLiteral(".txt");
}

QString StatementAmountFile(StatementMark mark, CompanyCode code, const QString& root) {
  return StatementFolder(root) + QStringLiteral("\\A") + MarkText(mark) + CodeText(code) +
         QStringLiteral(".txt");
}

QString SubtotalMarkerFile(StatementMark mark, CompanyCode code, const QString& root) {
  return StatementFolder(root) + QStringLiteral("\\A") + MarkText(mark) + QStringLiteral("小計") +
         CodeText(code) + QStringLiteral(".txt");
}

const QStringList& ScheduleFileNames() {
  static const QStringList names = {
      QStringLiteral("1010"), QStringLiteral("1020"), QStringLiteral("1040"),
      QStringLiteral("1051"), QStringLiteral("1052"), QStringLiteral("1053"),
      QStringLiteral("1060"), QStringLiteral("1070"), QStringLiteral("1150"),
      QStringLiteral("特設欄")};
  return names;
}

QString ScheduleFile(const QString& name, CompanyCode code, const QString& root) {
  return ScheduleFolder(root) + QChar('\\') + name + CodeText(code) + QStringLiteral(".txt");
}

QString PathOf(const StatementFile& file, CompanyCode code, const QString& root) {
  switch (file.role) {
    case FileRole::Text: return StatementTextFile(file.mark, code, root);
    case FileRole::Amounts: return StatementAmountFile(file.mark, code, root);
    case FileRole::SubtotalMarkers: return SubtotalMarkerFile(file.mark, code, root);
  }
  return QString();
}

namespace {
using M = StatementMark;
constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;
constexpr FileRole S = FileRole::SubtotalMarkers;
}  // namespace

const std::array<StatementFile, 36>& StatementFileSet() {
  static const std::array<StatementFile, 36> files = {{
      {M::Deposits, T},         {M::Deposits, A},         {M::NotesReceivable, T},
      {M::NotesReceivable, A},  {M::Receivables, T},      {M::Receivables, A},
      {M::AdvancePayments, T},  {M::AdvancePayments, A},  {M::LoansReceivable, T},
      {M::LoansReceivable, A},  {M::Inventories, T},      {M::Inventories, A},
      {M::FixedAssets, T},      {M::FixedAssets, A},      {M::NotesPayable, T},
      {M::NotesPayable, A},     {M::Payables, T},         {M::Payables, A},
      {M::OtherPayables, T},    {M::OtherPayables, A},    {M::SuspenseReceipts, T},
      {M::SuspenseReceipts, A}, {M::Borrowings1, T},      {M::Borrowings1, A},
      {M::Borrowings2, T},      {M::Borrowings2, A},      {M::OfficerPay, T},
      {M::OfficerPay, A},       {M::Rents, T},            {M::Rents, A},
      {M::MiscGains, T},        {M::MiscGains, A},        {M::MiscGains, S},
      {M::MiscLosses, T},       {M::MiscLosses, A},       {M::MiscLosses, S},
  }};
  return files;
}

const std::array<StatementFile, 36>& StatementFileSetDeletionOrder() {
  static const std::array<StatementFile, 36> files = [] {
    std::array<StatementFile, 36> order = StatementFileSet();
    for (std::size_t k = 0; k + 1 < order.size(); ++k) {
      if (order[k].mark == M::OfficerPay && order[k].role == T) {
        std::swap(order[k], order[k + 1]);
        break;
      }
    }
    return order;
  }();
  return files;
}

QStringList BackupSet(CompanyCode code, const QString& root) {
  QStringList paths;
  paths.reserve(37);
  paths.append(CompanyMasterFile(code, root));
  for (const StatementFile& file : StatementFileSet()) paths.append(PathOf(file, code, root));
  return paths;
}

const std::array<StatementFile, 36>& PrintDataSetOrder() {
  static const std::array<StatementFile, 36> files = {{
      {M::Deposits, T},          {M::Deposits, A},          {M::NotesReceivable, T},
      {M::NotesReceivable, A},   {M::NotesReceivable2nd, T}, {M::NotesReceivable2nd, A},
      {M::Receivables, T},       {M::Receivables, A},       {M::AdvancePayments, T},
      {M::AdvancePayments, A},   {M::LoansReceivable, T},   {M::LoansReceivable, A},
      {M::Inventories, T},       {M::Inventories, A},       {M::FixedAssets, T},
      {M::FixedAssets, A},       {M::NotesPayable, T},      {M::NotesPayable, A},
      {M::Payables, T},          {M::Payables, A},          {M::OtherPayables, T},
      {M::OtherPayables, A},     {M::SuspenseReceipts, T},  {M::SuspenseReceipts, A},
      {M::Borrowings1, T},       {M::Borrowings1, A},       {M::Borrowings2, T},
      {M::Borrowings2, A},       {M::OfficerPay, A},        {M::OfficerPay, T},
      {M::Rents, T},             {M::Rents, A},             {M::MiscGains, T},
      {M::MiscGains, A},         {M::MiscLosses, T},        {M::MiscLosses, A},
  }};
  return files;
}

}  // namespace mirudanto
