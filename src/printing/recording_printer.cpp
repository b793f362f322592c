#include "printing/recording_printer.h"

#include "core/failure.h"

namespace mirudanto::printing {

class RecordingPrinter::Document : public PrintDocument {
 public:
  Document(RecordingPrinter& printer, QString queue, QString title)
      : printer_(printer), queue_(std::move(queue)), title_(std::move(title)) {}

  QString Queue() const override { return queue_; }
  const TextMetric& Metric() const override { return printer_.metric_; }

  int Send(const PagePlan& plan) override {
    if (sent_) throw Failure(FailureKind::OtherIO);
    sent_ = true;
    // The layer sends only checked plans; a backend checks again all the same.
    plan.Check();
    if (printer_.refuseJobs) {
      ++printer_.jobsRefused;
      throw Failure(FailureKind::OtherIO);
    }
    const int id = printer_.nextJobId_++;
    printer_.jobs.push_back(Job{id, queue_, title_, plan.Operations()});
    return id;
  }

 private:
  RecordingPrinter& printer_;
  QString queue_;
  QString title_;
  bool sent_ = false;
};

std::unique_ptr<PrintDocument> RecordingPrinter::NewDocument(const QString& title) {
  if (defaultPrinter.isEmpty()) throw Failure(FailureKind::NoDefaultPrinter);
  ++documentsMade;
  return std::make_unique<Document>(*this, defaultPrinter, title);
}

}  // namespace mirudanto::printing
