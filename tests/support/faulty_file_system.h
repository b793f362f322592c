#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/failure.h"
#include "platform/files.h"

namespace mirudanto::testing {

// The primitives of the file system, each counted on its own.
enum class FileOperation {
  Read,
  Write,
  Rename,
  Link,
  Unlink,
  MakeFolder,
  FlushFolder,
  Look,
  Lock,
};
inline constexpr std::size_t kFileOperations = static_cast<std::size_t>(FileOperation::Lock) + 1;

// Whether a call changes what is on the disk (for a kill after it to matter).
bool Changes(FileOperation operation);

// Stands in for the file system while a test runs, passing every call on to
// the one current when it was made (the disk) except the calls the test has
// marked to fail: such a call does nothing and throws its failure. Calls are
// counted from 1 for each operation since the making. Installed for its
// lifetime.
class FaultyFileSystem : public platform::FileSystem {
 public:
  FaultyFileSystem();
  ~FaultyFileSystem() override;
  FaultyFileSystem(const FaultyFileSystem&) = delete;
  FaultyFileSystem& operator=(const FaultyFileSystem&) = delete;

  // The nth call of the operation fails with the failure of that kind.
  void Fail(FileOperation operation, int nth, FailureKind kind);
  // From now on the medium gives no file a second name, as FAT.
  void WithoutHardLinks() { hardLinks_ = false; }
  // Called after every call that went through, with its log line.
  void AfterEachCall(std::function<void(FileOperation)> after) { after_ = std::move(after); }

  int Calls(FileOperation operation) const;
  // One line a call, in order: "write <path>", "rename <target>" (and
  // "link <target>", "unlink <path>", "make folder <path>", "flush <folder>",
  // "look <path>", "lock <path>", "read <path>"); a call that was made to
  // fail ends in " failed".
  const QStringList& Log() const { return log_; }

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
  struct Fault {
    FileOperation operation;
    int nth;
    FailureKind kind;
  };

  // Counts and logs the call, and throws when it is one marked to fail.
  void Enter(FileOperation operation, const QString& what);
  void Leave(FileOperation operation);

  platform::FileSystem& next_;
  bool hardLinks_ = true;
  std::function<void(FileOperation)> after_;
  std::vector<Fault> faults_;
  std::array<int, kFileOperations> calls_{};
  QStringList log_;
};

}  // namespace mirudanto::testing
