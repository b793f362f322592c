#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <vector>

#include "core/failure.h"
#include "platform/files.h"

namespace mirudanto::testing {

// The operations of the file system, each counted on its own.
enum class FileOperation {
  Read,
  Write,
  FolderExists,
  FileExists,
  CreateFolder,
  CreateTextFile,
  EnsureNewFile,
  Copy,
  Delete,
  // Putting a written temporary file in place of its target.
  Rename,
  // The steps of a change of several files around its renames: keeping an old
  // content, bringing it back, flushing a folder, and the commit record.
  SetAside,
  PutBack,
  SyncFolder,
  WriteRecord,
  RemoveRecord,
};
inline constexpr std::size_t kFileOperations =
    static_cast<std::size_t>(FileOperation::RemoveRecord) + 1;

// Stands in for the file system while a test runs, passing every call on to
// the one current when it was made (the disk) except the calls the test has
// marked to fail: such a call does nothing and throws its failure. Calls are
// counted from 1 for each operation since the making. Writing a file counts
// as a write (of its temporary file) and a rename; the disk's copy reads and
// writes through the installed file system, so a copy also counts (and may
// fail) as a read and a write; so does emptying a file, as a write.
// Installed for its lifetime.
class FaultyFileSystem : public platform::FileSystem {
 public:
  FaultyFileSystem();
  ~FaultyFileSystem() override;
  FaultyFileSystem(const FaultyFileSystem&) = delete;
  FaultyFileSystem& operator=(const FaultyFileSystem&) = delete;

  // The nth call of the operation fails with the failure of that kind.
  void Fail(FileOperation operation, int nth, FailureKind kind);

  int Calls(FileOperation operation) const;
  // One line a call, in order: "write <path>", "rename <path>",
  // "copy <source> to <target>";
  // a call that was made to fail ends in " failed".
  const QStringList& Log() const { return log_; }

  QByteArray ReadFileBytes(const QString& path) override {
    Enter(FileOperation::Read, path);
    return next_.ReadFileBytes(path);
  }

  QString WriteTemporary(const QString& path, const QByteArray& bytes) override {
    Enter(FileOperation::Write, path);
    return next_.WriteTemporary(path, bytes);
  }

  void ReplaceWithTemporary(const QString& temporary, const QString& path) override {
    Enter(FileOperation::Rename, path);
    next_.ReplaceWithTemporary(temporary, path);
  }

  void DiscardTemporary(const QString& temporary) noexcept override {
    next_.DiscardTemporary(temporary);
  }

  void SetAside(const QString& path, const QString& aside) override {
    Enter(FileOperation::SetAside, path);
    if (hardLinks_) {
      next_.SetAside(path, aside);
    } else {
      RenameAside(path, aside);
    }
  }

  // From now on old contents are set aside as on a medium without hard
  // links (FAT): the old file gives up its name until the new one takes it.
  void WithoutHardLinks() { hardLinks_ = false; }
  // That setting-aside, for other stand-ins.
  static void RenameAside(const QString& path, const QString& aside);

  void PutBack(const QString& aside, const QString& path) override {
    Enter(FileOperation::PutBack, path);
    next_.PutBack(aside, path);
  }

  void SyncFolder(const QString& folder) override {
    Enter(FileOperation::SyncFolder, folder);
    next_.SyncFolder(folder);
  }

  void WriteRecord(const QString& path, const QByteArray& bytes) override {
    Enter(FileOperation::WriteRecord, path);
    next_.WriteRecord(path, bytes);
  }

  std::optional<QByteArray> TakeRecord(const QString& path) override {
    return next_.TakeRecord(path);
  }

  void RemoveRecord(const QString& path) override {
    Enter(FileOperation::RemoveRecord, path);
    next_.RemoveRecord(path);
  }

  bool FolderExists(const QString& path) override {
    Enter(FileOperation::FolderExists, path);
    return next_.FolderExists(path);
  }

  bool FileExists(const QString& path) override {
    Enter(FileOperation::FileExists, path);
    return next_.FileExists(path);
  }

  void CreateFolder(const QString& path) override {
    Enter(FileOperation::CreateFolder, path);
    next_.CreateFolder(path);
  }

  void CreateTextFile(const QString& path, bool overwrite) override {
    Enter(FileOperation::CreateTextFile, path);
    next_.CreateTextFile(path, overwrite);
  }

  void EnsureNewFile(const QString& path) override {
    Enter(FileOperation::EnsureNewFile, path);
    next_.EnsureNewFile(path);
  }

  void CopyFile(const QString& source, const QString& target) override {
    Enter(FileOperation::Copy, source + QStringLiteral(" to ") + target);
    next_.CopyFile(source, target);
  }

  void DeleteFile(const QString& path) override {
    Enter(FileOperation::Delete, path);
    next_.DeleteFile(path);
  }

 private:
  struct Fault {
    FileOperation operation;
    int nth;
    FailureKind kind;
  };

  // Counts and logs the call, and throws when it is one marked to fail.
  void Enter(FileOperation operation, const QString& what);

  platform::FileSystem& next_;
  bool hardLinks_ = true;
  std::vector<Fault> faults_;
  std::array<int, kFileOperations> calls_{};
  QStringList log_;
};

}  // namespace mirudanto::testing
