#pragma once

#include "platform/screen.h"

namespace mirudanto::app {

// Form1, the main menu: the first screen, loaded and shown for the whole run.
class MainMenu : public platform::Screen {
 public:
  MainMenu();

  // The close box ends the program at once, whatever the other screens hold.
  void CloseBox() override;

 protected:
  void Build() override;
};

}  // namespace mirudanto::app
