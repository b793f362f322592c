#include "printing/blank_a4/page_table.h"

#include <limits>

#include "core/failure.h"
#include "printing/blank_a4/pages.h"

namespace mirudanto::printing::blank_a4 {
namespace {

// Every text in the Mincho face at its own size, whatever the page or the
// page before it set: a font is set only where it changes.
void UseSize(PagePlan& plan, double points) {
  if (!plan.HasFont() || plan.FontName() != kMincho || plan.FontPoints() != points) {
    plan.SetFont(kMincho, points);
  }
}

int ValueNumber(const ValueOf& value, int row) { return value.first + value.step * (row - 1); }

class Drawer {
 public:
  Drawer(PagePlan& plan, const PrintDataSet& data) : plan_(plan), data_(data) {}

  void operator()(const Lines& lines) const {
    for (int k = 0; k < lines.count; ++k) {
      plan_.DrawLine(lines.x1 + lines.dx * k, lines.y1 + lines.dy * k, lines.x2 + lines.dx * k,
                     lines.y2 + lines.dy * k, static_cast<int>(lines.lineClass));
    }
  }

  void operator()(const Uprights& uprights) const {
    for (const double x : uprights.xs) {
      plan_.DrawLine(x, uprights.top, x, uprights.bottom, static_cast<int>(uprights.lineClass));
    }
  }

  void operator()(const Literal& literal) const {
    UseSize(plan_, literal.points);
    for (int k = 0; k < literal.count; ++k) {
      plan_.PutText(literal.x, literal.y + literal.dy * k, literal.text);
    }
  }

  void operator()(const Rows& rows) const {
    for (int r = 1; r <= rows.count; ++r) {
      const double down = rows.pitch * (r - 1);
      for (const auto& cell : rows.cells) {
        if (const auto* text = std::get_if<TextCell>(&cell)) {
          UseSize(plan_, text->points);
          plan_.PutText(text->x, text->y + down,
                        data_.TextAt(text->value.mark, ValueNumber(text->value, r)));
        } else if (const auto* amount = std::get_if<AmountCell>(&cell)) {
          UseSize(plan_, amount->points);
          RightAlignedAmount(plan_, amount->right, amount->y + down,
                             data_.AmountAt(amount->value.mark, ValueNumber(amount->value, r)),
                             amount->nudge);
        }
      }
    }
  }

  void operator()(const SumCell& sum) const {
    const std::int64_t total = SumOfRuns(data_, sum.terms, sum.mustFitAmount);
    UseSize(plan_, sum.points);
    RightAlignedAmount(plan_, sum.right, sum.y, total, sum.nudge);
  }

  void operator()(const StocktakingLine& line) const {
    UseSize(plan_, line.points);
    plan_.PutText(line.x, line.y, StocktakingText(data_));
  }

  void operator()(const WordCircle& circle) const {
    UseSize(plan_, circle.points);
    for (int i = 1; i <= circle.count; ++i) {
      if (data_.TextAt(circle.value.mark, ValueNumber(circle.value, i)) != circle.word) continue;
      plan_.PutText(circle.x, i == 1 ? circle.firstY : circle.y + circle.pitch * (i - 1),
                    circle.mark);
    }
  }

 private:
  PagePlan& plan_;
  const PrintDataSet& data_;
};

}  // namespace

const std::vector<PageItem>& BasicFrame() {
  static const std::vector<PageItem> frame = {
      Lines{HeavyLine, 25, 32, 192, 32},
      Lines{HeavyLine, 25, 32, 25, 272},
      Lines{HeavyLine, 192, 32, 192, 272},
      Lines{HeavyLine, 25, 272, 192, 272},
      Lines{MediumLine, 25, 42, 192, 42, 23, 0, 10},
  };
  return frame;
}

const std::vector<BlankA4Page>& BlankA4Pages() {
  static const std::vector<BlankA4Page> pages = {
      DepositsPage(),
      NotesReceivablePage(StatementMark::NotesReceivable, 264),
      NotesReceivablePage(StatementMark::NotesReceivable2nd, 267),
      ReceivablesPage(),
      AdvancesAndLoansPage(),
      InventoriesPage(),
      FixedAssetsPage(),
      NotesPayablePage(),
      PayablesPage(),
      SuspenseReceiptsPage(),
      BorrowingsPage(),
      OfficerPayPage(),
      RentsPage(),
      MiscGainsLossesPage(),
  };
  return pages;
}

const BlankA4Page& PageOf(PrintStatement statement) {
  return BlankA4Pages()[static_cast<std::size_t>(statement)];
}

void DrawPage(PagePlan& plan, const BlankA4Page& page, const PrintDataSet& data) {
  const Drawer drawer(plan, data);
  if (page.basicFrame) {
    for (const PageItem& item : BasicFrame()) std::visit(drawer, item);
  }
  for (const PageItem& item : page.items) std::visit(drawer, item);
}

Literal Title(const QString& text, double x) { return Literal{x, 26, 11, text}; }

Literal PageMark(const QString& mark) { return Literal{188, 26, 11, mark}; }

QString StocktakingText(const PrintDataSet& data) {
  using M = StatementMark;
  // The word of the first method flag that is 1; a file that records none
  // names the physical count, as the form always did.
  QString method = QStringLiteral("実地棚卸");
  const QString words[] = {QStringLiteral("実地棚卸"), QStringLiteral("帳簿棚卸"),
                           QStringLiteral("上記併用")};
  for (int flag = 4; flag <= 6; ++flag) {
    if (data.NumberAt(M::Inventories, flag) == 1) {
      method = words[flag - 4];
      break;
    }
  }
  return QStringLiteral("A ") + method + QStringLiteral("　　平成　") +
         QString::number(data.NumberAt(M::Inventories, 1)) + QStringLiteral("年 ") +
         QString::number(data.NumberAt(M::Inventories, 2)) + QStringLiteral("月 ") +
         QString::number(data.NumberAt(M::Inventories, 3)) + QStringLiteral("日 現在");
}

}  // namespace mirudanto::printing::blank_a4
