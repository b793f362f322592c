#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <map>

#include "core/failure.h"
#include "platform/drives.h"

namespace mirudanto::platform {
namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// ".XXXXXX", which mkostemp fills in.
constexpr qsizetype kTemporarySuffixLength = 7;

QString ParentOf(const QString& nativePath) {
  const qsizetype slash = nativePath.lastIndexOf(QChar('/'));
  return slash <= 0 ? QStringLiteral("/") : nativePath.left(slash);
}

bool IsFolder(const QString& nativePath) {
  struct stat st {};
  return ::stat(Native(nativePath).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A missing file in a missing folder is a missing path, as the companion
// program's files have always reported it.
[[noreturn]] void Fail(int error, const QString& nativePath) {
  if ((error == ENOENT || error == ENOTDIR) && !IsFolder(ParentOf(nativePath))) {
    throw Failure(FailureKind::PathNotFound);
  }
  throw Failure(FailureKindFromErrno(error));
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now and reports whether the close failed (a late write error).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

mode_t CreationMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The disk itself, through POSIX calls on the translated paths.
class DiskFileSystem final : public FileSystem {
 public:
  QByteArray ReadFileBytes(const QString& path) override;
  QString WriteTemporary(const QString& path, const QByteArray& bytes) override;
  void ReplaceWithTemporary(const QString& temporary, const QString& path) override;
  void DiscardTemporary(const QString& temporary) noexcept override;
  void SetAside(const QString& path, const QString& aside) override;
  void PutBack(const QString& aside, const QString& path) override;
  void SyncFolder(const QString& folder) override;
  void WriteRecord(const QString& path, const QByteArray& bytes) override;
  std::optional<QByteArray> TakeRecord(const QString& path) override;
  void RemoveRecord(const QString& path) override;
  bool FolderExists(const QString& path) override;
  bool FileExists(const QString& path) override;
  void CreateFolder(const QString& path) override;
  void CreateTextFile(const QString& path, bool overwrite) override;
  void EnsureNewFile(const QString& path) override;
  void CopyFile(const QString& source, const QString& target) override;
  void DeleteFile(const QString& path) override;
};

DiskFileSystem& Disk() {
  static DiskFileSystem disk;
  return disk;
}

FileSystem* installed = nullptr;

}  // namespace

QByteArray DiskFileSystem::ReadFileBytes(const QString& path) {
  const QString native = Drives::Translate(path);
  FileDescriptor fd(::open(Native(native).constData(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, native);
  QByteArray bytes;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw Failure(errno == EISDIR ? FailureKind::FileNotFound : FailureKindFromErrno(errno));
    }
    if (n == 0) break;
    bytes.append(buffer, n);
  }
  return bytes;
}

namespace {

// Writes the bytes whole and flushes them; the errno of the first failure,
// or 0.
int WriteAllAndFlush(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<std::size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    left -= n;
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

// A new hidden name in the folder for bytes on their way in, flushed whole;
// the name on this machine, or a failure with nothing left behind.
QByteArray WriteHiddenFile(const QString& nativeFolder, const QString& name,
                           const QByteArray& bytes) {
  QByteArray temporary =
      Native(nativeFolder + QChar('/') + kTemporaryMark + name + QStringLiteral(".XXXXXX"));
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, nativeFolder + QChar('/') + name);
  int error = ::fchmod(fd.Get(), CreationMode()) == 0 ? 0 : errno;
  if (error == 0) error = WriteAllAndFlush(fd.Get(), bytes);
  if (error == 0) error = fd.Close();
  if (error != 0) {
    ::unlink(temporary.constData());
    throw Failure(FailureKindFromErrno(error));
  }
  return temporary;
}

void SyncNativeFolder(const QString& nativeFolder) {
  FileDescriptor fd(::open(Native(nativeFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, nativeFolder);
  // A file system that cannot flush a folder on its own says EINVAL; its
  // names go out with its files.
  if (::fsync(fd.Get()) != 0 && errno != EINVAL) throw Failure(FailureKindFromErrno(errno));
}

// The commit records this run holds, by their paths on this machine: each an
// open descriptor with its lock, let go when the record is removed.
std::map<QString, int>& HeldRecords() {
  static std::map<QString, int> held;
  return held;
}

}  // namespace

QString DiskFileSystem::WriteTemporary(const QString& path, const QByteArray& bytes) {
  const QString native = Drives::Translate(path);
  const QString folder = ParentOf(native);
  if (!IsFolder(folder)) throw Failure(FailureKind::PathNotFound);
  if (IsFolder(native)) throw Failure(FailureKind::PermissionDenied);
  return QFile::decodeName(WriteHiddenFile(folder, QFileInfo(native).fileName(), bytes));
}

void DiskFileSystem::ReplaceWithTemporary(const QString& temporary, const QString&) {
  // The target is the temporary file's own name without its mark and suffix:
  // nothing is worked out between the renames of one save, so a reader (or a
  // kill) finds the files of a save apart for as short a time as can be.
  const qsizetype slash = temporary.lastIndexOf(QChar('/'));
  const QString target =
      temporary.left(slash + 1) +
      temporary.mid(slash + 1 + kTemporaryMark.size()).chopped(kTemporarySuffixLength);
  if (::rename(Native(temporary).constData(), Native(target).constData()) != 0) {
    throw Failure(FailureKindFromErrno(errno));
  }
}

void DiskFileSystem::DiscardTemporary(const QString& temporary) noexcept {
  ::unlink(Native(temporary).constData());
}

void DiskFileSystem::SetAside(const QString& path, const QString& aside) {
  const QByteArray native = Native(Drives::Translate(path));
  const QByteArray keep = Native(Drives::Translate(aside));
  if (::link(native.constData(), keep.constData()) == 0) return;
  // A medium without hard links (FAT): the old file gives up its name, and the
  // rename of the new one that follows gives it back.
  const int error = errno;
  if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS && error != EMLINK) {
    throw Failure(FailureKindFromErrno(error));
  }
  if (::rename(native.constData(), keep.constData()) != 0) {
    throw Failure(FailureKindFromErrno(errno));
  }
}

void DiskFileSystem::PutBack(const QString& aside, const QString& path) {
  const QByteArray keep = Native(Drives::Translate(aside));
  if (::rename(keep.constData(), Native(Drives::Translate(path)).constData()) != 0) {
    throw Failure(FailureKindFromErrno(errno));
  }
  // Two names of one file: the rename leaves both, and the file stays.
  ::unlink(keep.constData());
}

void DiskFileSystem::SyncFolder(const QString& folder) {
  SyncNativeFolder(Drives::Translate(folder));
}

namespace {

// A medium whose driver keeps no locks (ENOLCK and the like) cannot tell a
// running change from an interrupted one; its records are taken as
// interrupted ones, as a single user of the medium would have them.
bool LockedOrUnlockable(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL;
}

}  // namespace

void DiskFileSystem::WriteRecord(const QString& path, const QByteArray& bytes) {
  const QString native = Drives::Translate(path);
  const QString folder = ParentOf(native);
  const QByteArray written = WriteHiddenFile(folder, QFileInfo(native).fileName(), bytes);
  // Locked before it takes its name, so that no other copy of the program
  // ever finds the record without its lock, or the record half-written. A
  // record written anew over an old one (an undo decided after the renames)
  // takes its place in one rename.
  const int fd = ::open(written.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || !LockedOrUnlockable(fd) ||
      ::rename(written.constData(), Native(native).constData()) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(written.constData());
    throw Failure(FailureKindFromErrno(error));
  }
  if (const auto old = HeldRecords().find(native); old != HeldRecords().end()) {
    ::close(old->second);
    HeldRecords().erase(old);
  }
  HeldRecords()[native] = fd;
  try {
    SyncNativeFolder(folder);
  } catch (...) {
    ::unlink(Native(native).constData());
    HeldRecords().erase(native);
    ::close(fd);
    throw;
  }
}

std::optional<QByteArray> DiskFileSystem::TakeRecord(const QString& path) {
  const QString native = Drives::Translate(path);
  int fd = -1;
  if (const auto held = HeldRecords().find(native); held != HeldRecords().end()) {
    fd = held->second;
  } else {
    fd = ::open(Native(native).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      // Finished meanwhile by the change that made it.
      if (errno == ENOENT) return std::nullopt;
      throw Failure(FailureKindFromErrno(errno));
    }
    struct stat st {};
    // Held by a running change; or finished and let go between the opening
    // and the lock, when it has no name any more.
    if (!LockedOrUnlockable(fd) || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
      ::close(fd);
      return std::nullopt;
    }
    HeldRecords()[native] = fd;
  }
  QByteArray bytes;
  char buffer[4096];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw Failure(FailureKindFromErrno(errno));
    }
    if (n == 0) break;
    bytes.append(buffer, n);
    at += n;
  }
  return bytes;
}

void DiskFileSystem::RemoveRecord(const QString& path) {
  const QString native = Drives::Translate(path);
  if (::unlink(Native(native).constData()) != 0 && errno != ENOENT) {
    throw Failure(FailureKindFromErrno(errno));
  }
  SyncNativeFolder(ParentOf(native));
  const auto held = HeldRecords().find(native);
  if (held != HeldRecords().end()) {
    ::close(held->second);
    HeldRecords().erase(held);
  }
}

bool DiskFileSystem::FolderExists(const QString& path) { return IsFolder(Drives::Translate(path)); }

bool DiskFileSystem::FileExists(const QString& path) {
  struct stat st {};
  return ::stat(Native(Drives::Translate(path)).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void DiskFileSystem::CreateFolder(const QString& path) {
  const QString native = Drives::Translate(path);
  if (::mkdir(Native(native).constData(), 0777) != 0) Fail(errno, native);
}

void DiskFileSystem::CreateTextFile(const QString& path, bool overwrite) {
  if (overwrite) {
    // Emptying a file is a write, and fails wherever the installed file
    // system fails writes.
    platform::WriteFileAtomic(path, QByteArray());
    return;
  }
  const QString native = Drives::Translate(path);
  FileDescriptor fd(
      ::open(Native(native).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.Get() < 0) Fail(errno, native);
  if (const int error = fd.Close(); error != 0) throw Failure(FailureKindFromErrno(error));
}

void DiskFileSystem::EnsureNewFile(const QString& path) {
  const QString native = Drives::Translate(path);
  struct stat st {};
  if (::lstat(Native(native).constData(), &st) == 0) throw Failure(FailureKind::FileExists);
  if (!IsFolder(ParentOf(native))) throw Failure(FailureKind::PathNotFound);
}

void DiskFileSystem::CopyFile(const QString& source, const QString& target) {
  // Both drives are checked before anything is read or written. The read and
  // the write are the installed file system's, so a disk that fails its writes
  // fails its copies as well.
  Drives::Translate(target);
  platform::WriteFileAtomic(target, CurrentFileSystem().ReadFileBytes(source));
}

void DiskFileSystem::DeleteFile(const QString& path) {
  const QString native = Drives::Translate(path);
  if (IsFolder(native)) throw Failure(FailureKind::FileNotFound);
  if (::unlink(Native(native).constData()) != 0) Fail(errno, native);
}

FileSystem& CurrentFileSystem() { return installed != nullptr ? *installed : Disk(); }

void InstallFileSystem(FileSystem* fileSystem) { installed = fileSystem; }

QByteArray ReadFileBytes(const QString& path) {
  FinishPendingChanges(path);
  return CurrentFileSystem().ReadFileBytes(path);
}

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  WriteFilesTogether({{path, bytes}});
}

bool IsTemporaryFileName(const QString& fileName) { return fileName.startsWith(kTemporaryMark); }

bool IsCommitRecordName(const QString& fileName) { return fileName.startsWith(kCommitRecordMark); }

void RemoveTemporaryFiles(const QString& folder) {
  QString native;
  try {
    native = Drives::Translate(folder);
  } catch (const Failure&) {
    return;
  }
  const QStringList names =
      QDir(native).entryList({kTemporaryMark + QChar('*')}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    if (IsTemporaryFileName(name)) ::unlink(Native(native + QChar('/') + name).constData());
  }
}

bool FolderExists(const QString& path) { return CurrentFileSystem().FolderExists(path); }

bool FileExists(const QString& path) { return CurrentFileSystem().FileExists(path); }

bool FileMayExist(const QString& path) {
  if (CurrentFileSystem().FileExists(path)) return true;
  struct stat st {};
  const QString native = Drives::Translate(path);
  if (::stat(Native(native).constData(), &st) == 0) return !S_ISDIR(st.st_mode);
  return errno != ENOENT && errno != ENOTDIR;
}

void CreateFolder(const QString& path) { CurrentFileSystem().CreateFolder(path); }

void CreateTextFile(const QString& path, bool overwrite) {
  CurrentFileSystem().CreateTextFile(path, overwrite);
}

void EnsureNewFile(const QString& path) { CurrentFileSystem().EnsureNewFile(path); }

void CopyFile(const QString& source, const QString& target) {
  CurrentFileSystem().CopyFile(source, target);
}

void DeleteFile(const QString& path) {
  FinishPendingChanges(path);
  CurrentFileSystem().DeleteFile(path);
}

}  // namespace mirudanto::platform
