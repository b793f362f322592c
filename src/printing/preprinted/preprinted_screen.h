#pragma once

#include <QString>

#include "platform/screen.h"
#include "printing/print_data_set.h"

namespace mirudanto::printing {

// Form18 "印刷": prints each statement's data onto its official preprinted
// sheet in the default printer, the whole page moved by the two offset boxes,
// and leads on to the blank-A4 screen. Its data set is the screen object's and
// outlives the window.
class PreprintedScreen : public platform::Screen {
 public:
  PreprintedScreen();

  // Opened with the code in Text146, then the hidden "DATA" pressed.
  ScreenContract Contract() const override {
    return {QStringLiteral("Text146"), QStringLiteral("Command3"), {}, {}, {}};
  }

  const PrintDataSet& DataSet() const { return data_; }

 protected:
  void Build() override;

 private:
  void LoadPrintData();
  void PrintOnPreprintedForm(PrintStatement statement);
  void OpenBlankA4Printing();

  PrintDataSet data_;
};

}  // namespace mirudanto::printing
