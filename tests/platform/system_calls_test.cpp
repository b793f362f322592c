// The power-loss tests model the medium below the file system, trusting the
// disk's file system to make the flushes the layer above asks of it. Here
// the disk's own system calls are caught and told again to that model, so
// that what a cut may keep of them is what is tried.
#include <fcntl.h>
#include <cerrno>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "backup/backup_fixture.h"
#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/power_loss_steps.h"
#include "support/system_calls.h"
#include "support/temp_drives.h"

namespace mirudanto::platform {
namespace {

using testing::DriveState;
using testing::FileOperation;
using testing::PowerLossFileSystem;
using testing::SystemCall;
using testing::TempDrives;
using testing::TracedCall;
using Trace = std::vector<TracedCall>;

const QString kStatements = QStringLiteral("c:\\法人税\\ミルダ");
QString Statement(const QString& name) { return kStatements + QChar('\\') + name; }

QString FolderOf(const QString& path) { return path.left(path.lastIndexOf(QChar('\\'))); }
QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(QChar('\\')) + 1); }

bool Is(const TracedCall& call, SystemCall kind) { return !call.layer && call.call == kind; }
bool Creates(const TracedCall& open) {
  return (open.flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL);
}
bool OpensFolder(const TracedCall& open) { return (open.flags & O_DIRECTORY) != 0; }

std::string Calls(const Trace& trace, std::size_t from, std::size_t to) {
  return testing::Told(Trace(trace.begin() + from, trace.begin() + to));
}

// Each call of the file system with the system calls it made: from its own
// place in the trace up to the next call's.
struct LayerCall {
  std::size_t at;
  std::size_t end;
};
std::vector<LayerCall> LayerCalls(const Trace& trace) {
  std::vector<LayerCall> calls;
  for (std::size_t k = 0; k < trace.size(); ++k) {
    if (!trace[k].layer) continue;
    if (!calls.empty()) calls.back().end = k;
    calls.push_back({k, trace.size()});
  }
  return calls;
}

// Each flush the layer asks for is a successful fsync within its call: of
// the file it writes, after the last write and before the close; of the
// folder, opened by its own path.
void ExpectEveryFlushMade(const Trace& trace) {
  for (const auto [at, end] : LayerCalls(trace)) {
    const TracedCall& asked = trace[at];
    const bool file = asked.operation == FileOperation::Write && asked.flush;
    if (!file && asked.operation != FileOperation::FlushFolder) continue;
    bool made = false;
    for (std::size_t k = at + 1; k < end && !made; ++k) {
      const TracedCall& open = trace[k];
      if (!Is(open, SystemCall::Open) || !open.Succeeded() || open.path != asked.path ||
          (file ? (open.flags & O_CREAT) == 0 : !OpensFolder(open))) {
        continue;
      }
      for (std::size_t j = k + 1; j < end; ++j) {
        const TracedCall& call = trace[j];
        if (call.layer || call.fd != open.fd) continue;
        if (Is(call, SystemCall::Close)) break;
        // What is written after an fsync is not flushed by it.
        if (Is(call, SystemCall::Write)) made = false;
        if (Is(call, SystemCall::Fsync) && call.Succeeded()) made = true;
      }
    }
    if (made) continue;
    ADD_FAILURE() << (file ? "a Write asked for a flush, yet its file had no fsync after its last "
                             "write and before its close:"
                           : "a FlushFolder made no fsync of that very folder:")
                  << Calls(trace, at, end);
  }
}

// No rename or link names a file made here before its content is fsynced:
// a cut could keep the name and lose the content.
void ExpectContentFlushedBeforeItsName(const Trace& trace) {
  std::map<int, QString> writing;
  // The files made here, by name: whether their content is on the medium.
  std::map<QString, bool> synced;
  std::size_t layerCall = 0;
  for (std::size_t k = 0; k < trace.size(); ++k) {
    const TracedCall& call = trace[k];
    if (call.layer) layerCall = k;
    if (call.layer || !call.Succeeded()) continue;
    switch (call.call) {
      case SystemCall::Open:
        if (Creates(call)) {
          writing[call.fd] = call.path;
          synced[call.path] = false;
        }
        break;
      case SystemCall::Write:
      case SystemCall::Fsync:
        if (writing.count(call.fd) != 0) synced[writing[call.fd]] = Is(call, SystemCall::Fsync);
        break;
      case SystemCall::Close: writing.erase(call.fd); break;
      case SystemCall::Rename:
      case SystemCall::Link: {
        const auto made = synced.find(call.path);
        // A file that was there before is the test's, on the medium already.
        const bool kept = made == synced.end() || made->second;
        if (!kept) {
          ADD_FAILURE() << "a file was given a name before its content was fsynced:"
                        << Calls(trace, layerCall, k + 1);
        }
        if (Is(call, SystemCall::Rename)) synced.erase(call.path);
        synced[call.to] = kept;
        break;
      }
      case SystemCall::Unlink: synced.erase(call.path); break;
      case SystemCall::MakeFolder: break;
    }
  }
}

