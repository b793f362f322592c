#pragma once

#include <QByteArray>
#include <QString>
#include <map>

#include "platform/files.h"

namespace mirudanto::testing {

// Stands in for the file system as a medium that keeps only what was flushed:
// every call goes on to the disk, and beside it a model follows what the
// medium would hold after a power cut. A file's content is kept once the file
// is flushed; a name made, renamed or removed in a folder is kept once that
// folder is flushed; a folder whose name was never flushed is lost with all
// in it. Installed for its lifetime, over the temporary drives of the test.
//
// LosePowerAfter(n) cuts the power after the nth step (a call that changes
// the disk or flushes it): every later call fails and changes nothing.
// Restart() then puts both drives as the medium holds them, as the next start
// of the program would find them.
class PowerLossFileSystem : public platform::FileSystem {
  struct Node {
    bool folder = false;
    int file = -1;
  };
  using Folder = std::map<QString, Node>;

 public:
  // The drives as a medium began: to begin another on the same files without
  // reading them all again.
  struct Start {
    std::map<QString, Folder> folders;
    std::map<int, QByteArray> contents;
    int files = 0;
  };

  // What is on both drives now counts as on the medium.
  PowerLossFileSystem();
  // The drives hold what `start` says (put back by the test).
  explicit PowerLossFileSystem(const Start& start);
  ~PowerLossFileSystem() override;
  PowerLossFileSystem(const PowerLossFileSystem&) = delete;
  PowerLossFileSystem& operator=(const PowerLossFileSystem&) = delete;

  // The medium gives no file a second name, as FAT.
  void WithoutHardLinks() { hardLinks_ = false; }
  void LosePowerAfter(int steps) { powerFor_ = steps; }
  int Steps() const { return steps_; }
  bool PowerLost() const { return powerFor_ >= 0 && steps_ >= powerFor_; }
  void Restart();
  const Start& Began() const { return began_; }

  QByteArray Read(const QString& path) override;
  void Write(const QString& path, const QByteArray& bytes, bool flush) override;
  void Rename(const QString& from, const QString& to) override;
  bool Link(const QString& from, const QString& to) override;
  void Unlink(const QString& path) override;
  void MakeFolder(const QString& path) override;
  void FlushFolder(const QString& path) override;
  platform::PathKind Look(const QString& path) override;
  bool Lock(const QString& path, platform::LockMode mode) override;

 private:
  void Load(const QString& folder);
  void Step();
  void Check() const;
  Folder Durable(const QString& folder, std::map<QString, Folder>& into) const;

  platform::FileSystem& next_;
  bool hardLinks_ = true;
  int powerFor_ = -1;
  int steps_ = 0;
  int nextFile_ = 0;
  // Folders by drive-form path, as they are now and as the medium has them.
  std::map<QString, Folder> now_;
  std::map<QString, Folder> kept_;
  // Files' contents as written, and as flushed.
  std::map<int, QByteArray> written_;
  std::map<int, QByteArray> flushed_;
  Start began_;
};

}  // namespace mirudanto::testing
