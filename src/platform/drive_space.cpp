#include "platform/drive_space.h"

#include <sys/stat.h>
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

  std::int64_t BytesTakenBy(const QString& drivePath) override {
    struct stat st {};
    const QByteArray native = QFile::encodeName(Drives::Translate(drivePath));
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    // st_blocks counts units of 512 bytes, whatever the file system's block.
    return static_cast<std::int64_t>(st.st_blocks) * 512;
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

std::int64_t BytesTakenBy(const QString& drivePath) {
  return CurrentSpaceProbe().BytesTakenBy(drivePath);
}

}  // namespace mirudanto::platform
