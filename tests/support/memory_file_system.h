#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <set>

#include "platform/files.h"
#include "support/drive_state.h"

namespace mirudanto::testing {

// What both drives hold, as a medium in memory keeps it: drive-form paths,
// hashed rather than ordered, since the power-loss tests look up and compare
// many thousands of such states. The drives' lock files are left out.
struct MemoryState {
  QSet<QString> folders;
  QHash<QString, QByteArray> files;

  static MemoryState Of(const DriveState& state);
  DriveState Ordered() const;
  bool operator==(const MemoryState&) const = default;
};
// The state's hash: the sum of its folders' and files' (drive_state.h).
std::size_t HashOf(const MemoryState& state);

// The file system as a state in memory: the medium after a power cut, for
// the recovery that follows to run on in a few microseconds instead of on the
// disk, or for the runs of an operation that the power-loss tests make by the
// thousand. Each call fails as the disk's would, and a rename between two
// names of one file does nothing, as on the disk; a drive not among `drives`
// ("c:", "a:") has no medium. Installed for its lifetime.
class MemoryFileSystem final : public platform::FileSystem {
 public:
  MemoryFileSystem(MemoryState state, std::set<QString> drives);
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  const MemoryState& State() const { return state_; }
  // Makes two files of the state, of one content, two names of one file.
  void SameFile(const QString& first, const QString& second);

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
  // The path as the state has it; "disk not ready" on a drive without its
  // medium.
  QString Key(const QString& path) const;
  // "File not found" where the folder is there, "path not found" where not.
  [[noreturn]] void Missing(const QString& key) const;
  bool IsFolder(const QString& key) const;
  // The content of the file at `key`; fails as Missing where there is none.
  const QByteArray& FileAt(const QString& key) const;
  void NeedFolderOf(const QString& key) const;

  platform::FileSystem& next_;
  MemoryState state_;
  std::set<QString> drives_;
  // Which names are one file, by path: those of one number.
  QHash<QString, int> links_;
  int nextLink_ = 0;
};

}  // namespace mirudanto::testing
