#include "printing/print_data_set.h"

#include <gtest/gtest.h>

#include <QFile>
#include <functional>
#include <map>

#include "core/failure.h"
#include "support/failure_of.h"
#include "support/qt_printers.h"
#include "support/print_company.h"
#include "support/statement_files_support.h"
#include "support/temp_drives.h"

namespace mirudanto::printing {
namespace {

using testing::FailureOf;
using testing::DefaultLines;
using testing::Edit;
using testing::Is;
using testing::SetAmount;
using testing::WriteCompany;
using testing::PutLines;
using testing::TempDrives;
using M = StatementMark;
using S = PrintStatement;
constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;

std::vector<S> Marked(const PrintDataSet& set) {
  std::vector<S> marked;
  for (const S statement : PrintStatements()) {
    if (set.NeedsPrint(statement)) marked.push_back(statement);
  }
  return marked;
}

TEST(PrintDataSetFiles, ThirtySixFilesOf1331ValuesInReadOrderWithPage2OfNotesAndNoMarkers) {
  int values = 0;
  QStringList names;
  for (const StatementFile& file : PrintDataSetOrder()) {
    values += ValueCount(file);
    names.append((file.role == A ? QStringLiteral("A") : QString()) + MarkText(file.mark));
  }
  EXPECT_EQ(values, 1331);
  EXPECT_EQ(names.join(' '),
            QStringLiteral("① A① ② A② ②2nd A②2nd ③ A③ ④仮 A④仮 ④貸 A④貸 ⑤ A⑤ ⑦ A⑦ ⑧ A⑧ "
                           "⑨買 A⑨買 ⑨未 A⑨未 ⑩ A⑩ ⑪一 A⑪一 ⑪二 A⑪二 A⑭ ⑭ ⑮ A⑮ ⑯益 A⑯益 "
                           "⑯損 A⑯損"));
  // Every file a statement prints from is one of them, and each is printed by
  // exactly one statement.
  std::map<std::pair<int, int>, int> users;
  for (const S statement : PrintStatements()) {
    for (const StatementFile& file : FilesOf(statement)) {
      ++users[{static_cast<int>(file.mark), static_cast<int>(file.role)}];
    }
  }
  EXPECT_EQ(users.size(), 36u);
  for (const auto& [file, count] : users) EXPECT_EQ(count, 1);
}

TEST(PrintDataSet, StartsEmptyAndPrintsNothingBeforeItsFirstLoad) {
  const PrintDataSet set;
  EXPECT_FALSE(set.Complete());
  EXPECT_FALSE(set.LoadFailure());
  EXPECT_EQ(set.Code(), 0);
  EXPECT_EQ(set.TextAt(M::Deposits, 1), QString());
  EXPECT_EQ(set.AmountAt(M::MiscLosses, 11), 0);
  EXPECT_EQ(set.NumberAt(M::Inventories, 1), 0);
  EXPECT_TRUE(Marked(set).empty());
  EXPECT_THROW(set.RequireWhole(S::Deposits), Failure);
}

TEST(PrintDataSet, HoldsEveryValueByMarkAndNumberWithItsType) {
  TempDrives drives;
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (Is(file, M::Deposits, T)) {
      lines[0] = QStringLiteral("\"　甲　\"");
      lines[1] = QStringLiteral("\"㈱乙\"");
      lines[2] = QStringLiteral("\"<b>&amp;\"");
      lines[3] = QString();  // an empty line is an empty text
    }
    if (Is(file, M::Deposits, A)) {
      lines[0] = QStringLiteral("-5");
      lines[1] = QString();  // and 0 as a number
      lines[15] = QStringLiteral("2147483647");
    }
    if (Is(file, M::Inventories, T)) {
      lines[0] = QStringLiteral("13");
      lines[1] = QStringLiteral("5");
      lines[2] = QStringLiteral("31");
      lines[3] = QStringLiteral("1");
      lines[5] = QStringLiteral("-32768");
    }
    if (Is(file, M::OfficerPay, A)) lines[49] = QStringLiteral("-2147483648");
    // Values beyond the count are not read.
    if (Is(file, M::Rents, A)) lines.append(QStringLiteral("\"not a number\""));
  });

  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  EXPECT_TRUE(set.Complete());
  EXPECT_FALSE(set.LoadFailure());
  EXPECT_EQ(set.Code(), 7);
  EXPECT_EQ(set.TextAt(M::Deposits, 1), QStringLiteral("　甲　"));
  EXPECT_EQ(set.TextAt(M::Deposits, 2), QStringLiteral("㈱乙"));
  EXPECT_EQ(set.TextAt(M::Deposits, 3), QStringLiteral("<b>&amp;"));
  EXPECT_EQ(set.TextAt(M::Deposits, 4), QString());
  EXPECT_EQ(set.TextAt(M::Deposits, 75), QStringLiteral("①#75"));
  EXPECT_EQ(set.AmountAt(M::Deposits, 1), -5);
  EXPECT_EQ(set.AmountAt(M::Deposits, 2), 0);
  EXPECT_EQ(set.AmountAt(M::Deposits, 16), 2147483647);
  EXPECT_EQ(set.NumberAt(M::Inventories, 1), 13);
  EXPECT_EQ(set.NumberAt(M::Inventories, 2), 5);
  EXPECT_EQ(set.NumberAt(M::Inventories, 3), 31);
  EXPECT_EQ(set.NumberAt(M::Inventories, 4), 1);
  EXPECT_EQ(set.NumberAt(M::Inventories, 6), -32768);
  EXPECT_EQ(set.TextAt(M::Inventories, 7), QStringLiteral("⑤#7"));
  EXPECT_EQ(set.TextAt(M::NotesReceivable2nd, 104), QStringLiteral("②2nd#104"));
  EXPECT_EQ(set.TextAt(M::OfficerPay, 30), QStringLiteral("⑭#30"));
  EXPECT_EQ(set.AmountAt(M::OfficerPay, 50), -2147483647 - 1);
  EXPECT_EQ(set.TextAt(M::MiscLosses, 40), QStringLiteral("⑯損#40"));
  for (const StatementFile& file : PrintDataSetOrder()) EXPECT_TRUE(set.IsWhole(file));
  for (const S statement : PrintStatements()) set.RequireWhole(statement);

