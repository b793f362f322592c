#include "platform/drive_space.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "support/failure_of.h"
#include "support/temp_drives.h"

namespace mirudanto::platform {
namespace {

using mirudanto::testing::FailureOf;
using mirudanto::testing::TempDrives;

TEST(DriveSpace, TheDiskTellsItsRoom) {
  TempDrives drives;
  const DriveSpace space = SpaceOnDrive(QStringLiteral("a:\\法人税"));
  EXPECT_GT(space.blockBytes, 0);
  EXPECT_GT(space.freeBytes, 0);
  EXPECT_EQ(space.freeBytes % space.blockBytes, 0);
}

TEST(DriveSpace, WithoutAMediumTheDriveIsNotReady) {
  TempDrives drives(false);
  EXPECT_EQ(FailureOf([] { SpaceOnDrive(QStringLiteral("a:")); })->Kind(),
            FailureKind::DiskNotReady);
}

}  // namespace
}  // namespace mirudanto::platform
