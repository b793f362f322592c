#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/statement_files.h"
#include "platform/files.h"

namespace {

using namespace mirudanto;

// A save through the file layer among `state.range(0)` set-up companies: one
// file alone (the register's master file of company 1) and two together (its
// ⑭), each with what it holds already, flushes and all. Nothing a save does
// may grow with the companies beside it.
void BM_SaveOfOneFileAmongCompanies(benchmark::State& state) {
  bench::SetUpCompaniesDisk disk(state, static_cast<int>(state.range(0)));
  if (!disk.Ready()) return;
  const QString master = CompanyMasterFile(1);
  const QByteArray bytes = platform::ReadFileBytes(master);
  for (auto _ : state) platform::WriteFileAtomic(master, bytes);
}
BENCHMARK(BM_SaveOfOneFileAmongCompanies)->Arg(1)->Arg(999)->Unit(benchmark::kMillisecond);

void BM_SaveOfTwoFilesAmongCompanies(benchmark::State& state) {
  bench::SetUpCompaniesDisk disk(state, static_cast<int>(state.range(0)));
  if (!disk.Ready()) return;
  const QString amounts = StatementAmountFile(StatementMark::OfficerPay, 1);
  const QString text = StatementTextFile(StatementMark::OfficerPay, 1);
  const std::vector<platform::FileContent> files{{amounts, platform::ReadFileBytes(amounts)},
                                                 {text, platform::ReadFileBytes(text)}};
  for (auto _ : state) platform::WriteFilesTogether(files);
}
BENCHMARK(BM_SaveOfTwoFilesAmongCompanies)->Arg(1)->Arg(999)->Unit(benchmark::kMillisecond);

}  // namespace
