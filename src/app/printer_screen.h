#pragma once

#include "platform/screen.h"

namespace mirudanto::app {

// Form25: makes one of the installed printers the default printer, which is
// the printer every print of the system goes to.
class PrinterScreen : public platform::Screen {
 public:
  PrinterScreen();

 protected:
  void Build() override;
  // Lists the printers installed now; the list stays as it is until the close
  // box unloads the screen.
  void FormLoad() override;

 private:
  void SetDefaultPrinterAndReturn();
  void ReturnToMenu();
};

}  // namespace mirudanto::app
