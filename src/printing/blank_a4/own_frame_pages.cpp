// The pages with frames of their own and one table or two: ④, ⑤, ⑦ and ⑩.
#include "printing/blank_a4/pages.h"

namespace mirudanto::printing::blank_a4 {

BlankA4Page AdvancesAndLoansPage() {
  const M advances = M::AdvancePayments;
  const M loans = M::LoansReceivable;
  return {
      S::AdvancesAndLoans, false,
      Joined({
          Box(HeavyLine, 25, 32, 192, 152),
          Box(HeavyLine, 25, 182, 192, 272),
          {
              Run(MediumLine, 25, 42, 192, 42, 11, 0, 10),
              Run(MediumLine, 25, 192, 192, 192, 8, 0, 10),
              Line(MediumLine, 41, 32, 41, 152),
              Line(MediumLine, 78, 37, 78, 152),
              Line(MediumLine, 41, 37, 138, 37),
              Uprights{MediumLine, {138, 166}, 32, 152},
              Line(MediumLine, 123, 37, 123, 152),
              Uprights{MediumLine, {82, 113, 133, 156}, 182, 272},
              Run(LightLine, 25, 187, 82, 187, 8, 0, 10),
              Run(LightLine, 113, 187, 133, 187, 8, 0, 10),
              Run(LightLine, 63, 182, 63, 187, 8, 0, 10),
              Line(LightLine, 113, 267, 133, 267),
              Title(QStringLiteral("仮払金（前渡金）の内訳書")),
              PageMark(QStringLiteral("④")),
              Text(28, 35, 11, QStringLiteral("科  目")),
              Text(63, 33, 11, QStringLiteral("相         手         先")),
              Text(48, 38, 11, QStringLiteral("名\u3000\u3000称(氏名)")),
              Text(87, 38, 11, QStringLiteral("所\u3000\u3000在\u3000\u3000地(住所)")),
              Text(125, 38, 11, QStringLiteral("関\u3000係")),
              Text(142, 35, 11, QStringLiteral("期末現在高")),
              Text(169, 35, 11, QStringLiteral("取引の内容")),
              Text(27, 176, 11, QStringLiteral("貸付金及び受取利息の内訳書")),
              Text(34, 183, 11, QStringLiteral("貸\u3000\u3000付\u3000\u3000先")),
              Text(66, 183, 11, QStringLiteral("関\u3000  係")),
              Text(87, 185, 11, QStringLiteral("期末現在高")),
              Text(137, 185, 11, QStringLiteral("貸付理由")),
              Text(164, 185, 11, QStringLiteral("担保の内容")),
              Text(114, 183, 10, QStringLiteral("受取利息額")),
              Text(118, 188, 11, QStringLiteral("利\u3000率")),
              Text(50, 265, 11, QStringLiteral("計")),
              Text(37, 188, 11, QStringLiteral("所\u3000\u3000在\u3000\u3000地(住所)")),
              Rows{11,
                   10,
                   {Cell(advances, 1, 1, 25, 45, 11), Cell(advances, 12, 1, 46, 45, 11),
                    Cell(advances, 23, 1, 79, 45, 11), Cell(advances, 34, 1, 125, 45, 11),
                    Cell(advances, 45, 1, 167, 45, 11),
                    Figure(advances, 1, 1, 163, 45, 15, kPlain)}},
              Rows{7,
                   10,
                   {Cell(loans, 1, 7, 27, 193, 11), Cell(loans, 2, 7, 65, 193, 11),
                    Cell(loans, 3, 7, 27, 198, 11), Cell(loans, 4, 7, 115, 193, 11),
                    Cell(loans, 5, 7, 115, 199, 11), Cell(loans, 6, 7, 134, 196, 11),
                    Cell(loans, 7, 7, 157, 196, 11), Figure(loans, 1, 1, 111, 196, 15, kPlain)}},
              // The seven loans summed wide and printed exactly: the stored
              // total is not what the sheet shows.
              SumCell{{{loans, 1, 7}}, 111, 264, 15, kPlain},
          },
      })};
}

BlankA4Page InventoriesPage() {
  const M m = M::Inventories;
  return {S::Inventories, false,
          Joined({
              Box(HeavyLine, 25, 32, 192, 222),
              {
                  Run(MediumLine, 25, 42, 192, 42, 18, 0, 10),
                  Uprights{MediumLine, {47, 81, 100, 119, 154}, 32, 222},
                  Title(QStringLiteral(
                            "棚卸資産（商品又は製品、半製品、仕掛品、原材料、貯蔵品）の内訳書"),
                        26),
                  PageMark(QStringLiteral("⑤")),
                  Text(29, 35, 11, QStringLiteral("科     目")),
                  Text(52, 35, 11, QStringLiteral("品\u3000\u3000\u3000\u3000\u3000目")),
                  Text(85, 35, 11, QStringLiteral("数\u3000量")),
                  Text(104, 35, 11, QStringLiteral("単\u3000価")),
                  Text(126, 35, 11, QStringLiteral("期末現在高")),
                  Text(163, 35, 11, QStringLiteral("摘\u3000 \u3000\u3000要")),
                  Rows{5,
                       10,
                       {Cell(m, 7, 5, 27, 45, 11), Cell(m, 8, 5, 50, 45, 11),
                        Cell(m, 9, 5, 84, 45, 11), Cell(m, 10, 5, 103, 45, 11),
                        Cell(m, 11, 5, 157, 45, 11), Figure(m, 1, 1, 149, 45, 15, kNudged)}},
                  Total(m, 6, 149, 215, 15, kNudged),
                  Text(34, 215, 15, QStringLiteral("計")),
              },
              Box(HeavyLine, 50, 232, 131, 252),
              {
                  Line(LightLine, 50, 242, 131, 242),
                  Text(57, 234, 11, QStringLiteral("(期末棚卸の方法)")),
                  StocktakingLine{57, 244, 11},
              },
          })};
}

BlankA4Page FixedAssetsPage() {
  const M m = M::FixedAssets;
  return {
      S::FixedAssets, false,
      Joined({
          Box(HeavyLine, 25, 32, 192, 262),
          {
              Run(MediumLine, 25, 62, 192, 62, 10, 0, 20),
              Line(MediumLine, 95, 42, 192, 42),
              Uprights{MediumLine, {72, 95}, 32, 262},
              Uprights{MediumLine, {114, 135, 173}, 42, 262},
              Uprights{LightLine, {47, 62}, 32, 47},
              Line(LightLine, 25, 47, 72, 47),
              Run(LightLine, 95, 52, 173, 52, 11, 0, 20),
              Run(LightLine, 25, 72, 72, 72, 10, 0, 20),
              Run(LightLine, 43, 62, 43, 72, 10, 0, 20),
              Run(LightLine, 62, 62, 62, 72, 10, 0, 20),
              Title(QStringLiteral("固定資産(土地、土地の上に存する権利及び建物に限る。)の内訳書")),
              PageMark(QStringLiteral("⑦")),
              Text(30, 35, 10, QStringLiteral("種  \u3000 類")),
              Text(30, 40, 10, QStringLiteral("構  \u3000 造")),
              Text(49, 38, 10, QStringLiteral("用\u3000 途")),
              Text(63, 38, 10, QStringLiteral("面 積")),
              Text(34, 52, 10, QStringLiteral("物 件 の 所 在 地")),
              Text(75, 45, 10, QStringLiteral("期末現在高")),
              Text(120, 35, 10, QStringLiteral("期 中 取 得 (処 分) の 明 細")),
              Text(96, 45, 10, QStringLiteral("異動年月日")),
              Text(116, 45, 10, QStringLiteral("取 得 価 額")),
              Text(141, 45, 10, QStringLiteral("売却先の名  称")),
              Text(96, 55, 10, QStringLiteral("異 動 事 由")),
              Text(115, 55, 9, QStringLiteral("異動直前簿価")),
              Text(141, 55, 10, QStringLiteral("売却先の所在地")),
              Text(174, 47, 10, QStringLiteral("売却物件の")),
              Text(174, 54, 10, QStringLiteral("取得年月日")),
              Rows{5,
                   20,
                   {Cell(m, 1, 9, 27, 66, 11), Cell(m, 2, 9, 48, 66, 11), Cell(m, 3, 9, 67, 66, 11),
                    Cell(m, 4, 9, 28, 76, 11), Cell(m, 5, 9, 98, 66, 11), Cell(m, 6, 9, 98, 76, 11),
                    Cell(m, 7, 9, 140, 66, 11), Cell(m, 8, 9, 140, 76, 11),
                    Cell(m, 9, 9, 177, 71, 11), Figure(m, 11, 1, 132, 66, 11, kPlain),
                    Figure(m, 6, 1, 132, 76, 11, kPlain), Figure(m, 1, 1, 92, 75, 11, kPlain)}},
              Text(40, 255, 11, QStringLiteral("合\u3000\u3000計")),
              Total(m, 16, 92, 255, 11, kPlain),
              Total(m, 17, 132, 255, 11, kPlain),
          },
      })};
}

BlankA4Page SuspenseReceiptsPage() {
  const M m = M::SuspenseReceipts;
  return {S::SuspenseReceipts, false,
          Joined({
              Box(HeavyLine, 25, 32, 192, 172),
              Box(HeavyLine, 25, 202, 192, 272),
              {
                  Run(MediumLine, 25, 52, 192, 52, 13, 0, 10),
                  Run(MediumLine, 25, 212, 192, 212, 7, 0, 10),
                  Line(MediumLine, 43, 32, 43, 172),
                  Uprights{MediumLine, {72, 114}, 42, 172},
                  Uprights{MediumLine, {132, 167}, 32, 172},
                  Line(MediumLine, 43, 42, 132, 42),
                  Line(HeavyLine, 108, 202, 108, 272),
                  Line(MediumLine, 37, 212, 37, 272),
                  Uprights{MediumLine, {49, 68}, 202, 272},
                  Line(MediumLine, 120, 212, 120, 272),
                  Uprights{MediumLine, {132, 151}, 202, 272},
                  Title(QStringLiteral("仮受金（前受金・預り金）の内訳書")),
                  PageMark(QStringLiteral("⑩")),
                  Text(29, 42, 11, QStringLiteral("科   目")),
                  Text(47, 45, 11, QStringLiteral("名  称(氏名)")),
                  Text(68, 35, 11, QStringLiteral("相        手        先")),
                  Text(81, 45, 11, QStringLiteral("所 在 地(住所)")),
                  Text(140, 45, 11, QStringLiteral("期末現在高")),
                  Text(169, 45, 11, QStringLiteral("取引の内容")),
                  Text(116, 44, 9, QStringLiteral("法人・代表")),
                  Text(116, 47, 9, QStringLiteral("者との関係")),
                  Text(27, 196, 11, QStringLiteral("源泉所得税与り金の内訳")),
                  Text(31, 205, 11, QStringLiteral("年 月 日")),
                  Text(75, 205, 11, QStringLiteral("期 末 現 在 高")),
                  Text(113, 205, 11, QStringLiteral("年 月 日")),
                  Text(158, 205, 11, QStringLiteral("期 末 現 在 高")),
                  Text(50, 205, 9, QStringLiteral("所得の種類")),
                  Text(133, 205, 9, QStringLiteral("所得の種類")),
                  Rows{10,
                       10,
                       {Cell(m, 1, 1, 28, 55, 11), Cell(m, 12, 1, 45, 55, 11),
                        Cell(m, 23, 1, 73, 55, 11), Cell(m, 34, 1, 115, 55, 11),
                        Cell(m, 45, 1, 169, 55, 11), Figure(m, 1, 1, 161, 54, 15, kNudged)}},
                  Text(83, 165, 15, QStringLiteral("合\u3000\u3000計")),
                  Total(m, 11, 161, 165, 15, kNudged),
                  Rows{6,
                       10,
                       {Cell(m, 56, 1, 29, 215, 11), Cell(m, 62, 1, 41, 215, 11),
                        Cell(m, 68, 1, 55, 215, 11), Figure(m, 12, 1, 102, 215, 15, kPlain),
                        Cell(m, 74, 1, 113, 215, 11), Cell(m, 80, 1, 125, 215, 11),
                        Cell(m, 86, 1, 140, 215, 11), Figure(m, 18, 1, 184, 215, 15, kNudged)}},
              },
          })};
}

}  // namespace mirudanto::printing::blank_a4
