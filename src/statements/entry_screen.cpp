#include "statements/entry_screen.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

#include "core/amount.h"
#include "core/sequential_value_file.h"
#include "platform/desktop.h"
#include "platform/file_transaction.h"
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

void PressOther(const std::optional<ButtonRef>& button) {
  if (button) platform::ScreenNamed(button->screen).Press(button->button);
}

QString Displayed(Display display, const HeldValue& held) {
  switch (display) {
    case Display::Text: return held.text;
    case Display::Amount: return FormatAmount(held.number);
    case Display::Digits: return QString::number(held.number);
  }
  return held.text;
}

}  // namespace

EntryScreen::EntryScreen(EntryScreenLayout layout)
    : Screen(layout.name, layout.caption), layout_(std::move(layout)), held_(layout_.files) {
  for (const ButtonLayout& button : layout_.buttons) {
    switch (button.role) {
      case ButtonRole::Load:
        OnClick(button.name, [this] { LoadStatement(); });
        break;
      case ButtonRole::Save:
        OnClick(button.name, [this] { TotalAndSaveStatement(); });
        break;
      case ButtonRole::ClearBoxes:
        OnClick(button.name, [this, boxes = button.boxes, then = button.thenPress] {
          for (const QString& box : boxes) Write(box, QString());
          PressOther(then);
        });
        break;
      case ButtonRole::FillWord:
        OnClick(button.name, [this, boxes = button.boxes, words = button.words,
                              then = button.thenPress] {
          for (qsizetype k = 0; k < boxes.size(); ++k) {
            Write(boxes[k], words.size() == 1 ? words[0] : words[k]);
          }
          PressOther(then);
        });
        break;
      case ButtonRole::Capture: {
        std::vector<ValueRef> values;
        for (const QString& box : button.boxes) values.push_back(layout_.ValueOfBox(box));
        OnClick(button.name, [this, values, totals = button.capturesTotals] {
          CaptureWithoutSaving(values, totals);
        });
        break;
      }
      case ButtonRole::Press:
        OnClick(button.name, [then = button.thenPress] { PressOther(then); });
        break;
      case ButtonRole::Custom:
        break;
    }
  }
}

ScreenContract EntryScreen::Contract() const {
  ScreenContract contract{layout_.codeBox, layout_.loadButton, layout_.clearButton,
                          layout_.saveButton, {}};
  for (const FileLayout& file : layout_.files) contract.files.push_back(file.file);
  return contract;
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
    if (layout.style == BoxStyle::Heading) platform::Paint(box, kHeadingGrey, QPalette::Base);
    if (layout.background) platform::Paint(box, *layout.background, QPalette::Base);
    if (layout.style == BoxStyle::Hidden) box.setVisible(false);
    Resize(box, layout.fontPoints);
  }
  for (const ButtonLayout& layout : layout_.buttons) {
    QPushButton& button = AddButton(layout.name, layout.caption, layout.twips);
    if (layout.background) platform::Paint(button, *layout.background, QPalette::Button);
    Resize(button, layout.fontPoints);
    if (layout.hidden) button.setVisible(false);
  }
}

void EntryScreen::FormLoad() { ApplyFocusOrder(); }

void EntryScreen::ApplyFocusOrder() {
  if (!layout_.focusOrder.isEmpty()) {
    SetFocusOrder(layout_.focusOrder);
    SetOpeningFocus(layout_.openingFocus.isEmpty() ? layout_.focusOrder.front()
                                                   : layout_.openingFocus);
    return;
  }
  for (const BoxLayout& box : layout_.boxes) {
    if (box.style == BoxStyle::Heading) PassByOnTab(box.name);
  }
  const QStringList order = ControlsInReadingOrder();
  SetFocusOrder(order);
  if (!layout_.openingFocus.isEmpty()) {
    SetOpeningFocus(layout_.openingFocus);
    return;
  }
  for (const QString& name : order) {
    if (qobject_cast<platform::TextBox*>(&Control(name)) != nullptr) {
      SetOpeningFocus(name);
      return;
    }
  }
}

