#include <gtest/gtest.h>

#include <QApplication>

#include "platform/fonts.h"

// Real widgets on Qt's offscreen platform; no window ever reaches a display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  mirudanto::platform::InstallFontSubstitutions();
  return RUN_ALL_TESTS();
}
