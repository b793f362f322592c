#include <benchmark/benchmark.h>

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

 private:
  bench::ScratchDisk disk_;
  bench::SilentDesktop desktop_;
};

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
  for (int n = 1; n <= 146; ++n) {
    const QString box = QStringLiteral("Text%1").arg(n);
    if (screen->HasControl(box) && screen->Read(box).startsWith(QStringLiteral("　　"))) {
      screen->Write(box, QStringLiteral("1,234,567"));
    }
  }
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

// An opening from the main menu: screens closed, the code handed over, the
// files loaded, the window shown.
void Open(benchmark::State& state, const QString& menuButton) {
  SetUpCompany company;
  for (auto _ : state) {
    company.Menu().Press(menuButton);
    platform::DeleteDiscardedWindows();
  }
}

void BM_OpenSuspenseReceipts(benchmark::State& state) { Open(state, QStringLiteral("Command16")); }
BENCHMARK(BM_OpenSuspenseReceipts)->Unit(benchmark::kMillisecond);

void BM_OpenNotesReceivable(benchmark::State& state) { Open(state, QStringLiteral("Command1")); }
BENCHMARK(BM_OpenNotesReceivable)->Unit(benchmark::kMillisecond);

// Both borrowings pages loaded, page 2 shown.
void BM_OpenBorrowingsPage2(benchmark::State& state) { Open(state, QStringLiteral("Command22")); }
BENCHMARK(BM_OpenBorrowingsPage2)->Unit(benchmark::kMillisecond);

}  // namespace