void EntryScreen::ResetBoxesToInitialTexts() {
  for (const BoxLayout& box : layout_.boxes) {
    if (box.style == BoxStyle::Entry) Write(box.name, box.initialText);
  }
}

void EntryScreen::ReadFile(const FileLayout& file, CompanyCode code, HeldFiles& into) const {
  std::vector<HeldValue>& values = into.Of(file.file.role);
  platform::ReadValueFile(PathOf(file.file, code), [&](ValueReader& reader) {
    for (std::size_t v = 0; v < file.values.size(); ++v) {
      switch (file.values[v].kind) {
        case ValueKind::Text: values[v].text = reader.ReadText(); break;
        case ValueKind::Amount: values[v].number = reader.ReadInt32(); break;
        case ValueKind::Number16: values[v].number = reader.ReadInt16(); break;
      }
    }
  });
}

void EntryScreen::WriteFiles(CompanyCode code, const HeldFiles& files,
                             QString& refusedBox) const {
  // Every file is encoded before the first is written, so a text the files
  // cannot hold stops the save before anything changes on disk.
  std::vector<platform::FileContent> contents;
  for (const FileLayout& file : layout_.files) {
    ValueWriter writer;
    const std::vector<HeldValue>& values = files.Of(file.file.role);
    for (std::size_t v = 0; v < file.values.size(); ++v) {
      if (file.values[v].kind == ValueKind::Text) {
        if (!IsStorableText(values[v].text)) {
          refusedBox = file.values[v].box;
          throw Failure(FailureKind::UnstorableText);
        }
        writer.WriteText(values[v].text);
      } else {
        writer.WriteNumber(values[v].number);
      }
    }
    contents.push_back({PathOf(file.file, code), writer.Encode()});
  }
  platform::WriteFilesTogether(contents);
}

bool EntryScreen::IsRecomputedTotal(FileRole role, std::size_t index) const {
  for (const TotalRule& rule : layout_.totals) {
    if (rule.unstoredBox.isEmpty() && rule.target.file == role &&
        rule.target.number == static_cast<int>(index) + 1) {
      return true;
    }
  }
  return false;
}

void EntryScreen::CaptureBoxes(HeldFiles& files, QString& refusedBox) {
  for (const FileLayout& file : layout_.files) {
    std::vector<HeldValue>& values = files.Of(file.file.role);
    for (std::size_t v = 0; v < file.values.size(); ++v) {
      const FileValue& value = file.values[v];
      // A total's box shows the last total; the save works it out anew.
      if (value.box.isEmpty() || IsRecomputedTotal(file.file.role, v)) continue;
      try {
        TakeFromBox(value, values[v]);
      } catch (const Failure&) {
        refusedBox = value.box;
        throw;
      }
    }
  }
}

void EntryScreen::ShowIn(const QString& box, Display display, const HeldValue& held) {
  if (!box.isEmpty()) Write(box, Displayed(display, held));
}

void EntryScreen::ShowValue(const FileValue& value, const HeldValue& held) {
  ShowIn(value.box, DisplayOf(value), held);
}

void EntryScreen::ShowFile(const FileLayout& file, const HeldFiles& files, bool skipRecomputed) {
  const std::vector<HeldValue>& values = files.Of(file.file.role);
  for (std::size_t v = 0; v < file.values.size(); ++v) {
    if (skipRecomputed && IsRecomputedTotal(file.file.role, v)) continue;
    ShowValue(file.values[v], values[v]);
  }
}

void EntryScreen::ShowValues(const HeldFiles& files) {
  // The amounts first, then the other files in their order.
  for (const FileLayout& file : layout_.files) {
    if (file.file.role == FileRole::Amounts) ShowFile(file, files, false);
  }
  for (const FileLayout& file : layout_.files) {
    if (file.file.role != FileRole::Amounts) ShowFile(file, files, false);
  }
}

