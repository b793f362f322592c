#include "statements/general/fixed_assets_screen.h"

namespace mirudanto::statements {
namespace {

using platform::InputMode;

constexpr int kEntryCount = 5;

// The boxes of each entry: its nine texts in file order, then its balance,
// book value before the change and acquisition or disposal price. The price
// boxes run upwards from the last entry.
constexpr int kEntries[kEntryCount][12] = {
    {20, 21, 22, 23, 24, 25, 26, 27, 28, 1, 6, 72},
    {29, 30, 31, 32, 33, 34, 35, 36, 37, 2, 7, 71},
    {38, 39, 40, 41, 42, 43, 44, 45, 46, 3, 8, 70},
    {47, 48, 49, 50, 51, 52, 53, 54, 55, 4, 9, 69},
    {56, 57, 58, 59, 60, 61, 62, 63, 64, 5, 10, 68},
};
enum Field {
  kKindStructure, kUse, kArea, kLocation, kChangeDate, kChangeReason, kCounterpartyName,
  kCounterpartyAddress, kSoldAssetAcquiredDate, kClosingBalance, kBookValue, kPrice
};
constexpr int kTextCount = 9;
constexpr int kAmountColumns = 3;

QString Box(int number) { return QStringLiteral("Text%1").arg(number); }

constexpr int kLineHeight = 330;
constexpr int kEntryGap = 45;
constexpr int kLastLine = 2 * (kEntryCount + 1);  // the bottom line

// Where each field stands: the line of its entry (0 or 1) and its column;
// the location spans the first three columns.
struct Place {
  int line;
  int column;
};
constexpr Place kPlaces[12] = {
    {0, 0}, {0, 1}, {0, 2}, {1, 0}, {0, 4}, {1, 4},
    {0, 6}, {1, 6}, {1, 7}, {1, 3}, {1, 5}, {0, 5},
};
constexpr int kBalanceColumn = 3;

EntryScreenLayout FixedAssetsLayout() {
  EntryScreenLayout layout;
  layout.name = QStringLiteral("Form7");
  layout.caption = QStringLiteral("固定資産⑦");
  layout.loadButton = QStringLiteral("Command3");
  layout.saveButton = QStringLiteral("Command2");
  layout.loadTitle = QStringLiteral("ミルダント");
  layout.saveTitle = QStringLiteral("ミルダント");

  const GridGeometry grid(120, 120, kLineHeight, {1700, 1300, 1000, 1500, 1300, 1500, 2300, 1200},
                          15);
  auto cell = [&grid](int line, int column) {
    return grid.Cell(line, column).translated(0, (line / 2) * kEntryGap);
  };
  auto rectOf = [&](int line, int column) {
    if (line % 2 == 0 || column != 0) return cell(line, column);
    return grid.Span(line, 0, 2).translated(0, (line / 2) * kEntryGap);
  };
  const int closingLine = grid.Right() + 60;
  layout.clientTwips = QSize(closingLine + 120, cell(kLastLine, 0).bottom() + 1 + 120);

  const std::tuple<int, int, const char*, const char*> headings[] = {
      {0, 0, "Text11", "種類構造"},           {0, 1, "Text12", "用　途"},
      {0, 2, "Text13", "面積"},               {0, 4, "Text15", "移動年月日"},
      {0, 5, "Text67", "取得処分価額"},       {0, 6, "Text17", "売却(購入)先の名称"},
      {1, 0, "Text14", "物件の所在地"},       {1, 3, "Text65", "期末現在高"},
      {1, 4, "Text16", "移動事由"},           {1, 5, "Text66", "異動直前簿価"},
      {1, 6, "Text18", "売却(購入)先の住所"}, {1, 7, "Text19", "売却年月"},
  };
  for (const auto& [line, column, name, text] : headings) {
    layout.boxes.push_back({name, rectOf(line, column), QString::fromUtf8(text),
                            BoxStyle::Heading});
  }

  FileLayout texts{{StatementMark::FixedAssets, FileRole::Text}, {}};
  FileLayout amounts{{StatementMark::FixedAssets, FileRole::Amounts},
                     std::vector<FileValue>(kEntryCount * kAmountColumns + 2)};
  QStringList textCells;
  QStringList amountCells(kEntryCount * kAmountColumns);
  for (int e = 0; e < kEntryCount; ++e) {
    const int first = 2 * (e + 1);
    for (int f = 0; f < 12; ++f) {
      const QString name = Box(kEntries[e][f]);
      const QRect rect = rectOf(first + kPlaces[f].line, kPlaces[f].column);
      if (f < kTextCount) {
        // Area and the two dates are figures: the input method stays.
        const bool figure = f == kArea || f == kChangeDate || f == kSoldAssetAcquiredDate;
        layout.boxes.push_back({name, rect, QString(), BoxStyle::Entry, Qt::AlignLeft,
                                figure ? InputMode::Unchanged : InputMode::Hiragana});
        texts.values.push_back({ValueKind::Text, name});
        textCells.append(name);
        continue;
      }
      layout.boxes.push_back(AmountBox(name, rect));
      // Amount values 1-5 balances, 6-10 book values, 11-15 prices.
      const int value = (f - kTextCount) * kEntryCount + e;
      amounts.values[static_cast<std::size_t>(value)] = {ValueKind::Amount, name};
      amountCells[value] = name;
    }
  }
  const QString balanceTotal = Box(73);
  const QString bookValueTotal = Box(74);
  layout.boxes.push_back(AmountBox(balanceTotal, cell(kLastLine, kBalanceColumn)));
  layout.boxes.push_back(AmountBox(bookValueTotal, cell(kLastLine, 5)));
  amounts.values[15] = {ValueKind::Amount, balanceTotal};
  amounts.values[16] = {ValueKind::Amount, bookValueTotal};
  layout.files = {texts, amounts};

  // The prices have no total.
  layout.totals = {SumRule({1, 16}, 1, kEntryCount),
                   SumRule({1, 17}, kEntryCount + 1, 2 * kEntryCount)};

  layout.boxes.push_back({layout.codeBox, cell(kLastLine, 2), QString(), BoxStyle::Hidden});

  // The first line of the heading and of every entry has no box under the
  // balance and the last column: each such cell is crossed out.
  int lineNumber = 0;
  for (int line = 0; line < kLastLine; line += 2) {
    for (int column : {kBalanceColumn, 7}) {
      const QRect r = cell(line, column);
      // Inset, so that the line stays inside its own cell.
      layout.lines.push_back({QStringLiteral("Line%1").arg(++lineNumber),
                              QPoint(r.left() + 30, r.top() + r.height() - 30),
                              QPoint(r.left() + r.width() - 30, r.top() + 30)});
    }
  }
  layout.lines.push_back({QStringLiteral("Line%1").arg(++lineNumber),
                          QPoint(closingLine, cell(0, 0).top()),
                          QPoint(closingLine, cell(kLastLine - 1, 0).bottom() + 1)});

  layout.buttons = {
      {"Command3", "DATA", cell(kLastLine, 0), ButtonRole::Load},
      {"Command4", "クリア", cell(kLastLine, 1), ButtonRole::ClearBoxes,
       amountCells + QStringList{balanceTotal, bookValueTotal} + textCells},
      {"Command2", "合　　計", cell(kLastLine, 4), ButtonRole::Save},
  };
  return layout;
}

}  // namespace

FixedAssetsScreen::FixedAssetsScreen() : EntryScreen(FixedAssetsLayout()) {}

void FixedAssetsScreen::ShowHeld(const HeldFiles& files) {
  const std::vector<FileValue>& amountLayout = Layout().files[1].values;
  const std::vector<HeldValue>& amounts = files[1];
  for (std::size_t v = 0; v < kEntryCount * kAmountColumns; ++v) {
    ShowValue(amountLayout[v], amounts[v]);
  }
  // The stored totals are not trusted: both are worked out from the rows. A
  // sum beyond 32 bits stops the load here, the amount cells shown, the
  // totals and the texts not.
  AmountSum balances;
  AmountSum bookValues;
  for (std::size_t e = 0; e < kEntryCount; ++e) {
    balances.Add(amounts[e].number);
    bookValues.Add(amounts[kEntryCount + e].number);
  }
  const Amount balanceTotal = balances.Value();
  const Amount bookValueTotal = bookValues.Value();
  if (&files == &Held()) {
    std::vector<HeldValue>& held = MutableHeld()[1];
    held[15].number = balanceTotal;
    held[16].number = bookValueTotal;
  }
  ShowValue(amountLayout[15], {QString(), balanceTotal});
  ShowValue(amountLayout[16], {QString(), bookValueTotal});

  const std::vector<FileValue>& textLayout = Layout().files[0].values;
  for (std::size_t v = 0; v < textLayout.size(); ++v) ShowValue(textLayout[v], files[0][v]);
}

}  // namespace mirudanto::statements
