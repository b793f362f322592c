#include "printing/blank_a4/blank_a4_screen.h"

#include <vector>

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <limits>

#include "core/amount.h"
#include "core/failure.h"
#include "platform/desktop.h"
#include "printing/blank_a4/page_table.h"
#include "printing/printer.h"

namespace mirudanto::printing {
namespace {

using platform::Twips;

const QString kTitle = QStringLiteral("ミルダント");
const QString kNeedsPrint = QStringLiteral("要");

// A batch of more sets than this asks before it prints.
constexpr int kSetsWithoutQuestion = 10;

// One row of the screen: the statement's mark, its print button and its
// sheet counter, in the order of PrintStatements().
struct SheetRow {
  QString label;
  QString button;
  QString caption;
  QString counter;
  int labelLeft = 3120;
  int buttonLeft = 3480;
  int buttonWidth = 1095;
};

const std::array<SheetRow, kPrintStatementCount>& SheetRows() {
  static const std::array<SheetRow, kPrintStatementCount> rows = {{
      {"Label1", "Command13", "預貯金", "Text13"},
      {"Label2", "Command10", "受取手形", "Text14"},
      {"Label27", "Command9", "②受取手形", "Text15"},
      {"Label3", "Command24", "売掛金", "Text16"},
      {"Label4", "Command23", "仮払金・貸付金", "Text17", 2640, 2880, 1695},
      {"Label5", "Command22", "棚卸商品", "Text18"},
      {"Label6", "Command21", "固定資産", "Text19"},
      {"Label7", "Command11", "支払手形", "Text20"},
      {"Label8", "Command15", "買掛金・未払金", "Text21", 2640, 2880, 1695},
      {"Label9", "Command25", "仮受金", "Text22"},
      {"Label10", "Command26", "借入金", "Text23"},
      {"Label11", "Command27", "役員報酬", "Text24"},
      {"Label12", "Command29", "地代家賃", "Text25"},
      {"Label13", "Command28", "雑益・雑損", "Text26", 3120, 3360, 1215},
  }};
  return rows;
}

const SheetRow& RowOf(PrintStatement statement) {
  return SheetRows()[static_cast<std::size_t>(statement)];
}

// The next count of a counter box: its text by the number rule as 32 bits,
// anything else 0, plus one; the largest count is followed by 1.
QString NextCount(const QString& text) {
  const Amount count = ReadAmountCell(text);
  return QString::number(count == std::numeric_limits<Amount>::max() ? 1 : count + 1);
}

}  // namespace

BlankA4Screen::BlankA4Screen()
    : Screen(QStringLiteral("Form23"), QStringLiteral("A4白紙用紙印刷印刷")) {
  OnClick(QStringLiteral("Command3"), [this] { LoadPrintData(); });
  for (const PrintStatement statement : PrintStatements()) {
    OnClick(RowOf(statement).button, [this, statement] { PrintSheet(statement); });
  }
  OnClick(QStringLiteral("Command2"), [this] { ClearPrintCounters(); });
  OnClick(QStringLiteral("Command4"), [this] { BatchPrint(); });
  OnClick(QStringLiteral("Command5"), [this] { BatchPrintSets(QStringLiteral("1")); });
  OnClick(QStringLiteral("Command6"), [this] { BatchPrintSets(QStringLiteral("2")); });
  OnClick(QStringLiteral("Command7"), [this] { BatchPrintSets(QStringLiteral("3")); });
}

void BlankA4Screen::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
  SetClientSizeTwips(5820, 7305);

  // The print buttons first, top to bottom: the Tab key starts with them.
  for (std::size_t k = 0; k < SheetRows().size(); ++k) {
    const SheetRow& row = SheetRows()[k];
    const int top = 480 + 360 * static_cast<int>(k);
    AddButton(row.button, row.caption, Twips(row.buttonLeft, top, row.buttonWidth, 375));
  }
  auto& heading =
      AddTextBox(QStringLiteral("Text27"), Twips(4560, 120, 495, 375), QStringLiteral("枚数"));
  heading.setAlignment(Qt::AlignCenter);
  platform::Paint(heading, platform::kLightYellow, QPalette::Base);
  PassByOnTab(QStringLiteral("Text27"));
  for (std::size_t k = 0; k < SheetRows().size(); ++k) {
    const SheetRow& row = SheetRows()[k];
    const int top = 480 + 360 * static_cast<int>(k);
    AddLabel(row.label, kNeedsPrint, Twips(row.labelLeft, top + 120, 255, 255));
    auto& counter = AddTextBox(row.counter, Twips(4560, top, 495, 375));
    counter.setAlignment(Qt::AlignCenter);
    platform::Paint(counter, platform::kLightYellow, QPalette::Base);
  }

