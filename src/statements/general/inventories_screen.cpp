#include "statements/general/inventories_screen.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

#include "core/amount.h"
#include "platform/desktop.h"
#include "statements/layout_builders.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kRowCount = 5;

// The boxes of each row: account, item, quantity, unit price, balance,
// remarks. Row 2's account took the number left free by the heading line.
constexpr int kRows[kRowCount][6] = {
    {7, 8, 9, 10, 11, 12},    {5, 13, 14, 15, 16, 17},  {18, 19, 20, 21, 22, 23},
    {24, 25, 26, 27, 28, 29}, {30, 31, 32, 33, 34, 35},
};
enum Column { kAccount, kItem, kQuantity, kUnitPrice, kBalance, kRemarks };
constexpr Column kTextColumns[5] = {kAccount, kItem, kQuantity, kUnitPrice, kRemarks};

// The stocktaking date, and what a save stores for a box that does not
// convert.
const QString kYear = QStringLiteral("Text37");
const QString kMonth = QStringLiteral("Text38");
const QString kDay = QStringLiteral("Text39");
constexpr int kYearFallback = 13;
constexpr int kMonthFallback = 6;
constexpr int kDayFallback = 9;

QString Option(int k) { return QStringLiteral("Option%1").arg(k); }

const GridGeometry& Grid() {
  static const GridGeometry grid(120, 120, 330, {1500, 2200, 1100, 1200, 1600, 2200}, 15);
  return grid;
}

// The stocktaking frame below the bottom line, and its controls in the
// frame's own twips.
QRect FrameRect() {
  const int top = Grid().Bottom(kRowCount + 2) + 150;
  return QRect(120, top, Grid().Right() - 120, 1755);
}
constexpr int kOptionLeft = 240;
constexpr int kDateLeft = 2700;
constexpr int kButtonWidth = 1100;
int ButtonLeft() { return FrameRect().width() - 240 - kButtonWidth; }

EntryScreenLayout InventoriesLayout() {
  const GridGeometry& grid = Grid();
  EntryScreenLayout layout =
      NewEntryLayout({"Form6", "棚卸資産⑤", "Command2", "Command1", QString(), "棚卸資産"});
  // The load hands its failures to whoever pressed it: the opening, or the
  // save, which reports them under its own title.
  layout.loadFailure = LoadFailureEnd::HandOn;
  const QRect frame = FrameRect();
  layout.clientTwips = QSize(grid.Right() + 120, frame.top() + frame.height() + 120);

  const std::pair<Column, const char*> headings[] = {
      {kAccount, "科　目"}, {kItem, "品　　　目"}, {kQuantity, "数　量"},
      {kUnitPrice, "単　価"}, {kRemarks, "摘　　　要"},
  };
  const int headingBoxes[] = {1, 2, 3, 4, 6};
  for (int k = 0; k < 5; ++k) {
    AddHeading(layout, BoxName(headingBoxes[k]), QString::fromUtf8(headings[k].second),
               grid.Cell(0, headings[k].first));
  }

  // The six numbers come first; the flags have no box, the save takes them
  // from the screen.
  FileLayout texts{{StatementMark::Inventories, FileRole::Text},
                   {{ValueKind::Number16, kYear, std::nullopt, kYearFallback},
                    {ValueKind::Number16, kMonth, std::nullopt, kMonthFallback},
                    {ValueKind::Number16, kDay, std::nullopt, kDayFallback},
                    {ValueKind::Number16, QString()},
                    {ValueKind::Number16, QString()},
                    {ValueKind::Number16, QString()}}};
  FileLayout amounts{{StatementMark::Inventories, FileRole::Amounts}, {}};
  QStringList textCells;
  QStringList balanceCells;
  for (int r = 0; r < kRowCount; ++r) {
    for (Column c : kTextColumns) {
      const QString name = BoxName(kRows[r][c]);
      QString initial;
      if (r == 0 && c == kAccount) initial = QStringLiteral("商　　品");
      if (r == 0 && c == kRemarks) initial = QStringLiteral("明細書会社保存");
      // Quantities and unit prices are figures: the input method stays.
      AddTextCell(layout, name, grid.Cell(r + 1, c), initial,
                  c == kQuantity || c == kUnitPrice ? InputMode::Unchanged : InputMode::Hiragana);
      texts.values.push_back({ValueKind::Text, name});
      textCells.append(name);
    }
    const QString balance = BoxName(kRows[r][kBalance]);
    AddAmountCell(layout, balance, grid.Cell(r + 1, kBalance));
    amounts.values.push_back({ValueKind::Amount, balance});
    balanceCells.append(balance);
  }
  const int bottom = kRowCount + 1;
  const QString total = BoxName(36);
  AddAmountCell(layout, total, grid.Cell(bottom, kBalance));
  amounts.values.push_back({ValueKind::Amount, total});
  layout.files = {texts, amounts};

  layout.totals = {SumRule({FileRole::Amounts, 6}, 1, kRowCount)};

  const QStringList dateBoxes = {kYear, kMonth, kDay};
  AddClearingButton(layout, "Command17", "期末現在高", grid.Cell(0, kBalance),
                    QStringList{kYear} + balanceCells + QStringList{total});
  AddBottomLine(layout, {grid.Cell(bottom, kAccount), "Command3", grid.Cell(bottom, kItem),
                         balanceCells + QStringList{total} + textCells + dateBoxes,
                         grid.Cell(bottom, kQuantity), "合　　　計",
                         grid.Cell(bottom, kRemarks)});
  return layout;
}

