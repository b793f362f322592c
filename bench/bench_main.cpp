#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/fonts.h"

// The benchmarks run real widgets on Qt's offscreen platform, as the tests do.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  mirudanto::platform::InstallFontSubstitutions();
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
