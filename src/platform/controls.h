#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>

namespace mirudanto::platform {

// Positions given in twips (1440 to the inch) become pixels at 96 dpi.
constexpr int kTwipsPerPixel = 15;
QRect FromTwips(int left, int top, int width, int height);
int PixelsFromTwips(int twips);

// The colours the screens mark their boxes and buttons with.
inline const QColor kHeadingGrey(224, 224, 224);
inline const QColor kLightCyan(192, 255, 255);
inline const QColor kLightMagenta(255, 192, 255);
inline const QColor kLightYellow(255, 255, 192);
inline const QColor kLightRed(255, 192, 192);
inline const QColor kPink(255, 192, 203);

// Colours a control: its box (QPalette::Base) or its face (QPalette::Button).
void Paint(QWidget& widget, const QColor& colour, QPalette::ColorRole role = QPalette::Base);

// The mode the Japanese input method takes when a box gets the focus. Linux
// offers no way to set an input method's mode, so the mode is kept on the box
// (property "inputMode") and switching does nothing.
enum class InputMode { Unchanged, Hiragana, Katakana };
QString InputModeName(InputMode mode);

// A label's caption at a size of its own and in a colour.
void StyleCaption(QLabel& label, double points, const QColor& colour);

// A single-line text box. What the user types or pastes is refused, with a
// beep, when it brings in a character the data files cannot hold (a double
// quote, a control character, anything cp932 does not give back unchanged) or
// grows the text past the typing limit; texts set by the program are taken
// whole and never cut.
class TextBox : public QLineEdit {
  Q_OBJECT

 public:
  TextBox(QWidget* parent, const QString& name);

  // Takes the text whole and shows it from its first character.
  void SetText(const QString& text);
  QString Text() const { return text(); }

  void SetInputMode(InputMode mode);
  InputMode Mode() const { return mode_; }

  // Characters the user may type in; 0 for no limit.
  void SetTypingLimit(int characters) { typingLimit_ = characters; }
  int TypingLimit() const { return typingLimit_; }

  // True for a character the user may not bring into any box.
  static bool RefusesCharacter(QChar c);

 private:
  void OnEdited(const QString& text);

  QString accepted_;
  InputMode mode_ = InputMode::Unchanged;
  int typingLimit_ = 0;
};

// A straight line between two points of its screen.
class LineControl : public QWidget {
  Q_OBJECT

 public:
  LineControl(QWidget* parent, const QString& name, QPoint from, QPoint to, int width = 1);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPoint from_;
  QPoint to_;
  int width_;
};

}  // namespace mirudanto::platform