// The date buttons, top to bottom in the frame, and what each writes into
// year, month and day; "翌期" works out its own year.
struct DateButton {
  const char* name;
  const char* caption;
  const char* words[3];
};
constexpr DateButton kDateButtons[] = {
    {"Command7", "翌期", {}},
    {"Command6", "00日", {"0", "0", "0"}},
    {"Command4", "30日", {"", "", "30"}},
    {"Command5", "31日", {"", "", "31"}},
};

}  // namespace

InventoriesScreen::InventoriesScreen() : EntryScreen(InventoriesLayout()) {
  for (const DateButton& button : kDateButtons) {
    const QString name = QString::fromLatin1(button.name);
    if (name == QStringLiteral("Command7")) {
      OnClick(name, [this] { NextPeriod(); });
      continue;
    }
    const QStringList words = {QString::fromUtf8(button.words[0]),
                               QString::fromUtf8(button.words[1]),
                               QString::fromUtf8(button.words[2])};
    OnClick(name, [this, words] {
      Write(kYear, words[0]);
      Write(kMonth, words[1]);
      Write(kDay, words[2]);
    });
  }
  for (int k = 1; k <= 3; ++k) OnClick(Option(k), [this, k] { OptionClicked(k); });
}

void InventoriesScreen::Build() {
  EntryScreen::Build();
  // A new window shows "実地棚卸" selected; the flags say the same, so that
  // a company saved from an untouched window never inherits another's.
  flags_ = {1, 0, 0};

  QGroupBox& frame = AddFrame(QStringLiteral("Frame1"), QString(), FrameRect());
  const char* methods[3] = {"実地棚卸", "帳簿棚卸", "上記併用"};
  for (int k = 1; k <= 3; ++k) {
    const QString name = Option(k);
    QRadioButton& option = AddOptionButton(name, QString::fromUtf8(methods[k - 1]),
                                           QRect(kOptionLeft, 240 + (k - 1) * 450, 1500, 330),
                                           &frame);
    option.setChecked(k == 1);
    QObject::connect(&option, &QRadioButton::clicked, &option,
                     [this, name] { RunUserAction(name); });
  }

  AddLabel(QStringLiteral("Label4"), QStringLiteral("棚卸を行った時期"),
           QRect(kDateLeft, 330, 2700, 330), &frame);
  const std::pair<QString, const char*> dates[3] = {{kYear, "13"}, {kMonth, "05"}, {kDay, "31"}};
  const char* units[3] = {"年", "月", "日"};
  int x = kDateLeft;
  for (int k = 0; k < 3; ++k) {
    const int width = k == 0 ? 600 : 480;
    platform::TextBox& box = AddTextBox(dates[k].first, QRect(x, 780, width, 330),
                              QString::fromUtf8(dates[k].second), &frame);
    box.setAlignment(Qt::AlignRight);
    box.SetInputMode(InputMode::Unchanged);
    x += width + 30;
    AddLabel(QStringLiteral("Label%1").arg(k + 1), QString::fromUtf8(units[k]),
             QRect(x, 780, 300, 330), &frame);
    x += 300 + 30;
  }

  int y = 150;
  for (const DateButton& button : kDateButtons) {
    AddButton(QString::fromLatin1(button.name), QString::fromUtf8(button.caption),
              QRect(ButtonLeft(), y, kButtonWidth, 330), &frame);
    y += 375;
  }
}

void InventoriesScreen::CaptureExtra(HeldFiles& files) {
  std::vector<HeldValue>& values = files.Of(FileRole::Text);
  for (std::size_t k = 0; k < 3; ++k) values[3 + k].number = flags_[k];
}

void InventoriesScreen::AfterWrite() {
  // The date as it was stored; done only now, so that a save that could not
  // write leaves the boxes as they were typed.
  const std::vector<HeldValue>& values = Held().Of(FileRole::Text);
  Write(kYear, QString::number(values[0].number));
  Write(kMonth, QString::number(values[1].number));
  Write(kDay, QString::number(values[2].number));
}

void InventoriesScreen::ShowExtra(const HeldFiles& files) {
  const std::vector<HeldValue>& values = files.Of(FileRole::Text);
  for (std::size_t k = 0; k < 3; ++k) flags_[k] = static_cast<std::int16_t>(values[3 + k].number);
  // Each test sees the flags as the selection before it left them, so the
  // first flag that is 1 decides; with none, options and flags stay.
  for (int k = 1; k <= 3; ++k) {
    if (flags_[static_cast<std::size_t>(k - 1)] == 1) SelectMethod(k);
  }
}

void InventoriesScreen::SelectMethod(int k) {
  ControlAs<QRadioButton>(Option(k)).setChecked(true);
  for (int j = 1; j <= 3; ++j) flags_[static_cast<std::size_t>(j - 1)] = j == k ? 1 : 0;
}

void InventoriesScreen::OptionClicked(int k) {
  if (ControlAs<QRadioButton>(Option(k)).isChecked()) SelectMethod(k);
}

void InventoriesScreen::NextPeriod() {
  const NumberReading year = ReadNumber(Read(kYear), NumberWidth::Bits32);
  QString next = QStringLiteral("1");
  if (year.value && *year.value < std::numeric_limits<std::int32_t>::max()) {
    next = QString::number(*year.value + 1);
  }
  Write(kYear, next);
}

}  // namespace mirudanto::statements
