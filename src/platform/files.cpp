// The disk's file system: POSIX calls on the translated paths.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <map>

#include "core/failure.h"
#include "platform/drives.h"

namespace mirudanto::platform {
namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

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

// Writes the bytes whole; the errno of the first failure, or 0.
int WriteAll(int fd, const QByteArray& bytes) {
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
  return 0;
}

// A medium whose driver keeps no locks says so with one of these.
bool KeepsNoLocks(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

class DiskFileSystem final : public FileSystem {
 public:
  QByteArray Read(const QString& path) override;
  void Write(const QString& path, const QByteArray& bytes, bool flush) override;
  void Rename(const QString& from, const QString& to) override;
  bool Link(const QString& from, const QString& to) override;
  void Unlink(const QString& path) override;
  void MakeFolder(const QString& path) override;
  void FlushFolder(const QString& path) override;
  PathKind Look(const QString& path) override;
  bool Lock(const QString& path, LockMode mode) override;

 private:
  // The open lock files, by their paths on this machine.
  std::map<QString, int> locks_;
};

QByteArray DiskFileSystem::Read(const QString& path) {
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

void DiskFileSystem::Write(const QString& path, const QByteArray& bytes, bool flush) {
  const QString native = Drives::Translate(path);
  const QByteArray name = Native(native);
  // The mode as any new file of the user's gets it, through the umask.
  FileDescriptor fd(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.Get() < 0) Fail(errno, native);
  int error = WriteAll(fd.Get(), bytes);
  if (error == 0 && flush && ::fsync(fd.Get()) != 0) error = errno;
  if (error == 0) error = fd.Close();
  if (error != 0) {
    ::unlink(name.constData());
    throw Failure(FailureKindFromErrno(error));
  }
}

void DiskFileSystem::Rename(const QString& from, const QString& to) {
  const QString native = Drives::Translate(from);
  if (::rename(Native(native).constData(), Native(Drives::Translate(to)).constData()) != 0) {
    Fail(errno, native);
  }
}

bool DiskFileSystem::Link(const QString& from, const QString& to) {
  const QString native = Drives::Translate(from);
  if (::link(Native(native).constData(), Native(Drives::Translate(to)).constData()) == 0) {
    return true;
  }
  const int error = errno;
  if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) return false;
  Fail(error, native);
}

void DiskFileSystem::Unlink(const QString& path) {
  const QString native = Drives::Translate(path);
  if (IsFolder(native)) throw Failure(FailureKind::FileNotFound);
  if (::unlink(Native(native).constData()) != 0) Fail(errno, native);
}

void DiskFileSystem::MakeFolder(const QString& path) {
  const QString native = Drives::Translate(path);
  if (::mkdir(Native(native).constData(), 0777) != 0) Fail(errno, native);
}

void DiskFileSystem::FlushFolder(const QString& path) {
  const QString native = Drives::Translate(path);
  FileDescriptor fd(::open(Native(native).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, native);
  // A file system that cannot flush a folder on its own says EINVAL; its
  // names go out with its files.
  if (::fsync(fd.Get()) != 0 && errno != EINVAL) throw Failure(FailureKindFromErrno(errno));
}

PathKind DiskFileSystem::Look(const QString& path) {
  struct stat st {};
  if (::stat(Native(Drives::Translate(path)).constData(), &st) == 0) {
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
  }
  // Only a name that is surely not there counts as missing: a medium that
  // cannot be read must not pass for one without the file.
  if (errno == ENOENT || errno == ENOTDIR) return PathKind::Missing;
  throw Failure(FailureKindFromErrno(errno));
}

bool DiskFileSystem::Lock(const QString& path, LockMode mode) {
  const QString native = Drives::Translate(path);
  auto open = locks_.find(native);
  if (mode == LockMode::Unlocked) {
    if (open != locks_.end()) {
      ::close(open->second);  // lets the lock go
      locks_.erase(open);
    }
    return true;
  }
  if (open == locks_.end()) {
    int fd = ::open(Native(native).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const bool cannotWrite = errno == EROFS || errno == EACCES || errno == EPERM;
    const bool full = errno == ENOSPC || errno == EDQUOT;
    if (fd < 0 && (cannotWrite || (full && mode == LockMode::Shared))) {
      // A drive this copy cannot write to, or too full for the lock file: it
      // reads under another copy's lock where there is one, and where none
      // can be made, no copy can change anything there to wait for. A change
      // where no lock can be had fails here, before it begins.
      const int error = errno;
      fd = ::open(Native(native).constData(), O_RDONLY | O_CLOEXEC);
      if (fd < 0 && errno == ENOENT && mode == LockMode::Shared) return true;
      if (fd < 0) errno = error;
    }
    if (fd < 0) Fail(errno, native);
    open = locks_.emplace(native, fd).first;
  }
  const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  for (;;) {
    if (::flock(open->second, operation) == 0) return true;
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return false;
    if (KeepsNoLocks(errno)) return true;
    const int error = errno;
    ::close(open->second);
    locks_.erase(open);
    throw Failure(FailureKindFromErrno(error));
  }
}

DiskFileSystem& Disk() {
  static DiskFileSystem disk;
  return disk;
}

FileSystem* installed = nullptr;

}  // namespace

FileSystem& CurrentFileSystem() { return installed != nullptr ? *installed : Disk(); }

void InstallFileSystem(FileSystem* fileSystem) { installed = fileSystem; }

bool FolderExists(const QString& path) {
  return CurrentFileSystem().Look(path) == PathKind::Folder;
}

bool FileExists(const QString& path) { return CurrentFileSystem().Look(path) == PathKind::File; }

bool FileMayExist(const QString& path) {
  try {
    return CurrentFileSystem().Look(path) == PathKind::File;
  } catch (const Failure&) {
    return true;
  }
}

void EnsureNewFile(const QString& path) {
  FileSystem& files = CurrentFileSystem();
  if (files.Look(path) != PathKind::Missing) throw Failure(FailureKind::FileExists);
  const qsizetype slash = path.lastIndexOf(QChar('\\'));
  if (slash > 2 && files.Look(path.left(slash)) != PathKind::Folder) {
    throw Failure(FailureKind::PathNotFound);
  }
}

}  // namespace mirudanto::platform
