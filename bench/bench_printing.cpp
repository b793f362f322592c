#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>

#include "bench_support.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/value_files.h"
#include "printing/preprinted/preprinted_layout.h"
#include "printing/print_data_set.h"
#include "printing/printer.h"
#include "printing/qt_printer.h"
#include "printing/recording_printer.h"

namespace {

using namespace mirudanto;
using namespace mirudanto::printing;

void BM_LoadPrintDataSet(benchmark::State& state) {
  const bench::FullPrintCompanyDisk disk;
  PrintDataSet set;
  for (auto _ : state) {
    set.Load(QStringLiteral("7"));
    benchmark::DoNotOptimize(set.Complete());
  }
  if (!set.Complete()) state.SkipWithError("the load stopped");
}
BENCHMARK(BM_LoadPrintDataSet)->Unit(benchmark::kMillisecond);

// A page the size of the largest layouts: 15 rows of five texts and a
// right-aligned amount, then headings and 30 ruled lines.
void DenseRows(PagePlan& plan, const PrintDataSet* data) {
  plan.SetFont(kMincho, 11);
  for (int r = 1; r <= 15; ++r) {
    const double y = 32 + 9 * (r - 1);
    plan.SetFontSize(11);
    for (int k = 0; k < 5; ++k) {
      plan.PutText(27 + 25 * k, y,
                   data != nullptr ? data->TextAt(StatementMark::Deposits, 5 * (r - 1) + k + 1)
                                   : QStringLiteral("株式会社見本商事"));
    }
    plan.SetFontSize(15);
    RightAlignedAmount(plan, 143, y + 1,
                       data != nullptr ? data->AmountAt(StatementMark::Deposits, r) : 1234567 * r,
                       Nudge::Apply, 3);
  }
  RightAlignedAmount(plan, 143, 239, 98765432, Nudge::Apply, 3);
  plan.SetFontSize(11);
  for (int k = 0; k < 30; ++k) {
    plan.DrawLine(25, 32 + 8 * k, 192, 32 + 8 * k, k % 5 == 0 ? 6 : 3);
    plan.PutText(27, 33 + 8 * k, QStringLiteral("見出し"));
  }
}

void BM_PlanAndRecordDensePage(benchmark::State& state) {
  RecordingPrinter printer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PrintPage(printer, QStringLiteral("預貯金"),
                                       [](PagePlan& plan) { DenseRows(plan, nullptr); }));
    printer.jobs.clear();
  }
}
BENCHMARK(BM_PlanAndRecordDensePage)->Unit(benchmark::kMicrosecond);

// The preprinted layout with the most operations, planned from a full data
// set and recorded, as one press of its button does after the offsets are read.
void BM_PlanAndRecordLargestPreprintedLayout(benchmark::State& state) {
  const bench::FullPrintCompanyDisk disk;
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  RecordingPrinter printer;
  const PreprintedLayout* largest = nullptr;
  std::size_t most = 0;
  for (const PrintStatement statement : PrintStatements()) {
    PagePlan plan(printer.Metric());
    PlanPreprintedPage(plan, PreprintedLayoutOf(statement), set, 3, -2);
    if (plan.Operations().size() > most) {
      most = plan.Operations().size();
      largest = &PreprintedLayoutOf(statement);
    }
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(PrintPage(printer, QStringLiteral("仮払金貸付金"), [&](PagePlan& plan) {
      PlanPreprintedPage(plan, *largest, set, 3, -2);
    }));
    printer.jobs.clear();
  }
  state.counters["operations"] = static_cast<double>(most);
}
BENCHMARK(BM_PlanAndRecordLargestPreprintedLayout)->Unit(benchmark::kMicrosecond);

// One page handed to a CUPS queue: default printer looked up, page planned,
// drawn into its PDF, ended and accepted by the scheduler (the job id back).
void BM_OnePageToCupsQueue(benchmark::State& state) {
  if (!bench::UsePrivateQueue(state)) return;
  const bench::FullPrintCompanyDisk disk;
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  QtPrinter printer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PrintPage(printer, QStringLiteral("預貯金"),
                                       [&](PagePlan& plan) { DenseRows(plan, &set); }));
  }
}
BENCHMARK(BM_OnePageToCupsQueue)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