  // Asking for what the files do not hold is the caller's mistake.
  EXPECT_THROW(set.TextAt(M::Deposits, 76), std::out_of_range);
  EXPECT_THROW(set.TextAt(M::Deposits, 0), std::out_of_range);
  EXPECT_THROW(set.AmountAt(M::Deposits, 17), std::out_of_range);
  EXPECT_THROW(set.TextAt(M::Inventories, 6), std::out_of_range);
  EXPECT_THROW(set.NumberAt(M::Inventories, 7), std::out_of_range);
  EXPECT_THROW(set.NumberAt(M::Deposits, 1), std::out_of_range);
}

TEST(PrintDataSet, ReadsTheFilesOfTheCodeAsA16BitCode) {
  TempDrives drives;
  WriteCompany(drives, -3);
  PrintDataSet set;
  set.Load(QStringLiteral(" -3 "));
  EXPECT_TRUE(set.Complete());
  EXPECT_EQ(set.Code(), -3);

  for (const auto& [text, kind] : {std::pair{QStringLiteral("abc"), FailureKind::TypeMismatch},
                                   std::pair{QString(), FailureKind::TypeMismatch},
                                   std::pair{QStringLiteral("40000"), FailureKind::Overflow}}) {
    SCOPED_TRACE(text.toStdString());
    const auto failure = FailureOf([&] { set.Load(text); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), kind);
    EXPECT_EQ(failure->Description(), Failure::Describe(kind));
    EXPECT_FALSE(set.Complete());
    EXPECT_EQ(set.Code(), 0);
    // The load emptied the set before it failed.
    EXPECT_EQ(set.TextAt(M::Deposits, 1), QString());
    EXPECT_FALSE(set.IsWhole({M::Deposits, T}));
    EXPECT_EQ(set.LoadFailure()->Description(), failure->Description());
  }
}