  AddButton(QStringLiteral("Command5"), QStringLiteral("１部 を一括印刷する"),
            Twips(240, 5400, 2295, 375));
  platform::Paint(
      AddButton(QStringLiteral("Command2"), QStringLiteral("クリア"), Twips(4320, 5520, 735, 375)),
      platform::kPink, QPalette::Button);
  AddButton(QStringLiteral("Command6"), QStringLiteral("２部 を一括印刷する"),
            Twips(240, 5760, 2295, 375));
  AddButton(QStringLiteral("Command7"), QStringLiteral("３部 を一括印刷する"),
            Twips(240, 6120, 2295, 375));
  AddTextBox(QStringLiteral("Text28"), Twips(2640, 6120, 495, 375)).setAlignment(Qt::AlignCenter);
  AddButton(QStringLiteral("Command4"), QStringLiteral("部 を一括印刷する"),
            Twips(3120, 6120, 2295, 375));
  auto& caption = AddLabel(QStringLiteral("Label28"), QStringLiteral("A4白紙用紙印刷"),
                           Twips(0, 6720, 3735, 495));
  platform::StyleCaption(caption, 18, Qt::blue);

  AddTextBox(QStringLiteral("Text146"), Twips(1800, 120, 615, 330)).setVisible(false);
  AddButton(QStringLiteral("Command3"), QStringLiteral("DATA"), Twips(1800, 480, 1095, 375))
      .setVisible(false);
  // The print positions are the forms' own, so there is nothing to adjust and
  // the basic frame is drawn by the pages that stand on it: both buttons stay
  // hidden and do nothing.
  AddButton(QStringLiteral("Command1"), QStringLiteral("印刷調整=0"), Twips(240, 1560, 1335, 375))
      .setVisible(false);
  AddButton(QStringLiteral("Command31"), QStringLiteral("フォーマットの基本"),
            Twips(240, 1920, 2055, 375))
      .setVisible(false);

  // The screen opens in its first sheet counter, not on a print button, where
  // a stray Space would print a page.
  SetOpeningFocus(SheetRows().front().counter);
}

void BlankA4Screen::LoadPrintData() {
  // No mark may stand for figures that were not read: a load that stops leaves
  // every caption empty, so a batch then prints nothing.
  for (const SheetRow& row : SheetRows()) SetCaption(row.label, QString());
  dataSet_.Load(Read(QStringLiteral("Text146")));
  platform::Beep();
  for (const PrintStatement statement : PrintStatements()) {
    if (dataSet_.NeedsPrint(statement)) SetCaption(RowOf(statement).label, kNeedsPrint);
  }
}

bool BlankA4Screen::PrintSheet(PrintStatement statement) {
  const SheetRow& row = RowOf(statement);
  const QString before = Read(row.counter);
  bool counted = false;
  try {
    dataSet_.RequireWhole(statement);
    // The box shows the new count while the page prints.
    Write(row.counter, NextCount(before));
    counted = true;
    PrintPage(CurrentPrinter(), row.caption, [&](PagePlan& plan) {
      blank_a4::DrawPage(plan, blank_a4::PageOf(statement), dataSet_);
    });
    return true;
  } catch (...) {
    // Nothing went out, so nothing is counted.
    if (counted) Write(row.counter, before);
    platform::ReportError(kTitle, CurrentFailure(std::current_exception()));
    return false;
  }
}

void BlankA4Screen::ClearPrintCounters() {
  for (const SheetRow& row : SheetRows()) Write(row.counter, QString());
  Write(QStringLiteral("Text28"), QString());
}

void BlankA4Screen::BatchPrint() {
  const Amount sets = ReadAmountCell(Read(QStringLiteral("Text28")));
  if (sets <= 0) return;
  // Nothing in a batch changes the marks, so they are read once; with none,
  // there is nothing to ask about and no sets to run through.
  std::vector<PrintStatement> marked;
  for (const PrintStatement statement : PrintStatements()) {
    if (CaptionOf(RowOf(statement).label) == kNeedsPrint) marked.push_back(statement);
  }
  if (marked.empty()) return;
  if (sets > kSetsWithoutQuestion &&
      !platform::ConfirmBox(QString::number(sets) + QStringLiteral("部 を一括印刷しますか"))) {
    return;
  }
  // Collated: every marked statement once, in screen order, then again. A page
  // that could not go out ends the batch; what went out stays counted.
  for (std::int64_t set = 1; set <= sets; ++set) {
    for (const PrintStatement statement : marked) {
      if (!PrintSheet(statement)) return;
    }
  }
}

void BlankA4Screen::BatchPrintSets(const QString& sets) {
  Write(QStringLiteral("Text28"), sets);
  Press(QStringLiteral("Command4"));
}

}  // namespace mirudanto::printing
