#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "core/amount.h"
#include "core/sequential_value_file.h"
#include "platform/drives.h"
#include "platform/value_files.h"

namespace {

using namespace mirudanto;

// The largest statement file pair: 91 texts and 23 amounts.
void BM_WriteAndReadLargestStatement(benchmark::State& state) {
  QTemporaryDir dir;
  platform::Drives::SetRoot(QChar('c'), dir.path());
  const QString textFile = QStringLiteral("c:\\⑩7.txt");
  const QString amountFile = QStringLiteral("c:\\A⑩7.txt");
  for (auto _ : state) {
    ValueWriter texts;
    for (int k = 0; k < 91; ++k) texts.WriteText(QStringLiteral("株式会社見本　支店"));
    platform::SaveValueFile(textFile, texts);
    ValueWriter amounts;
    for (int k = 0; k < 23; ++k) amounts.WriteNumber(1234567 * (k + 1));
    platform::SaveValueFile(amountFile, amounts);

    ValueReader textReader = platform::OpenValueFile(textFile);
    for (int k = 0; k < 91; ++k) benchmark::DoNotOptimize(textReader.ReadText());
    ValueReader amountReader = platform::OpenValueFile(amountFile);
    for (int k = 0; k < 23; ++k) benchmark::DoNotOptimize(amountReader.ReadInt32());
  }
  platform::Drives::SetRoot(QChar('c'), QString());
}
BENCHMARK(BM_WriteAndReadLargestStatement)->Unit(benchmark::kMillisecond);

void BM_ReadAmountCell(benchmark::State& state) {
  const QString cells[] = {QStringLiteral("１，２３４，５６７"), QStringLiteral(" 1,000 "),
                           QStringLiteral("　　"), QStringLiteral("-2.5")};
  for (auto _ : state) {
    for (const QString& cell : cells) benchmark::DoNotOptimize(ReadAmountCell(cell));
  }
}
BENCHMARK(BM_ReadAmountCell);

}  // namespace