// Each folder whose names changed is fsynced before anything relies on them:
// every change before the commit (the rename to the done note), the commit
// before any name changes after it, and every change before the operation
// ends, but for the removal of the note that ends it, which the drive's next
// change removes again where a cut brings it back.
void ExpectNamesFlushedBeforeRelied(const Trace& trace) {
  // By folder, the changes of its names since its last fsync.
  std::map<QString, std::vector<std::size_t>> unflushed;
  std::map<int, QString> folders;
  QString commit;
  std::size_t last = trace.size();
  const auto told = [&](const std::vector<std::size_t>& changes) {
    std::string out;
    for (const std::size_t k : changes) out += "\n" + trace[k].Told();
    return out;
  };
  const auto changed = [&](std::size_t k, const QString& path) {
    if (!commit.isEmpty()) {
      ADD_FAILURE() << "names changed after the commit before an fsync of its folder, "
                    << commit.toStdString() << ":\n"
                    << trace[k].Told();
      commit.clear();
    }
    std::vector<std::size_t>& changes = unflushed[FolderOf(path)];
    if (changes.empty() || changes.back() != k) changes.push_back(k);
    last = k;
  };
  for (std::size_t k = 0; k < trace.size(); ++k) {
    const TracedCall& call = trace[k];
    if (call.layer) {
      if (call.operation == FileOperation::Rename && NameOf(call.to) == kDoneName) {
        for (const auto& [folder, changes] : unflushed) {
          ADD_FAILURE() << "the commit came before an fsync of " << folder.toStdString()
                        << ", whose names changed:" << told(changes);
        }
        unflushed.clear();
      }
      continue;
    }
    if (!call.Succeeded()) continue;
    switch (call.call) {
      case SystemCall::Open:
        if (OpensFolder(call)) folders[call.fd] = call.path;
        if (Creates(call)) changed(k, call.path);
        break;
      case SystemCall::Fsync:
        if (folders.count(call.fd) != 0) {
          unflushed.erase(folders[call.fd]);
          if (commit == folders[call.fd]) commit.clear();
        }
        break;
      case SystemCall::Close: folders.erase(call.fd); break;
      case SystemCall::Rename:
        changed(k, call.path);
        changed(k, call.to);
        if (NameOf(call.to) == kDoneName) commit = FolderOf(call.to);
        break;
      case SystemCall::Link: changed(k, call.to); break;
      case SystemCall::Unlink:
      case SystemCall::MakeFolder: changed(k, call.path); break;
      case SystemCall::Write: break;
    }
  }
  for (auto& [folder, changes] : unflushed) {
    const TracedCall& end = trace[changes.back()];
    if (changes.back() == last && Is(end, SystemCall::Unlink) &&
        NameOf(end.path).startsWith(kCommitRecordMark)) {
      changes.pop_back();
    }
    if (changes.empty()) continue;
    ADD_FAILURE() << "the operation ended before an fsync of " << folder.toStdString()
                  << ", whose names changed:" << told(changes);
  }
}

// A call of the medium's, as the disk's calls make it.
struct Replayed {
  std::function<void(PowerLossFileSystem&)> make;
  std::string told;
};

