#include "printing/qt_printer.h"

#include <cups/cups.h>

#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <optional>

#include "core/failure.h"
#include "platform/printers.h"

namespace mirudanto::printing {
namespace {

// A font as the printed forms want it: the face at a size in points, without
// kerning or hinting, so a text measures the sum of its characters' advances
// on every device.
QFont PrintFont(const QString& name, double points) {
  QFont font(name);
  font.setPointSizeF(points);
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferOutline);
  return font;
}

// Measures on the printer that draws the page.
class PrinterMetric : public TextMetric {
 public:
  explicit PrinterMetric(QPrinter& printer) : printer_(printer) {}

  double TextWidth(const QString& fontName, double points, const QString& text) const override {
    const QFontMetricsF metrics(PrintFont(fontName, points), &printer_);
    return metrics.horizontalAdvance(text) * 25.4 / printer_.logicalDpiX();
  }

 private:
  QPrinter& printer_;
};

// The top-left corner of the printable area, in millimetres from where the
// painter's origin is. Qt keeps margins of its own (10 points unless the
// printer needs more) and puts the painter's origin inside them; the printable
// area is what the printer can reach, its minimum margins. The positions are
// shifted by hand rather than by setting margins, which stay the printer's.
QPointF PrintableOrigin(const QPageLayout& layout) {
  double millimetresPerUnit = 1;
  switch (layout.units()) {
    case QPageLayout::Millimeter: millimetresPerUnit = 1; break;
    case QPageLayout::Point: millimetresPerUnit = 25.4 / 72; break;
    case QPageLayout::Inch: millimetresPerUnit = 25.4; break;
    case QPageLayout::Pica: millimetresPerUnit = 25.4 / 6; break;
    case QPageLayout::Didot: millimetresPerUnit = 0.375972; break;
    case QPageLayout::Cicero: millimetresPerUnit = 4.511664; break;
  }
  const QMarginsF minimum = layout.minimumMargins() * millimetresPerUnit;
  const QMarginsF margins = layout.margins() * millimetresPerUnit;
  return QPointF(minimum.left() - margins.left(), minimum.top() - margins.top());
}

class QtDocument : public PrintDocument {
 public:
  QtDocument(const QPrinterInfo& queue, QString title)
      : queue_(queue.printerName()),
        title_(std::move(title)),
        printer_(queue, QPrinter::HighResolution),
        metric_(printer_) {
    if (!folder_.isValid()) throw Failure(FailureKind::OtherIO);
    // The queue's own engine writes its PDF to this file instead of sending
    // it; a name without ".pdf" keeps that engine and so the queue's paper
    // and printable area.
    path_ = folder_.filePath(QStringLiteral("page"));
    printer_.setOutputFileName(path_);
    printer_.setDocName(title_);
  }

  QString Queue() const override { return queue_; }
  const TextMetric& Metric() const override { return metric_; }

  int Send(const PagePlan& plan) override {
    if (sent_) throw Failure(FailureKind::OtherIO);
    sent_ = true;
    plan.Check();
    Draw(plan);
    const QByteArray queue = queue_.toUtf8();
    const QByteArray file = path_.toLocal8Bit();
    const QByteArray title = title_.toUtf8();
    // No options: the queue's own defaults for paper, copies and the rest.
    const int job =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), file.constData(), title.constData(),
                       0, nullptr);
    if (job <= 0) throw Failure(FailureKind::OtherIO);
    return job;
  }

 private:
  void Draw(const PagePlan& plan) {
    const double dotsPerMmX = printer_.logicalDpiX() / 25.4;
    const double dotsPerMmY = printer_.logicalDpiY() / 25.4;
    const QPointF origin = PrintableOrigin(printer_.pageLayout());
    const auto deviceX = [&](double x) { return (x + origin.x()) * dotsPerMmX; };
    const auto deviceY = [&](double y) { return (y + origin.y()) * dotsPerMmY; };
    QPainter painter;
    if (!painter.begin(&printer_)) throw Failure(FailureKind::OtherIO);
    const QPen textPen(Qt::black);
    double ascent = 0;
    for (const Operation& operation : plan.Operations()) {
      if (const auto* font = std::get_if<SetFont>(&operation)) {
        const QFont chosen = PrintFont(font->name, font->points);
        painter.setFont(chosen);
        ascent = QFontMetricsF(chosen, &printer_).ascent();
      } else if (const auto* text = std::get_if<PutText>(&operation)) {
        if (text->text.isEmpty()) continue;
        painter.setPen(textPen);
        painter.drawText(QPointF(deviceX(text->x), deviceY(text->y) + ascent), text->text);
      } else if (const auto* line = std::get_if<DrawLine>(&operation)) {
        QPen pen(Qt::black);
        pen.setWidthF(line->dots * kMillimetresPerDot * dotsPerMmX);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawLine(QPointF(deviceX(line->x1), deviceY(line->y1)),
                         QPointF(deviceX(line->x2), deviceY(line->y2)));
      }
    }
    if (!painter.end() || printer_.printerState() == QPrinter::Error) {
      throw Failure(FailureKind::OtherIO);
    }
  }

  QString queue_;
  QString title_;
  QTemporaryDir folder_;
  QString path_;
  QPrinter printer_;
  PrinterMetric metric_;
  bool sent_ = false;
};

}  // namespace

std::unique_ptr<PrintDocument> QtPrinter::NewDocument(const QString& title) {
  // libcups' default, as the printer screen sets it (the user's own default
  // first, then the scheduler's).
  const QString name = platform::DefaultPrinter();
  if (name.isEmpty()) throw Failure(FailureKind::NoDefaultPrinter);
  const QPrinterInfo queue = QPrinterInfo::printerInfo(name);
  // A queue that Qt cannot see cannot be drawn for.
  if (queue.isNull()) throw Failure(FailureKind::OtherIO);
  return std::make_unique<QtDocument>(queue, title);
}

}  // namespace mirudanto::printing
