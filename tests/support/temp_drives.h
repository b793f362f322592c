#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace mirudanto::testing {

// Points the hard disk and the removable drive at fresh temporary folders for
// the test's lifetime, so no test touches the machine's own data.
class TempDrives {
 public:
  // withFloppy false leaves the removable drive without a medium.
  explicit TempDrives(bool withFloppy = true);
  ~TempDrives();

  QString HardDisk() const { return hardDisk_; }
  QString Floppy() const { return floppy_; }
  // The path on this machine of a drive-form path.
  QString Native(const QString& drivePath) const;

  // Helpers for fixtures, on drive-form paths.
  void MakeFolder(const QString& drivePath) const;
  void Put(const QString& drivePath, const QByteArray& bytes) const;
  QByteArray Get(const QString& drivePath) const;
  bool Exists(const QString& drivePath) const;

 private:
  QTemporaryDir dir_;
  QString hardDisk_;
  QString floppy_;
};

}  // namespace mirudanto::testing