std::vector<std::int32_t> EntryScreen::WorkOutTotals(HeldFiles& files) const {
  std::vector<std::int32_t> totals;
  for (const TotalRule& rule : layout_.totals) {
    AmountSum sum;
    for (const ValueRef& ref : rule.plus) sum.Add(files[ref].number);
    for (const ValueRef& ref : rule.minus) sum.Subtract(files[ref].number);
    const Amount total = sum.Value();
    if (rule.unstoredBox.isEmpty()) files[rule.target].number = total;
    totals.push_back(total);
  }
  return totals;
}

void EntryScreen::ShowTotals(const std::vector<std::int32_t>& totals, bool asSaved) {
  for (std::size_t t = 0; t < totals.size(); ++t) {
    const TotalRule& rule = layout_.totals[t];
    const HeldValue total{QString(), totals[t]};
    if (!rule.unstoredBox.isEmpty()) {
      ShowIn(rule.unstoredBox, asSaved ? rule.shownAs : Display::Amount, total);
      continue;
    }
    const FileValue& value = layout_.ValueAt(rule.target);
    ShowIn(value.box, asSaved ? rule.shownAs : DisplayOf(value), total);
  }
}

void EntryScreen::Carry(const std::vector<CarriedValue>& carried, const HeldFiles& files) {
  for (const CarriedValue& value : carried) {
    platform::ScreenNamed(value.screen).Write(value.box, FormatAmount(files[value.value].number));
  }
}

void EntryScreen::Hold(CompanyCode code, HeldFiles files) {
  held_ = std::move(files);
  heldCode_ = code;
  heldValid_ = true;
}

void EntryScreen::TakeFromBox(const FileValue& value, HeldValue& into) {
  const QString text = Read(value.box);
  switch (value.kind) {
    case ValueKind::Text: into.text = text; break;
    // As the save reads it: a typed text that is no number, or a number
    // beyond 32 bits, fails rather than be stored as some other figure.
    case ValueKind::Amount: into.number = ReadAmountCellForSave(text, value.nonNumber); break;
    case ValueKind::Number16:
      into.number = ReadTypedNumber(text, NumberWidth::Bits16).value_or(value.fallback);
      break;
  }
}

bool EntryScreen::MayOverwrite(CompanyCode code) const {
  if (!lastLoadFailure_ || lastLoadCode_ != code) return true;
  // Files that do not exist yet hold nothing the save could destroy.
  const bool anyExists = std::any_of(layout_.files.begin(), layout_.files.end(),
                                     [code](const FileLayout& file) {
                                       return platform::FileMayExist(PathOf(file.file, code));
                                     });
  return !anyExists || platform::ConfirmBox(QStringLiteral("書き換えますか"));
}

void EntryScreen::RunBeforeSaving(const std::function<void()>& operation) {
  try {
    if (!MayOverwrite(ReadCompanyCode16(Read(layout_.codeBox)))) return;
  } catch (const Failure&) {
    // A code that does not convert: the save reports it when it is pressed.
  }
  overwriteAnswered_ = true;
  struct Answered {
    bool& flag;
    ~Answered() { flag = false; }
  } answered{overwriteAnswered_};
  operation();
}

void EntryScreen::CaptureWithoutSaving(const std::vector<ValueRef>& values, bool totals) {
  // Taken into a copy, so that the values change only as a whole.
  HeldFiles files = held_;
  for (const ValueRef& ref : values) TakeFromBox(layout_.ValueAt(ref), files[ref]);
  CaptureExtra(files);
  if (totals) {
    HeldFiles worked = files;
    try {
      const std::vector<std::int32_t> sums = WorkOutTotals(worked);
      files = std::move(worked);
      ShowTotals(sums, false);
    } catch (const Failure& failure) {
      // Shown only: the next save refuses such a total itself.
      if (failure.Kind() != FailureKind::Overflow) throw;
    }
  }
  held_ = std::move(files);
}

