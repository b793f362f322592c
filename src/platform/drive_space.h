#pragma once

#include <QString>
#include <cstdint>

namespace mirudanto::platform {

// Room on a drive, for an operation that must know before it writes anything
// whether its files will fit.
struct DriveSpace {
  // What an ordinary user may still write.
  std::int64_t freeBytes = 0;
  // The unit of allocation: every file takes whole blocks.
  std::int64_t blockBytes = 1;
};

// The space on the drive of a drive-form path ("a:", "a:\法人税"); fails with
// "disk not ready" as every access of a drive without its medium does.
DriveSpace SpaceOnDrive(const QString& drivePath);
// As a seam, so that a test can make a medium full.
class SpaceProbe {
 public:
  virtual ~SpaceProbe() = default;
  virtual DriveSpace SpaceOnDrive(const QString& drivePath) = 0;
};

SpaceProbe& CurrentSpaceProbe();
// Installs the probe for the run (not owned); nullptr restores the disk's.
void InstallSpaceProbe(SpaceProbe* probe);

}  // namespace mirudanto::platform
