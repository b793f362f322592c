#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <variant>
#include <vector>

#include "core/amount.h"
#include "core/company_code.h"
#include "printing/page_plan.h"
#include "printing/preprinted/preprinted_screen.h"
#include "printing/printer.h"
#include "printing/recording_printer.h"
#include "support/print_company.h"
#include "support/printed_operations.h"
#include "support/screen_test.h"

namespace mirudanto::printing {

// A text as it went onto the page, with the font size in force.
struct Printed {
  QString text;
  double x = 0;
  double y = 0;
  double points = 0;
};

inline std::vector<Printed> PrintedTexts(const RecordingPrinter::Job& job) {
  std::vector<Printed> printed;
  double points = 0;
  for (const Operation& operation : job.operations) {
    if (const auto* font = std::get_if<SetFont>(&operation)) points = font->points;
    if (const auto* text = std::get_if<PutText>(&operation)) {
      printed.push_back({text->text, text->x, text->y, points});
    }
  }
  return printed;
}

// Form18 on fresh drives, printing to the recording backend, opened as the
// main menu opens it.
class PreprintedTest : public testing::ScreenTest {
 protected:
  PreprintedTest() {
    InstallPrinter(&printer);
    screen = &platform::ScreenSet::Instance().Add<PreprintedScreen>();
  }
  ~PreprintedTest() override { InstallPrinter(nullptr); }

  void Open(CompanyCode code = 7) {
    screen->Write(QStringLiteral("Text146"), CodeText(code));
    screen->Show();
    screen->Press(QStringLiteral("Command3"));
  }
  void Offsets(const QString& x, const QString& y) {
    screen->Write(QStringLiteral("Text9"), x);
    screen->Write(QStringLiteral("Text10"), y);
  }
  // The user's click.
  void Click(const QString& button) {
    screen->ControlAs<QPushButton>(button).click();
  }

  RecordingPrinter printer;
  PreprintedScreen* screen = nullptr;
};

}  // namespace mirudanto::printing
