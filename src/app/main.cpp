#include <QApplication>

#include "app/leftovers.h"
#include "app/screens.h"
#include "platform/drives.h"
#include "platform/fonts.h"
#include "platform/screen.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  mirudanto::platform::InstallFontSubstitutions();
  mirudanto::platform::Drives::UseDefaultRoots();
  mirudanto::platform::Drives::EnsureHardDisk();
  mirudanto::app::RecoverFromKilledRun();

  mirudanto::app::RegisterScreens();
  // The main menu's load shows it and fills its company list.
  mirudanto::platform::ScreenNamed(QStringLiteral("Form1")).Load();

  const int result = QApplication::exec();
  mirudanto::platform::ScreenSet::Instance().Clear();
  return result;
}
