#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/amount.h"
#include "core/statement_files.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "statements/ledgers/ledger_screen.h"

namespace {

using namespace mirudanto;

// The boxes of row r of the ledger grid: name, address,
// balance, remarks.
struct RowBoxes {
  int name;
  int address;
  int balance;
  int remarks;
};
RowBoxes BoxesOfRow(int r) {
  if (r == 1) return {8, 9, 11, 10};
  if (r == 2) return {13, 12, 4, 5};
  return {5 * r + 3, 5 * r + 2, 5 * r, 5 * r + 1};
}
QString Box(int n) { return QStringLiteral("Text%1").arg(n); }

// Every row of Form4's grid, the balance of row r from 1 to 14 as typed, with
// thousands separators.
template <class Balance>
void FillReceivables(platform::Screen& screen, Balance balanceOf) {
  for (int r = 1; r <= 14; ++r) {
    const RowBoxes boxes = BoxesOfRow(r);
    screen.Write(Box(boxes.name), QStringLiteral("株式会社取引先%1").arg(r));
    screen.Write(Box(boxes.address), QStringLiteral("東京都千代田区丸の内%1丁目").arg(r));
    screen.Write(Box(boxes.balance), FormatAmount(balanceOf(r)));
    screen.Write(Box(boxes.remarks), QStringLiteral("摘要%1").arg(r));
  }
}

// Form4 of company 5 alone, on a scratch disk, every row of its grid filled.
class FullReceivables {
 public:
  FullReceivables()
      : screen(platform::ScreenSet::Instance().Add<statements::ReceivablesScreen>()) {
    platform::CreateFolder(kDataRoot);
    platform::CreateFolder(StatementFolder());
    screen.Write(QStringLiteral("Text146"), QStringLiteral("5"));
  }
  ~FullReceivables() { platform::ScreenSet::Instance().Clear(); }

  // Message boxes shown so far.
  int Boxes() const { return desktop_.boxes; }

  template <class Balance>
  void Fill(Balance balanceOf) {
    FillReceivables(screen, balanceOf);
  }

 private:
  // Made before the screen, gone after it.
  bench::ScratchDisk disk_;
  bench::SilentDesktop desktop_;

 public:
  statements::ReceivablesScreen& screen;
};

// "大きい順に並び替え" on a full Form4: 91 comparisons, each after a capture of
// the grid, one more capture, the save of both files and their reload. The
// grid is filled again, untimed, before each run.
template <class Balance>
void OrderFullReceivables(benchmark::State& state, Balance balanceOf) {
  FullReceivables ledger;
  for (auto _ : state) {
    state.PauseTiming();
    ledger.Fill(balanceOf);
    state.ResumeTiming();
    ledger.screen.Press(QStringLiteral("Command5"));
  }
  if (ledger.Boxes() != 0) state.SkipWithError("the ordering showed a message");
}

// Balances rising from row 1 down: every one of the 91 comparisons exchanges
// two rows, 728 cells written.
void BM_OrderByAmountFullReceivablesRising(benchmark::State& state) {
  OrderFullReceivables(state, [](int r) { return r * 1234567; });
}
BENCHMARK(BM_OrderByAmountFullReceivablesRising)->Unit(benchmark::kMillisecond);

// Balances in no order, ties among them.
void BM_OrderByAmountFullReceivablesMixed(benchmark::State& state) {
  OrderFullReceivables(state, [](int r) { return ((r * 7) % 11 - 5) * 100000; });
}
BENCHMARK(BM_OrderByAmountFullReceivablesMixed)->Unit(benchmark::kMillisecond);

// Already in order: no exchange, only the captures, row 14 rewritten, the
// save and reload.
void BM_OrderByAmountFullReceivablesInOrder(benchmark::State& state) {
  OrderFullReceivables(state, [](int r) { return (15 - r) * 1234567; });
}
BENCHMARK(BM_OrderByAmountFullReceivablesInOrder)->Unit(benchmark::kMillisecond);

// The rising ordering of company 1 among `state.range(0)` set-up companies,
// its ledger loaded from the files its set-up left: the save within it must
// not grow with the companies beside it.
void BM_OrderByAmountAmongCompanies(benchmark::State& state) {
  bench::SetUpCompaniesDisk disk(state, static_cast<int>(state.range(0)));
  if (!disk.Ready()) return;
  bench::SilentDesktop desktop;
  auto& screen = platform::ScreenSet::Instance().Add<statements::ReceivablesScreen>();
  const ScreenContract contract = screen.Contract();
  screen.Write(contract.codeBox, CodeText(1));
  screen.Press(contract.loadButton);
  for (auto _ : state) {
    state.PauseTiming();
    FillReceivables(screen, [](int r) { return r * 1234567; });
    bench::RunPendingWork();
    state.ResumeTiming();
    screen.Press(QStringLiteral("Command5"));
  }
  if (desktop.boxes != 0) state.SkipWithError("the ordering showed a message");
  platform::ScreenSet::Instance().Clear();
  bench::RunPendingWork();
}
BENCHMARK(BM_OrderByAmountAmongCompanies)->Arg(1)->Arg(999)->Unit(benchmark::kMillisecond);

}  // namespace
