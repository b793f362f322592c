#include "printing/printer.h"

#include "printing/qt_printer.h"

namespace mirudanto::printing {
namespace {

Printer* installed = nullptr;

}  // namespace

Printer& CurrentPrinter() {
  if (installed != nullptr) return *installed;
  static QtPrinter real;
  return real;
}

void InstallPrinter(Printer* printer) { installed = printer; }

int PrintPage(Printer& printer, const QString& title,
              const std::function<void(PagePlan&)>& layout) {
  const std::unique_ptr<PrintDocument> document = printer.NewDocument(title);
  PagePlan plan(document->Metric());
  layout(plan);
  plan.Check();
  return document->Send(plan);
}

}  // namespace mirudanto::printing
