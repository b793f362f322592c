#pragma once

#include "platform/screen.h"
#include "printing/print_data_set.h"

namespace mirudanto::printing {

// Form23: prints a company's statements as whole forms on blank A4, one page a
// press, counts the sheets of each statement in its box, and prints collated
// sets of every statement marked "要".
//
// The screen survives the main menu's unloading of screens, so its counts run
// on across visits and companies; closing its window loses them (the boxes are
// the counts' only store).
class BlankA4Screen : public platform::Screen {
 public:
  BlankA4Screen();

  // Its openers write the code into Text146 and press the hidden "DATA"
  // Command3, whose load has no failure report of its own: the opener reports.
  ScreenContract Contract() const override {
    return {QStringLiteral("Text146"), QStringLiteral("Command3"), {}, {}, {}};
  }

  const PrintDataSet& DataSet() const { return dataSet_; }

 protected:
  void Build() override;

 private:
  void LoadPrintData();
  // One statement's page as one job, counted in its box; false when it sent
  // nothing (the failure has been shown).
  bool PrintSheet(PrintStatement statement);
  void ClearPrintCounters();
  void BatchPrint();
  void BatchPrintSets(const QString& sets);

  PrintDataSet dataSet_;
};

}  // namespace mirudanto::printing
