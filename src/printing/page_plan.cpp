#include "printing/page_plan.h"

#include <QList>
#include <cmath>

#include "core/amount.h"
#include "core/failure.h"

namespace mirudanto::printing {
namespace {

bool IsHalfWidth(char32_t c) { return (c >= 0x20 && c <= 0x7E) || (c >= 0xFF61 && c <= 0xFF9F); }

void CheckPosition(double value) {
  if (!std::isfinite(value) || value < kLowestPosition || value > kHighestPosition) {
    throw Failure(FailureKind::Overflow);
  }
}

void CheckFont(const QString& name, double points) {
  if (name.isEmpty() || !std::isfinite(points) || points <= 0 || points > kLargestFontPoints) {
    throw Failure(FailureKind::InvalidArgument);
  }
}

}  // namespace

double FixedPitchMetric::TextWidth(const QString&, double points, const QString& text) const {
  double ems = 0;
  for (const char32_t c : text.toUcs4()) ems += IsHalfWidth(c) ? 0.5 : 1.0;
  return ems * points * kMillimetresPerPoint;
}

void PagePlan::SetFont(const QString& name, double points) {
  fontName_ = name;
  fontPoints_ = points;
  operations_.emplace_back(printing::SetFont{name, points});
}

void PagePlan::SetFontSize(double points) {
  RequireFont();
  SetFont(fontName_, points);
}

double PagePlan::TextWidth(const QString& text) const {
  RequireFont();
  return metric_->TextWidth(fontName_, fontPoints_, text);
}

void PagePlan::PutText(double x, double y, const QString& text) {
  RequireFont();
  operations_.emplace_back(printing::PutText{x, y, text});
}

void PagePlan::DrawLine(double x1, double y1, double x2, double y2, int dots) {
  operations_.emplace_back(printing::DrawLine{x1, y1, x2, y2, dots});
}

void PagePlan::RequireFont() const {
  if (fontName_.isEmpty()) throw Failure(FailureKind::InvalidArgument);
}

void PagePlan::Check() const {
  for (const Operation& operation : operations_) {
    if (const auto* font = std::get_if<printing::SetFont>(&operation)) {
      CheckFont(font->name, font->points);
    } else if (const auto* text = std::get_if<printing::PutText>(&operation)) {
      CheckPosition(text->x);
      CheckPosition(text->y);
    } else if (const auto* line = std::get_if<printing::DrawLine>(&operation)) {
      CheckPosition(line->x1);
      CheckPosition(line->y1);
      CheckPosition(line->x2);
      CheckPosition(line->y2);
      if (line->dots < 1 || line->dots > kWidestLineDots) {
        throw Failure(FailureKind::InvalidArgument);
      }
    }
  }
}

double AmountNudge(std::int64_t amount) {
  if (amount < 1000) return 2;
  if (amount < 1000000) return 1;
  return 0;
}

double RightAlignedAmount(PagePlan& plan, double rightReference, double y, std::int64_t amount,
                          Nudge nudge, double offsetX) {
  const double width = plan.TextWidth(QString::number(amount));
  double x = rightReference - width + offsetX;
  if (nudge == Nudge::Apply) x += AmountNudge(amount);
  const QString text = FormatWideAmount(amount);
  if (!text.isEmpty()) plan.PutText(x, y, text);
  return x;
}

QString NumberText(std::int16_t number) {
  return number < 0 ? QString::number(number) : QChar(' ') + QString::number(number);
}

}  // namespace mirudanto::printing
