#include <gtest/gtest.h>

#include "core/statement_files.h"
#include "support/qt_printers.h"

namespace mirudanto {
namespace {

using M = StatementMark;

const QString kStatements = QStringLiteral("c:\\法人税\\ミルダ\\");

template <std::size_t N>
QStringList PathsOf(const std::array<StatementFile, N>& files, CompanyCode code,
                    const QString& root = kDataRoot) {
  QStringList paths;
  for (const StatementFile& file : files) paths.append(PathOf(file, code, root));
  return paths;
}

QStringList InFolder(const QString& folder, const QStringList& names) {
  QStringList paths;
  for (const QString& name : names) paths.append(folder + name);
  return paths;
}

// The names the companion program and the old data already use, so every
// character counts: the circled numbers, "A" for amounts, the code as digits.
TEST(StatementFiles, NamesOfSingleFiles) {
  const struct {
    QString actual;
    const char* expected;
  } cases[] = {
      {StatementTextFile(M::Deposits, 7), "c:\\法人税\\ミルダ\\①7.txt"},
      {StatementAmountFile(M::Deposits, 7), "c:\\法人税\\ミルダ\\A①7.txt"},
      {SubtotalMarkerFile(M::MiscGains, 7), "c:\\法人税\\ミルダ\\A⑯益小計7.txt"},
      {SubtotalMarkerFile(M::MiscLosses, 7), "c:\\法人税\\ミルダ\\A⑯損小計7.txt"},
      {StatementTextFile(M::Payables, -5), "c:\\法人税\\ミルダ\\⑨買-5.txt"},
      {StatementAmountFile(M::NotesReceivable2nd, 0), "c:\\法人税\\ミルダ\\A②2nd0.txt"},
      {StatementTextFile(M::Rents, 2147483647), "c:\\法人税\\ミルダ\\⑮2147483647.txt"},
      {CompanyMasterFile(7), "c:\\法人税\\法人名\\7.txt"},
      {CompanyMasterFile(-5), "c:\\法人税\\法人名\\-5.txt"},
      {ScheduleFile(QStringLiteral("特設欄"), 3), "c:\\法人税\\別表\\特設欄3.txt"},
      {ScheduleFile(QStringLiteral("1010"), -3), "c:\\法人税\\別表\\1010-3.txt"},
      // The same names under the removable drive's root.
      {StatementTextFile(M::Deposits, 7, kFloppyDataRoot), "a:\\法人税\\ミルダ\\①7.txt"},
      {StatementAmountFile(M::OfficerPay, 7, kFloppyDataRoot), "a:\\法人税\\ミルダ\\A⑭7.txt"},
      {SubtotalMarkerFile(M::MiscGains, 7, kFloppyDataRoot), "a:\\法人税\\ミルダ\\A⑯益小計7.txt"},
      {CompanyMasterFile(7, kFloppyDataRoot), "a:\\法人税\\法人名\\7.txt"},
      {ScheduleFile(QStringLiteral("特設欄"), 3, kFloppyDataRoot), "a:\\法人税\\別表\\特設欄3.txt"},
      {CompanyFolder(kFloppyDataRoot), "a:\\法人税\\法人名"},
      {ScheduleFolder(), "c:\\法人税\\別表"},
      {StatementFolder(), "c:\\法人税\\ミルダ"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

TEST(StatementFiles, ScheduleFileNames) {
  EXPECT_EQ(ScheduleFileNames(), (QStringList{"1010", "1020", "1040", "1051", "1052", "1053",
                                              "1060", "1070", "1150", "特設欄"}));
}

const QStringList kSetNames = {
    "①7.txt",   "A①7.txt",   "②7.txt",   "A②7.txt",   "③7.txt",     "A③7.txt",
    "④仮7.txt", "A④仮7.txt", "④貸7.txt", "A④貸7.txt", "⑤7.txt",     "A⑤7.txt",
    "⑦7.txt",   "A⑦7.txt",   "⑧7.txt",   "A⑧7.txt",   "⑨買7.txt",   "A⑨買7.txt",
    "⑨未7.txt", "A⑨未7.txt", "⑩7.txt",   "A⑩7.txt",   "⑪一7.txt",   "A⑪一7.txt",
    "⑪二7.txt", "A⑪二7.txt", "⑭7.txt",   "A⑭7.txt",   "⑮7.txt",     "A⑮7.txt",
    "⑯益7.txt", "A⑯益7.txt", "A⑯益小計7.txt", "⑯損7.txt", "A⑯損7.txt", "A⑯損小計7.txt",
};

TEST(StatementFiles, TheSetACompanyReceivesInCopyOrder) {
  EXPECT_EQ(PathsOf(StatementFileSet(), 7), InFolder(kStatements, kSetNames));
}

TEST(StatementFiles, TheSetInDeletionOrder) {
  const QStringList names = {
      "①7.txt",   "A①7.txt",   "②7.txt",   "A②7.txt",   "③7.txt",     "A③7.txt",
      "④仮7.txt", "A④仮7.txt", "④貸7.txt", "A④貸7.txt", "⑤7.txt",     "A⑤7.txt",
      "⑦7.txt",   "A⑦7.txt",   "⑧7.txt",   "A⑧7.txt",   "⑨買7.txt",   "A⑨買7.txt",
      "⑨未7.txt", "A⑨未7.txt", "⑩7.txt",   "A⑩7.txt",   "⑪一7.txt",   "A⑪一7.txt",
      "⑪二7.txt", "A⑪二7.txt", "A⑭7.txt",  "⑭7.txt",    "⑮7.txt",     "A⑮7.txt",
      "⑯益7.txt", "A⑯益7.txt", "A⑯益小計7.txt", "⑯損7.txt", "A⑯損7.txt", "A⑯損小計7.txt",
  };
  EXPECT_EQ(PathsOf(StatementFileSetDeletionOrder(), 7), InFolder(kStatements, names));
}

TEST(StatementFiles, BackupSetIsTheMasterFileThenTheSet) {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    SCOPED_TRACE(root.toStdString());
    const QStringList expected = QStringList{root + QStringLiteral("\\法人名\\7.txt")} +
                                 InFolder(root + QStringLiteral("\\ミルダ\\"), kSetNames);
    EXPECT_EQ(BackupSet(7, root), expected);
  }
}

TEST(StatementFiles, TheSetAPrintScreenLoadsInReadingOrder) {
  const QStringList names = {
      "①7.txt",    "A①7.txt",    "②7.txt",   "A②7.txt",   "②2nd7.txt", "A②2nd7.txt",
      "③7.txt",    "A③7.txt",    "④仮7.txt", "A④仮7.txt", "④貸7.txt",  "A④貸7.txt",
      "⑤7.txt",    "A⑤7.txt",    "⑦7.txt",   "A⑦7.txt",   "⑧7.txt",    "A⑧7.txt",
      "⑨買7.txt",  "A⑨買7.txt",  "⑨未7.txt", "A⑨未7.txt", "⑩7.txt",    "A⑩7.txt",
      "⑪一7.txt",  "A⑪一7.txt",  "⑪二7.txt", "A⑪二7.txt", "A⑭7.txt",   "⑭7.txt",
      "⑮7.txt",    "A⑮7.txt",    "⑯益7.txt", "A⑯益7.txt", "⑯損7.txt",  "A⑯損7.txt",
  };
  EXPECT_EQ(PathsOf(PrintDataSetOrder(), 7), InFolder(kStatements, names));
}

}  // namespace
}  // namespace mirudanto
