#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "app/leftovers.h"
#include "app/main_menu.h"
#include "app/screens.h"
#include "bench_support.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/screen.h"
#include "platform/value_files.h"

namespace {

using namespace mirudanto;

void RegisterCompanies(int count) {
  platform::CreateFolder(kDataRoot);
  platform::CreateFolder(CompanyFolder());
  platform::CreateFolder(StatementFolder());
  for (int code = 1; code <= count; ++code) {
    platform::SaveValueFile(CompanyMasterFile(code),
                            CompanyRecordWriter(bench::ManyCompaniesRecord(code)));
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

// The program's start as its main() makes it once the application exists,
// up to the first turn of the event loop: the fonts, both drives (a: an empty
// medium), the recovery from a killed run, every screen made, the main menu
// loaded and shown with its list of every company, and the events its showing
// posted. The companies are set up, as a user's are after years of use.
void BM_StartUpToFirstTurnWithSetUpCompanies(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  bench::SetUpCompaniesDisk disk(state, count);
  if (!disk.Ready()) return;
  QTemporaryDir medium;
  bench::SilentDesktop desktop;
  const QString hardDisk = platform::Drives::Root(QChar('c'));
  int listed = 0;
  for (auto _ : state) {
    platform::InstallFontSubstitutions();
    platform::Drives::SetRoot(QChar('c'), hardDisk);
    platform::Drives::SetRoot(QChar('a'), medium.path());
    platform::Drives::EnsureHardDisk();
    app::RecoverFromKilledRun();
    app::RegisterScreens();
    platform::Screen& menu = platform::ScreenNamed(QStringLiteral("Form1"));
    menu.Load();
    bool turned = false;
    QTimer::singleShot(0, [&turned] { turned = true; });
    while (!turned) QCoreApplication::processEvents(QEventLoop::AllEvents);

    state.PauseTiming();
    listed = menu.ControlAs<QListWidget>(QStringLiteral("List1")).count();
    platform::ScreenSet::Instance().Clear();
    bench::RunPendingWork();
    state.ResumeTiming();
  }
  platform::Drives::SetRoot(QChar('a'), QString());
  if (listed != count) state.SkipWithError("the main menu did not list every company");
  if (desktop.boxes != 0) state.SkipWithError("the start showed a message box");
}
BENCHMARK(BM_StartUpToFirstTurnWithSetUpCompanies)->Arg(1)->Arg(999)->Unit(benchmark::kMillisecond);

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
