#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

#include "app/menu_openings.h"
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

// A company set up by the main menu, with every screen of the program.
class SetUpCompany {
 public:
  SetUpCompany() {
    platform::CreateFolder(kDataRoot);
    platform::CreateFolder(CompanyFolder());
    CompanyRecord record;
    record.code = 5;
    record.name = QStringLiteral("株式会社見本");
    platform::SaveValueFile(CompanyMasterFile(5), CompanyRecordWriter(record));
    app::RegisterScreens();
    Menu().Load();
    Menu().Write(QStringLiteral("Text1"), QStringLiteral("5"));
    Menu().Press(QStringLiteral("Command2"));
  }
  ~SetUpCompany() { platform::ScreenSet::Instance().Clear(); }
  platform::Screen& Menu() { return platform::ScreenNamed(QStringLiteral("Form1")); }
  // Message boxes shown since the set-up; an opening shows none.
  int Boxes() const { return desktop_.boxes; }

 private:
  bench::ScratchDisk disk_;
  bench::SilentDesktop desktop_;
};

// Every amount cell still blank ("　　") filled with a seven-digit amount.
void FillBlankAmounts(platform::Screen& screen, const QString& codeBox) {
  for (int n = 1; n <= 146; ++n) {
    const QString box = QStringLiteral("Text%1").arg(n);
    if (box != codeBox && screen.HasControl(box) &&
        screen.Read(box).startsWith(QStringLiteral("　　"))) {
      screen.Write(box, QStringLiteral("1,234,567"));
    }
  }
}

// "合計" of an entry screen with every amount cell filled: convert, total,
// write both files, reload.
void SaveAndReload(benchmark::State& state, const QString& screenName, const QString& saveButton) {
  SetUpCompany company;
  platform::Screen* screen = platform::ScreenSet::Instance().Find(screenName);
  if (screen == nullptr) {
    state.SkipWithError("screen not in this build");
    return;
  }
  screen->Write(QStringLiteral("Text146"), QStringLiteral("5"));
  FillBlankAmounts(*screen, QStringLiteral("Text146"));
  for (auto _ : state) screen->Press(saveButton);
}

void BM_SaveAndReloadSuspenseReceipts(benchmark::State& state) {
  SaveAndReload(state, QStringLiteral("Form12"), QStringLiteral("Command1"));
}
BENCHMARK(BM_SaveAndReloadSuspenseReceipts)->Unit(benchmark::kMillisecond);

void BM_SaveAndReloadDeposits(benchmark::State& state) {
  SaveAndReload(state, QStringLiteral("Form2"), QStringLiteral("Command1"));
}
BENCHMARK(BM_SaveAndReloadDeposits)->Unit(benchmark::kMillisecond);

void BM_SaveAndReloadOfficerPay(benchmark::State& state) {
  SaveAndReload(state, QStringLiteral("Form14"), QStringLiteral("Command2"));
}
BENCHMARK(BM_SaveAndReloadOfficerPay)->Unit(benchmark::kMillisecond);

void BM_SaveAndReloadBorrowingsPage2(benchmark::State& state) {
  SaveAndReload(state, QStringLiteral("Form17"), QStringLiteral("Command2"));
}
BENCHMARK(BM_SaveAndReloadBorrowingsPage2)->Unit(benchmark::kMillisecond);

// The same save of company 1 among `state.range(0)` set-up companies, the
// company called from the main menu as a user calls it. Nothing the save does
// may grow with the companies beside it. The event loop's work after each
// save runs untimed.
void SaveAndReloadAmongCompanies(benchmark::State& state, const QString& screenName) {
  bench::SetUpCompaniesDisk disk(state, static_cast<int>(state.range(0)));
  if (!disk.Ready()) return;
  bench::SilentDesktop desktop;
  app::RegisterScreens();
  platform::Screen& menu = platform::ScreenNamed(QStringLiteral("Form1"));
  menu.Load();
  menu.Write(QStringLiteral("Text1"), CodeText(1));
  menu.Press(QStringLiteral("Command2"));
  bench::RunPendingWork();
  platform::Screen& screen = platform::ScreenNamed(screenName);
  const ScreenContract contract = screen.Contract();
  screen.Write(contract.codeBox, CodeText(1));
  screen.Press(contract.loadButton);
  FillBlankAmounts(screen, contract.codeBox);
  const int boxesBefore = desktop.boxes;
  for (auto _ : state) {
    screen.Press(contract.saveButton);
    state.PauseTiming();
    bench::RunPendingWork();
    state.ResumeTiming();
  }
  if (desktop.boxes != boxesBefore) state.SkipWithError("the save showed a message box");
  platform::ScreenSet::Instance().Clear();
  bench::RunPendingWork();
}

