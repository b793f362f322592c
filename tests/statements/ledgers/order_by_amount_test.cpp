#include <gtest/gtest.h>

#include <QFile>
#include <utility>
#include <vector>

#include "core/statement_files.h"
#include "ledger_fixture.h"
#include "platform/screen.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::kAccount;
using testing::kAddress;
using testing::kBalance;
using testing::kName;
using testing::kRemarks;
using testing::LedgerCell;
using testing::Quoted;
using testing::Repeated;

// A ledger screen that notes what the ordering leaves to see only while it
// runs: the names of the rows at every capture of the grid (the save's own
// capture included), and the balance cells as they stood when the save wrote
// the files, before its reload.
template <class S>
class Probing : public S {
 public:
  std::vector<QStringList> namesAtCaptures;
  QStringList balancesAsWritten;

 protected:
  void CaptureExtra(HeldFiles&) override { namesAtCaptures.push_back(Column(testing::kName)); }
  void AfterWrite() override { balancesAsWritten = Column(testing::kBalance); }

 private:
  QStringList Column(testing::LedgerColumn column) {
    QStringList cells;
    for (int r = 1; r <= this->RowCount(); ++r) cells.append(this->Read(LedgerCell(r, column)));
    return cells;
  }
};

template <class S>
class OrderByAmountTest : public testing::LedgerTest<Probing<S>, S> {
 protected:
  // Row r gets the name and balance text of rows[r − 1]; the other rows stay
  // as a new window shows them.
  void Rows(const std::vector<std::pair<QString, QString>>& rows) {
    int r = 1;
    for (const auto& [name, balance] : rows) {
      this->Write(r, kName, name);
      this->Write(r, kBalance, balance);
      ++r;
    }
  }
  // The user's click, on the screen of company 7.
  void Order() {
    this->screen.Write("Text146", "7");
    this->screen.RunUserAction("Command5");
  }
  // Row r as "name:balance as shown", the first `count` rows.
  QStringList First(int count) { return this->RowsShown().mid(0, count); }
  // Rows `first` to the last one.
  QStringList From(int first) { return this->RowsShown().mid(first - 1); }
};

using LedgerScreens = ::testing::Types<ReceivablesScreen, PayablesScreen, OtherPayablesScreen>;
TYPED_TEST_SUITE(OrderByAmountTest, LedgerScreens);

// The ordering's own algorithm on the names alone: the grid's names before each
// capture, as the pairs (1,2), (1,3), …, (N−1,N) exchange them.
std::vector<QStringList> PairwiseExchanges(QStringList names, std::vector<int> balances) {
  std::vector<QStringList> states;
  const int n = static_cast<int>(names.size());
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      states.push_back(names);
      if (balances[static_cast<std::size_t>(i)] < balances[static_cast<std::size_t>(j)]) {
        names.swapItemsAt(i, j);
        std::swap(balances[static_cast<std::size_t>(i)], balances[static_cast<std::size_t>(j)]);
      }
    }
  }
  states.push_back(names);
  return states;
}

TYPED_TEST(OrderByAmountTest, EqualBalancesGiveWayOnlyToALargerOneBelow) {
  const int n = this->n;
  this->Rows({{"A", "100"}, {"B", "100"}, {"C", "300"}});
  this->Order();

  EXPECT_EQ(this->First(3), (QStringList{"C:300", "B:100", "A:100"}));
  EXPECT_EQ(this->From(4), Repeated(":", n - 3));
  EXPECT_EQ(this->Texts().mid(n, 3), Quoted({"C", "B", "A"}));
  EXPECT_EQ(this->Amounts(),
            QStringList({"300", "100", "100"}) + Repeated("0", n - 3) + QStringList{"500"});
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("500"));
  EXPECT_EQ(this->desktop.beeps, 1);
  EXPECT_TRUE(this->desktop.boxes.empty());
}

TYPED_TEST(OrderByAmountTest, TwoEqualBalancesWithNothingLargerBelowStayAsTheyAre) {
  this->Rows({{"A", "100"}, {"B", "100"}});
  this->Order();
  EXPECT_EQ(this->First(2), (QStringList{"A:100", "B:100"}));
}

TYPED_TEST(OrderByAmountTest, EachComparisonSeesACaptureOfTheGridAsItNowStands) {
  const int n = this->n;
  // Balances in no order, ties and negatives among them, every row named.
  const int balances[14] = {5, -3, 40, 40, 0, 7, 12, -3, 99, 1, 40, 0, 8, 2};
  QStringList names;
  std::vector<int> values;
  for (int r = 1; r <= n; ++r) {
    names.append(QStringLiteral("n%1").arg(r));
    values.push_back(balances[r - 1]);
    this->Write(r, kName, names.back());
    this->Write(r, kBalance, QString::number(balances[r - 1]));
  }
  this->Order();

  // One capture before each of the N(N−1)/2 comparisons and one after the
  // last, then the save's own.
  std::vector<QStringList> expected = PairwiseExchanges(names, values);
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(n * (n - 1) / 2 + 1));
  expected.push_back(expected.back());
  EXPECT_EQ(this->screen.namesAtCaptures, expected);
  EXPECT_EQ(this->desktop.beeps, 1);
  EXPECT_TRUE(this->desktop.boxes.empty());

  // The balances never increase from row 1 down.
  const QStringList amounts = this->Amounts();
  for (int r = 1; r < n; ++r) EXPECT_GE(amounts[r - 1].toInt(), amounts[r].toInt()) << r;
}

