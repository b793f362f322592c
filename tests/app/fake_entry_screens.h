#pragma once

#include <QProgressBar>
#include <QStringList>

#include "app/menu_openings.h"
#include "core/company_code.h"
#include "platform/value_files.h"
#include "core/screen_contract.h"
#include "core/sequential_value_file.h"
#include "platform/desktop.h"
#include "platform/screen.h"

namespace mirudanto::testing {

// Stands in for an entry screen: its save writes one value into each of its
// files and beeps, its load reads them back; both take the code in 16 bits
// and report under the screen's name. Every press is logged with the main
// menu's progress value at that moment.
class FakeEntryScreen : public platform::Screen {
 public:
  FakeEntryScreen(const QString& name, ScreenContract contract, QStringList& log)
      : Screen(name, name), contract_(std::move(contract)), log_(log) {
    OnClick(contract_.saveButton, [this] { Save(); });
    OnClick(contract_.loadButton, [this] { LoadFiles(); });
    OnClick(contract_.clearButton, [this] { log_.append(Name() + " clear"); });
  }

  ScreenContract Contract() const override { return contract_; }

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

  ScreenContract contract_;
  QStringList& log_;
};

// Registers a fake for every entry screen that company initialisation saves,
// and for page 2 of ②: the files of the statement file set, grouped by the
// screen that writes them.
inline void AddFakeEntryScreens(QStringList& log) {
  using M = StatementMark;
  const FileRole T = FileRole::Text;
  const FileRole A = FileRole::Amounts;
  const FileRole S = FileRole::SubtotalMarkers;
  const std::pair<const char*, std::vector<StatementFile>> screens[] = {
      {"Form2", {{M::Deposits, T}, {M::Deposits, A}}},
      {"Form3", {{M::NotesReceivable, T}, {M::NotesReceivable, A}}},
      {"Form22", {{M::NotesReceivable2nd, T}, {M::NotesReceivable2nd, A}}},
      {"Form4", {{M::Receivables, T}, {M::Receivables, A}}},
      {"Form5", {{M::AdvancePayments, T}, {M::AdvancePayments, A}}},
      {"Form20", {{M::LoansReceivable, T}, {M::LoansReceivable, A}}},
      {"Form6", {{M::Inventories, T}, {M::Inventories, A}}},
      {"Form7", {{M::FixedAssets, T}, {M::FixedAssets, A}}},
      {"Form8", {{M::NotesPayable, T}, {M::NotesPayable, A}}},
      {"Form9", {{M::Payables, T}, {M::Payables, A}}},
      {"Form11", {{M::OtherPayables, T}, {M::OtherPayables, A}}},
      {"Form12", {{M::SuspenseReceipts, T}, {M::SuspenseReceipts, A}}},
      {"Form13", {{M::Borrowings1, T}, {M::Borrowings1, A}}},
      {"Form17", {{M::Borrowings2, T}, {M::Borrowings2, A}}},
      {"Form14", {{M::OfficerPay, A}, {M::OfficerPay, T}}},
      {"Form15", {{M::Rents, T}, {M::Rents, A}}},
      {"Form16", {{M::MiscGains, T}, {M::MiscGains, A}, {M::MiscGains, S}}},
      {"Form19", {{M::MiscLosses, T}, {M::MiscLosses, A}, {M::MiscLosses, S}}},
  };
  for (const auto& [name, files] : screens) {
    // The opening of ④貸 presses its clearing button before the load.
    const QString clear = QString::fromLatin1(name) == "Form20" ? "Clear" : QString();
    platform::ScreenSet::Instance().Add<FakeEntryScreen>(
        name, ScreenContract{"Text146", "Load", clear, "Save", files}, log);
  }
}

}  // namespace mirudanto::testing
