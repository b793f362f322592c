#include "support/system_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/drives.h"
#include "platform/files.h"

// The C library's calls, as the linker's --wrap names them: the program's
// own calls come to __wrap_*, and __real_* is the C library's (or, under
// AddressSanitizer, its interceptor's).
extern "C" {
int __real_open(const char* path, int flags, ...);
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_fsync(int fd);
int __real_close(int fd);
int __real_rename(const char* from, const char* to);
int __real_link(const char* from, const char* to);
int __real_unlink(const char* path);
int __real_mkdir(const char* path, mode_t mode);

int __wrap_open(const char* path, int flags, ...);
ssize_t __wrap_write(int fd, const void* data, size_t size);
int __wrap_fsync(int fd);
int __wrap_close(int fd);
int __wrap_rename(const char* from, const char* to);
int __wrap_link(const char* from, const char* to);
int __wrap_unlink(const char* path);
int __wrap_mkdir(const char* path, mode_t mode);
}

namespace mirudanto::testing {
namespace {

struct Recording {
  // Each drive's root on this machine, with its drive-form name.
  std::vector<std::pair<QByteArray, QString>> roots;
  // The descriptors opened on the drives while recording, by the path named.
  std::map<int, QString> open;
  std::vector<TracedCall> trace;
  // The fsyncs on the drives so far, and the one to fail with its errno.
  int fsyncs = 0;
  int failFsync = 0;
  int failError = 0;
};

// The calls may come from any thread; only those of the test's own are on
// its drives. Whether a recorder is on is asked first, without the mutex,
// so that calls made before main or after the recording cost nothing.
std::mutex mutex;
std::atomic<bool> recordingOn{false};
Recording recording;

// The drive-form path of a path on this machine under a drive's root; empty
// for any other.
QString DrivePath(const char* native) {
  if (native == nullptr) return QString();
  const std::string_view path(native);
  for (const auto& [root, drive] : recording.roots) {
    const std::string_view prefix(root.constData(), static_cast<std::size_t>(root.size()));
    if (!path.starts_with(prefix) || (path.size() > prefix.size() && path[prefix.size()] != '/')) {
      continue;
    }
    QString rest = QFile::decodeName(QByteArray(
        path.data() + prefix.size(), static_cast<qsizetype>(path.size() - prefix.size())));
    rest.replace(QChar('/'), QChar('\\'));
    return drive + rest;
  }
  return QString();
}

// A path outside the drives, as it came, for the other side of a rename.
QString PathOf(const char* native) {
  const QString drivePath = DrivePath(native);
  return drivePath.isEmpty() && native != nullptr ? QFile::decodeName(native) : drivePath;
}

// The real call is made first and its errno kept: `record` runs only while
// a recorder is on, and whatever it calls cannot change what the program
// sees.
template <class Result, class Record>
Result Recorded(Result result, const Record& record) {
  if (!recordingOn.load()) return result;
  const int error = errno;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (recordingOn.load()) record(result < 0 ? error : 0);
  }
  errno = error;
  return result;
}

TracedCall SystemCallOf(SystemCall call, long result, int error) {
  TracedCall traced;
  traced.call = call;
  traced.result = result;
  traced.error = error;
  return traced;
}

int RecordedOpen(const char* path, int flags, int fd) {
  return Recorded(fd, [&](int error) {
    const QString drivePath = DrivePath(path);
    if (drivePath.isEmpty()) return;
    if (fd >= 0) recording.open[fd] = drivePath;
    TracedCall traced = SystemCallOf(SystemCall::Open, fd, error);
    traced.path = drivePath;
    traced.flags = flags;
    traced.fd = fd;
    recording.trace.push_back(std::move(traced));
  });
}

// A call on a descriptor opened on the drives while recording; a write's
// bytes (`written`) are copied only for such a one.
template <class Result>
Result RecordedOnFd(SystemCall call, int fd, Result result, const void* written = nullptr) {
  return Recorded(result, [&](int error) {
    const auto open = recording.open.find(fd);
    if (open == recording.open.end()) return;
    TracedCall traced = SystemCallOf(call, result, error);
    traced.path = open->second;
    traced.fd = fd;
    if (written != nullptr && result > 0) {
      traced.bytes = QByteArray(static_cast<const char*>(written), static_cast<qsizetype>(result));
    }
    recording.trace.push_back(std::move(traced));
    // The descriptor is let go even where the close fails.
    if (call == SystemCall::Close) recording.open.erase(open);
  });
}

int RecordedOnPaths(SystemCall call, const char* from, const char* to, int result) {
  return Recorded(result, [&](int error) {
    if (DrivePath(from).isEmpty() && DrivePath(to).isEmpty()) return;
    TracedCall traced = SystemCallOf(call, result, error);
    traced.path = PathOf(from);
    traced.to = to == nullptr ? QString() : PathOf(to);
    recording.trace.push_back(std::move(traced));
  });
}

// Whether this fsync on the drives is the one to fail; its errno if so.
int FsyncFailure(int fd) {
  if (!recordingOn.load()) return 0;
  const std::lock_guard<std::mutex> lock(mutex);
  if (recording.open.count(fd) == 0 || ++recording.fsyncs != recording.failFsync) return 0;
  return recording.failError;
}

QString NameOf(FileOperation operation) {
  switch (operation) {
    case FileOperation::Read: return QStringLiteral("Read");
    case FileOperation::Write: return QStringLiteral("Write");
    case FileOperation::Rename: return QStringLiteral("Rename");
    case FileOperation::Link: return QStringLiteral("Link");
    case FileOperation::Unlink: return QStringLiteral("Unlink");
    case FileOperation::MakeFolder: return QStringLiteral("MakeFolder");
    case FileOperation::FlushFolder: return QStringLiteral("FlushFolder");
    case FileOperation::Look: return QStringLiteral("Look");
    case FileOperation::Lock: return QStringLiteral("Lock");
  }
  return QString();
}

std::string NameOf(SystemCall call) {
  switch (call) {
    case SystemCall::Open: return "open";
    case SystemCall::Write: return "write";
    case SystemCall::Fsync: return "fsync";
    case SystemCall::Close: return "close";
    case SystemCall::Rename: return "rename";
    case SystemCall::Link: return "link";
    case SystemCall::Unlink: return "unlink";
    case SystemCall::MakeFolder: return "mkdir";
  }
  return std::string();
}

std::string FlagsOf(int flags) {
  const int access = flags & O_ACCMODE;
  std::string told = access == O_RDONLY ? "O_RDONLY" : access == O_WRONLY ? "O_WRONLY" : "O_RDWR";
  int rest = flags & ~O_ACCMODE;
  for (const auto& [flag, name] : {std::pair{O_CREAT, "O_CREAT"}, std::pair{O_EXCL, "O_EXCL"},
                                   std::pair{O_TRUNC, "O_TRUNC"}, std::pair{O_APPEND, "O_APPEND"},
                                   std::pair{O_DIRECTORY, "O_DIRECTORY"},
                                   std::pair{O_CLOEXEC, "O_CLOEXEC"}}) {
    if ((rest & flag) == 0) continue;
    told += std::string("|") + name;
    rest &= ~flag;
  }
  if (rest != 0) told += "|0" + std::to_string(rest);
  return told;
}

}  // namespace

