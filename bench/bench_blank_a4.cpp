#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "printing/blank_a4/blank_a4_screen.h"
#include "printing/blank_a4/page_table.h"
#include "printing/printer.h"
#include "printing/recording_printer.h"

namespace {

using namespace mirudanto;
using namespace mirudanto::printing;

// All fourteen pages planned from full files and recorded.
void BM_PlanAndRecordAll14BlankA4Pages(benchmark::State& state) {
  const bench::FullPrintCompanyDisk disk;
  PrintDataSet set;
  set.Load(QStringLiteral("7"));
  RecordingPrinter printer;
  for (auto _ : state) {
    for (const blank_a4::BlankA4Page& page : blank_a4::BlankA4Pages()) {
      benchmark::DoNotOptimize(PrintPage(printer, QStringLiteral("A4"), [&](PagePlan& plan) {
        blank_a4::DrawPage(plan, page, set);
      }));
    }
    printer.jobs.clear();
  }
}
BENCHMARK(BM_PlanAndRecordAll14BlankA4Pages)->Unit(benchmark::kMillisecond);

// "１部 を一括印刷する" with all fourteen statements marked: fourteen jobs handed
// to a queue of the private scheduler and accepted.
void BM_BatchOf14BlankA4PagesToCupsQueue(benchmark::State& state) {
  if (!bench::UsePrivateQueue(state)) return;
  const bench::FullPrintCompanyDisk disk;
  bench::SilentDesktop desktop;
  auto& screen = platform::ScreenSet::Instance().Add<BlankA4Screen>();
  screen.Write(QStringLiteral("Text146"), QStringLiteral("7"));
  screen.Press(QStringLiteral("Command3"));
  for (auto _ : state) screen.Press(QStringLiteral("Command5"));
  if (desktop.boxes != 0 || screen.Read(QStringLiteral("Text26")).toInt() != state.iterations()) {
    state.SkipWithError("the batch did not print every page");
  }
  platform::ScreenSet::Instance().Clear();
}
BENCHMARK(BM_BatchOf14BlankA4PagesToCupsQueue)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
