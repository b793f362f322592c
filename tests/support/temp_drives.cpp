#include "support/temp_drives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "platform/drives.h"

namespace mirudanto::testing {

TempDrives::TempDrives(bool withFloppy) {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  hardDisk_ = dir_.path() + QStringLiteral("/c");
  floppy_ = dir_.path() + QStringLiteral("/a");
  QDir().mkpath(hardDisk_);
  if (withFloppy) QDir().mkpath(floppy_);
  platform::Drives::SetRoot(QChar('c'), hardDisk_);
  platform::Drives::SetRoot(QChar('a'), floppy_);
}

TempDrives::~TempDrives() {
  // Whatever a test made read-only must not stop the folder's removal.
  QDirIterator folders(dir_.path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                       QDirIterator::Subdirectories);
  const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
  QFile::setPermissions(dir_.path(), open);
  while (folders.hasNext()) QFile::setPermissions(folders.next(), open);
  platform::Drives::SetRoot(QChar('c'), QString());
  platform::Drives::SetRoot(QChar('a'), QString());
}

QString TempDrives::Native(const QString& drivePath) const {
  return platform::Drives::Translate(drivePath);
}

void TempDrives::MakeFolder(const QString& drivePath) const { QDir().mkpath(Native(drivePath)); }

void TempDrives::Put(const QString& drivePath, const QByteArray& bytes) const {
  const QString native = Native(drivePath);
  QDir().mkpath(QFileInfo(native).path());
  QFile file(native);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw std::runtime_error("cannot write fixture");
  }
  file.write(bytes);
}

QByteArray TempDrives::Get(const QString& drivePath) const {
  QFile file(Native(drivePath));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

bool TempDrives::Exists(const QString& drivePath) const {
  return QFileInfo::exists(Native(drivePath));
}

}  // namespace mirudanto::testing
