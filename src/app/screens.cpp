#include "app/screens.h"

#include "app/company_register.h"
#include "app/main_menu.h"
#include "app/printer_screen.h"
#include "backup/data_screen.h"
#include "platform/screen.h"
#include "printing/blank_a4/blank_a4_screen.h"
#include "printing/preprinted/preprinted_screen.h"
#include "statements/borrowings_and_expenses/borrowings_screen.h"
#include "statements/borrowings_and_expenses/misc_screen.h"
#include "statements/borrowings_and_expenses/officer_pay_screen.h"
#include "statements/borrowings_and_expenses/rents_screen.h"
#include "statements/general/advance_payments_screen.h"
#include "statements/general/deposits_screen.h"
#include "statements/general/fixed_assets_screen.h"
#include "statements/general/inventories_screen.h"
#include "statements/general/loans_receivable_screen.h"
#include "statements/general/suspense_receipts_screen.h"
#include "statements/ledgers/ledger_screen.h"
#include "statements/notes/notes_screen.h"

namespace mirudanto::app {

void RegisterScreens() {
  auto& screens = platform::ScreenSet::Instance();
  screens.Add<MainMenu>();
  screens.Add<CompanyRegister>();
  screens.Add<statements::DepositsScreen>();
  screens.Add<statements::AdvancePaymentsScreen>();
  screens.Add<statements::SuspenseReceiptsScreen>();
  screens.Add<statements::LoansReceivableScreen>();
  screens.Add<statements::InventoriesScreen>();
  screens.Add<statements::FixedAssetsScreen>();
  screens.Add<statements::NotesReceivablePage1Screen>();
  screens.Add<statements::NotesReceivablePage2Screen>();
  screens.Add<statements::NotesPayableScreen>();
  screens.Add<statements::ReceivablesScreen>();
  screens.Add<statements::PayablesScreen>();
  screens.Add<statements::OtherPayablesScreen>();
  screens.Add<statements::BorrowingsPage1Screen>();
  screens.Add<statements::BorrowingsPage2Screen>();
  screens.Add<statements::OfficerPayScreen>();
  screens.Add<statements::RentsScreen>();
  screens.Add<statements::MiscGainsScreen>();
  screens.Add<statements::MiscLossesScreen>();
  screens.Add<backup::DataScreen>();
  screens.Add<printing::PreprintedScreen>();
  screens.Add<PrinterScreen>();
  screens.Add<printing::BlankA4Screen>();
}

}  // namespace mirudanto::app
