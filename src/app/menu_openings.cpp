#include "app/menu_openings.h"

namespace mirudanto::app {

const std::vector<MenuOpening>& MenuOpenings() {
  static const std::vector<MenuOpening> openings = {
      {"Command13", "会社登録", "Form10", Opening::Register},
      {"Command12", "預貯金", "Form2", Opening::Plain},
      {"Command1", "受取手形", "Form3", Opening::Plain},
      {"Command34", "受取手形　２枚目", "Form22", Opening::Plain},
      {"Command4", "売掛金", "Form4", Opening::Plain},
      {"Command5", "仮払金", "Form5", Opening::Plain},
      {"Command30", "貸付金", "Form20", Opening::ClearedFirst},
      {"Command6", "棚卸商品", "Form6", Opening::Plain},
      {"Command7", "固定資産", "Form7", Opening::Plain},
      {"Command14", "支払手形", "Form8", Opening::ShownFirst},
      {"Command8", "買掛金", "Form9", Opening::Plain},
      {"Command15", "未払金", "Form11", Opening::Plain},
      {"Command16", "仮受金", "Form12", Opening::Plain},
      {"Command17", "借入金", "Form13", Opening::Plain},
      {"Command22", "　借入金　その２", "Form17", Opening::BothPages},
      {"Command18", "役員報酬", "Form14", Opening::Plain},
      {"Command20", "地代家賃", "Form15", Opening::Plain},
      {"Command19", "雑　益", "Form16", Opening::Plain},
      {"Command21", "雑　損", "Form19", Opening::Plain},
      {"Command3", "印　刷", "Form18", Opening::ShownFirst},
      {"Command29", "データ", "Form21", Opening::DataScreen},
      {"Command37", "プリンターの設定変更", "Form25", Opening::PrinterScreen},
      {"Command35", "A4白紙用紙印刷", "Form23", Opening::ShownFirst},
  };
  return openings;
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

const std::vector<QString>& UnloadedScreens() {
  static const std::vector<QString> screens = [] {
    std::vector<QString> names;
    for (int n = 2; n <= 21; ++n) names.push_back(QStringLiteral("Form%1").arg(n));
    return names;
  }();
  return screens;
}

}  // namespace mirudanto::app