void EntryScreen::LoadStatement() {
  bool codeRead = false;
  lastLoadCode_.reset();
  try {
    const CompanyCode code = ReadCompanyCode16(Read(layout_.codeBox));
    codeRead = true;
    lastLoadCode_ = code;
    if (!layout_.clearBeforeRead.isEmpty()) Press(layout_.clearBeforeRead);
    // The files as one save left them, not halfway through another copy's.
    const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
    // Nothing is taken into the values or shown until every file is read whole.
    HeldFiles files(layout_.files);
    for (const FileLayout& file : layout_.files) {
      if (file.readAfterShowing) {
        // Until it is read whole, such a file's values stay as they were.
        files.Of(file.file.role) = held_.Of(file.file.role);
      } else {
        ReadFile(file, code, files);
      }
    }
    Hold(code, std::move(files));
    Carry(layout_.carriedOnLoad, held_);

    const bool recompute = layout_.totalsOnLoad == TotalsOnLoad::Recomputed;
    for (const FileLayout& file : layout_.files) {
      if (file.file.role == FileRole::Amounts && !file.readAfterShowing) {
        ShowFile(file, held_, recompute);
      }
    }
    if (recompute) {
      // A total beyond 32 bits stops the load here, before it is shown.
      HeldFiles worked = held_;
      const std::vector<std::int32_t> totals = WorkOutTotals(worked);
      held_ = std::move(worked);
      ShowTotals(totals, false);
    }
    for (const FileLayout& file : layout_.files) {
      if (file.file.role != FileRole::Amounts && !file.readAfterShowing) {
        ShowFile(file, held_, false);
      }
    }
    ShowExtra(held_);
    for (const FileLayout& file : layout_.files) {
      if (!file.readAfterShowing) continue;
      HeldFiles late = held_;
      ReadFile(file, code, late);
      held_ = std::move(late);
      ShowFile(file, held_, false);
    }
    lastLoadFailure_.reset();
  } catch (const Failure& failure) {
    lastLoadFailure_ = failure;
    // A screen that empties itself before it reads stays empty, whatever the
    // load had shown before it stopped.
    if (codeRead && !layout_.clearBeforeRead.isEmpty()) Press(layout_.clearBeforeRead);
    switch (layout_.loadFailure) {
      case LoadFailureEnd::HandOn: throw;
      case LoadFailureEnd::ReportAndReset:
        if (codeRead) {
          heldValid_ = false;
          ResetBoxesToInitialTexts();
        }
        break;
      case LoadFailureEnd::Report: break;
    }
    platform::ReportError(layout_.loadTitle, failure);
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
  if (!overwriteAnswered_ && !MayOverwrite(code)) return;

  // Values without a box are written as the screen holds them, but only when
  // they belong to this company; otherwise as empty texts and zeros.
  HeldFiles files = heldValid_ && heldCode_ == code ? held_ : HeldFiles(layout_.files);
  QString refusedBox;
  try {
    CaptureBoxes(files, refusedBox);
    CaptureExtra(files);
    // All totals are worked out, wide, before any is shown or written.
    const std::vector<std::int32_t> totals = WorkOutTotals(files);
    ShowTotals(totals, true);
    WriteFiles(code, files, refusedBox);
  } catch (const Failure& failure) {
    // What was typed stays on the screen; no reload, no beep. The box that
    // stopped the save is shown to the user, who may not see what is wrong
    // with it (a character from a damaged file shows as nothing).
    platform::ReportError(layout_.saveTitle, failure);
    if (!refusedBox.isEmpty()) FocusAndSelect(refusedBox);
    return;
  }

  // Another screen is given only totals that the files now hold.
  Carry(layout_.carriedOnSave, files);
  Hold(code, std::move(files));
  AfterWrite();
  try {
    Press(layout_.loadButton);
  } catch (const Failure& failure) {
    // A load that hands its failures on fails the save: no beep.
    platform::ReportError(layout_.saveTitle, failure);
    return;
  }
  platform::Beep();
}

}  // namespace mirudanto::statements
