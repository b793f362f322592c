#pragma once

#include "printing/printer.h"

namespace mirudanto::printing {

// The real backend: Qt PrintSupport draws, libcups sends and confirms.
//
// Each document looks the default printer up anew (the printer screen may
// have changed it) and makes a QPrinter in high resolution on that queue, so
// the page has the queue's own default paper and printable area: nothing sets
// a page size, orientation, copies, margins or full page, no dialog is shown,
// and no newPage() is ever called. The page is drawn with one QPainter
// begin/end into a PDF file (the queue's engine writes its PDF to a file
// instead of sending it), and that file is handed to the same queue with
// libcups, which returns the job id or refuses the job: Qt's own end of a
// print reports success even for a job that the scheduler refused, so only
// libcups' answer counts.
//
// Millimetres are turned into device units by hand (no world transform, which
// would scale the point-sized fonts again), from the corner of the queue's
// printable area: QPrinter puts its painter's origin inside margins of its own
// (10 points where the printer reaches the paper's edge), which are undone
// here rather than set; texts are measured with the same
// font on the same QPrinter that draws them, and drawn as plain text with
// their baseline at y + ascent.
class QtPrinter : public Printer {
 public:
  std::unique_ptr<PrintDocument> NewDocument(const QString& title) override;
};

}  // namespace mirudanto::printing
