// The pages that start on the basic ruled frame: ①, both pages of ②, ③, ⑧
// and ⑨.
#include "printing/blank_a4/pages.h"

namespace mirudanto::printing::blank_a4 {
namespace {

// "/" between two texts of one column, in all 22 row bands.
Literal SeparatorSlashes(double x) { return Literal{x, 45, 11, QStringLiteral("/"), 22, 10}; }

// The ledger columns and headings that ③ and ⑨ share under their own titles.
std::vector<PageItem> LedgerForm(const QString& title, const QString& mark) {
  return {
      Line(MediumLine, 41, 32, 41, 272),
      Line(MediumLine, 78, 37, 78, 272),
      Line(MediumLine, 41, 37, 130, 37),
      Uprights{MediumLine, {130, 166}, 32, 272},
      Title(title),
      PageMark(mark),
      Text(28, 35, 11, QStringLiteral("科  目")),
      Text(63, 33, 11, QStringLiteral("相         手         先")),
      Text(48, 38, 11, QStringLiteral("名\u3000\u3000称(氏名)")),
      Text(87, 38, 11, QStringLiteral("所\u3000\u3000在\u3000\u3000地(住所)")),
      Text(138, 35, 11, QStringLiteral("期末現在高")),
      Text(172, 35, 11, QStringLiteral("提   \u3000要")),
      Text(31, 265, 11, QStringLiteral("計")),
  };
}

// The ledger rows of ③ and ⑨: N texts a column, `remarksX` where the
// remarks start.
Rows LedgerRows(M mark, int perColumn, int count, double y, double remarksX) {
  return Rows{
      count,
      10,
      {Cell(mark, 1, 1, 27, y, 11), Cell(mark, perColumn + 1, 1, 43, y, 11),
       Cell(mark, 2 * perColumn + 1, 1, 80, y, 11),
       Cell(mark, 3 * perColumn + 1, 1, remarksX, y, 11), Figure(mark, 1, 1, 161, y, 15, kNudged)}};
}

}  // namespace

BlankA4Page DepositsPage() {
  const M m = M::Deposits;
  return {S::Deposits,
          true,
          {
              Line(MediumLine, 64, 32, 62, 272),
              Line(MediumLine, 84, 32, 83, 272),
              Uprights{MediumLine, {110, 143}, 32, 272},
              SeparatorSlashes(44),
              Title(QStringLiteral("預貯金等の明細書")),
              PageMark(QStringLiteral("①")),
              Text(34, 35, 11, QStringLiteral("金融機関名")),
              Text(68, 35, 11, QStringLiteral("種 \u3000類")),
              Text(89, 35, 11, QStringLiteral("口座番号")),
              Text(117, 35, 11, QStringLiteral("期末現在高")),
              Text(155, 35, 11, QStringLiteral("提  \u3000      \u3000要")),
              Text(42, 265, 11, QStringLiteral("計")),
              Rows{15,
                   10,
                   {Cell(m, 1, 5, 27, 44, 11), Cell(m, 2, 5, 47, 47, 11), Cell(m, 3, 5, 66, 44, 11),
                    Cell(m, 4, 5, 90, 44, 11), Cell(m, 5, 5, 152, 44, 11),
                    Figure(m, 1, 1, 137, 45, 15, kNudged)}},
              Total(m, 16, 137, 265, 15, kNudged),
          }};
}

BlankA4Page NotesReceivablePage(StatementMark m, double totalLabelY) {
  return {m == M::NotesReceivable ? S::NotesReceivable : S::NotesReceivable2nd,
          true,
          {
              Uprights{MediumLine, {56, 74, 97, 131, 154}, 32, 272},
              Line(LightLine, 56, 272, 74, 262),
              Line(LightLine, 74, 272, 97, 262),
              Line(LightLine, 131, 272, 154, 262),
              SeparatorSlashes(142),
              SeparatorSlashes(85),
              Run(LightLine, 56, 37, 74, 37, 23, 0, 10),
              Title(QStringLiteral("受取手形の内訳書")),
              PageMark(QStringLiteral("②")),
              Text(33, 35, 11, QStringLiteral("振  出  人")),
              Text(76, 35, 11, QStringLiteral("支払銀行名")),
              Text(104, 35, 11, QStringLiteral("金          額")),
              Text(162, 35, 11, QStringLiteral("摘          要")),
              Text(38, totalLabelY, 11, QStringLiteral("計")),
              Text(58, 33, 8, QStringLiteral("振出年月日")),
              Text(58, 38, 8, QStringLiteral("支 払 期 日")),
              Text(134, 35, 9, QStringLiteral("割引銀行名等")),
              Rows{13,
                   10,
                   {Cell(m, 1, 1, 27, 45, 11), Cell(m, 14, 2, 59, 43, 9), Cell(m, 15, 2, 59, 48, 9),
                    Cell(m, 40, 1, 76, 43, 9), Cell(m, 53, 1, 87, 48, 9),
                    Cell(m, 66, 1, 131, 43, 9), Cell(m, 79, 1, 143, 48, 9),
                    Cell(m, 92, 1, 157, 45, 11), Figure(m, 1, 1, 125, 45, 15, kNudged)}},
              Total(m, 14, 125, 265, 15, kNudged),
          }};
}

BlankA4Page ReceivablesPage() {
  const M m = M::Receivables;
  return {S::Receivables, true,
          Joined({LedgerForm(QStringLiteral("売掛金（未収入金）の内訳書"), QStringLiteral("③")),
                  {LedgerRows(m, 14, 14, 46, 170), Total(m, 15, 161, 264, 15, kNudged)}})};
}

BlankA4Page PayablesPage() {
  const QString total = QStringLiteral("合\u3000\u3000計");
  return {
      S::Payables, true,
      Joined({LedgerForm(QStringLiteral("買掛金（未払金・未払費用）の内訳書"), QStringLiteral("⑨")),
              {
                  LedgerRows(M::Payables, 13, 11, 46, 166),
                  // Band 21, the one band that holds nothing else.
                  Text(93, 246, 15, total),
                  Total(M::Payables, 14, 161, 246, 15, kNudged),
                  LedgerRows(M::OtherPayables, 11, 9, 156, 166),
                  Text(93, 256, 15, total),
                  Total(M::OtherPayables, 12, 161, 256, 15, kNudged),
              }})};
}

BlankA4Page NotesPayablePage() {
  const M m = M::NotesPayable;
  return {S::NotesPayable,
          true,
          {
              Uprights{MediumLine, {58, 77, 96, 133}, 32, 272},
              Line(LightLine, 58, 272, 77, 262),
              Line(LightLine, 77, 272, 96, 262),
              SeparatorSlashes(85),
              Run(LightLine, 58, 37, 77, 37, 23, 0, 10),
              Title(QStringLiteral("支払手形の内訳書"), 26),
              PageMark(QStringLiteral("⑧")),
              Text(33, 35, 11, QStringLiteral("支\u3000払\u3000先")),
              Text(108, 35, 11, QStringLiteral("金        額")),
              Text(151, 35, 11, QStringLiteral("摘                要")),
              Text(38, 265, 11, QStringLiteral("計")),
              Text(61, 33, 8, QStringLiteral("振出年月日")),
              Text(61, 38, 8, QStringLiteral("支 払 期 日")),
              Text(79, 35, 9, QStringLiteral("支払銀行名")),
              Rows{13,
                   10,
                   {Cell(m, 1, 1, 27, 45, 11), Cell(m, 14, 2, 61, 43, 8), Cell(m, 15, 2, 61, 48, 8),
                    Cell(m, 40, 1, 78, 43, 8), Cell(m, 53, 1, 86, 48, 8),
                    Cell(m, 79, 1, 134, 45, 11), Figure(m, 1, 1, 129, 45, 15, kPlain)}},
              Total(m, 14, 129, 265, 15, kPlain),
          }};
}

}  // namespace mirudanto::printing::blank_a4
