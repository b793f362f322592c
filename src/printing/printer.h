#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "printing/page_plan.h"

namespace mirudanto::printing {

// One document for the default printer as it was when the document was made:
// one document is one page and one print job. Making it opens no job; only
// Send does, and Send draws a plan that has been checked whole.
class PrintDocument {
 public:
  virtual ~PrintDocument() = default;
  // The queue the document goes to.
  virtual QString Queue() const = 0;
  // Measures texts as the device that draws the page does.
  virtual const TextMetric& Metric() const = 0;
  // Draws the plan as the one page of the document, ends the document and
  // hands it to the queue; returns the print system's job id. A job that the
  // printer refused, or one that could not be drawn or ended, fails with
  // "デバイス I/O エラーです。" (OtherIO) and counts as not printed. A
  // document is sent at most once.
  virtual int Send(const PagePlan& plan) = 0;
};

// A backend of the printer layer.
class Printer {
 public:
  virtual ~Printer() = default;
  // Looks the default printer up now (the printer screen may have changed it
  // since the last print) and makes a document for it; fails with
  // "既定のプリンターがありません。" (NoDefaultPrinter) when there is none. The
  // title names the job in the print system's queue.
  virtual std::unique_ptr<PrintDocument> NewDocument(const QString& title) = 0;
};

// The backend that prints now: the Qt and libcups one unless another is
// installed. InstallPrinter takes no ownership; nullptr restores the real one.
Printer& CurrentPrinter();
void InstallPrinter(Printer* printer);

// One print, planned then rendered: the default printer is looked up, the
// layout writes its page into a plan measured with that printer's metric, the
// plan is checked whole, and only then is the job opened, drawn, ended and
// handed to the printer. Any failure on the way throws before anything is sent
// or after the printer refused the whole job: never half a document. Returns
// the job id.
int PrintPage(Printer& printer, const QString& title,
              const std::function<void(PagePlan&)>& layout);

}  // namespace mirudanto::printing
