#include <benchmark/benchmark.h>

#include "app/main_menu.h"
#include "app/screens.h"
#include "bench_support.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "platform/value_files.h"

namespace {

using namespace mirudanto;

void RegisterCompanies(int count) {
  platform::CreateFolder(kDataRoot);
  platform::CreateFolder(CompanyFolder());
  platform::CreateFolder(StatementFolder());
  for (int code = 1; code <= count; ++code) {
    CompanyRecord record;
    record.code = code;
    record.name = QStringLiteral("株式会社見本%1").arg(code);
    record.nameKana = QStringLiteral("カブシキガイシャミホン");
    record.periodStart = {20, 4, 1};
    record.periodEnd = {21, 3, 31};
    platform::SaveValueFile(CompanyMasterFile(code), CompanyRecordWriter(record));
  }
}

// The main menu's start-up: the company list read from 999 master files.
void BM_StartUpWith999Companies(benchmark::State& state) {
  bench::ScratchDisk disk;
  bench::SilentDesktop desktop;
  RegisterCompanies(999);
  for (auto _ : state) {
    auto& menu = platform::ScreenSet::Instance().Add<app::MainMenu>();
    menu.Load();
    state.PauseTiming();
    platform::ScreenSet::Instance().Clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpWith999Companies)->Unit(benchmark::kMillisecond);

// "会社呼出" of a company that is set up: screens closed, the deposits screen
// opened on its files.
void BM_CallASetUpCompany(benchmark::State& state) {
  bench::ScratchDisk disk;
  bench::SilentDesktop desktop;
  RegisterCompanies(5);
  app::RegisterScreens();
  platform::Screen& menu = platform::ScreenNamed(QStringLiteral("Form1"));
  menu.Load();
  menu.Write(QStringLiteral("Text1"), QStringLiteral("5"));
  menu.Press(QStringLiteral("Command2"));  // sets the company up once
  for (auto _ : state) {
    menu.Press(QStringLiteral("Command2"));
    bench::RunPendingWork();
  }
  platform::ScreenSet::Instance().Clear();
}
BENCHMARK(BM_CallASetUpCompany)->Unit(benchmark::kMillisecond);

}  // namespace