void BM_SaveAndReloadDepositsAmongCompanies(benchmark::State& state) {
  SaveAndReloadAmongCompanies(state, QStringLiteral("Form2"));
}
BENCHMARK(BM_SaveAndReloadDepositsAmongCompanies)
    ->Arg(1)
    ->Arg(999)
    ->Unit(benchmark::kMillisecond);

void BM_SaveAndReloadOfficerPayAmongCompanies(benchmark::State& state) {
  SaveAndReloadAmongCompanies(state, QStringLiteral("Form14"));
}
BENCHMARK(BM_SaveAndReloadOfficerPayAmongCompanies)
    ->Arg(1)
    ->Arg(999)
    ->Unit(benchmark::kMillisecond);

// An opening from the main menu: screens closed, the code handed over, the
// files loaded, the window shown, and the event loop's work that follows.
void Open(benchmark::State& state, const QString& menuButton) {
  SetUpCompany company;
  for (auto _ : state) {
    company.Menu().Press(menuButton);
    bench::RunPendingWork();
  }
}

void BM_OpenSuspenseReceipts(benchmark::State& state) { Open(state, QStringLiteral("Command16")); }
BENCHMARK(BM_OpenSuspenseReceipts)->Unit(benchmark::kMillisecond);

void BM_OpenNotesReceivable(benchmark::State& state) { Open(state, QStringLiteral("Command1")); }
BENCHMARK(BM_OpenNotesReceivable)->Unit(benchmark::kMillisecond);

// Both borrowings pages loaded, page 2 shown.
void BM_OpenBorrowingsPage2(benchmark::State& state) { Open(state, QStringLiteral("Command22")); }
BENCHMARK(BM_OpenBorrowingsPage2)->Unit(benchmark::kMillisecond);

// Every screen the main menu opens for a company, one after the other as a
// user goes through them: the 18 entry screens, the register, the data screen
// and both print screens, each opening closing the screen before. The company
// has page 2 of ② as well. Each screen's counter is its opening in ms.
void BM_OpenEveryScreenInTurn(benchmark::State& state) {
  SetUpCompany company;
  // Page 2 of ② comes to be as the user makes it: opened, then saved.
  company.Menu().Press(QStringLiteral("Command34"));
  platform::ScreenNamed(QStringLiteral("Form22")).Press(QStringLiteral("Command2"));
  if (!platform::FileExists(StatementAmountFile(StatementMark::NotesReceivable2nd, 5))) {
    state.SkipWithError("page 2 of notes was not saved");
    return;
  }
  bench::RunPendingWork();
  const int boxesBefore = company.Boxes();

  using Clock = std::chrono::steady_clock;
  std::map<QString, Clock::duration> spent;
  for (auto _ : state) {
    for (const app::MenuOpening& opening : app::MenuOpenings()) {
      if (opening.opening == app::Opening::PrinterScreen) continue;
      const Clock::time_point start = Clock::now();
      company.Menu().Press(opening.menuButton);
      bench::RunPendingWork();
      spent[opening.screen] += Clock::now() - start;
    }
  }
  if (company.Boxes() != boxesBefore) {
    state.SkipWithError("an opening showed a message box");
    return;
  }
  for (const auto& [screen, duration] : spent) {
    state.counters[screen.toStdString()] = benchmark::Counter(
        std::chrono::duration<double, std::milli>(duration).count(),
        benchmark::Counter::kAvgIterations);
  }
}
BENCHMARK(BM_OpenEveryScreenInTurn)->Unit(benchmark::kMillisecond);

}  // namespace