TYPED_TEST(OrderByAmountTest, AGridInOrderIsSavedWithOnlyTheLastBalanceRewrittenInPlainDigits) {
  const int n = this->n;
  this->Rows({{"A", "3,000"}, {"B", "2,000"}, {"C", "1,000"}});
  this->Write(n, kBalance, "");
  QFile::remove(this->drives.Native(this->TextPath()));
  this->Order();

  // When the files were written, rows 1 to 3 still showed their separators;
  // row N's empty balance showed 0.
  EXPECT_EQ(this->screen.balancesAsWritten,
            QStringList({"3,000", "2,000", "1,000"}) + Repeated("　　", n - 4) +
                QStringList{"0"});
  EXPECT_EQ(this->First(3), (QStringList{"A:3,000", "B:2,000", "C:1,000"}));
  EXPECT_EQ(this->Read(n, kBalance), QString());
  EXPECT_EQ(this->Texts().mid(n, 3), Quoted({"A", "B", "C"}));
  EXPECT_EQ(this->Amounts().back(), QStringLiteral("6000"));
  EXPECT_EQ(this->desktop.beeps, 1);
}

TYPED_TEST(OrderByAmountTest, NegativeRowsEndAtTheBottomBelowTheEmptyRows) {
  const int n = this->n;
  this->Rows({{"minus", "-500"}, {"plus", "700"}});
  this->Order();
  EXPECT_EQ(this->RowsShown(),
            QStringList{"plus:700"} + Repeated(":", n - 2) + QStringList{"minus:-500"});
  EXPECT_EQ(this->Amounts(),
            QStringList{"700"} + Repeated("0", n - 2) + QStringList({"-500", "200"}));
}

TYPED_TEST(OrderByAmountTest, ANamedRowOfBalanceZeroCanEndBelowAnEmptyRow) {
  this->Rows({{"A", "0"}, {"", ""}, {"B", "500"}});
  this->Order();
  EXPECT_EQ(this->First(3), (QStringList{"B:500", ":", "A:"}));
}

TYPED_TEST(OrderByAmountTest, AMovedBalanceShowsPlainDigitsUntilTheSavesReload) {
  const int n = this->n;
  this->Rows({{"A", "1,000"}, {"B", "2,500"}, {"C", "　"}, {"D", "１，２３４"}});
  this->Write(5, kBalance, " ");  // a row that does not move
  this->Order();

  // B and A exchanged, the fullwidth D moved up past C, whose blank counted
  // as 0 and moved down as 0.
  const QStringList written = this->screen.balancesAsWritten;
  EXPECT_EQ(written.mid(0, 4), (QStringList{"2500", "1234", "1000", "0"}));
  EXPECT_EQ(written.mid(4, 1), QStringList{" "});
  EXPECT_EQ(this->First(5), (QStringList{"B:2,500", "D:1,234", "A:1,000", "C:", ":"}));
  EXPECT_EQ(this->Amounts().mid(0, 5), (QStringList{"2500", "1234", "1000", "0", "0"}));
  EXPECT_EQ(this->Amounts().at(n), QStringLiteral("4734"));
}

TYPED_TEST(OrderByAmountTest, TheWholeRowMovesButItsAccountStaysWithTheGrid) {
  const int n = this->n;
  this->Write(1, kAddress, "住所1");
  this->Write(1, kRemarks, "摘要1");
  this->Write(3, kAccount, "特別");
  this->Write(3, kAddress, "住所3");
  this->Write(3, kRemarks, "摘要3");
  this->Rows({{"一", "10"}, {"二", "20"}, {"三", "30"}});
  this->Order();

  EXPECT_EQ(this->First(3), (QStringList{"三:30", "二:20", "一:10"}));
  EXPECT_EQ(this->Read(1, kAccount), this->facts.word);
  EXPECT_EQ(this->Read(1, kAddress), QStringLiteral("住所3"));
  EXPECT_EQ(this->Read(1, kRemarks), QStringLiteral("摘要3"));
  EXPECT_EQ(this->Read(3, kAccount), QStringLiteral("特別"));
  EXPECT_EQ(this->Read(3, kAddress), QStringLiteral("住所1"));
  EXPECT_EQ(this->Read(3, kRemarks), QStringLiteral("摘要1"));
  const QStringList texts = this->Texts();
  EXPECT_EQ(texts[0], Quoted({this->facts.word})[0]);
  EXPECT_EQ(texts[2], QStringLiteral("\"特別\""));
  EXPECT_EQ(texts[2 * n], QStringLiteral("\"住所3\""));
  EXPECT_EQ(texts[3 * n + 2], QStringLiteral("\"摘要1\""));
}

