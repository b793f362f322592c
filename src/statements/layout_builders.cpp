#include "statements/layout_builders.h"

namespace mirudanto::statements {

QString BoxName(int number) { return QStringLiteral("Text%1").arg(number); }

QString ButtonName(int number) { return QStringLiteral("Command%1").arg(number); }

EntryScreenLayout NewEntryLayout(const ScreenSkeleton& skeleton) {
  EntryScreenLayout layout;
  layout.name = skeleton.name;
  layout.caption = skeleton.caption;
  layout.loadButton = skeleton.loadButton;
  layout.saveButton = skeleton.saveButton;
  layout.loadTitle = skeleton.loadTitle;
  layout.saveTitle = skeleton.saveTitle;
  return layout;
}

void AddHeading(EntryScreenLayout& layout, const QString& name, const QString& text, QRect twips,
                double fontPoints) {
  BoxLayout box{name, twips, text, BoxStyle::Heading};
  box.fontPoints = fontPoints;
  layout.boxes.push_back(box);
}

BoxLayout& AddTextCell(EntryScreenLayout& layout, const QString& name, QRect twips,
                       const QString& initialText, platform::InputMode mode) {
  return layout.boxes.emplace_back(
      BoxLayout{name, twips, initialText, BoxStyle::Entry, Qt::AlignLeft, mode});
}

BoxLayout AmountBox(const QString& name, QRect twips) {
  return {name, twips, QStringLiteral("　　"), BoxStyle::Entry, Qt::AlignRight};
}

BoxLayout& AddAmountCell(EntryScreenLayout& layout, const QString& name, QRect twips) {
  return layout.boxes.emplace_back(AmountBox(name, twips));
}

void AddLine(EntryScreenLayout& layout, QPoint from, QPoint to) {
  const int number = static_cast<int>(layout.lines.size()) + 1;
  layout.lines.push_back({QStringLiteral("Line%1").arg(number), from, to});
}

void AddCrossedCell(EntryScreenLayout& layout, QRect cell) {
  constexpr int kInset = 30;
  AddLine(layout, QPoint(cell.left() + kInset, cell.top() + cell.height() - kInset),
          QPoint(cell.left() + cell.width() - kInset, cell.top() + kInset));
}

std::pair<QRect, QRect> SplitCell(QRect cell, int leftWidth) {
  constexpr int kGap = 15;
  return {QRect(cell.left(), cell.top(), leftWidth, cell.height()),
          QRect(cell.left() + leftWidth + kGap, cell.top(), cell.width() - leftWidth - kGap,
                cell.height())};
}

void AddBottomLine(EntryScreenLayout& layout, const BottomLine& line) {
  layout.clearButton = line.clearButton;
  layout.buttons.push_back({layout.loadButton, QStringLiteral("DATA"), line.load, ButtonRole::Load});
  AddClearingButton(layout, line.clearButton, QStringLiteral("クリア"), line.clear, line.cleared);
  layout.boxes.push_back({layout.codeBox, line.codeBox, QString(), BoxStyle::Hidden});
  layout.buttons.push_back({layout.saveButton, line.saveCaption, line.save, ButtonRole::Save});
}

void AddClearingButton(EntryScreenLayout& layout, const QString& name, const QString& caption,
                       QRect twips, const QStringList& boxes) {
  layout.buttons.push_back({name, caption, twips, ButtonRole::ClearBoxes, boxes});
}

void AddWordButton(EntryScreenLayout& layout, const QString& name, const QString& caption,
                   QRect twips, const QStringList& boxes, const QStringList& words) {
  layout.buttons.push_back({name, caption, twips, ButtonRole::FillWord, boxes, words});
}

TotalRule SumRule(ValueRef target, int first, int last) {
  TotalRule rule{target, {}, {}};
  for (int number = first; number <= last; ++number) rule.plus.push_back({target.file, number});
  return rule;
}

}  // namespace mirudanto::statements
