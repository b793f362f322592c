#pragma once

#include "platform/files.h"

namespace mirudanto::testing {

// The disk without its flushes, for tests that make thousands of changes: a
// kill loses nothing that was written, and a power loss is decided by the
// model over it (power_loss_file_system.h), not by the disk. Installed for
// its lifetime.
class UnflushedDisk final : public platform::FileSystem {
 public:
  UnflushedDisk() : next_(platform::CurrentFileSystem()) { platform::InstallFileSystem(this); }
  ~UnflushedDisk() override { platform::InstallFileSystem(&next_); }
  UnflushedDisk(const UnflushedDisk&) = delete;
  UnflushedDisk& operator=(const UnflushedDisk&) = delete;

  QByteArray Read(const QString& path) override { return next_.Read(path); }
  void Write(const QString& path, const QByteArray& bytes, bool) override {
    next_.Write(path, bytes, false);
  }
  void Rename(const QString& from, const QString& to) override { next_.Rename(from, to); }
  bool Link(const QString& from, const QString& to) override { return next_.Link(from, to); }
  void Unlink(const QString& path) override { next_.Unlink(path); }
  void MakeFolder(const QString& path) override { next_.MakeFolder(path); }
  void FlushFolder(const QString&) override {}
  platform::PathKind Look(const QString& path) override { return next_.Look(path); }
  bool Lock(const QString& path, platform::LockMode mode) override {
    return next_.Lock(path, mode);
  }

 private:
  platform::FileSystem& next_;
};

}  // namespace mirudanto::testing