// The disk's calls as calls of a medium that keeps of each what POSIX
// promises: a file made whole at its close, flushed only where an fsync of it
// came after its last write; a folder flushed by an fsync of it. No other
// call flushes anything, whatever it is.
std::vector<Replayed> Replay(const Trace& trace) {
  struct Made {
    QString path;
    QByteArray bytes;
    bool flushed = false;
  };
  std::map<int, Made> files;
  std::map<int, QString> folders;
  std::vector<Replayed> replayed;
  const auto add = [&](const TracedCall& call, std::function<void(PowerLossFileSystem&)> make) {
    replayed.push_back({std::move(make), call.Told()});
  };
  // The file made whole, as written so far.
  const auto write = [&](const TracedCall& call, std::map<int, Made>::iterator made) {
    add(call, [made = made->second](PowerLossFileSystem& medium) {
      medium.Write(made.path, made.bytes, made.flushed);
    });
    files.erase(made);
  };
  for (const TracedCall& call : trace) {
    // A failed call changes nothing.
    if (call.layer || !call.Succeeded()) continue;
    switch (call.call) {
      case SystemCall::Open:
        if (OpensFolder(call)) {
          folders[call.fd] = call.path;
        } else if (Creates(call)) {
          files[call.fd] = {call.path};
        } else if ((call.flags & O_ACCMODE) != O_RDONLY && NameOf(call.path) != kLockName) {
          ADD_FAILURE() << "no call of the medium is made so:\n" << call.Told();
        }
        break;
      case SystemCall::Write:
        if (files.count(call.fd) != 0) {
          files[call.fd].bytes += call.bytes;
          files[call.fd].flushed = false;
        }
        break;
      case SystemCall::Fsync:
        if (files.count(call.fd) != 0) files[call.fd].flushed = true;
        if (folders.count(call.fd) != 0) {
          add(call,
              [path = folders[call.fd]](PowerLossFileSystem& medium) { medium.FlushFolder(path); });
        }
        break;
      case SystemCall::Close:
        if (const auto made = files.find(call.fd); made != files.end()) write(call, made);
        folders.erase(call.fd);
        break;
      case SystemCall::Rename:
        add(call, [call](PowerLossFileSystem& medium) { medium.Rename(call.path, call.to); });
        break;
      case SystemCall::Link:
        add(call, [call](PowerLossFileSystem& medium) {
          EXPECT_TRUE(medium.Link(call.path, call.to)) << "the medium gave no second name";
        });
        break;
      case SystemCall::Unlink:
        // A file whose write failed is removed while it is still open: it
        // was made, with what was written and nothing flushed.
        if (const auto made = std::find_if(
                files.begin(), files.end(),
                [&](const auto& open) { return open.second.path == call.path; });
            made != files.end()) {
          write(call, made);
        }
        add(call, [call](PowerLossFileSystem& medium) { medium.Unlink(call.path); });
        break;
      case SystemCall::MakeFolder:
        add(call, [call](PowerLossFileSystem& medium) { medium.MakeFolder(call.path); });
        break;
    }
  }
  return replayed;
}

// The disk's calls made again on a medium in memory that began as the disk
// did, and the power cut before the first and after each: every state a cut
// may leave, recovered as the next start would, is wholly as before, or as
// after once committed or, after the last call, once the operation reported
// done. One that failed may leave its files as before or as it left them.
void ExpectEveryCutRecoveredWhole(const Trace& trace, const DriveState& before,
                                  const DriveState& after, const std::set<QString>& drives,
                                  bool reported = true) {
  const std::vector<Replayed> replayed = Replay(trace);
  const testing::PowerLossRun run{.undone =
                                      reported ? testing::UndoneStates(testing::OnlyBefore)
                                               : testing::UndoneStates(testing::BeforeOrAfter)};
  // As the drive's next hold leaves them: what a failed change left to
  // remove gone.
  testing::DriveFiles settled = after.files;
  std::erase_if(settled, [](const auto& file) {
    return NameOf(file.first).startsWith(QStringLiteral(".~"));
  });
  testing::power_loss_detail::CutStates states(run, before.files, settled);
  const testing::MemoryFileSystem disk(testing::MemoryState::Of(before), drives);
  PowerLossFileSystem medium(PowerLossFileSystem::StartOf(before, drives));
  {
    SCOPED_TRACE("power lost before the first call");
    if (!states.Check(medium, reported && replayed.empty())) return;
  }
  for (std::size_t k = 0; k < replayed.size(); ++k) {
    SCOPED_TRACE("power lost after call " + std::to_string(k + 1) + " of " +
                 std::to_string(replayed.size()) + ":\n" + replayed[k].told);
    try {
      replayed[k].make(medium);
    } catch (const Failure& failure) {
      ADD_FAILURE() << "the medium fails the call: " << failure.what();
      return;
    }
    // One cut tells it; the rest would repeat it.
    if (!states.Check(medium, reported && k + 1 == replayed.size())) return;
  }
  EXPECT_EQ(medium.Now().files, after.files) << "made again, the calls leave other files";
}

// One operation of the program, from the files it starts from.
struct DiskOperation {
  const char* name;
  std::function<void(const TempDrives&)> put;
  std::function<void()> run;
};
void PrintTo(const DiskOperation& operation, std::ostream* out) { *out << operation.name; }

