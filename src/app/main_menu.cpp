#include "app/main_menu.h"

#include "platform/desktop.h"

namespace mirudanto::app {

MainMenu::MainMenu() : Screen(QStringLiteral("Form1"), QStringLiteral("ミルダントシステム")) {}

void MainMenu::CloseBox() {
  platform::Beep();
  platform::CurrentDesktop().EndProgram();
}

void MainMenu::Build() {
  SetWindowFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
  SetClientSizeTwips(11520, 8250);
}

}  // namespace mirudanto::app
