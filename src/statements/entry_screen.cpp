#include "statements/entry_screen.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <numeric>

#include "core/sequential_value_file.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/value_files.h"

namespace mirudanto::statements {
namespace {

void Resize(QWidget& widget, double points) {
  if (points <= 0) return;
  QFont font = widget.font();
  font.setPointSizeF(points);
  widget.setFont(font);
}

void Paint(QWidget& widget, const QColor& colour, QPalette::ColorRole role) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace

EntryScreen::EntryScreen(EntryScreenLayout layout)
    : Screen(layout.name, layout.caption), layout_(std::move(layout)) {
  held_ = EmptyFiles();
  for (const ButtonLayout& button : layout_.buttons) {
    switch (button.role) {
      case ButtonRole::Load:
        OnClick(button.name, [this] { LoadStatement(); });
        break;
      case ButtonRole::Save:
        OnClick(button.name, [this] { TotalAndSaveStatement(); });
        break;
      case ButtonRole::ClearBoxes:
        OnClick(button.name, [this, boxes = button.boxes] {
          for (const QString& box : boxes) Write(box, QString());
        });
        break;
      case ButtonRole::FillWord:
        OnClick(button.name, [this, boxes = button.boxes, words = button.words] {
          for (qsizetype k = 0; k < boxes.size(); ++k) {
            Write(boxes[k], words.size() == 1 ? words[0] : words[k]);
          }
        });
        break;
      case ButtonRole::Custom:
        break;
    }
  }
}

void EntryScreen::Build() {
  SetClientSizeTwips(layout_.clientTwips.width(), layout_.clientTwips.height());
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPointSizeF(layout_.fontPoints);
  SetWindowFont(font);

  for (const LabelLayout& label : layout_.labels) {
    AddLabel(label.name, label.caption, label.twips).setAlignment(label.alignment);
  }
  for (const LineLayout& line : layout_.lines) AddLine(line.name, line.from, line.to);
  for (const BoxLayout& layout : layout_.boxes) {
    platform::TextBox& box = AddTextBox(layout.name, layout.twips, layout.initialText);
    box.setAlignment(layout.style == BoxStyle::Heading ? Qt::AlignCenter : layout.alignment);
    box.SetInputMode(layout.inputMode);
    box.SetTypingLimit(layout.typingLimit);
    if (layout.style == BoxStyle::Heading) Paint(box, kHeadingGrey, QPalette::Base);
    if (layout.background) Paint(box, *layout.background, QPalette::Base);
    if (layout.style == BoxStyle::Hidden) box.setVisible(false);
    Resize(box, layout.fontPoints);
  }
  for (const ButtonLayout& layout : layout_.buttons) {
    QPushButton& button = AddButton(layout.name, layout.caption, layout.twips);
    if (layout.background) Paint(button, *layout.background, QPalette::Button);
    Resize(button, layout.fontPoints);
  }
}

HeldFiles EntryScreen::EmptyFiles() const {
  HeldFiles files;
  files.reserve(layout_.files.size());
  for (const FileLayout& file : layout_.files) files.emplace_back(file.values.size());
  return files;
}

void EntryScreen::ResetBoxesToInitialTexts() {
  for (const BoxLayout& box : layout_.boxes) {
    if (box.style == BoxStyle::Entry) Write(box.name, box.initialText);
  }
}

void EntryScreen::ReportOrThrow(const QString& title, const Failure& failure) {
  if (title.isEmpty()) throw failure;
  platform::ReportError(title, failure);
}

HeldFiles EntryScreen::ReadFiles(CompanyCode code) const {
  HeldFiles files = EmptyFiles();
  for (std::size_t f = 0; f < layout_.files.size(); ++f) {
    const FileLayout& layout = layout_.files[f];
    ValueReader reader = platform::OpenValueFile(PathOf(layout.file, code));
    for (std::size_t v = 0; v < layout.values.size(); ++v) {
      switch (layout.values[v].kind) {
        case ValueKind::Text: files[f][v].text = reader.ReadText(); break;
        case ValueKind::Amount: files[f][v].number = reader.ReadInt32(); break;
        case ValueKind::Number16: files[f][v].number = reader.ReadInt16(); break;
      }
    }
  }
  return files;
}

void EntryScreen::WriteFiles(CompanyCode code, const HeldFiles& files) const {
  // Every file is encoded before the first is written, so a text the files
  // cannot hold stops the save before anything changes on disk.
  std::vector<QByteArray> encoded;
  for (std::size_t f = 0; f < layout_.files.size(); ++f) {
    ValueWriter writer;
    const FileLayout& layout = layout_.files[f];
    for (std::size_t v = 0; v < layout.values.size(); ++v) {
      if (layout.values[v].kind == ValueKind::Text) {
        writer.WriteText(files[f][v].text);
      } else {
        writer.WriteNumber(files[f][v].number);
      }
    }
    encoded.push_back(writer.Encode());
  }
  for (std::size_t f = 0; f < layout_.files.size(); ++f) {
    platform::WriteFileAtomic(PathOf(layout_.files[f].file, code), encoded[f]);
  }
}

void EntryScreen::ShowValue(const FileValue& value, const HeldValue& held) {
  if (value.box.isEmpty()) return;
  switch (value.kind) {
    case ValueKind::Text: Write(value.box, held.text); break;
    case ValueKind::Amount: Write(value.box, FormatAmount(held.number)); break;
    case ValueKind::Number16: Write(value.box, QString::number(held.number)); break;
  }
}

void EntryScreen::ShowHeld(const HeldFiles& files) {
  for (std::size_t f = 0; f < layout_.files.size(); ++f) {
    const FileLayout& layout = layout_.files[f];
    for (std::size_t v = 0; v < layout.values.size(); ++v) ShowValue(layout.values[v], files[f][v]);
  }
}

void EntryScreen::Hold(CompanyCode code, HeldFiles files) {
  held_ = std::move(files);
  heldCode_ = code;
  heldValid_ = true;
}

void EntryScreen::LoadStatement() {
  CompanyCode code = 0;
  try {
    code = ReadCompanyCode16(Read(layout_.codeBox));
    BeforeRead(code);
    // Nothing is taken into the arrays or shown until every file is read whole.
    HeldFiles files = ReadFiles(code);
    Hold(code, std::move(files));
    ShowHeld(held_);
  } catch (const Failure& failure) {
    ReportOrThrow(layout_.loadTitle, failure);
  }
}

void EntryScreen::TotalAndSaveStatement() {
  CompanyCode code = 0;
  try {
    code = ReadCompanyCode16(Read(layout_.codeBox));
  } catch (const Failure& failure) {
    platform::ReportError(layout_.saveTitle, failure);
    return;
  }

  // Values without a box are written as the arrays hold them, but only when
  // the arrays belong to this company; otherwise as empty texts and zeros.
  HeldFiles files = heldValid_ && heldCode_ == code ? held_ : EmptyFiles();
  for (std::size_t f = 0; f < layout_.files.size(); ++f) {
    const FileLayout& layout = layout_.files[f];
    for (std::size_t v = 0; v < layout.values.size(); ++v) {
      const FileValue& value = layout.values[v];
      if (value.box.isEmpty()) continue;
      if (value.kind == ValueKind::Text) {
        files[f][v].text = Read(value.box);
      } else if (value.kind == ValueKind::Amount) {
        files[f][v].number = ReadAmountCell(Read(value.box));
      }
    }
  }

  try {
    CaptureExtra(files);
    // All totals are worked out, wide, before any is shown or written.
    std::vector<Amount> totals;
    for (const TotalRule& rule : layout_.totals) {
      AmountSum sum;
      for (const ValueRef& ref : rule.plus) sum.Add(files[ref.file][ref.number - 1].number);
      for (const ValueRef& ref : rule.minus) sum.Subtract(files[ref.file][ref.number - 1].number);
      const Amount total = sum.Value();
      files[rule.target.file][rule.target.number - 1].number = total;
      totals.push_back(total);
    }
    for (std::size_t t = 0; t < totals.size(); ++t) {
      const ValueRef& target = layout_.totals[t].target;
      const FileValue& value = layout_.files[target.file].values[target.number - 1];
      if (!value.box.isEmpty()) Write(value.box, FormatAmount(totals[t]));
    }
    WriteFiles(code, files);
  } catch (const Failure& failure) {
    // What was typed stays on the screen; no reload, no beep.
    platform::ReportError(layout_.saveTitle, failure);
    return;
  }

  Hold(code, std::move(files));
  AfterWrite();
  Press(layout_.loadButton);
  platform::Beep();
}

BoxLayout AmountBox(const QString& name, QRect twips) {
  return {name, twips, QStringLiteral("　　"), BoxStyle::Entry, Qt::AlignRight};
}

TotalRule SumRule(ValueRef target, int first, int last) {
  TotalRule rule{target, {}, {}};
  for (int number = first; number <= last; ++number) rule.plus.push_back({target.file, number});
  return rule;
}

GridGeometry::GridGeometry(int left, int top, int rowHeight, std::vector<int> columnWidths,
                           int gap)
    : left_(left), top_(top), rowHeight_(rowHeight), widths_(std::move(columnWidths)), gap_(gap) {}

int GridGeometry::ColumnLeft(int column) const {
  int x = left_;
  for (int c = 0; c < column; ++c) x += widths_[static_cast<std::size_t>(c)] + gap_;
  return x;
}

QRect GridGeometry::Cell(int row, int column) const {
  return QRect(ColumnLeft(column), top_ + row * rowHeight_,
               widths_[static_cast<std::size_t>(column)], rowHeight_);
}

QRect GridGeometry::Span(int row, int firstColumn, int lastColumn) const {
  const int x = ColumnLeft(firstColumn);
  const int right = ColumnLeft(lastColumn) + widths_[static_cast<std::size_t>(lastColumn)];
  return QRect(x, top_ + row * rowHeight_, right - x, rowHeight_);
}

int GridGeometry::Right() const { return ColumnLeft(static_cast<int>(widths_.size())) - gap_; }

int GridGeometry::Bottom(int rows) const { return top_ + rows * rowHeight_; }

}  // namespace mirudanto::statements
