#include "printing/print_data_set.h"

#include <limits>
#include <stdexcept>

#include "platform/file_transaction.h"
#include "platform/value_files.h"

namespace mirudanto::printing {
namespace {

using M = StatementMark;
using S = PrintStatement;
constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;

// The ⑤ text file opens with six 16-bit numbers.
constexpr int kInventoryNumbers = 6;

int TextCount(StatementMark mark) {
  switch (mark) {
    case M::Deposits: return 75;
    case M::NotesReceivable:
    case M::NotesReceivable2nd:
    case M::NotesPayable: return 104;
    case M::Receivables: return 56;
    case M::AdvancePayments: return 55;
    case M::LoansReceivable: return 49;
    case M::Inventories: return 31;
    case M::FixedAssets: return 45;
    case M::Payables: return 52;
    case M::OtherPayables: return 44;
    case M::SuspenseReceipts: return 91;
    case M::Borrowings1:
    case M::Borrowings2: return 42;
    case M::OfficerPay: return 30;
    case M::Rents: return 49;
    case M::MiscGains:
    case M::MiscLosses: return 40;
  }
  return 0;
}

int AmountCount(StatementMark mark) {
  switch (mark) {
    case M::Deposits: return 16;
    case M::NotesReceivable:
    case M::NotesReceivable2nd:
    case M::NotesPayable: return 14;
    case M::Receivables: return 15;
    case M::AdvancePayments: return 11;
    case M::LoansReceivable: return 8;
    case M::Inventories: return 6;
    case M::FixedAssets: return 17;
    case M::Payables: return 14;
    case M::OtherPayables: return 12;
    case M::SuspenseReceipts: return 23;
    case M::Borrowings1: return 16;
    case M::Borrowings2: return 18;
    case M::OfficerPay: return 50;
    case M::Rents: return 8;
    case M::MiscGains:
    case M::MiscLosses: return 11;
  }
  return 0;
}

}  // namespace

const std::array<PrintStatement, kPrintStatementCount>& PrintStatements() {
  static const std::array<PrintStatement, kPrintStatementCount> statements = {
      S::Deposits,    S::NotesReceivable,  S::NotesReceivable2nd, S::Receivables,
      S::AdvancesAndLoans, S::Inventories, S::FixedAssets,        S::NotesPayable,
      S::Payables,    S::SuspenseReceipts, S::Borrowings,         S::OfficerPay,
      S::Rents,       S::MiscGainsLosses};
  return statements;
}

std::vector<StatementFile> FilesOf(PrintStatement statement) {
  switch (statement) {
    case S::Deposits: return {{M::Deposits, T}, {M::Deposits, A}};
    case S::NotesReceivable: return {{M::NotesReceivable, T}, {M::NotesReceivable, A}};
    case S::NotesReceivable2nd: return {{M::NotesReceivable2nd, T}, {M::NotesReceivable2nd, A}};
    case S::Receivables: return {{M::Receivables, T}, {M::Receivables, A}};
    case S::AdvancesAndLoans:
      return {{M::AdvancePayments, T},
              {M::AdvancePayments, A},
              {M::LoansReceivable, T},
              {M::LoansReceivable, A}};
    case S::Inventories: return {{M::Inventories, T}, {M::Inventories, A}};
    case S::FixedAssets: return {{M::FixedAssets, T}, {M::FixedAssets, A}};
    case S::NotesPayable: return {{M::NotesPayable, T}, {M::NotesPayable, A}};
    case S::Payables:
      return {{M::Payables, T}, {M::Payables, A}, {M::OtherPayables, T}, {M::OtherPayables, A}};
    case S::SuspenseReceipts: return {{M::SuspenseReceipts, T}, {M::SuspenseReceipts, A}};
    case S::Borrowings:
      return {{M::Borrowings1, T}, {M::Borrowings1, A}, {M::Borrowings2, T}, {M::Borrowings2, A}};
    case S::OfficerPay: return {{M::OfficerPay, A}, {M::OfficerPay, T}};
    case S::Rents: return {{M::Rents, T}, {M::Rents, A}};
    case S::MiscGainsLosses:
      return {{M::MiscGains, T}, {M::MiscGains, A}, {M::MiscLosses, T}, {M::MiscLosses, A}};
  }
  return {};
}

const std::array<NeedsPrintMarkTest, 18>& NeedsPrintMarkTests() {
  static const std::array<NeedsPrintMarkTest, 18> tests = {{
      {M::Deposits, 16, S::Deposits},
      {M::NotesReceivable, 14, S::NotesReceivable},
      {M::NotesReceivable2nd, 14, S::NotesReceivable2nd},
      {M::Receivables, 15, S::Receivables},
      {M::AdvancePayments, 11, S::AdvancesAndLoans},
      {M::LoansReceivable, 8, S::AdvancesAndLoans},
      {M::Inventories, 6, S::Inventories},
      {M::FixedAssets, 16, S::FixedAssets},
      {M::NotesPayable, 14, S::NotesPayable},
      {M::Payables, 14, S::Payables},
      {M::OtherPayables, 12, S::Payables},
      {M::SuspenseReceipts, 11, S::SuspenseReceipts},
      {M::Borrowings1, 8, S::Borrowings},
      {M::Borrowings2, 8, S::Borrowings},
      {M::OfficerPay, 1, S::OfficerPay},
      {M::Rents, 8, S::Rents},
      {M::MiscGains, 11, S::MiscGainsLosses},
      {M::MiscLosses, 11, S::MiscGainsLosses},
  }};
  return tests;
}

int ValueCount(const StatementFile& file) {
  switch (file.role) {
    case FileRole::Text: return TextCount(file.mark);
    case FileRole::Amounts: return AmountCount(file.mark);
    case FileRole::SubtotalMarkers: return 0;
  }
  return 0;
}

PrintDataSet::PrintDataSet() { Empty(); }

void PrintDataSet::Empty() {
  for (const StatementFile& file : PrintDataSetOrder()) {
    FileValues& values = Slot(file);
    const int count = ValueCount(file);
    values.texts.assign(file.role == T ? count : 0, QString());
    values.numbers.assign(file.role == A                    ? count
                          : file.mark == M::Inventories ? kInventoryNumbers
                                                         : 0,
                          0);
    values.whole = false;
  }
  code_ = 0;
  complete_ = false;
  loadFailure_.reset();
  needsPrint_.fill(false);
}

PrintDataSet::FileValues PrintDataSet::ReadFile(const StatementFile& file, CompanyCode code) {
  FileValues values;
  const int count = ValueCount(file);
  platform::ReadValueFile(PathOf(file, code), [&](ValueReader& reader) {
    if (file.role == A) {
      values.numbers.reserve(count);
      for (int n = 1; n <= count; ++n) values.numbers.push_back(reader.ReadInt32());
    } else {
      values.texts.resize(count);
      int n = 1;
      if (file.mark == M::Inventories) {
        for (; n <= kInventoryNumbers; ++n) values.numbers.push_back(reader.ReadInt16());
      }
      for (; n <= count; ++n) values.texts[n - 1] = reader.ReadText();
    }
  });
  values.whole = true;
  return values;
}

void PrintDataSet::Load(const QString& codeText) {
  Empty();
  try {
    code_ = ReadCompanyCode16(codeText);
    // Every statement as one save left it, not halfway through another
    // copy's.
    const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
    for (const StatementFile& file : PrintDataSetOrder()) Slot(file) = ReadFile(file, code_);
  } catch (...) {
    loadFailure_ = CurrentFailure(std::current_exception());
    throw *loadFailure_;
  }
  complete_ = true;
  for (const NeedsPrintMarkTest& test : NeedsPrintMarkTests()) {
    if (AmountAt(test.mark, test.number) > 1) {
      needsPrint_[static_cast<std::size_t>(test.statement)] = true;
    }
  }
}

bool PrintDataSet::IsWhole(const StatementFile& file) const {
  return Values(file.mark, file.role).whole;
}

void PrintDataSet::RequireWhole(PrintStatement statement) const {
  for (const StatementFile& file : FilesOf(statement)) {
    if (IsWhole(file)) continue;
    if (loadFailure_) throw *loadFailure_;
    throw Failure(FailureKind::FileNotFound);
  }
}

const PrintDataSet::FileValues& PrintDataSet::Values(StatementMark mark, FileRole role) const {
  if (static_cast<std::size_t>(mark) >= files_.size() || role == FileRole::SubtotalMarkers) {
    throw std::out_of_range("not a file of the print data set");
  }
  return files_[static_cast<std::size_t>(mark)][role == T ? 0 : 1];
}

PrintDataSet::FileValues& PrintDataSet::Slot(const StatementFile& file) {
  return files_[static_cast<std::size_t>(file.mark)][file.role == T ? 0 : 1];
}

const QString& PrintDataSet::TextAt(StatementMark mark, int number) const {
  const FileValues& values = Values(mark, T);
  const int first = mark == M::Inventories ? kInventoryNumbers + 1 : 1;
  if (number < first || number > static_cast<int>(values.texts.size())) {
    throw std::out_of_range("no such text in the print data set");
  }
  return values.texts[static_cast<std::size_t>(number - 1)];
}

Amount PrintDataSet::AmountAt(StatementMark mark, int number) const {
  const FileValues& values = Values(mark, A);
  if (number < 1 || number > static_cast<int>(values.numbers.size())) {
    throw std::out_of_range("no such amount in the print data set");
  }
  return values.numbers[static_cast<std::size_t>(number - 1)];
}

std::int16_t PrintDataSet::NumberAt(StatementMark mark, int number) const {
  if (mark != M::Inventories || number < 1 || number > kInventoryNumbers) {
    throw std::out_of_range("no such number in the print data set");
  }
  return static_cast<std::int16_t>(Values(mark, T).numbers[static_cast<std::size_t>(number - 1)]);
}

std::int64_t SumOfRuns(const PrintDataSet& data, const std::vector<AmountRun>& runs,
                       bool mustFitAmount) {
  std::int64_t total = 0;
  for (const AmountRun& run : runs) {
    for (int n = run.first; n <= run.last; ++n) total += data.AmountAt(run.mark, n);
  }
  if (mustFitAmount && (total < std::numeric_limits<Amount>::min() ||
                        total > std::numeric_limits<Amount>::max())) {
    throw Failure(FailureKind::Overflow);
  }
  return total;
}

}  // namespace mirudanto::printing
