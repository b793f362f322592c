#include "platform/drive_space.h"

#include <sys/statvfs.h>

#include <QFile>
#include <cerrno>

#include "core/failure.h"
#include "platform/drives.h"

namespace mirudanto::platform {
namespace {

// The drive's root: a medium's mount point, or the folder standing for it.
QString DriveRoot(const QString& drivePath) {
  return Drives::Translate(drivePath.left(2));
}

class DiskSpaceProbe final : public SpaceProbe {
 public:
  DriveSpace SpaceOnDrive(const QString& drivePath) override {
    const QString root = DriveRoot(drivePath);
    struct statvfs vfs {};
    if (::statvfs(QFile::encodeName(root).constData(), &vfs) != 0) {
      throw Failure(FailureKindFromErrno(errno));
    }
    DriveSpace space;
    space.blockBytes = vfs.f_frsize > 0 ? static_cast<std::int64_t>(vfs.f_frsize) : 1;
    space.freeBytes = static_cast<std::int64_t>(vfs.f_bavail) * space.blockBytes;
    return space;
  }
};

DiskSpaceProbe& Disk() {
  static DiskSpaceProbe disk;
  return disk;
}

SpaceProbe* installed = nullptr;

}  // namespace

SpaceProbe& CurrentSpaceProbe() { return installed != nullptr ? *installed : Disk(); }

void InstallSpaceProbe(SpaceProbe* probe) { installed = probe; }

DriveSpace SpaceOnDrive(const QString& drivePath) {
  return CurrentSpaceProbe().SpaceOnDrive(drivePath);
}


}  // namespace mirudanto::platform
