#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "backup/data_screen.h"
#include "bench_support.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "platform/value_files.h"

namespace {

using namespace mirudanto;

// One company's 37 files as the entry screens and the register leave them:
// a text file of 60 texts, an amount file of 20 amounts, the master record.
// Returns the bytes written.
std::int64_t PutCompany(CompanyCode code, const QString& root) {
  platform::CreateFolder(root);
  platform::CreateFolder(CompanyFolder(root));
  platform::CreateFolder(ScheduleFolder(root));
  platform::CreateFolder(StatementFolder(root));
  CompanyRecord record;
  record.code = code;
  record.name = QStringLiteral("株式会社見本");
  platform::SaveValueFile(CompanyMasterFile(code, root), CompanyRecordWriter(record));
  std::int64_t bytes = 0;
  for (const StatementFile& file : StatementFileSet()) {
    ValueWriter values;
    for (int k = 0; k < (file.role == FileRole::Text ? 60 : 20); ++k) {
      if (file.role == FileRole::Text) {
        values.WriteText(QStringLiteral("株式会社見本　東京都千代田区１－１"));
      } else {
        values.WriteNumber(1234567 * (k + 1));
      }
    }
    const QByteArray encoded = values.Encode();
    bytes += encoded.size();
    platform::WriteFileAtomic(PathOf(file, code, root), encoded);
  }
  return bytes;
}

// The removable drive in a temporary folder of the local disk.
class ScratchMedium {
 public:
  ScratchMedium() { platform::Drives::SetRoot(QChar('a'), dir_.path()); }
  ~ScratchMedium() { platform::Drives::SetRoot(QChar('a'), QString()); }

 private:
  QTemporaryDir dir_;
};

// Presses one of the data screen's buttons for company 7 again and again.
void PressForCompany(benchmark::State& state, const char* button, const QString& filesOn) {
  bench::ScratchDisk disk;
  ScratchMedium medium;
  bench::SilentDesktop desktop;
  const std::int64_t bytes = PutCompany(7, filesOn);
  if (filesOn == kFloppyDataRoot) PutCompany(9, kDataRoot);  // the hard disk's folders
  auto& form21 = platform::ScreenSet::Instance().Add<backup::DataScreen>();
  form21.Write(QStringLiteral("Text6"), QStringLiteral("7"));
  for (auto _ : state) form21.Press(QString::fromLatin1(button));
  if (desktop.boxes != 0) state.SkipWithError("the operation reported a failure");
  state.counters["files"] = 37;
  state.counters["bytes"] = static_cast<double>(bytes);
  platform::ScreenSet::Instance().Clear();
}

// "フロッピーへコピーする": 37 files from the hard disk to the removable drive.
void BM_BackupOneCompanyToAFolder(benchmark::State& state) {
  PressForCompany(state, "Command1", kDataRoot);
}
BENCHMARK(BM_BackupOneCompanyToAFolder)->Unit(benchmark::kMillisecond);

// "フロッピーよりHDDへ戻す": the same 37 files back onto the hard disk.
void BM_RestoreOneCompanyFromAFolder(benchmark::State& state) {
  PressForCompany(state, "Command2", kFloppyDataRoot);
}
BENCHMARK(BM_RestoreOneCompanyFromAFolder)->Unit(benchmark::kMillisecond);

}  // namespace
