#include "app/screen_contract.h"

#include <stdexcept>

namespace mirudanto::app {
namespace {

using M = StatementMark;
constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;
constexpr FileRole S = FileRole::SubtotalMarkers;

std::vector<StatementFile> Pair(M mark) { return {{mark, T}, {mark, A}}; }

}  // namespace

const std::vector<ScreenContract>& ScreenContracts() {
  static const std::vector<ScreenContract> contracts = {
      {"Command13", "会社登録", "Form10", Opening::Register, "Text100", "", "", "", {}},
      {"Command12", "預貯金", "Form2", Opening::Plain, "Text146", "Command16", "", "Command1",
       Pair(M::Deposits)},
      {"Command1", "受取手形", "Form3", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::NotesReceivable)},
      {"Command34", "受取手形　２枚目", "Form22", Opening::Plain, "Text146", "Command3", "",
       "Command2", Pair(M::NotesReceivable2nd)},
      {"Command4", "売掛金", "Form4", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::Receivables)},
      {"Command5", "仮払金", "Form5", Opening::Plain, "Text146", "Command2", "", "Command1",
       Pair(M::AdvancePayments)},
      {"Command30", "貸付金", "Form20", Opening::ClearedFirst, "Text146", "Command3", "Command4",
       "Command2", Pair(M::LoansReceivable)},
      {"Command6", "棚卸商品", "Form6", Opening::Plain, "Text146", "Command2", "", "Command1",
       Pair(M::Inventories)},
      {"Command7", "固定資産", "Form7", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::FixedAssets)},
      {"Command14", "支払手形", "Form8", Opening::ShownFirst, "Text146", "Command3", "",
       "Command2", Pair(M::NotesPayable)},
      {"Command8", "買掛金", "Form9", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::Payables)},
      {"Command15", "未払金", "Form11", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::OtherPayables)},
      {"Command16", "仮受金", "Form12", Opening::Plain, "Text146", "Command2", "", "Command1",
       Pair(M::SuspenseReceipts)},
      {"Command17", "借入金", "Form13", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::Borrowings1)},
      {"Command22", "　借入金　その２", "Form17", Opening::BothPages, "Text146", "Command3", "",
       "Command2", Pair(M::Borrowings2)},
      {"Command18", "役員報酬", "Form14", Opening::Plain, "Text146", "Command3", "", "Command2",
       {{M::OfficerPay, A}, {M::OfficerPay, T}}},
      {"Command20", "地代家賃", "Form15", Opening::Plain, "Text146", "Command3", "", "Command2",
       Pair(M::Rents)},
      {"Command19", "雑　益", "Form16", Opening::Plain, "Text146", "Command3", "", "Command2",
       {{M::MiscGains, T}, {M::MiscGains, A}, {M::MiscGains, S}}},
      {"Command21", "雑　損", "Form19", Opening::Plain, "Text146", "Command3", "", "Command2",
       {{M::MiscLosses, T}, {M::MiscLosses, A}, {M::MiscLosses, S}}},
      {"Command3", "印　刷", "Form18", Opening::ShownFirst, "Text146", "Command3", "", "", {}},
      {"Command29", "データ", "Form21", Opening::DataScreen, "Text1", "", "", "", {}},
      {"Command37", "プリンターの設定変更", "Form25", Opening::PrinterScreen, "", "", "", "",
       {}},
      {"Command35", "A4白紙用紙印刷", "Form23", Opening::ShownFirst, "Text146", "Command3", "",
       "", {}},
  };
  return contracts;
}

const std::vector<std::vector<QString>>& SetupGroups() {
  static const std::vector<std::vector<QString>> groups = {
      {"Form2", "Form3", "Form4"},
      {"Form5", "Form6", "Form7", "Form20"},
      {"Form8", "Form9", "Form11"},
      {"Form12", "Form13", "Form14"},
      {"Form15", "Form16", "Form17", "Form19"},
  };
  return groups;
}

const ScreenContract& ContractOfScreen(const QString& screen) {
  for (const ScreenContract& contract : ScreenContracts()) {
    if (contract.screen == screen) return contract;
  }
  throw std::logic_error(("no contract for " + screen).toStdString());
}

const std::vector<QString>& UnloadedScreens() {
  static const std::vector<QString> screens = [] {
    std::vector<QString> names;
    for (int n = 2; n <= 21; ++n) names.push_back(QStringLiteral("Form%1").arg(n));
    return names;
  }();
  return screens;
}

}  // namespace mirudanto::app