const DiskOperation kOperations[] = {
    {"SaveOfTwoFiles",
     [](const TempDrives& drives) {
       drives.Put(Statement("A⑭7.txt"), "old amounts");
       drives.Put(Statement("⑭7.txt"), "old text");
     },
     [] {
       WriteFilesTogether(
           {{Statement("A⑭7.txt"), "new amounts"}, {Statement("⑭7.txt"), "new text"}});
     }},
    {"SaveOfOneFile",
     [](const TempDrives& drives) {
       drives.Put(Statement("A⑭7.txt"), "old amounts");
       drives.Put(Statement("⑭7.txt"), "old text");
     },
     [] { WriteFileAtomic(Statement("⑭7.txt"), "newer text"); }},
    {"BackupOverAnOlderCopy",
     [](const TempDrives& drives) {
       testing::PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("新"));
       testing::PutCompany(drives, 7, QStringLiteral("古い見本"), QStringLiteral("古"),
                           kFloppyDataRoot);
       // A stale page 2 of ② goes with the change.
       for (const QString& path : backup::SecondNotesPageFiles(7, kFloppyDataRoot)) {
         drives.Put(path, testing::Content(path, QStringLiteral("古")));
       }
     },
     [] { backup::PrepareBackupToFloppy(7).Write(); }},
};

// An operation run once on the disk, its system calls caught.
struct RecordedRun {
  DriveState before;
  DriveState after;
  Trace trace;
  bool reported = false;
  std::set<QString> drives;
};

// Runs the operation on fresh drives; with `failFsync`, that fsync on the
// drives fails with an I/O error.
RecordedRun Record(const DiskOperation& operation, int failFsync = 0) {
  const TempDrives drives;
  operation.put(drives);
  RecordedRun run;
  run.before = DriveState::Of(drives);
  {
    testing::SystemCallRecorder recorder;
    if (failFsync > 0) recorder.FailFsync(failFsync, EIO);
    try {
      operation.run();
      run.reported = true;
    } catch (const Failure&) {
    }
    run.trace = recorder.Trace();
  }
  run.after = DriveState::Of(drives);
  run.drives = {QStringLiteral("c:")};
  if (QFileInfo(drives.Floppy()).isDir()) run.drives.insert(QStringLiteral("a:"));
  return run;
}

int FsyncsOf(const Trace& trace) {
  return static_cast<int>(std::count_if(trace.begin(), trace.end(), [](const TracedCall& call) {
    return Is(call, SystemCall::Fsync);
  }));
}

class DiskCallsPowerLoss : public ::testing::TestWithParam<DiskOperation> {};

// The operation runs once on the disk, with hard links as the disk has them,
// and its system calls are caught. They must make every flush the layer asks
// for (told from the calls themselves), and, made again on a medium that
// keeps no more than they ask of it, leave the files whole after every cut.
TEST_P(DiskCallsPowerLoss, TheDisksCallsMakeEveryFlushAndLeaveTheFilesWholeAfterEveryCut) {
  const RecordedRun recorded = Record(GetParam());
  ASSERT_TRUE(recorded.reported) << "the operation fails on the disk";
  const Trace& trace = recorded.trace;
  const DriveState& before = recorded.before;
  const DriveState& after = recorded.after;
  ASSERT_NE(before.files, after.files) << "the operation changes nothing";
  ASSERT_TRUE(std::any_of(trace.begin(), trace.end(), [](const TracedCall& call) {
    return Is(call, SystemCall::Fsync);
  })) << "no system call was caught: is the program linked with --wrap?";

  {
    SCOPED_TRACE("the disk's calls for those of the layer");
    ExpectEveryFlushMade(trace);
    ExpectContentFlushedBeforeItsName(trace);
    ExpectNamesFlushedBeforeRelied(trace);
  }
  ExpectEveryCutRecoveredWhole(trace, before, after, recorded.drives);
}

// Each fsync of a save fails in turn, once, as a medium's I/O error. What the
// disk's file system makes of it reaches the layer: a save reported done is
// then on the medium whatever a cut keeps, and one reported failed leaves
// its files as before or as it left them.
TEST(DiskCallsPowerLoss, AFailedFsyncOfASaveLeavesEveryCutAfterItWholeAsReported) {
  for (const DiskOperation& operation : {kOperations[0], kOperations[1]}) {
    SCOPED_TRACE(operation.name);
    const int fsyncs = FsyncsOf(Record(operation).trace);
    ASSERT_GT(fsyncs, 2);
    for (int failed = 1; failed <= fsyncs; ++failed) {
      SCOPED_TRACE("fsync " + std::to_string(failed) + " of " + std::to_string(fsyncs) +
                   " failed");
      const RecordedRun recorded = Record(operation, failed);
      ExpectEveryCutRecoveredWhole(recorded.trace, recorded.before, recorded.after,
                                   recorded.drives, recorded.reported);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, DiskCallsPowerLoss, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mirudanto::platform
