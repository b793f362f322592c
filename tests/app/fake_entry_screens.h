#pragma once

#include <QProgressBar>
#include <QStringList>

#include "app/screen_contract.h"
#include "core/company_code.h"
#include "core/sequential_value_file.h"
#include "platform/desktop.h"
#include "platform/screen.h"
#include "platform/value_files.h"

namespace mirudanto::testing {

// Stands in for an entry screen of the contract: its save writes one value
// into each of its files and beeps, its load reads them back; both take the
// code in 16 bits and report under the screen's name. Every press is logged
// with the main menu's progress value at that moment.
class FakeEntryScreen : public platform::Screen {
 public:
  FakeEntryScreen(const app::ScreenContract& contract, QStringList& log)
      : Screen(contract.screen, contract.caption), contract_(contract), log_(log) {
    OnClick(contract.saveButton, [this] { Save(); });
    OnClick(contract.loadButton, [this] { LoadFiles(); });
    if (!contract.clearButton.isEmpty()) {
      OnClick(contract.clearButton, [this] { log_.append(Name() + " clear"); });
    }
  }

 protected:
  void Build() override { AddTextBox(contract_.codeBox, platform::Twips(0, 0, 600, 300)); }

 private:
  int Progress() {
    return platform::ScreenNamed("Form1").ControlAs<QProgressBar>("ProgressBar1").value();
  }

  void Save() {
    log_.append(QStringLiteral("%1 save %2").arg(Name()).arg(Progress()));
    try {
      const CompanyCode code = ReadCompanyCode16(Read(contract_.codeBox));
      for (const StatementFile& file : contract_.files) {
        platform::SaveValueFile(PathOf(file, code), ValueWriter().WriteText(Name()));
      }
      platform::Beep();
    } catch (const Failure& failure) {
      platform::ReportError(Name(), failure);
    }
  }

  void LoadFiles() {
    log_.append(Name() + " load");
    try {
      const CompanyCode code = ReadCompanyCode16(Read(contract_.codeBox));
      for (const StatementFile& file : contract_.files) platform::OpenValueFile(PathOf(file, code));
    } catch (const Failure& failure) {
      platform::ReportError(Name(), failure);
    }
  }

  const app::ScreenContract& contract_;
  QStringList& log_;
};

// Registers a fake for every entry screen of the contract (those with a save).
inline void AddFakeEntryScreens(QStringList& log) {
  for (const app::ScreenContract& contract : app::ScreenContracts()) {
    if (!contract.saveButton.isEmpty()) {
      platform::ScreenSet::Instance().Add<FakeEntryScreen>(contract, log);
    }
  }
}

}  // namespace mirudanto::testing
