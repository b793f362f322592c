#pragma once

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <map>

#include "platform/screen.h"
#include "statements/entry_screen.h"

namespace mirudanto::testing {

// The widest text of an amount, and the room an amount cell or total box
// keeps beside it, so that a slightly wider face does not cut a digit.
inline const QString kWidestAmount = QStringLiteral("-2,147,483,648");
constexpr int kAmountSparePixels = 2;

// The largest window a screen may have: the smallest display it must fit.
inline const QSize kSmallestDisplay(1024, 768);

// The width and height that a line edit gives its text: the contents rectangle
// of the style, less the text margins and the two pixels QLineEdit keeps on
// each side.
inline QSize LineEditTextRoom(const QLineEdit& box) {
  QStyleOptionFrame option;
  option.initFrom(&box);
  option.rect = box.rect();
  option.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                               &option, &box)
                                    : 0;
  const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box)
                             .marginsRemoved(box.textMargins());
  return QSize(contents.width() - 2 * 2, contents.height());
}

inline QSize ButtonTextRoom(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.rect = button.rect();
  option.text = button.text();
  return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).size();
}

// The window of the shown screen fits the smallest display, every visible
// control lies inside it, no two overlap, and no text is cut: the text of
// every box and the caption of every button, and the longest texts a box or
// button must also show (`worst`, by control name). On an entry screen every
// amount cell and total box is given the widest amount, which it must show
// with room to spare. A screen laid out with neighbours that share their
// border line, and rules drawn along borders, allows overlaps a few pixels
// thin (`sharedBorders`): the border, as the twips round to pixels, and a
// rule's own width.
inline void ExpectNothingOverlapsOrIsClipped(platform::Screen& screen,
                                             const std::map<QString, QStringList>& worst = {},
                                             bool sharedBorders = false) {
  QWidget& window = screen.Window();
  ASSERT_TRUE(window.isVisible());
  const std::string screenName = screen.Name().toStdString();
  EXPECT_LE(window.frameGeometry().width(), kSmallestDisplay.width()) << screenName << " is too wide";
  EXPECT_LE(window.frameGeometry().height(), kSmallestDisplay.height())
      << screenName << " is too high";
  QStringList amountBoxes;
  if (const auto* entry = dynamic_cast<const statements::EntryScreen*>(&screen)) {
    amountBoxes = entry->Layout().AmountBoxes();
    for (const QString& box : amountBoxes) screen.Write(box, kWidestAmount);
  }
  const QList<QWidget*> controls =
      window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (qsizetype i = 0; i < controls.size(); ++i) {
    QWidget* control = controls[i];
    if (control->isHidden()) continue;
    const std::string name = control->objectName().toStdString();
    EXPECT_TRUE(window.rect().contains(control->geometry())) << name << " leaves the window";
    for (qsizetype j = i + 1; j < controls.size(); ++j) {
      if (controls[j]->isHidden()) continue;
      const QRect overlap = control->geometry().intersected(controls[j]->geometry());
      constexpr int kBorderPixels = 3;
      const bool border = sharedBorders && (overlap.width() <= kBorderPixels ||
                                            overlap.height() <= kBorderPixels);
      EXPECT_TRUE(overlap.isEmpty() || border)
          << name << " overlaps " << controls[j]->objectName().toStdString() << " by " << overlap.width() << "x" << overlap.height();
    }

    QStringList texts;
    QSize room;
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
      texts.append(box->text());
      room = LineEditTextRoom(*box);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
      texts.append(button->text());
      room = ButtonTextRoom(*button);
    } else {
      continue;
    }
    if (const auto found = worst.find(control->objectName()); found != worst.end()) {
      texts += found->second;
    }
    const QFontMetrics metrics(control->font());
    EXPECT_LE(metrics.height(), room.height()) << name << " is too low for its font";
    const int spare = amountBoxes.contains(control->objectName()) ? kAmountSparePixels : 0;
    for (const QString& text : texts) {
      EXPECT_LE(metrics.horizontalAdvance(text) + spare, room.width())
          << name << " cuts \"" << text.toStdString() << "\""
          << (spare > 0 ? " or keeps too little room beside it" : "");
    }
  }
}

}  // namespace mirudanto::testing
