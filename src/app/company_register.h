#pragma once

#include "core/company_record.h"
#include "platform/screen.h"

namespace mirudanto::app {

// Form10, the company register: the master data of one company, typed, called
// back from its file, and written to it.
class CompanyRegister : public platform::Screen {
 public:
  CompanyRegister();

  // The main menu hands the code over in Text100 and presses nothing.
  ScreenContract Contract() const override { return {QStringLiteral("Text100"), {}, {}, {}, {}}; }

 protected:
  void Build() override;

 private:
  void Register();
  void Call();
  void CallHandedOver();
  void FiscalYear();
  void CapitalInMillions();
  void ClearForNewCompany();

  // A box that stops the reading is named in `refusedBox`.
  CompanyRecord RecordFromBoxes(QString& refusedBox);
  void ShowCapital(std::int32_t capital);

  // What the screen last read from its boxes or from a file.
  CompanyRecord record_;
};

}  // namespace mirudanto::app
