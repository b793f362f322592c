#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/amount.h"
#include "core/company_code.h"
#include "core/failure.h"
#include "core/statement_files.h"

namespace mirudanto::printing {

// The statements as the print screens print and mark them: one print button
// (or, for ⑧ on the preprinted-sheet screen, one mark without a button) and
// one NeedsPrintMark each, in the screens' order, which is also the order of
// the blank-A4 screen's sheet counters and of its batches.
enum class PrintStatement {
  Deposits,            // ①, Label1
  NotesReceivable,     // ② page 1, Label2
  NotesReceivable2nd,  // ② page 2, Label27
  Receivables,         // ③, Label3
  AdvancesAndLoans,    // ④, Label4
  Inventories,         // ⑤, Label5
  FixedAssets,         // ⑦, Label6
  NotesPayable,        // ⑧, Label7
  Payables,            // ⑨, Label8
  SuspenseReceipts,    // ⑩, Label9
  Borrowings,          // ⑪, Label10
  OfficerPay,          // ⑭, Label11
  Rents,               // ⑮, Label12
  MiscGainsLosses,     // ⑯, Label13
};
inline constexpr int kPrintStatementCount = 14;
const std::array<PrintStatement, kPrintStatementCount>& PrintStatements();

// The files a statement's print reads, in read order.
std::vector<StatementFile> FilesOf(PrintStatement statement);

// One of the 18 NeedsPrintMark tests: it holds when the value (an Amount) is
// greater than 1, signed.
struct NeedsPrintMarkTest {
  StatementMark mark;  // of an amount file
  int number;          // counted from 1
  PrintStatement statement;
};
const std::array<NeedsPrintMarkTest, 18>& NeedsPrintMarkTests();

// How many values the data set holds of a file of the print data set (the
// values after them in the file are not read).
int ValueCount(const StatementFile& file);

// A print screen's copy of one company's 36 statement files, the
// only source of everything the screen prints; one instance per print screen,
// living as long as the screen object, whatever happens to its window.
//
// A value is reached by its file's mark and its number in the file (A① #16
// is AmountAt(Deposits, 16)): TextAt for a text of a text file, AmountAt for a
// value of an amount file, NumberAt for the six 16-bit numbers that open the
// ⑤ text file. Asking for a value the file does not hold, or as another type,
// is a mistake of the caller (std::out_of_range).
//
// Never another company's or stale figures: every load first empties the
// whole set, and a file is taken in only once it has been read whole.
class PrintDataSet {
 public:
  PrintDataSet();

  // LoadPrintData's reads (the beep and the labels are the screen's). The set is emptied; the code text is read as a
  // 16-bit code; the 36 files are read in order, each whole or not at all;
  // after the last one the 18 tests set the marks. The first failure ends the
  // load: it is kept (LoadFailure) and thrown. A file's failure names the
  // file: its description, then on a second line the file's name ("②2nd7.txt").
  void Load(const QString& codeText);

  // The code of the latest load; 0 when it could not be read.
  CompanyCode Code() const { return code_; }

  // Whether the latest load read all 36 files.
  bool Complete() const { return complete_; }
  // Whether the latest load read this file whole.
  bool IsWhole(const StatementFile& file) const;
  // The failure that stopped the latest load; none after a complete load, and
  // none before the first load.
  const std::optional<Failure>& LoadFailure() const { return loadFailure_; }
  // Throws, unless every file the statement prints from was read whole by the
  // latest load: the failure that stopped that load (or, before any load, a
  // missing file).
  void RequireWhole(PrintStatement statement) const;

  // Whether the statement's NeedsPrintMark holds after the latest load; never
  // after a load that stopped.
  bool NeedsPrint(PrintStatement statement) const {
    return needsPrint_[static_cast<std::size_t>(statement)];
  }

  const QString& TextAt(StatementMark mark, int number) const;
  Amount AmountAt(StatementMark mark, int number) const;
  std::int16_t NumberAt(StatementMark mark, int number) const;

 private:
  struct FileValues {
    std::vector<QString> texts;
    std::vector<std::int32_t> numbers;
    bool whole = false;
  };

  void Empty();
  static FileValues ReadFile(const StatementFile& file, CompanyCode code);
  const FileValues& Values(StatementMark mark, FileRole role) const;
  // A file's values, by its mark and whether it holds the texts or amounts.
  FileValues& Slot(const StatementFile& file);

  std::array<std::array<FileValues, 2>, kStatementMarkCount> files_;
  CompanyCode code_ = 0;
  bool complete_ = false;
  std::optional<Failure> loadFailure_;
  std::array<bool, kPrintStatementCount> needsPrint_{};
};

// Values `first` to `last` of one amount file, as one term of a sum that a
// print works out from the data set.
struct AmountRun {
  StatementMark mark;
  int first;
  int last;
};

// The sum of the runs, held in 64 bits. A sum that must fit an Amount fails
// with overflow when it does not, so that the print sends nothing.
std::int64_t SumOfRuns(const PrintDataSet& data, const std::vector<AmountRun>& runs,
                       bool mustFitAmount);

}  // namespace mirudanto::printing
