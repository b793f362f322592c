#include "app/screens.h"

#include "app/main_menu.h"
#include "platform/screen.h"

namespace mirudanto::app {

void RegisterScreens() {
  auto& screens = platform::ScreenSet::Instance();
  screens.Add<MainMenu>();
}

}  // namespace mirudanto::app