std::string TracedCall::Told() const {
  if (layer) {
    QString line = NameOf(operation) + QChar(' ') + path;
    if (!to.isEmpty()) line += QStringLiteral(" to ") + to;
    if (operation == FileOperation::Write) {
      line += flush ? QStringLiteral(", flushed") : QStringLiteral(", not flushed");
    }
    return line.toStdString();
  }
  std::string line = "  " + NameOf(call) + "(";
  switch (call) {
    case SystemCall::Open: line += path.toStdString() + ", " + FlagsOf(flags); break;
    case SystemCall::Write:
    case SystemCall::Fsync:
    case SystemCall::Close: line += std::to_string(fd) + " " + path.toStdString(); break;
    case SystemCall::Rename:
    case SystemCall::Link: line += path.toStdString() + ", " + to.toStdString(); break;
    case SystemCall::Unlink:
    case SystemCall::MakeFolder: line += path.toStdString(); break;
  }
  line += ") = " + std::to_string(result);
  if (!Succeeded()) line += std::string(" (") + std::strerror(error) + ")";
  return line;
}

std::string Told(const std::vector<TracedCall>& calls) {
  std::string told;
  for (const TracedCall& call : calls) told += "\n" + call.Told();
  return told;
}

// Stands in for the file system while recording, logging each call before
// it goes on, so that the system calls it makes follow it in the trace.
class SystemCallRecorder::Layer final : public platform::FileSystem {
 public:
  Layer() : next_(platform::CurrentFileSystem()) { platform::InstallFileSystem(this); }
  ~Layer() override { platform::InstallFileSystem(&next_); }
  Layer(const Layer&) = delete;
  Layer& operator=(const Layer&) = delete;

