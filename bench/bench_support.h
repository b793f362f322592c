#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/value_files.h"
#include "printing/print_data_set.h"

namespace mirudanto::bench {

// A desktop that never shows anything, so that no box can stop a benchmark.
class SilentDesktop : public platform::Desktop {
 public:
  SilentDesktop() { platform::InstallDesktop(this); }
  ~SilentDesktop() override { platform::InstallDesktop(nullptr); }
  void Beep() override {}
  int ShowMessageBox(const platform::MessageBoxRequest&) override {
    ++boxes;
    return 0;
  }
  void EndProgram() override {}
  int boxes = 0;
};

// What the program's event loop does once an operation has returned, before
// the user's next press: the events posted meanwhile and the window system's
// (showing, activating, painting), and the deletion of the windows unloaded.
// A benchmark that skips it lets them pile up, and its figure grows with its
// iterations.
inline void RunPendingWork() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Posted outside any event loop, the deletions wait for this explicit call.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The hard disk in a temporary folder.
class ScratchDisk {
 public:
  ScratchDisk() { platform::Drives::SetRoot(QChar('c'), dir_.path()); }
  ~ScratchDisk() { platform::Drives::SetRoot(QChar('c'), QString()); }

 private:
  QTemporaryDir dir_;
};

// A company's 36 print files with full rows: long texts, seven-digit amounts
// (so that every statement needs printing).
inline void WriteFullPrintCompany(CompanyCode code) {
  for (const StatementFile& file : PrintDataSetOrder()) {
    ValueWriter values;
    for (int n = 1; n <= printing::ValueCount(file); ++n) {
      if (file.role == FileRole::Amounts) {
        values.WriteNumber(1234567 + n);
      } else if (file.mark == StatementMark::Inventories && n <= 6) {
        values.WriteNumber(n <= 3 ? 13 : 0);
      } else {
        values.WriteText(QStringLiteral("株式会社見本商事　東京支店"));
      }
    }
    platform::SaveValueFile(PathOf(file, code), values);
  }
}

// A scratch hard disk that holds company 7's full print files.
class FullPrintCompanyDisk {
 public:
  FullPrintCompanyDisk() {
    platform::CreateFolder(kDataRoot);
    platform::CreateFolder(StatementFolder());
    WriteFullPrintCompany(7);
  }

 private:
  ScratchDisk disk_;
};

// True only under scripts/bench's own scheduler (scripts/private-cups), as the
// tests require: no benchmark prints to the machine's printers.
inline bool PrivateScheduler() {
  const QFileInfo socket(qEnvironmentVariable("CUPS_SERVER"));
  const QString clientRoot = qEnvironmentVariable("CUPS_SERVERROOT");
  return socket.isAbsolute() && socket.exists() && !clientRoot.isEmpty() &&
         QFileInfo(clientRoot).canonicalFilePath() ==
             QFileInfo(socket.dir(), QStringLiteral("client")).canonicalFilePath();
}

// Makes a queue of the private scheduler the default printer; skips the
// benchmark (false) anywhere else.
inline bool UsePrivateQueue(benchmark::State& state) {
  if (!PrivateScheduler()) {
    state.SkipWithError("no private CUPS scheduler: run through scripts/bench");
    return false;
  }
  if (platform::DefaultPrinter().isEmpty()) {
    const std::vector<QString> queues = platform::InstalledPrinters();
    if (queues.empty()) {
      state.SkipWithError("the private scheduler has no queue");
      return false;
    }
    platform::SetDefaultPrinter(queues.front());
  }
  return true;
}

}  // namespace mirudanto::bench
