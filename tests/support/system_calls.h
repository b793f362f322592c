#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "support/faulty_file_system.h"

namespace mirudanto::testing {

// The system calls that change files or flush them, as the disk's file system
// makes them. A program linked with -Wl,--wrap=open,--wrap=write,... (and
// support/system_calls.cpp) catches them on their way to the C library; every
// call goes on unchanged, and leaves errno as the C library left it.
enum class SystemCall { Open, Write, Fsync, Close, Rename, Link, Unlink, MakeFolder };

// One line of a trace: a system call on the test's drives, or a call of the
// file system that the layer above made. The system calls that follow a call
// of the file system, up to the next one, are those it made.
struct TracedCall {
  // A call of the file system, told by `operation`; otherwise a system call,
  // told by `call`.
  bool layer = false;
  FileOperation operation = FileOperation::Read;
  SystemCall call = SystemCall::Open;
  // Drive-form paths ("c:\法人税\..."): the file or folder, and the target of
  // a rename or a link. A call on a file descriptor names the path it was
  // opened with.
  QString path;
  QString to;
  int flags = 0;
  // The flush a Write of the file system was asked for.
  bool flush = false;
  // What a write put in the file: as many bytes as it reports written.
  QByteArray bytes;
  int fd = -1;
  long result = 0;
  // Where the call failed, its errno.
  int error = 0;

  bool Succeeded() const { return result >= 0; }
  // One line, indented for a system call.
  std::string Told() const;
};

// Records, for its lifetime, the system calls that concern the drives of the
// test: those on a path under a drive's root, and those on a file descriptor
// opened so while it records. Beside them it records each call of the file
// system, for which it stands in over the one current (the disk's) and
// passes every call on. One records at a time.
class SystemCallRecorder {
 public:
  SystemCallRecorder();
  ~SystemCallRecorder();
  SystemCallRecorder(const SystemCallRecorder&) = delete;
  SystemCallRecorder& operator=(const SystemCallRecorder&) = delete;

  // The calls so far, in the order made.
  std::vector<TracedCall> Trace() const;
  // The nth fsync on the drives from now (counted from 1) fails with this
  // errno, as a medium's I/O error would, without reaching the disk.
  void FailFsync(int nth, int error);

 private:
  class Layer;
  std::unique_ptr<Layer> layer_;
};

// The calls, a line each, for a failure's message.
std::string Told(const std::vector<TracedCall>& calls);

}  // namespace mirudanto::testing