  QByteArray Read(const QString& path) override {
    Log(FileOperation::Read, path);
    return next_.Read(path);
  }
  void Write(const QString& path, const QByteArray& bytes, bool flush) override {
    Log(FileOperation::Write, path, QString(), flush);
    next_.Write(path, bytes, flush);
  }
  void Rename(const QString& from, const QString& to) override {
    Log(FileOperation::Rename, from, to);
    next_.Rename(from, to);
  }
  bool Link(const QString& from, const QString& to) override {
    Log(FileOperation::Link, from, to);
    return next_.Link(from, to);
  }
  void Unlink(const QString& path) override {
    Log(FileOperation::Unlink, path);
    next_.Unlink(path);
  }
  void MakeFolder(const QString& path) override {
    Log(FileOperation::MakeFolder, path);
    next_.MakeFolder(path);
  }
  void FlushFolder(const QString& path) override {
    Log(FileOperation::FlushFolder, path);
    next_.FlushFolder(path);
  }
  platform::PathKind Look(const QString& path) override {
    Log(FileOperation::Look, path);
    return next_.Look(path);
  }
  bool Lock(const QString& path, platform::LockMode mode) override {
    Log(FileOperation::Lock, path);
    return next_.Lock(path, mode);
  }

 private:
  static void Log(FileOperation operation, const QString& path, const QString& to = QString(),
                  bool flush = false) {
    const std::lock_guard<std::mutex> lock(mutex);
    TracedCall call;
    call.layer = true;
    call.operation = operation;
    call.path = path;
    call.to = to;
    call.flush = flush;
    recording.trace.push_back(std::move(call));
  }

  platform::FileSystem& next_;
};

SystemCallRecorder::SystemCallRecorder() {
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (recordingOn.load()) throw std::logic_error("one system call recorder at a time");
    recording = Recording();
    for (const QChar letter : {QChar('c'), QChar('a')}) {
      const QString root = platform::Drives::Root(letter);
      if (root.isEmpty()) continue;
      recording.roots.emplace_back(QFile::encodeName(root), QString(letter) + QChar(':'));
    }
  }
  layer_ = std::make_unique<Layer>();
  recordingOn.store(true);
}

SystemCallRecorder::~SystemCallRecorder() { recordingOn.store(false); }

void SystemCallRecorder::FailFsync(int nth, int error) {
  const std::lock_guard<std::mutex> lock(mutex);
  recording.fsyncs = 0;
  recording.failFsync = nth;
  recording.failError = error;
}

std::vector<TracedCall> SystemCallRecorder::Trace() const {
  const std::lock_guard<std::mutex> lock(mutex);
  return recording.trace;
}

}  // namespace mirudanto::testing

using mirudanto::testing::RecordedOnFd;
using mirudanto::testing::RecordedOnPaths;
using mirudanto::testing::RecordedOpen;
using mirudanto::testing::SystemCall;

extern "C" {

int __wrap_open(const char* path, int flags, ...) {
  // The mode is there only for a call that may create a file.
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
    va_list args;
    va_start(args, flags);
    mode = static_cast<mode_t>(va_arg(args, int));
    va_end(args);
  }
  return RecordedOpen(path, flags, __real_open(path, flags, mode));
}

ssize_t __wrap_write(int fd, const void* data, size_t size) {
  return RecordedOnFd(SystemCall::Write, fd, __real_write(fd, data, size), data);
}

int __wrap_fsync(int fd) {
  if (const int error = mirudanto::testing::FsyncFailure(fd); error != 0) {
    errno = error;
    return RecordedOnFd(SystemCall::Fsync, fd, -1);
  }
  return RecordedOnFd(SystemCall::Fsync, fd, __real_fsync(fd));
}

int __wrap_close(int fd) { return RecordedOnFd(SystemCall::Close, fd, __real_close(fd)); }

int __wrap_rename(const char* from, const char* to) {
  return RecordedOnPaths(SystemCall::Rename, from, to, __real_rename(from, to));
}

int __wrap_link(const char* from, const char* to) {
  return RecordedOnPaths(SystemCall::Link, from, to, __real_link(from, to));
}

int __wrap_unlink(const char* path) {
  return RecordedOnPaths(SystemCall::Unlink, path, nullptr, __real_unlink(path));
}

int __wrap_mkdir(const char* path, mode_t mode) {
  return RecordedOnPaths(SystemCall::MakeFolder, path, nullptr, __real_mkdir(path, mode));
}

}  // extern "C"
