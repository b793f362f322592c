#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "core/failure.h"
#include "platform/drives.h"

namespace mirudanto::platform {
namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// Hidden, and unlike any name the system gives its own files.
const QString kTemporaryMark = QStringLiteral(".~saving.");
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

QString DiskFileSystem::WriteTemporary(const QString& path, const QByteArray& bytes) {
  const QString native = Drives::Translate(path);
  const QString folder = ParentOf(native);
  if (!IsFolder(folder)) throw Failure(FailureKind::PathNotFound);
  if (IsFolder(native)) throw Failure(FailureKind::PermissionDenied);

  QByteArray temporary = Native(folder + QChar('/') + kTemporaryMark +
                                QFileInfo(native).fileName() + QStringLiteral(".XXXXXX"));
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) Fail(errno, native);

  auto failAndRemove = [&temporary](int error) {
    ::unlink(temporary.constData());
    throw Failure(FailureKindFromErrno(error));
  };

  if (::fchmod(fd.Get(), CreationMode()) != 0) failAndRemove(errno);
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd.Get(), data, static_cast<std::size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      failAndRemove(errno);
    }
    data += n;
    left -= n;
  }
  if (::fsync(fd.Get()) != 0) failAndRemove(errno);
  if (const int error = fd.Close(); error != 0) failAndRemove(error);
  return QFile::decodeName(temporary);
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
    const int error = errno;
    ::unlink(Native(temporary).constData());
    throw Failure(FailureKindFromErrno(error));
  }
}

void DiskFileSystem::DiscardTemporary(const QString& temporary) noexcept {
  ::unlink(Native(temporary).constData());
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

QByteArray ReadFileBytes(const QString& path) { return CurrentFileSystem().ReadFileBytes(path); }

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  WriteFilesTogether({{path, bytes}});
}

void WriteFilesTogether(const std::vector<FileContent>& files) {
  FileSystem& fileSystem = CurrentFileSystem();
  std::vector<QString> temporaries;
  temporaries.reserve(files.size());
  auto discardFrom = [&](std::size_t first) {
    for (std::size_t k = first; k < temporaries.size(); ++k) {
      fileSystem.DiscardTemporary(temporaries[k]);
    }
  };
  try {
    for (const FileContent& file : files) {
      temporaries.push_back(fileSystem.WriteTemporary(file.path, file.bytes));
    }
  } catch (...) {
    discardFrom(0);
    throw;
  }
  for (std::size_t k = 0; k < files.size(); ++k) {
    try {
      fileSystem.ReplaceWithTemporary(temporaries[k], files[k].path);
    } catch (...) {
      // The failed rename has removed its own temporary file.
      discardFrom(k + 1);
      throw;
    }
  }
}

bool IsTemporaryFileName(const QString& fileName) { return fileName.startsWith(kTemporaryMark); }

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

void CreateFolder(const QString& path) { CurrentFileSystem().CreateFolder(path); }

void CreateTextFile(const QString& path, bool overwrite) {
  CurrentFileSystem().CreateTextFile(path, overwrite);
}

void EnsureNewFile(const QString& path) { CurrentFileSystem().EnsureNewFile(path); }

void CopyFile(const QString& source, const QString& target) {
  CurrentFileSystem().CopyFile(source, target);
}

void DeleteFile(const QString& path) { CurrentFileSystem().DeleteFile(path); }

}  // namespace mirudanto::platform
