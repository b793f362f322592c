#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/amount.h"
#include "core/statement_files.h"
#include "platform/controls.h"

namespace mirudanto::statements {

// What one value of a statement file is, and the box that shows it.
enum class ValueKind { Text, Amount, Number16 };

// How a value or a total is written into its box: as the text it is, with
// FormatAmount, or as plain decimal digits (a zero as "0").
enum class Display { Text, Amount, Digits };

struct FileValue {
  ValueKind kind = ValueKind::Text;
  QString box;  // empty: the value has no box and is kept in the screen's values only
  // How a load shows it; by default texts as stored, amounts with
  // FormatAmount, 16-bit numbers as digits.
  std::optional<Display> display;
  // What a save stores for a 16-bit number whose box is empty or blank.
  std::int16_t fallback = 0;
  // What an amount whose box holds a text that is no number counts as when
  // the box is taken; a box that no user types into may say 0.
  NonNumber nonNumber = NonNumber::Refused;
};
Display DisplayOf(const FileValue& value);

// One file of the screen, its values in file order.
struct FileLayout {
  StatementFile file;
  std::vector<FileValue> values;
  // Read only once the other files are shown, so its failure leaves them shown.
  bool readAfterShowing = false;
};

// A value of the screen's files: the file by its role and the value's number
// counted from 1, as the files are documented.
struct ValueRef {
  FileRole file = FileRole::Text;
  int number = 1;
};

// A total: the sum of `plus` less the sum of `minus`. The save works it out,
// stores it at `target` and shows it in the target's box; a total with an
// `unstoredBox` is only shown there. Totals are worked out in the order
// given, so a later one may add up earlier ones.
struct TotalRule {
  ValueRef target;
  std::vector<ValueRef> plus;
  std::vector<ValueRef> minus;
  Display shownAs = Display::Amount;  // how the save shows it
  QString unstoredBox;
};

enum class BoxStyle { Entry, Heading, Hidden };

struct BoxLayout {
  QString name;
  QRect twips;
  QString initialText;
  BoxStyle style = BoxStyle::Entry;
  Qt::Alignment alignment = Qt::AlignLeft;
  platform::InputMode inputMode = platform::InputMode::Unchanged;
  int typingLimit = 0;
  std::optional<QColor> background;
  double fontPoints = 0;  // 0: the window's font
};

// What a button of the screen does. Load and save are the screen's verbs; the
// clearing and word buttons act on boxes only; a capturing button takes boxes
// into the screen's values as the save does, without reading the code or
// writing a file; a pressing button only presses its `thenPress`; a custom
// button's operation is registered by the screen itself.
enum class ButtonRole { Load, Save, ClearBoxes, FillWord, Capture, Press, Custom };

// A button of a screen, found by the screen's name.
struct ButtonRef {
  QString screen;
  QString button;
};

struct ButtonLayout {
  QString name;
  QString caption;
  QRect twips;
  ButtonRole role = ButtonRole::Custom;
  // ClearBoxes: emptied in this order; FillWord: written in this order;
  // Capture: taken into their values, with the save's conversions (a figure
  // that is no number, or one beyond its width, fails the capture, which
  // changes nothing then).
  QStringList boxes;
  QStringList words;  // FillWord: the word of each box, or one word for all
  std::optional<QColor> background;
  double fontPoints = 0;  // 0: the window's font
  // A hidden button is pressed by the screen's own code, never by the user.
  bool hidden = false;
  // Capture: the totals are then worked out from the values and shown, as the
  // save shows them; a total beyond 32 bits is for display only, so it leaves
  // the total and its box as they were, and fails nothing.
  bool capturesTotals = false;
  // Pressed once the button's own boxes are written (ClearBoxes, FillWord,
  // Press). The press may unload this screen: nothing of it follows.
  std::optional<ButtonRef> thenPress;
};

struct LabelLayout {
  QString name;
  QString caption;
  QRect twips;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

struct LineLayout {
  QString name;
  QPoint from;
  QPoint to;
};

// How a load that fails ends: reported under the load's title; reported, with
// the screen back at the texts a new window shows, so that nothing of the
// company shown before stays; or handed to whoever pressed the load.
enum class LoadFailureEnd { Report, ReportAndReset, HandOn };

// Whether a load shows the totals as its files hold them or works them out
// again from the values it read.
enum class TotalsOnLoad { AsStored, Recomputed };

// A value written, with FormatAmount, into a box of another screen.
struct CarriedValue {
  ValueRef value;
  QString screen;
  QString box;
};

// One row of the screen: its values, in the same column order on every row.
using RowLayout = std::vector<ValueRef>;

// Everything that makes one entry screen what it is.
struct EntryScreenLayout {
  QString name;
  QString caption;
  QSize clientTwips;
  double fontPoints = 9;
  QString codeBox = QStringLiteral("Text146");
  QString loadButton;
  QString clearButton;
  QString saveButton;
  // Titles of the failure reports.
  QString loadTitle;
  QString saveTitle;

  // The load: a clearing button pressed once the code is read, before any
  // file is, and again when the load fails after it, so that the screen is
  // left empty; how a failure ends; the totals as stored or worked out again.
  QString clearBeforeRead;
  LoadFailureEnd loadFailure = LoadFailureEnd::Report;
  TotalsOnLoad totalsOnLoad = TotalsOnLoad::AsStored;
  // Values written into other screens' boxes: by the load as read, by the
  // save once its files are written.
  std::vector<CarriedValue> carriedOnLoad;
  std::vector<CarriedValue> carriedOnSave;

  std::vector<FileLayout> files;  // in the order they are written and read
  std::vector<TotalRule> totals;
  std::vector<RowLayout> rows;

  std::vector<BoxLayout> boxes;
  std::vector<ButtonLayout> buttons;
  std::vector<LabelLayout> labels;
  std::vector<LineLayout> lines;

  // The Tab order and the control that has the focus when the window opens;
  // by default the controls in reading order (heading boxes left out) and the
  // first entry box among them.
  QStringList focusOrder;
  QString openingFocus;

  const FileLayout& FileOf(FileRole role) const;
  FileLayout& FileOf(FileRole role);
  const FileValue& ValueAt(ValueRef ref) const;
  // The value that the box shows.
  ValueRef ValueOfBox(const QString& box) const;
  // The visible boxes that show amounts: every amount cell and every total
  // box, each of which must show any 32-bit amount whole.
  QStringList AmountBoxes() const;
};

// The values of the screen's files as it holds them, file by file.
struct HeldValue {
  QString text;
  std::int32_t number = 0;
};

class HeldFiles {
 public:
  HeldFiles() = default;
  // Empty texts and zeros, in the files' shapes.
  explicit HeldFiles(const std::vector<FileLayout>& files);

  HeldValue& operator[](ValueRef ref);
  const HeldValue& operator[](ValueRef ref) const;
  std::vector<HeldValue>& Of(FileRole role);
  const std::vector<HeldValue>& Of(FileRole role) const;

 private:
  std::vector<FileRole> roles_;
  std::vector<std::vector<HeldValue>> values_;
};

// Rows of values move as a whole: every value of the row, or only the given
// columns. A row that is emptied holds empty texts and zeros.
void MoveRow(HeldFiles& held, const RowLayout& from, const RowLayout& to);
void ExchangeRows(HeldFiles& held, const RowLayout& a, const RowLayout& b,
                  const std::vector<int>& columns = {});
void ClearRow(HeldFiles& held, const RowLayout& row, const std::vector<int>& columns = {});

}  // namespace mirudanto::statements
