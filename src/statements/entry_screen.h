#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/amount.h"
#include "core/company_code.h"
#include "core/statement_files.h"
#include "platform/controls.h"
#include "platform/screen.h"

namespace mirudanto::statements {

// What one value of a statement file is, and the box that shows it.
enum class ValueKind { Text, Amount, Number16 };
struct FileValue {
  ValueKind kind = ValueKind::Text;
  QString box;  // empty: the value has no box and is kept in the screen's arrays only
};

// One file of the screen, its values in file order.
struct FileLayout {
  StatementFile file;
  std::vector<FileValue> values;
};

// A value of the screen's files: file index (in writing order) and value number
// counted from 1, as the files are documented.
struct ValueRef {
  int file = 0;
  int number = 1;
};

// A total the save computes: the sum of `plus` less the sum of `minus`, stored
// at `target` and shown in its box. Totals are computed in the order given, so
// a later one may add up earlier ones.
struct TotalRule {
  ValueRef target;
  std::vector<ValueRef> plus;
  std::vector<ValueRef> minus;
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
// clearing and word buttons act on boxes only; a custom button's operation is
// registered by the screen itself.
enum class ButtonRole { Load, Save, ClearBoxes, FillWord, Custom };

struct ButtonLayout {
  QString name;
  QString caption;
  QRect twips;
  ButtonRole role = ButtonRole::Custom;
  QStringList boxes;  // ClearBoxes: emptied in this order; FillWord: written in this order
  QStringList words;  // FillWord: the word of each box, or one word for all
  std::optional<QColor> background;
  double fontPoints = 0;  // 0: the window's font
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

// Everything that makes one entry screen what it is.
struct EntryScreenLayout {
  QString name;
  QString caption;
  QSize clientTwips;
  double fontPoints = 9;
  QString codeBox = QStringLiteral("Text146");
  QString loadButton;
  QString saveButton;
  // Titles of the failure reports; an empty load title means the load does
  // not report its failures and hands them to its presser.
  QString loadTitle;
  QString saveTitle;
  std::vector<FileLayout> files;  // in writing order
  std::vector<TotalRule> totals;
  std::vector<BoxLayout> boxes;
  std::vector<ButtonLayout> buttons;
  std::vector<LabelLayout> labels;
  std::vector<LineLayout> lines;
};

// The values of the screen's files as it holds them, file by file.
struct HeldValue {
  QString text;
  std::int32_t number = 0;
};
using HeldFiles = std::vector<std::vector<HeldValue>>;

// The one engine of every statement entry screen: it builds the grid from the
// layout, loads the files into the screen's arrays and shows them, and totals
// and saves what the boxes hold. What no layout can say, a screen adds by
// overriding the hooks.
class EntryScreen : public platform::Screen {
 public:
  explicit EntryScreen(EntryScreenLayout layout);

  const EntryScreenLayout& Layout() const { return layout_; }
  // The arrays, and whether they come from a load or save of `HeldCode()`.
  const HeldFiles& Held() const { return held_; }
  bool HeldIsValid() const { return heldValid_; }
  CompanyCode HeldCode() const { return heldCode_; }

 protected:
  void Build() override;

  // The verbs; screens extend them through the hooks below.
  virtual void LoadStatement();
  virtual void TotalAndSaveStatement();

  // Runs after the code is read and before the files are: a screen that
  // empties itself first does so here.
  virtual void BeforeRead(CompanyCode) {}
  // Shows what a load read; the default shows every value that has a box,
  // texts as stored and amounts with FormatAmount.
  virtual void ShowHeld(const HeldFiles& files);
  // Takes what the boxes cannot say into the values to be saved (after the
  // boxes are captured, before the totals).
  virtual void CaptureExtra(HeldFiles&) {}
  // Runs once the files are written, before the reload.
  virtual void AfterWrite() {}

  // Reads all files of the code into new arrays; throws on the first failure.
  HeldFiles ReadFiles(CompanyCode code) const;
  // Writes all files in order; throws on the first failure.
  void WriteFiles(CompanyCode code, const HeldFiles& files) const;
  void ShowValue(const FileValue& value, const HeldValue& held);
  // Commits values as the screen's arrays for the code.
  void Hold(CompanyCode code, HeldFiles files);
  void Forget() { heldValid_ = false; }
  HeldFiles& MutableHeld() { return held_; }
  // A fresh set of arrays: empty texts and zeros, in the files' shapes.
  HeldFiles EmptyFiles() const;
  // Every entry box back to the text a new window shows.
  void ResetBoxesToInitialTexts();

  // Reports under the title, or hands the failure on when there is none.
  void ReportOrThrow(const QString& title, const Failure& failure);

 private:
  EntryScreenLayout layout_;
  HeldFiles held_;
  CompanyCode heldCode_ = 0;
  bool heldValid_ = false;
};

// Geometry of a grid laid out by order: column widths and a row pitch, in
// twips, from a top-left corner.
class GridGeometry {
 public:
  GridGeometry(int left, int top, int rowHeight, std::vector<int> columnWidths, int gap = 0);
  QRect Cell(int row, int column) const;                 // row 0 is the heading line
  QRect Span(int row, int firstColumn, int lastColumn) const;
  int Right() const;
  int Bottom(int rows) const;
  int ColumnLeft(int column) const;

 private:
  int left_;
  int top_;
  int rowHeight_;
  std::vector<int> widths_;
  int gap_;
};

inline const QColor kHeadingGrey(224, 224, 224);

// An amount cell or total box: right-aligned, starting as two ideographic
// spaces, which count as 0.
BoxLayout AmountBox(const QString& name, QRect twips);

// The total of values `first` to `last` of the target's own file.
TotalRule SumRule(ValueRef target, int first, int last);

}  // namespace mirudanto::statements
