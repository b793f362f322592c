#pragma once

#include <gtest/gtest.h>

#include "platform/screen.h"
#include "support/recording_desktop.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

// A test of screens: fresh drives, a desktop that records whatever the screens
// ask of it, and no screen left over for the next test. The screen set is
// emptied before the desktop and the drives go, so no screen outlives them.
class ScreenTest : public ::testing::Test {
 protected:
  ~ScreenTest() override { platform::ScreenSet::Instance().Clear(); }

  TempDrives drives;
  RecordingDesktop desktop;
};

}  // namespace mirudanto::testing
