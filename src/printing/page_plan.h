#pragma once

#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

namespace mirudanto::printing {

// The printer layer of both print screens. Positions are millimetres from the
// top-left corner of the printer's printable area, x to the right, y down;
// font sizes are points; line widths are dots of a 600 dpi printer, so that a
// line weighs the same on every printer and in every PDF.
inline constexpr double kMillimetresPerPoint = 25.4 / 72.0;
inline constexpr double kMillimetresPerDot = 25.4 / 600.0;

// The face of every printed text: "MS 明朝" (ASCII M, S and blank), which the
// font substitutions serve with IPAMincho.
inline const QString kMincho = QStringLiteral("MS 明朝");

// The operations of one page, in the order they are drawn.

// The font of every later text and measurement, until set again.
struct SetFont {
  QString name;
  double points = 0;
  friend bool operator==(const SetFont&, const SetFont&) = default;
};

// A text exactly as given, its first character's top-left corner at (x, y):
// plain text, never rich text, no eliding, wrapping or mnemonics.
struct PutText {
  double x = 0;
  double y = 0;
  QString text;
  friend bool operator==(const PutText&, const PutText&) = default;
};

// A straight solid black line between two points, `dots` wide.
struct DrawLine {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
  int dots = 1;
  friend bool operator==(const DrawLine&, const DrawLine&) = default;
};

using Operation = std::variant<SetFont, PutText, DrawLine>;

// How wide a text prints, in millimetres, in a font at a size: the measure of
// the device that will draw the page.
class TextMetric {
 public:
  virtual ~TextMetric() = default;
  virtual double TextWidth(const QString& fontName, double points, const QString& text) const = 0;
};

// The deterministic metric of the recording backend: 0.5 em for U+0020 to
// U+007E and the half-width katakana (U+FF61 to U+FF9F), 1 em for every other
// character, 1 em being the size in millimetres (points × 25.4 / 72). The
// font name does not matter.
class FixedPitchMetric : public TextMetric {
 public:
  double TextWidth(const QString& fontName, double points, const QString& text) const override;
};

// The limits that every page is checked against before a job is opened.
inline constexpr double kLowestPosition = -32768;
inline constexpr double kHighestPosition = 32767;
inline constexpr double kLargestFontPoints = 2160;
inline constexpr int kWidestLineDots = 32767;

// "Plan, then render": a page is first written down as a list of operations,
// measured with the metric of the device that will draw it, and checked whole
// (Check) before any job is opened; only a checked plan is drawn. Building a
// plan never touches a printer.
class PagePlan {
 public:
  explicit PagePlan(const TextMetric& metric) : metric_(&metric) {}

  // The font of every later text and measurement.
  void SetFont(const QString& name, double points);
  // Keeps the font's name; fails (InvalidArgument) before any SetFont.
  void SetFontSize(double points);
  // The width of a text in the current font; fails (InvalidArgument) before
  // any SetFont.
  double TextWidth(const QString& text) const;
  // A text by its top-left corner, in the current font; an empty text is
  // still an operation (it draws nothing). Fails (InvalidArgument) before any
  // SetFont.
  void PutText(double x, double y, const QString& text);
  void DrawLine(double x1, double y1, double x2, double y2, int dots);

  // Every value within the limits: positions finite and within the 16-bit
  // range (Overflow otherwise), font names not empty, sizes above 0 and at
  // most 2160 points, line widths 1 to 32767 dots (InvalidArgument otherwise).
  // Throws the first failure found, in operation order.
  void Check() const;

  const std::vector<Operation>& Operations() const { return operations_; }
  bool HasFont() const { return !fontName_.isEmpty(); }
  const QString& FontName() const { return fontName_; }
  double FontPoints() const { return fontPoints_; }
  const TextMetric& Metric() const { return *metric_; }

 private:
  void RequireFont() const;

  const TextMetric* metric_;
  std::vector<Operation> operations_;
  QString fontName_;
  double fontPoints_ = 0;
};

// The print conventions of both print screens.

// Whether an amount takes its AmountNudge.
enum class Nudge { None, Apply };

// 2 mm below 1000, else 1 mm below 1,000,000, else 0 mm; signed, so zero and
// every negative amount get 2 mm.
double AmountNudge(std::int64_t amount);

// Places an amount in a column whose right reference is R, in the plan's
// current font: x = R − the width of its plain decimal text (digits, a leading
// minus sign when negative, no separators) + offsetX + its AmountNudge when
// nudged; the "#,###" text is put there at y. A zero amount prints nothing
// (its text is empty, so no operation is added), though its x is still
// computed. Returns that x.
double RightAlignedAmount(PagePlan& plan, double rightReference, double y, std::int64_t amount,
                          Nudge nudge, double offsetX = 0);

// A 16-bit number printed as a number: its digits, after a blank when it is not
// negative, after a minus sign otherwise.
QString NumberText(std::int16_t number);

}  // namespace mirudanto::printing
