#pragma once

#include <QTemporaryDir>

#include "platform/desktop.h"
#include "platform/drives.h"

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

// The hard disk in a temporary folder.
class ScratchDisk {
 public:
  ScratchDisk() { platform::Drives::SetRoot(QChar('c'), dir_.path()); }
  ~ScratchDisk() { platform::Drives::SetRoot(QChar('c'), QString()); }

 private:
  QTemporaryDir dir_;
};

}  // namespace mirudanto::bench
