// The pages of ⑮, ⑪, ⑭ and ⑯: two parts or two blocks under one title.
#include "printing/blank_a4/pages.h"

namespace mirudanto::printing::blank_a4 {
namespace {

// One half of ⑯: its four texts and its amount, ten rows from y.
Rows MiscRows(M mark, double y) {
  return Rows{
      10,
      10,
      {Cell(mark, 1, 4, 38, y, 11), Cell(mark, 2, 4, 58, y, 11), Cell(mark, 3, 4, 90, y, 11),
       Cell(mark, 4, 4, 122, y, 11), Figure(mark, 1, 1, 186, y, 15, kNudged)}};
}

}  // namespace

BlankA4Page RentsPage() {
  const M m = M::Rents;
  return {S::Rents, false,
          Joined({
              Box(HeavyLine, 25, 32, 192, 212),
              Box(HeavyLine, 25, 224, 192, 272),
              {
                  Run(MediumLine, 25, 44, 192, 44, 14, 0, 12),
                  Run(MediumLine, 25, 236, 192, 236, 3, 0, 12),
                  Run(LightLine, 45, 50, 155, 50, 9, 0, 12),
                  Run(LightLine, 25, 170, 71, 170, 4, 0, 12),
                  Run(LightLine, 42, 230, 90, 230, 4, 0, 12),
                  Uprights{MediumLine, {45, 87, 129, 155}, 44, 152},
                  Uprights{MediumLine, {71, 99, 130, 157}, 164, 212},
                  Uprights{MediumLine, {42, 90, 110}, 224, 272},
                  Line(MediumLine, 130, 230, 130, 272),
                  Line(MediumLine, 157, 224, 157, 272),
                  Line(MediumLine, 110, 230, 157, 230),
                  Title(QStringLiteral("地代家賃等のの内訳書")),
                  PageMark(QStringLiteral("⑮")),
                  Text(75, 36, 11,
                       QStringLiteral("地\u3000\u3000代\u3000\u3000家\u3000\u3000賃\u3000\u3000の"
                                      "\u3000\u3000内\u3000\u3000訳")),
                  Text(29, 49, 11, QStringLiteral("区  分")),
                  Text(47, 45, 11, QStringLiteral("借地(借家)物件の用途")),
                  Text(50, 51, 11, QStringLiteral("所         在         地")),
                  Text(90, 45, 11, QStringLiteral("貸 主 の 名 称(氏名)")),
                  Text(90, 51, 11, QStringLiteral("貸主の所在地 (住所)")),
                  Text(130, 45, 11, QStringLiteral("支払対象期間")),
                  Text(130, 51, 11, QStringLiteral("支 払 賃 借 料")),
                  Text(161, 51, 11, QStringLiteral("適            要")),
                  Text(75, 156, 11,
                       QStringLiteral("権\u3000利\u3000金\u3000等\u3000の\u3000期\u3000中\u3000支"
                                      "\u3000払\u3000の\u3000内\u3000訳")),
                  Text(29, 165, 11, QStringLiteral("支 払 先 の 名 称(氏名)")),
                  Text(30, 171, 11, QStringLiteral("支払先の所在地(住所)")),
                  Text(73, 169, 11, QStringLiteral("支 払 年  月日")),
                  Text(103, 169, 11, QStringLiteral("支\u3000払\u3000金\u3000額")),
                  Text(165, 169, 11, QStringLiteral("摘\u3000\u3000\u3000\u3000要")),
                  Text(131, 169, 10, QStringLiteral("権利金等の内容")),
                  Text(27, 218, 11, QStringLiteral("工業所有権等の使用料の内訳書")),
                  Text(28, 228, 11, QStringLiteral("名 \u3000称")),
                  Text(50, 225, 11, QStringLiteral("支払先の名称(氏名)")),
                  Text(47, 231, 11, QStringLiteral("支払先の所在地(住所)")),
                  Text(92, 228, 11, QStringLiteral("契約期間")),
                  Text(122, 225, 11, QStringLiteral("使  用  料  等")),
                  Text(164, 229, 11, QStringLiteral("摘\u3000\u3000\u3000\u3000\u3000要")),
                  Text(112, 231, 8, QStringLiteral("支払対象期間")),
                  Text(135, 231, 10, QStringLiteral("支払金額")),
                  Rows{7,
                       12,
                       {Cell(m, 1, 7, 29, 61, 11), Cell(m, 2, 7, 47, 57, 11),
                        Cell(m, 3, 7, 47, 63, 11), Cell(m, 4, 7, 90, 57, 11),
                        Cell(m, 5, 7, 90, 63, 11), Cell(m, 6, 7, 132, 57, 11),
                        Cell(m, 7, 7, 158, 63, 11), Figure(m, 1, 1, 152, 63, 11, kPlain)}},
                  Text(97, 147, 11, QStringLiteral("合\u3000\u3000\u3000計")),
                  Total(m, 8, 152, 147, 11, kPlain),
              },
          })};
}

BlankA4Page BorrowingsPage() {
  const M page1 = M::Borrowings1;
  const M page2 = M::Borrowings2;
  return {
      S::Borrowings, false,
      Joined({
          Box(HeavyLine, 25, 32, 192, 256),
          {
              Line(MediumLine, 131, 249, 108, 256),
              Line(MediumLine, 154, 242, 131, 256),
              Line(MediumLine, 192, 242, 154, 256),
              Run(MediumLine, 25, 46, 192, 46, 16, 0, 14),
              Run(LightLine, 25, 39, 77, 39, 15, 0, 14),
              Run(LightLine, 56, 32, 56, 39, 15, 0, 14),
              Run(LightLine, 108, 39, 131, 39, 16, 0, 14),
              Uprights{MediumLine, {77, 108, 131, 154}, 32, 256},
              Title(QStringLiteral("借入金及び支払利子の内訳書")),
              PageMark(QStringLiteral("⑪")),
              Text(30, 34, 11, QStringLiteral("借\u3000\u3000入\u3000\u3000先")),
              Text(33, 40, 11, QStringLiteral("所  \u3000在\u3000  地\u3000(住所)")),
              Text(111, 41, 11, QStringLiteral("利\u3000\u3000  率")),
              Text(134, 38, 11, QStringLiteral("借入理由")),
              Text(161, 35, 11, QStringLiteral("担 保 の 内 容")),
              Text(81, 38, 11, QStringLiteral("期末現在高")),
              Text(59, 33, 7, QStringLiteral("法人・代表者")),
              Text(60, 36, 7, QStringLiteral("と の 関 係")),
              Text(109, 34, 7, QStringLiteral("期中の支払利子額")),
              Text(157, 41, 7, QStringLiteral("(物件の種類、数量、所在地等)")),
              Text(51, 247, 11, QStringLiteral("計")),
              // Row i of page 1, then row i of page 2, in one pass.
              Rows{7,
                   14,
                   {Cell(page1, 1, 6, 27, 48, 11), Cell(page1, 2, 6, 59, 48, 11),
                    Cell(page1, 3, 6, 27, 54, 11), Figure(page1, 9, 1, 125, 48, 11, kNudged),
                    Cell(page1, 4, 6, 110, 54, 11), Cell(page1, 5, 6, 134, 51, 11),
                    Cell(page1, 6, 6, 158, 51, 11), Figure(page1, 1, 1, 102, 51, 15, kNudged),
                    Cell(page2, 1, 6, 27, 145, 11), Cell(page2, 2, 6, 59, 145, 11),
                    Cell(page2, 3, 6, 27, 151, 11), Figure(page2, 10, 1, 125, 146, 11, kNudged),
                    Cell(page2, 4, 6, 110, 151, 11), Cell(page2, 5, 6, 134, 149, 11),
                    Cell(page2, 6, 6, 158, 149, 11), Figure(page2, 1, 1, 102, 149, 15, kNudged)}},
              // The grand totals are the sums of what the sheet shows: page
              // 1's totals and page 2's rows, never page 2's stored totals,
              // which go stale when only page 1 is saved.
              SumCell{{{page1, 16, 16}, {page2, 10, 16}}, 125, 243, 11, kNudged, true},
              SumCell{{{page1, 8, 8}, {page2, 1, 7}}, 102, 247, 15, kNudged, true},
          },
      })};
}

BlankA4Page OfficerPayPage() {
  const M texts = M::OfficerPay;
  const M amounts = M::OfficerPay;
  return {S::OfficerPay, false,
          Joined({
              Box(HeavyLine, 25, 32, 192, 188),
              Box(HeavyLine, 25, 200, 192, 272),
              {
                  Run(MediumLine, 25, 44, 192, 44, 12, 0, 12),
                  Run(MediumLine, 25, 212, 192, 212, 3, 0, 12),
                  Line(MediumLine, 62, 248, 192, 248),
                  Line(MediumLine, 25, 260, 192, 260),
                  Uprights{MediumLine, {40, 83, 96, 120}, 44, 188},
                  Line(MediumLine, 144, 50, 144, 188),
                  Line(MediumLine, 120, 50, 168, 50),
                  Line(MediumLine, 168, 44, 168, 188),
                  Line(MediumLine, 40, 188, 83, 176),
                  Line(MediumLine, 83, 188, 96, 176),
                  Run(LightLine, 40, 50, 83, 50, 11, 0, 12),
                  Run(LightLine, 66, 44, 66, 50, 11, 0, 12),
                  Uprights{MediumLine, {95, 142}, 212, 272},
                  Line(MediumLine, 62, 236, 62, 260),
                  Title(QStringLiteral("役員報酬手当等及び人件費の内訳書")),
                  PageMark(QStringLiteral("⑭")),
                  Text(75, 36, 11,
                       QStringLiteral("役\u3000員\u3000報\u3000酬\u3000手\u3000当\u3000等\u3000の"
                                      "\u3000内\u3000訳")),
                  Text(27, 46, 11, QStringLiteral("役職名")),
                  Text(45, 45, 11, QStringLiteral("氏\u3000\u3000  名")),
                  Text(45, 51, 11, QStringLiteral("住\u3000            \u3000所")),
                  Text(100, 48, 11, QStringLiteral("報      酬")),
                  Text(133, 45, 11, QStringLiteral("賞            与")),
                  Text(124, 51, 11, QStringLiteral("損金経理")),
                  Text(146, 51, 11, QStringLiteral("利益金処分")),
                  Text(178, 48, 11, QStringLiteral("計")),
                  Text(31, 180, 11, QStringLiteral("計")),
                  Text(27, 52, 8, QStringLiteral("担当業務")),
                  Text(27, 57, 8, QStringLiteral("(代表者)")),
                  Text(85, 46, 8, QStringLiteral("常 勤 ・")),
                  Text(85, 49, 8, QStringLiteral("非 常 勤")),
                  Text(85, 52, 8, QStringLiteral("の 別")),
                  Text(67, 46, 6, QStringLiteral("代表者との関係")),
                  Literal{85, 60, 10, QStringLiteral("常・非"), 10, 12},
                  Text(83, 204, 11,
                       QStringLiteral("人 \u3000\u3000件 \u3000\u3000費\u3000 \u3000の\u3000\u3000"
                                      " 内\u3000\u3000 訳")),
                  Text(42, 216, 11,
                       QStringLiteral("区\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"
                                      "\u3000分")),
                  Text(105, 216, 11, QStringLiteral("総\u3000\u3000     \u3000\u3000\u3000額")),
                  Text(35, 228, 11,
                       QStringLiteral("役\u3000\u3000員\u3000\u3000報\u3000\u3000酬\u3000\u3000手"
                                      "\u3000\u3000当")),
                  Text(58, 264, 11, QStringLiteral("計")),
                  Text(30, 246, 11, QStringLiteral("従\u3000\u3000業\u3000\u3000員")),
                  Text(67, 240, 11, QStringLiteral("給\u3000料\u3000手\u3000当")),
                  Text(67, 252, 11, QStringLiteral("賃\u3000金\u3000手\u3000当")),
                  Text(144, 216, 9, QStringLiteral("総額のうち代表者及びその家族分")),
                  Rows{6,
                       12,
                       {Cell(texts, 1, 5, 26, 63, 11), Cell(texts, 2, 5, 41, 57, 11),
                        Cell(texts, 3, 5, 67, 57, 11), Cell(texts, 4, 5, 47, 63, 11),
                        Figure(amounts, 1, 1, 115, 60, 11, kPlain),
                        Figure(amounts, 8, 1, 140, 60, 11, kPlain),
                        Figure(amounts, 15, 1, 163, 60, 11, kPlain),
                        Figure(amounts, 22, 1, 186, 60, 11, kPlain),
                        Figure(amounts, 37, 1, 140, 65, 11, kPlain),
                        Figure(amounts, 44, 1, 187, 65, 11, kPlain)}},
                  Total(amounts, 7, 115, 180, 11, kPlain),
                  Total(amounts, 28, 186, 180, 11, kPlain),
                  // Only the two words the screen's buttons write; officer 1's
                  // "常勤" circle stands a millimetre lower than the others.
                  WordCircle{{texts, 5, 5}, 6, QStringLiteral("常勤"), QStringLiteral("〇"), 85,
                             61, 60, 12, 11},
                  WordCircle{{texts, 5, 5}, 6, QStringLiteral("非常勤"), QStringLiteral("〇"), 90,
                             60, 60, 12, 11},
                  Rows{4,
                       12,
                       {Figure(amounts, 29, 1, 135, 227, 15, kPlain),
                        Figure(amounts, 33, 1, 182, 227, 15, kPlain)}},
              },
          })};
}

BlankA4Page MiscGainsLossesPage() {
  return {S::MiscGainsLosses, false,
          Joined({
              Box(HeavyLine, 25, 32, 192, 262),
              {
                  Line(HeavyLine, 25, 42, 192, 42),
                  Line(HeavyLine, 25, 152, 192, 152),
                  Run(MediumLine, 35, 52, 192, 52, 22, 0, 10),
                  Line(MediumLine, 35, 42, 35, 262),
                  Uprights{MediumLine, {55, 87, 119, 160}, 32, 262},
                  Title(QStringLiteral("雑益、雑損失等の内訳書")),
                  PageMark(QStringLiteral("⑯")),
                  Text(32, 35, 11, QStringLiteral("科       目")),
                  Text(61, 35, 11, QStringLiteral("取引の内容")),
                  Text(93, 35, 11, QStringLiteral("相   手   先")),
                  Text(126, 35, 11, QStringLiteral("所   在   地(住所)")),
                  Text(167, 35, 11, QStringLiteral("金        額")),
                  Text(28, 72, 11, QStringLiteral("雑")),
                  Text(28, 100, 11, QStringLiteral("益")),
                  Text(28, 128, 11, QStringLiteral("等")),
                  Text(28, 177, 11, QStringLiteral("雑")),
                  Text(28, 199, 11, QStringLiteral("損")),
                  Text(28, 221, 11, QStringLiteral("失")),
                  Text(28, 243, 11, QStringLiteral("等")),
                  MiscRows(M::MiscGains, 45),
                  MiscRows(M::MiscLosses, 155),
              },
          })};
}

}  // namespace mirudanto::printing::blank_a4
