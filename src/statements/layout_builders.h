#pragma once

#include "statements/entry_screen_layout.h"
#include "statements/grid_geometry.h"

namespace mirudanto::statements {

// The boxes and buttons of the screens are numbered: "Text<number>",
// "Command<number>".
QString BoxName(int number);
QString ButtonName(int number);

// What names a screen and its two verbs.
struct ScreenSkeleton {
  QString name;
  QString caption;
  QString loadButton;
  QString saveButton;
  QString loadTitle;
  QString saveTitle;
};
EntryScreenLayout NewEntryLayout(const ScreenSkeleton& skeleton);

// A grey heading box, centred, that no operation reads.
void AddHeading(EntryScreenLayout& layout, const QString& name, const QString& text, QRect twips,
                double fontPoints = 0);
// A left-aligned text cell.
BoxLayout& AddTextCell(EntryScreenLayout& layout, const QString& name, QRect twips,
                       const QString& initialText = QString(),
                       platform::InputMode mode = platform::InputMode::Hiragana);
// An amount cell or total box: right-aligned, starting as two ideographic
// spaces, which count as 0.
BoxLayout AmountBox(const QString& name, QRect twips);
BoxLayout& AddAmountCell(EntryScreenLayout& layout, const QString& name, QRect twips);
// A straight line, named "Line<n>" in the order the lines are added.
void AddLine(EntryScreenLayout& layout, QPoint from, QPoint to);
// A cell that holds no box, crossed from its lower left to its upper right
// corner, inset so that the rule stays inside its own cell.
void AddCrossedCell(EntryScreenLayout& layout, QRect cell);

// A cell cut in two side by side, the left part `leftWidth` wide, with the
// grid's gap between them.
std::pair<QRect, QRect> SplitCell(QRect cell, int leftWidth);

// The bottom line of every entry screen: "DATA", the clearing button, the
// hidden code box and the save button.
struct BottomLine {
  QRect load;
  QString clearButton;
  QRect clear;
  QStringList cleared;
  QRect codeBox;
  QString saveCaption;
  QRect save;
};
void AddBottomLine(EntryScreenLayout& layout, const BottomLine& line);

// A button that empties the given boxes, in this order.
void AddClearingButton(EntryScreenLayout& layout, const QString& name, const QString& caption,
                       QRect twips, const QStringList& boxes);
// A button that writes a fixed word into each given box: one word for all, or
// one per box.
void AddWordButton(EntryScreenLayout& layout, const QString& name, const QString& caption,
                   QRect twips, const QStringList& boxes, const QStringList& words);

// The total of values `first` to `last` of the target's own file.
TotalRule SumRule(ValueRef target, int first, int last);

}  // namespace mirudanto::statements
