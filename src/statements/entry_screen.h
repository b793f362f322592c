#pragma once

#include <functional>
#include <optional>

#include "core/amount.h"
#include "core/company_code.h"
#include "core/failure.h"
#include "core/screen_contract.h"
#include "platform/screen.h"
#include "statements/entry_screen_layout.h"
#include "statements/grid_geometry.h"

namespace mirudanto::statements {

// The one engine of every statement entry screen: it builds the grid from the
// layout, loads the files into the screen's values and shows them, and totals
// and saves what the boxes hold, all as the layout says. What no layout can
// say, a screen adds through the hooks below.
class EntryScreen : public platform::Screen {
 public:
  explicit EntryScreen(EntryScreenLayout layout);

  const EntryScreenLayout& Layout() const { return layout_; }
  // The values, and whether they come from a load or save of `HeldCode()`.
  const HeldFiles& Held() const { return held_; }
  bool HeldIsValid() const { return heldValid_; }
  CompanyCode HeldCode() const { return heldCode_; }
  // How the last load ended: nothing when it read and showed its files, the
  // failure that stopped it otherwise. It outlives the window, as the values do.
  const std::optional<Failure>& LastLoadFailure() const { return lastLoadFailure_; }

  ScreenContract Contract() const override;

 protected:
  void Build() override;
  // Every control exists by now, those a screen adds to the layout's too.
  void FormLoad() override;

  // Runs once a load has shown what it read.
  virtual void ShowExtra(const HeldFiles&) {}
  // Takes what the boxes cannot say into the values to be saved, each time
  // the boxes are captured: by a save, or by a capturing button (after the
  // boxes are captured, before the totals).
  virtual void CaptureExtra(HeldFiles&) {}
  // Runs once the files are written, before the reload.
  virtual void AfterWrite() {}

  // Shows every value that has a box, as a load shows it.
  void ShowValues(const HeldFiles& files);
  HeldFiles& MutableHeld() { return held_; }

  // For an operation that changes the screen and ends by pressing the save:
  // the save's question is asked now, before anything changes, and the
  // operation runs only when it may overwrite; the save it presses then asks
  // nothing more.
  void RunBeforeSaving(const std::function<void()>& operation);

 private:
  // The verbs of the load and save buttons.
  void LoadStatement();
  void TotalAndSaveStatement();

  void ShowFile(const FileLayout& file, const HeldFiles& files, bool skipRecomputed);
  void ShowValue(const FileValue& value, const HeldValue& held);
  void ShowIn(const QString& box, Display display, const HeldValue& held);
  // Works out every total of the layout, wide, into `files`; fails before
  // anything is stored when one is beyond 32 bits.
  std::vector<std::int32_t> WorkOutTotals(HeldFiles& files) const;
  void ShowTotals(const std::vector<std::int32_t>& totals, bool asSaved);
  void Carry(const std::vector<CarriedValue>& carried, const HeldFiles& files);
  void ReadFile(const FileLayout& file, CompanyCode code, HeldFiles& into) const;
  // Takes what the boxes hold into `files`; a figure that is no number, or
  // one beyond its width, fails and names its box in `refusedBox`.
  void CaptureBoxes(HeldFiles& files, QString& refusedBox);
  // Writes every file of the statement as one; a text the files cannot hold
  // fails before anything is written and names its box in `refusedBox`.
  void WriteFiles(CompanyCode code, const HeldFiles& files, QString& refusedBox) const;
  bool IsRecomputedTotal(FileRole role, std::size_t index) const;
  void Hold(CompanyCode code, HeldFiles files);
  void ResetBoxesToInitialTexts();
  void ApplyFocusOrder();
  // The verb of a capturing button: the boxes of `values` into the values,
  // as the save takes them, and the totals worked out and shown when asked.
  void CaptureWithoutSaving(const std::vector<ValueRef>& values, bool totals);
  void TakeFromBox(const FileValue& value, HeldValue& into);
  // After a load of `code` that failed, what the screen holds is not the
  // company's statement: a save over files that exist asks first. False when
  // the user declines.
  bool MayOverwrite(CompanyCode code) const;

  EntryScreenLayout layout_;
  HeldFiles held_;
  CompanyCode heldCode_ = 0;
  bool heldValid_ = false;
  std::optional<Failure> lastLoadFailure_;
  // The code the last load read from the code box, if it could.
  std::optional<CompanyCode> lastLoadCode_;
  // Set while an operation that asked the save's question runs.
  bool overwriteAnswered_ = false;
};

using platform::kHeadingGrey;
using platform::kLightCyan;
using platform::kLightMagenta;

}  // namespace mirudanto::statements