// The commonest stop: page 2 of ② never saved.
TEST(PrintDataSet, ALoadThatStopsAtPage2OfNotesKeepsOnlyTheFilesReadWholeAndMarksNothing) {
  TempDrives drives;
  // Another company loaded first, in the same run.
  WriteCompany(drives, 8, {}, QStringLiteral("八"));
  // Company 7 has large totals everywhere, and no ②2nd files.
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (file.role == A) lines.fill(QStringLiteral("5000000"));
  });
  ASSERT_TRUE(QFile::remove(drives.Native(PathOf({M::NotesReceivable2nd, T}, 7))));
  ASSERT_TRUE(QFile::remove(drives.Native(PathOf({M::NotesReceivable2nd, A}, 7))));

  PrintDataSet set;
  set.Load(QStringLiteral("8"));
  ASSERT_TRUE(set.Complete());
  const auto failure = FailureOf([&] { set.Load(QStringLiteral("7")); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::FileNotFound);
  EXPECT_EQ(failure->Description(), QStringLiteral("ファイルが見つかりません。\n②2nd7.txt"));
  EXPECT_FALSE(set.Complete());
  EXPECT_EQ(set.Code(), 7);
  ASSERT_TRUE(set.LoadFailure());
  EXPECT_EQ(set.LoadFailure()->Description(), failure->Description());

  // ① and page 1 of ② were read whole and still print.
  EXPECT_EQ(set.TextAt(M::Deposits, 1), QStringLiteral("①#1"));
  EXPECT_EQ(set.AmountAt(M::NotesReceivable, 14), 5000000);
  set.RequireWhole(S::Deposits);
  set.RequireWhole(S::NotesReceivable);
  // Nothing of the other company is left: the rest is empty, and a print of
  // it fails with the load's own failure.
  EXPECT_EQ(set.TextAt(M::Receivables, 1), QString());
  EXPECT_EQ(set.AmountAt(M::Receivables, 15), 0);
  EXPECT_EQ(set.TextAt(M::MiscLosses, 40), QString());
  for (const S statement : {S::NotesReceivable2nd, S::Receivables, S::AdvancesAndLoans,
                            S::Borrowings, S::OfficerPay, S::MiscGainsLosses}) {
    const auto refused = FailureOf([&] { set.RequireWhole(statement); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Description(), QStringLiteral("ファイルが見つかりません。\n②2nd7.txt"));
  }
  // No test is made after a load that stopped, whatever the totals.
  EXPECT_TRUE(Marked(set).empty());

  // The next load that reads everything puts the set whole again.
  set.Load(QStringLiteral("8"));
  EXPECT_TRUE(set.Complete());
  EXPECT_FALSE(set.LoadFailure());
  EXPECT_EQ(set.TextAt(M::Receivables, 1), QStringLiteral("八③#1"));
}

TEST(PrintDataSet, AFileThatFailsHalfWayIsNotTakenInAndIsNamedOnTheFailuresSecondLine) {
  struct Case {
    const char* what;
    StatementFile file;
    Edit edit;
    QString description;
    QByteArray bytes = {};  // the file's own bytes in place of the written ones
  };
  const Case cases[] = {
      {"one value too few", {M::Receivables, A},
       [](const StatementFile& f, QStringList& lines) {
         if (Is(f, M::Receivables, A)) lines.removeLast();
       },
       QStringLiteral("ファイルにこれ以上データがありません。\nA③7.txt")},
      {"a text where an amount belongs", {M::FixedAssets, A},
       [](const StatementFile& f, QStringList& lines) {
         if (Is(f, M::FixedAssets, A)) lines[3] = QStringLiteral("\"x\"");
       },
       QStringLiteral("型が一致しません。\nA⑦7.txt")},
      {"an amount beyond 32 bits", {M::OfficerPay, A},
       [](const StatementFile& f, QStringList& lines) {
         if (Is(f, M::OfficerPay, A)) lines[1] = QStringLiteral("2147483648");
       },
       QStringLiteral("オーバーフローしました。\nA⑭7.txt")},
      {"a stocktaking year beyond 16 bits", {M::Inventories, T},
       [](const StatementFile& f, QStringList& lines) {
         if (Is(f, M::Inventories, T)) lines[0] = QStringLiteral("32768");
       },
       QStringLiteral("オーバーフローしました。\n⑤7.txt")},
      {"the last file missing", {M::MiscLosses, A}, {},
       QStringLiteral("ファイルが見つかりません。\nA⑯損7.txt")},
      {"bytes that are no cp932 text", {M::Inventories, T}, {},
       QStringLiteral("型が一致しません。\n⑤7.txt"), QByteArray("13\r\n\x80\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDrives drives;
    WriteCompany(drives, 7, c.edit);
    if (!c.bytes.isEmpty()) {
      drives.Put(PathOf(c.file, 7), c.bytes);
    } else if (!c.edit) {
      QFile::remove(drives.Native(PathOf(c.file, 7)));
    }

    PrintDataSet set;
    const auto failure = FailureOf([&] { set.Load(QStringLiteral("7")); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Description(), c.description);
    EXPECT_FALSE(set.IsWhole(c.file));
    bool before = true;
    for (const StatementFile& file : PrintDataSetOrder()) {
      if (file.mark == c.file.mark && file.role == c.file.role) before = false;
      EXPECT_EQ(set.IsWhole(file), before) << MarkText(file.mark).toStdString();
    }
    // Not even the values before the failure in that file are taken.
    if (c.file.role == A) {
      EXPECT_EQ(set.AmountAt(c.file.mark, 1), 0);
    } else {
      EXPECT_EQ(set.TextAt(M::Inventories, 7), QString());
      EXPECT_EQ(set.NumberAt(M::Inventories, 2), 0);
    }
    EXPECT_TRUE(Marked(set).empty());
  }
}

TEST(PrintDataSet, IsASnapshotOfItsLoad) {
  TempDrives drives;
  WriteCompany(drives, 7, SetAmount(M::Deposits, 16, QStringLiteral("5000")));
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  WriteCompany(drives, 7, SetAmount(M::Deposits, 16, QStringLiteral("9999")), QStringLiteral("新"));
  EXPECT_EQ(set.AmountAt(M::Deposits, 16), 5000);
  EXPECT_EQ(set.TextAt(M::Deposits, 1), QStringLiteral("①#1"));
  set.Load(QStringLiteral("7"));
  EXPECT_EQ(set.AmountAt(M::Deposits, 16), 9999);
  EXPECT_EQ(set.TextAt(M::Deposits, 1), QStringLiteral("新①#1"));
}

// The 18 tests, each on its own: its value greater than 1 marks its statement
// and only that one.
TEST(NeedsPrintMark, EachTestMarksItsStatementWhenItsValueIsGreaterThanOne) {
  ASSERT_EQ(NeedsPrintMarkTests().size(), 18u);
  TempDrives drives;
  WriteCompany(drives, 7);
  for (const NeedsPrintMarkTest& test : NeedsPrintMarkTests()) {
    const StatementFile file{test.mark, A};
    SCOPED_TRACE(MarkText(test.mark).toStdString() + " #" + std::to_string(test.number));
    for (const auto& [value, marked] :
         {std::pair{"2", true}, std::pair{"1", false}, std::pair{"0", false},
          std::pair{"-5", false}, std::pair{"-2147483648", false}, std::pair{"2147483647", true}}) {
      SCOPED_TRACE(value);
      QStringList lines = DefaultLines(file);
      lines[test.number - 1] = QString::fromLatin1(value);
      PutLines(drives, PathOf(file, 7), lines);
      PrintDataSet set;
      set.Load(QStringLiteral("7"));
      EXPECT_EQ(Marked(set), marked ? std::vector<S>{test.statement} : std::vector<S>{});
      PutLines(drives, PathOf(file, 7), DefaultLines(file));
    }
  }
}

TEST(NeedsPrintMark, TheTestsAndTheirStatements) {
  const std::vector<std::tuple<QString, int, S>> expected = {
      {QStringLiteral("①"), 16, S::Deposits},
      {QStringLiteral("②"), 14, S::NotesReceivable},
      {QStringLiteral("②2nd"), 14, S::NotesReceivable2nd},
      {QStringLiteral("③"), 15, S::Receivables},
      {QStringLiteral("④仮"), 11, S::AdvancesAndLoans},
      {QStringLiteral("④貸"), 8, S::AdvancesAndLoans},
      {QStringLiteral("⑤"), 6, S::Inventories},
      {QStringLiteral("⑦"), 16, S::FixedAssets},
      {QStringLiteral("⑧"), 14, S::NotesPayable},
      {QStringLiteral("⑨買"), 14, S::Payables},
      {QStringLiteral("⑨未"), 12, S::Payables},
      {QStringLiteral("⑩"), 11, S::SuspenseReceipts},
      {QStringLiteral("⑪一"), 8, S::Borrowings},
      {QStringLiteral("⑪二"), 8, S::Borrowings},
      {QStringLiteral("⑭"), 1, S::OfficerPay},
      {QStringLiteral("⑮"), 8, S::Rents},
      {QStringLiteral("⑯益"), 11, S::MiscGainsLosses},
      {QStringLiteral("⑯損"), 11, S::MiscGainsLosses},
  };
  std::vector<std::tuple<QString, int, S>> actual;
  for (const NeedsPrintMarkTest& test : NeedsPrintMarkTests()) {
    actual.emplace_back(MarkText(test.mark), test.number, test.statement);
  }
  EXPECT_EQ(actual, expected);
}

TEST(NeedsPrintMark, OfficerPayIsMarkedByTheFirstOfficersRemunerationAlone) {
  TempDrives drives;
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (Is(file, M::OfficerPay, A)) {
      for (int n = 2; n <= 50; ++n) lines[n - 1] = QStringLiteral("900000");
    }
  });
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  EXPECT_FALSE(set.NeedsPrint(S::OfficerPay));
}

TEST(NeedsPrintMark, BorrowingsOnPage2OnlyAreNotMarked) {
  TempDrives drives;
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (Is(file, M::Borrowings2, A)) {
      for (int n = 1; n <= 18; ++n) {
        if (n != 8) lines[n - 1] = QStringLiteral("300000");
      }
    }
  });
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  EXPECT_FALSE(set.NeedsPrint(S::Borrowings));
}

TEST(NeedsPrintMark, EitherPartMarksTheSharedStatementsAndEveryStatementCanBeMarkedAtOnce) {
  TempDrives drives;
  WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    if (file.role == A) lines.fill(QStringLiteral("2"));
  });
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  EXPECT_EQ(Marked(set).size(), 14u);

  for (const auto& [part, statement] : {std::pair{M::LoansReceivable, S::AdvancesAndLoans},
                                        std::pair{M::OtherPayables, S::Payables},
                                        std::pair{M::Borrowings2, S::Borrowings},
                                        std::pair{M::MiscLosses, S::MiscGainsLosses}}) {
    SCOPED_TRACE(MarkText(part).toStdString());
    const int number = part == M::LoansReceivable  ? 8
                       : part == M::OtherPayables  ? 12
                       : part == M::Borrowings2    ? 8
                                                   : 11;
    WriteCompany(drives, 7, SetAmount(part, number, QStringLiteral("3")));
    PrintDataSet one;
    one.Load(QStringLiteral("7"));
    EXPECT_EQ(Marked(one), std::vector<S>{statement});
  }
}

}  // namespace
}  // namespace mirudanto::printing
