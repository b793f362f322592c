#include "platform/controls.h"

#include <QPainter>
#include <algorithm>

#include "core/cp932.h"
#include "platform/desktop.h"

namespace mirudanto::platform {

void Paint(QWidget& widget, const QColor& colour, QPalette::ColorRole role) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

void StyleCaption(QLabel& label, double points, const QColor& colour) {
  QFont font = label.font();
  font.setPointSizeF(points);
  label.setFont(font);
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

QRect FromTwips(int left, int top, int width, int height) {
  return QRect(PixelsFromTwips(left), PixelsFromTwips(top), PixelsFromTwips(width),
               PixelsFromTwips(height));
}

int PixelsFromTwips(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

QString InputModeName(InputMode mode) {
  switch (mode) {
    case InputMode::Hiragana: return QStringLiteral("hiragana");
    case InputMode::Katakana: return QStringLiteral("katakana");
    case InputMode::Unchanged: break;
  }
  return QStringLiteral("unchanged");
}

TextBox::TextBox(QWidget* parent, const QString& name) : QLineEdit(parent) {
  setObjectName(name);
  setProperty("inputMode", InputModeName(mode_));
  connect(this, &QLineEdit::textEdited, this, &TextBox::OnEdited);
}

void TextBox::SetText(const QString& text) {
  accepted_ = text;
  setText(text);
  // QLineEdit leaves the caret at the end and scrolls there: a long bank
  // branch or address wider than its cell would show without its beginning.
  setCursorPosition(0);
}

void TextBox::SetInputMode(InputMode mode) {
  mode_ = mode;
  setProperty("inputMode", InputModeName(mode));
}

bool TextBox::RefusesCharacter(QChar c) {
  const char16_t u = c.unicode();
  if (u == '"' || u < 0x20 || (u >= 0x7F && u <= 0x9F)) return true;
  return c.isSurrogate() || !Cp932Holds(u);
}

void TextBox::OnEdited(const QString& text) {
  const auto refused = [](const QString& s) {
    return std::count_if(s.begin(), s.end(), &TextBox::RefusesCharacter);
  };
  // A text loaded from a file is never held against the user: only what the
  // edit brings in is judged.
  const bool bringsRefused = refused(text) > refused(accepted_);
  const bool growsPastLimit =
      typingLimit_ > 0 && text.size() > typingLimit_ && text.size() > accepted_.size();
  if (!bringsRefused && !growsPastLimit) {
    accepted_ = text;
    return;
  }
  qsizetype common = 0;
  while (common < text.size() && common < accepted_.size() && text[common] == accepted_[common]) {
    ++common;
  }
  setText(accepted_);
  setCursorPosition(static_cast<int>(common));
  Beep();
}

LineControl::LineControl(QWidget* parent, const QString& name, QPoint from, QPoint to, int width)
    : QWidget(parent), from_(from), to_(to), width_(width) {
  setObjectName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  const QRect bounds = QRect(from, to).normalized().adjusted(-width, -width, width, width);
  setGeometry(bounds);
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(palette().windowText().color(), width_));
  painter.drawLine(from_ - pos(), to_ - pos());
}

}  // namespace mirudanto::platform
