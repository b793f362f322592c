#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "printing/page_plan.h"
#include "printing/printer.h"

namespace mirudanto::printing {

// The backend of the tests: it sends nothing anywhere, measures with the
// deterministic FixedPitchMetric, and keeps every page that went out, so a
// test can assert every string, size and position exactly.
class RecordingPrinter : public Printer {
 public:
  // A page as the printer received it.
  struct Job {
    int id = 0;
    QString queue;
    QString title;
    std::vector<Operation> operations;
  };

  std::unique_ptr<PrintDocument> NewDocument(const QString& title) override;

  // The default printer as the next print will look it up; empty: none.
  QString defaultPrinter = QStringLiteral("Recording_PDF");
  // When set, the printer refuses every job: Send fails as a refused job does
  // and nothing is kept.
  bool refuseJobs = false;

  // Every job that went out, in order.
  std::vector<Job> jobs;
  // How many documents were made (a document is made before its page is
  // planned), and how many of them the printer refused.
  int documentsMade = 0;
  int jobsRefused = 0;

  const FixedPitchMetric& Metric() const { return metric_; }

 private:
  class Document;
  FixedPitchMetric metric_;
  int nextJobId_ = 1;
};

}  // namespace mirudanto::printing
