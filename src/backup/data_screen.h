#pragma once

#include "core/company_record.h"
#include "platform/screen.h"

namespace mirudanto::backup {

// Form21, the data screen "データ": shows a company, backs it up to the
// removable drive and restores it, deletes it from the medium, copies it to
// another code and deletes it from the hard disk. Every file operation takes
// its company from the code box Text6 when its button is pressed.
class DataScreen : public platform::Screen {
 public:
  DataScreen();

  // The main menu hands the code over in Text1 and presses nothing.
  ScreenContract Contract() const override { return {QStringLiteral("Text1"), {}, {}, {}, {}}; }

  // The name of the company master file this screen read last, by "会社呼出"
  // or by the copy to another code; it outlives every closing of the screen.
  // The deletion questions name the company from the file being deleted
  // instead.
  const QString& CalledCompanyName() const { return calledCompanyName_; }

 protected:
  void Build() override;
  void FormLoad() override;

 private:
  void TakeHandedCode();
  void CallCompany();
  void ClearCompanyBoxes();
  void CopyCompanyToFloppy();
  void RestoreCompanyFromFloppy();
  void DeleteCompanyFromFloppy();
  void CopyCompanyToCode();
  void DeleteCompanyFromDisk();
  void ReturnToMenu();

  CompanyCode CodeFromBox(const char* box);
  // Presses the main menu's "法人税の目次" (Command33), which rebuilds its
  // company list and brings it to the front.
  static void RefreshCompanyList();

  // The values "会社呼出" read last.
  CompanyRecord record_;
  QString calledCompanyName_;
};

}  // namespace mirudanto::backup
