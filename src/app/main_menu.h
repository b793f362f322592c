#pragma once

#include "app/menu_openings.h"
#include "core/company_record.h"
#include "platform/screen.h"

namespace mirudanto::app {

// Form1, the main menu: the first screen, loaded and shown for the whole run.
// It keeps the current company code between operations, lists the registered
// companies, calls a company (setting a new one up), and opens every other
// screen with the code.
class MainMenu : public platform::Screen {
 public:
  MainMenu();

  // The code kept between operations; value 1 of the last company record read.
  CompanyCode CurrentCompanyCode() const { return record_.code; }
  const CompanyRecord& MenuCompanyRecord() const { return record_; }

  // The close box ends the program at once, whatever the other screens hold.
  void CloseBox() override;

 protected:
  void Build() override;
  void FormLoad() override;

 private:
  void RefreshCompanyList();
  void BuildCompanyList();
  void PickCompany();
  void CallCompany();
  void ClearCompanyBoxes();
  void InitialSetup();
  void SetupStep(int step);
  void UnloadScreens();
  void Open(const MenuOpening& opening);

  void ShowSetupButtons(bool visible);
  CompanyCode CodeFromMenu();
  // Saves the untouched screens of one group, skipping any whose files exist.
  void SaveUntouched(const std::vector<QString>& screens, CompanyCode code);

  CompanyRecord record_;
};

}  // namespace mirudanto::app