TYPED_TEST(OrderByAmountTest, WithACodeTheScreensCannotTakeTheRowsAreOrderedButNothingIsWritten) {
  this->Rows({{"A", "1,000"}, {"B", "2,000"}});
  this->screen.Write("Text146", "40000");
  this->screen.RunUserAction("Command5");

  EXPECT_EQ(this->desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(this->First(2), (QStringList{"B:2000", "A:1000"}));
  EXPECT_FALSE(this->drives.Exists(this->TextPath()));
  EXPECT_FALSE(this->drives.Exists(this->AmountPath()));
  EXPECT_EQ(this->desktop.beeps, 0);
}

// The capture's sum is for display only: beyond 32 bits it fails nothing and
// the rows are ordered; the save then refuses the total and writes nothing.
TYPED_TEST(OrderByAmountTest, ASumBeyond32BitsOrdersTheScreenAndTheSaveRefusesIt) {
  this->Rows({{"A", "5"}});
  this->Save();
  const QStringList texts = this->Texts();
  const QStringList amounts = this->Amounts();

  this->Rows({{"A", "1"}, {"B", "2,147,483,647"}});
  this->Order();

  EXPECT_EQ(this->desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(this->First(2), (QStringList{"B:2147483647", "A:1"}));
  EXPECT_EQ(this->Texts(), texts);
  EXPECT_EQ(this->Amounts(), amounts);
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("5"));
  EXPECT_EQ(this->desktop.beeps, 1);  // the first save's
}

// The capture takes the balances as the save does, which refuses a text that
// is no number, or a figure beyond 32 bits, rather than take it for another
// figure: the ordering then ends at its first capture with nothing moved, and
// the save says why and shows the cell.
TYPED_TEST(OrderByAmountTest, ABalanceThatIsNoNumberOrBeyond32BitsStopsTheOrderingBeforeAnythingMoves) {
  const std::pair<const char*, const char*> cases[] = {
      {"3,000,000,000", "ミルダント|オーバーフローしました。"},
      {"abc", "ミルダント|型が一致しません。"},
      {"▲300", "ミルダント|型が一致しません。"},
  };
  for (const auto& [balance, message] : cases) {
    SCOPED_TRACE(balance);
    this->desktop.boxes.clear();
    this->Rows({{"A", "5"}, {"B", QString::fromUtf8(balance)}, {"C", "7"}});
    this->Order();

    EXPECT_EQ(this->First(3), (QStringList{"A:5", "B:" + QString::fromUtf8(balance), "C:7"}));
    EXPECT_TRUE(this->screen.namesAtCaptures.empty());
    EXPECT_FALSE(this->drives.Exists(this->TextPath()));
    EXPECT_EQ(this->desktop.Summary(), QStringList{QString::fromUtf8(message)});
    EXPECT_EQ(this->screen.Window().focusWidget(),
              &this->screen.Box(testing::LedgerCell(2, kBalance)));
  }
  EXPECT_EQ(this->desktop.beeps, 0);
}

// After a load that stopped on a damaged file the rows on the screen are not
// the statement's: the ordering asks before it moves any row, and only once.
TYPED_TEST(OrderByAmountTest, AfterAFailedLoadTheOrderingAsksBeforeAnyRowMoves) {
  this->Rows({{"A", "5"}});
  this->Save();
  this->PutAmounts(this->Amounts().mid(1));  // one value short
  const QByteArray texts = this->drives.Get(this->TextPath());
  const QByteArray amounts = this->drives.Get(this->AmountPath());
  this->Load();
  this->desktop.boxes.clear();
  this->desktop.beeps = 0;
  this->screen.namesAtCaptures.clear();
  this->Rows({{"A", "1"}, {"B", "2"}});

  this->desktop.Answer("キャンセル");
  this->Order();
  EXPECT_EQ(this->desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(this->First(2), (QStringList{"A:1", "B:2"}));
  EXPECT_TRUE(this->screen.namesAtCaptures.empty());
  EXPECT_EQ(this->drives.Get(this->TextPath()), texts);
  EXPECT_EQ(this->drives.Get(this->AmountPath()), amounts);
  EXPECT_EQ(this->desktop.beeps, 0);

  this->desktop.boxes.clear();
  this->desktop.Answer("OK");
  this->Order();
  EXPECT_EQ(this->desktop.Summary(), QStringList{"書き換えますか|書き換えますか"});
  EXPECT_EQ(this->First(2), (QStringList{"B:2", "A:1"}));
  EXPECT_EQ(this->Amounts().mid(0, 2), (QStringList{"2", "1"}));
  EXPECT_EQ(this->desktop.beeps, 1);
}

}  // namespace
}  // namespace mirudanto::statements
