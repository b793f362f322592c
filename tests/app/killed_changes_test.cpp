// A change killed at a call: the child of a fork makes it and dies there,
// the parent starts again as the program would and looks at both drives.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/leftovers.h"
#include "backup/backup_fixture.h"
#include "backup/company_copies.h"
#include "backup/company_files.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"
#include "support/unflushed_disk.h"

namespace mirudanto::app {
namespace {

using testing::Content;
using testing::FaultyFileSystem;
using testing::FileOperation;
using testing::PutCompany;
using testing::TempDrives;
using testing::UnflushedDisk;

// ---------------------------------------------------------------- both drives

// Everything on both drives, by native path below the drives' common folder
// ("c/…", "a/…"). The lock file of a data root ("c/法人税") is no data, and
// stays once made.
// Plain POSIX calls: the state is taken a few hundred times, under the
// sanitizers too.
struct DrivesState {
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
};

std::string CommonFolder(const TempDrives& drives) {
  return QFile::encodeName(QFileInfo(drives.HardDisk()).path()).toStdString();
}

std::string ContentOf(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "unreadable";
  char buffer[8192];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  ::close(fd);
  return bytes;
}

void Take(const std::string& common, const std::string& folder, DrivesState& state) {
  DIR* dir = ::opendir((common + '/' + folder).c_str());
  if (dir == nullptr) return;
  const std::string lock = platform::kLockName.toStdString();
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder.empty() ? name : folder + '/' + name;
    struct stat st {};
    if (::lstat((common + '/' + path).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      state.folders.insert(path);
      Take(common, path, state);
    } else if (name != lock || std::count(folder.begin(), folder.end(), '/') != 1) {
      state.files[path] = ContentOf(common + '/' + path);
    }
  }
  ::closedir(dir);
}

DrivesState StateOf(const TempDrives& drives) {
  DrivesState state;
  Take(CommonFolder(drives), std::string(), state);
  return state;
}

// Puts both drives back from what they hold now to a state, touching only
// what differs.
void PutBack(const TempDrives& drives, const DrivesState& now, const DrivesState& state) {
  const std::string common = CommonFolder(drives);
  for (auto folder = now.folders.rbegin(); folder != now.folders.rend(); ++folder) {
    if (!state.folders.count(*folder)) {
      QDir(QFile::decodeName(QByteArray::fromStdString(common + '/' + *folder)))
          .removeRecursively();
    }
  }
  for (const std::string& folder : state.folders) ::mkdir((common + '/' + folder).c_str(), 0777);
  for (const auto& [path, bytes] : now.files) {
    const auto kept = state.files.find(path);
    if (kept == state.files.end() || kept->second != bytes) ::unlink((common + '/' + path).c_str());
  }
  for (const auto& [path, bytes] : state.files) {
    const auto was = now.files.find(path);
    if (was != now.files.end() && was->second == bytes) continue;
    const int fd =
        ::open((common + '/' + path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      ADD_FAILURE() << "cannot put back " << path;
    }
    if (fd >= 0) ::close(fd);
  }
}

// Each file that is not as expected, and which state it holds instead.
std::string Differences(const DrivesState& now, const DrivesState& expected,
                        const DrivesState& before, const DrivesState& after) {
  std::set<std::string> paths;
  for (const auto* state : {&now, &expected}) {
    for (const auto& entry : state->files) paths.insert(entry.first);
  }
  const auto version = [&](const std::string& path) -> std::string {
    const auto held = now.files.find(path);
    if (held == now.files.end()) return "missing";
    const auto old = before.files.find(path);
    const auto made = after.files.find(path);
    if (old != before.files.end() && old->second == held->second) return "as before";
    if (made != after.files.end() && made->second == held->second) return "as after";
    return "neither before's nor after's";
  };
  std::string out;
  int shown = 0;
  for (const std::string& path : paths) {
    const auto held = now.files.find(path);
    const auto wanted = expected.files.find(path);
    if (held != now.files.end() && wanted != expected.files.end() &&
        held->second == wanted->second) {
      continue;
    }
    if (++shown > 12) {
      out += "\n  …";
      break;
    }
    out += "\n  " + path + ": " + version(path) +
           (wanted == expected.files.end() ? " (should not be there)" : "");
  }
  return out;
}

// ---------------------------------------------------------------- the changes

// Company 7 on the hard disk with three of its schedule files and no page 2
// of ②; company 12 there with a page 2 that 7 lacks; and, unless the medium
// is to be empty, an older backup of 7 on it with its page 2.
void PutCompanies(const TempDrives& drives, bool medium) {
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("disk"));
  for (const QString& path : backup::ScheduleFiles(7).mid(0, 3)) {
    drives.Put(path, Content(path, QStringLiteral("disk")));
  }
  PutCompany(drives, 12, QStringLiteral("他社"), QStringLiteral("old"));
  for (const QString& path : backup::SecondNotesPageFiles(12)) {
    drives.Put(path, Content(path, QStringLiteral("old")));
  }
  if (!medium) return;
  PutCompany(drives, 7, QStringLiteral("見本"), QStringLiteral("medium"), kFloppyDataRoot);
  for (const QString& path : backup::SecondNotesPageFiles(7, kFloppyDataRoot)) {
    drives.Put(path, Content(path, QStringLiteral("medium")));
  }
}

// What a change makes, prepared before it starts: a preparation reads, it
// changes nothing, so one serves every kill.
using Change = std::function<void()>;

struct Operation {
  const char* name;
  bool emptyMedium;
  // A file of the fixture that the change makes anew, where it does.
  QString (*madeAnew)();
  // A save of a few files is killed at every call that changes the disk; a
  // change of a company's files at the first and last calls of each stage.
  bool everyCall;
  std::function<Change()> prepare;
};

void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

Change Saving(std::vector<platform::FileContent> files) {
  return [files] { platform::WriteFilesTogether(files); };
}

Change Writing(const backup::PreparedCopies& copies) {
  return [copies] { copies.Write(); };
}

const Operation kOperations[] = {
    // The register's save of a master file: one file alone, without a record.
    {"SaveOfOneFile", false, nullptr, true,
     [] {
       const QString master = CompanyMasterFile(7);
       return Change([master] {
         platform::WriteFileAtomic(
             master,
             CompanyRecordWriter(testing::SampleRecord(7, QStringLiteral("新名"))).Encode());
       });
     }},
    // ⑭ as its screen saves it: the amounts, then the texts.
    {"SaveOfTwoFiles", false, nullptr, true,
     [] {
       const QString amounts = StatementAmountFile(StatementMark::OfficerPay, 7);
       const QString text = StatementTextFile(StatementMark::OfficerPay, 7);
       return Saving({{amounts, Content(amounts, QStringLiteral("saved"))},
                      {text, Content(text, QStringLiteral("saved"))}});
     }},
    // ⑯ writes its subtotal markers too, here a file it makes anew.
    {"SaveOfThreeFiles", false, [] { return SubtotalMarkerFile(StatementMark::MiscGains, 7); },
     true,
     [] {
       const QString text = StatementTextFile(StatementMark::MiscGains, 7);
       const QString amounts = StatementAmountFile(StatementMark::MiscGains, 7);
       const QString markers = SubtotalMarkerFile(StatementMark::MiscGains, 7);
       return Saving({{text, Content(text, QStringLiteral("saved"))},
                      {amounts, Content(amounts, QStringLiteral("saved"))},
                      {markers, Content(markers, QStringLiteral("saved"))}});
     }},
    // 37 files over the disk's, and page 2 of ② new on it.
    {"Restore", false, nullptr, false, [] { return Writing(backup::PrepareRestoreFromFloppy(7)); }},
    // 36 files and the master file over company 12's, three schedule files
    // new, and 12's page 2 of ② deleted.
    {"CopyToCode", false, nullptr, false,
     [] {
       backup::CodeCopy copy;
       backup::PrepareCopyToCode(7, 12, copy);
       return Writing(copy.copies);
     }},
    // Four folders and 37 files made.
    {"BackupToAnEmptyMedium", true, nullptr, false,
     [] { return Writing(backup::PrepareBackupToFloppy(7)); }},
    // 37 files over the older copy's, and its page 2 of ② deleted.
    {"BackupOverAnOlderCopy", false, nullptr, false,
     [] { return Writing(backup::PrepareBackupToFloppy(7)); }},
};

// ---------------------------------------------------------------- the stages

// The stages of a change, told from the log line of each call that changes
// the disk.
enum class Stage {
  MakeFolder,
  RecordWrite,
  RecordRename,
  Temporaries,
  SetAsides,
  // Renames of the temporaries into place, and deletions.
  IntoPlace,
  Commit,
  Tidying,
  TidyUnlink,
  Other,
};

Stage StageOf(const QString& line) {
  if (line.startsWith(QStringLiteral("make folder "))) return Stage::MakeFolder;
  const QString verb = line.left(line.indexOf(QChar(' ')));
  const QString name = line.mid(line.lastIndexOf(QChar('\\')) + 1);
  const bool hidden = name.startsWith(platform::kTemporaryMark);
  if (verb == QStringLiteral("write")) {
    if (name == platform::kTidyName) return Stage::RecordWrite;
    return hidden ? Stage::Temporaries : Stage::Other;
  }
  if (verb == QStringLiteral("link")) return hidden ? Stage::SetAsides : Stage::Other;
  if (verb == QStringLiteral("rename")) {
    if (name == platform::kRecordName) return Stage::RecordRename;
    if (name == platform::kTidyName) return Stage::Commit;
    return hidden ? Stage::SetAsides : Stage::IntoPlace;
  }
  if (verb == QStringLiteral("unlink")) {
    if (name == platform::kTidyName) return Stage::TidyUnlink;
    if (name == platform::kRecordName) return Stage::Other;
    return hidden ? Stage::Tidying : Stage::IntoPlace;
  }
  return Stage::Other;
}

// Makes a copy of this process that makes the change up to the point-th call
// that changes the disk (0: none) and is killed there, or ends where the
// change has fewer calls. Only file calls run in the copy: nothing of the
// screens. True when the copy was killed.
bool KilledAfter(const Change& change, bool hardLinks, int point) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (point == 0) ::raise(SIGKILL);
    FaultyFileSystem files;
    if (!hardLinks) files.WithoutHardLinks();
    int changes = 0;
    files.AfterEachCall([&](FileOperation call) {
      if (testing::Changes(call) && ++changes == point) ::raise(SIGKILL);
    });
    try {
      change();
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "no copy to kill";
    return false;
  }
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the change failed: " << status;
  return false;
}

// The calls of a change that change the disk, made whole here (which also
// warms this process up for its forks), by stage.
struct LoggedChange {
  QStringList calls;
  std::map<Stage, std::vector<int>> stages;
  // From this call on, a kill leaves the change made: the record's rename
  // that commits it, or a single file's rename into place.
  int commit = 0;
};

LoggedChange Log(const Change& change, bool hardLinks) {
  LoggedChange logged;
  {
    FaultyFileSystem files;
    if (!hardLinks) files.WithoutHardLinks();
    files.AfterEachCall([&](FileOperation call) {
      if (testing::Changes(call)) logged.calls.append(files.Log().back());
    });
    change();
  }
  for (int k = 1; k <= logged.calls.size(); ++k) {
    logged.stages[StageOf(logged.calls[k - 1])].push_back(k);
  }
  const auto commit = logged.stages.find(Stage::Commit);
  const auto renames = logged.stages.find(Stage::IntoPlace);
  if (commit != logged.stages.end()) {
    logged.commit = commit->second.front();
  } else if (renames != logged.stages.end() && renames->second.size() == 1) {
    logged.commit = renames->second.front();
  }
  return logged;
}

// Whether the drives hold the state expected: the files exactly, and the
// folders of before and none but the change's (which stay when it is undone).
// Describes what is not so.
std::string Check(const DrivesState& now, const DrivesState& expected, const DrivesState& before,
                  const DrivesState& after) {
  const bool foldersKept = std::includes(now.folders.begin(), now.folders.end(),
                                         before.folders.begin(), before.folders.end()) &&
                           std::includes(after.folders.begin(), after.folders.end(),
                                         now.folders.begin(), now.folders.end());
  if (now.files == expected.files && foldersKept) return std::string();
  return std::string("should be as ") + (&expected == &before ? "before" : "after") +
         (foldersKept ? "" : ", and its folders are not") +
         Differences(now, expected, before, after);
}

class KilledChange : public ::testing::TestWithParam<std::tuple<Operation, bool>> {
 protected:
  void SetUp() override {
    const Operation& operation = std::get<0>(GetParam());
    PutCompanies(drives, !operation.emptyMedium);
    if (operation.madeAnew) {
      ASSERT_TRUE(QFile::remove(drives.Native(operation.madeAnew())));
    }
    before = StateOf(drives);
    change = operation.prepare();
    logged = Log(change, std::get<1>(GetParam()));
    after = StateOf(drives);
    ASSERT_TRUE(after.files != before.files);
    ASSERT_EQ(logged.stages.count(Stage::Other), 0u) << Calls();
    ASSERT_GT(logged.commit, 0) << Calls();
  }

  std::string Calls() const { return logged.calls.join('\n').toStdString(); }
  QString Call(int point) const {
    if (point == 0) return QStringLiteral("nothing");
    return point > logged.calls.size() ? QStringLiteral("the whole change")
                                       : logged.calls[point - 1];
  }

  TempDrives drives;
  const UnflushedDisk disk;
  DrivesState before;
  DrivesState after;
  Change change;
  LoggedChange logged;
};

TEST_P(KilledChange, LeavesBothDrivesWhollyAsBeforeUntilItsCommitAndAsAfterFromIt) {
  const auto& [operation, hardLinks] = GetParam();
  const int last = static_cast<int>(logged.calls.size());
  const bool record = logged.stages.count(Stage::Commit) > 0;
  for (const Stage stage :
       {Stage::RecordWrite, Stage::Temporaries, Stage::IntoPlace, Stage::TidyUnlink}) {
    ASSERT_TRUE(logged.stages.count(stage)) << Calls();
  }
  if (record) {
    ASSERT_TRUE(logged.stages.count(Stage::RecordRename)) << Calls();
    // Old contents to set aside, and then to remove.
    if (!operation.emptyMedium) {
      ASSERT_TRUE(logged.stages.count(Stage::SetAsides)) << Calls();
      ASSERT_TRUE(logged.stages.count(Stage::Tidying)) << Calls();
    }
  }

  std::set<int> points{0, last + 1};
  for (const auto& [stage, calls] : logged.stages) {
    for (std::size_t k = 0; k < calls.size(); ++k) {
      if (operation.everyCall || k < 2 || k + 2 >= calls.size()) points.insert(calls[k]);
    }
  }

  // Each point that fails is named; the first one shows its files.
  QStringList failed;
  DrivesState now = after;
  for (const int point : points) {
    SCOPED_TRACE(QStringLiteral("killed after call %1 of %2: %3")
                     .arg(point)
                     .arg(last)
                     .arg(Call(point))
                     .toStdString());
    PutBack(drives, now, before);
    ASSERT_EQ(KilledAfter(change, hardLinks, point), point <= last);

    RecoverFromKilledRun();

    now = StateOf(drives);
    const std::string wrong = Check(now, point < logged.commit ? before : after, before, after);
    if (!wrong.empty()) {
      if (failed.isEmpty()) ADD_FAILURE() << wrong;
      failed.append(QStringLiteral("%1 (%2)").arg(point).arg(Call(point)));
    }
  }
  EXPECT_TRUE(failed.isEmpty()) << failed.size() << " of " << points.size()
                                << " kill points fail:\n"
                                << failed.join('\n').toStdString();
}

// The next start killed too, at each call of its own recovery: the start
// after it finishes the work. The change is killed where the most is to undo
// (its first file in place) and where, committed, it is still to be tidied.
class KilledRecovery : public KilledChange {};

TEST_P(KilledRecovery, IsFinishedByTheNextStartWhereverItStops) {
  const bool hardLinks = std::get<1>(GetParam());
  const Change recovery = [] { RecoverFromKilledRun(); };
  DrivesState now = after;
  for (const int point : std::set<int>{logged.stages[Stage::IntoPlace].front(), logged.commit}) {
    const DrivesState& expected = point < logged.commit ? before : after;
    // The recovery whole, here, to count its calls.
    PutBack(drives, now, before);
    ASSERT_TRUE(KilledAfter(change, hardLinks, point));
    const int calls = static_cast<int>(Log(recovery, hardLinks).calls.size());
    ASSERT_GT(calls, 0);
    now = StateOf(drives);
    const std::string wrong = Check(now, expected, before, after);
    ASSERT_TRUE(wrong.empty()) << wrong;

    for (int call = 1; call <= calls; ++call) {
      SCOPED_TRACE(
          QStringLiteral("killed after call %1 (%2), and its recovery after its call %3 of %4")
              .arg(point)
              .arg(Call(point))
              .arg(call)
              .arg(calls)
              .toStdString());
      PutBack(drives, now, before);
      ASSERT_TRUE(KilledAfter(change, hardLinks, point));
      ASSERT_TRUE(KilledAfter(recovery, hardLinks, call));

      RecoverFromKilledRun();

      now = StateOf(drives);
      const std::string wrong = Check(now, expected, before, after);
      ASSERT_TRUE(wrong.empty()) << wrong;
    }
  }
}

std::string NameOf(const ::testing::TestParamInfo<KilledChange::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) +
         (std::get<1>(info.param) ? "_WithHardLinks" : "_WithoutHardLinks");
}

INSTANTIATE_TEST_SUITE_P(Changes, KilledChange,
                         ::testing::Combine(::testing::ValuesIn(kOperations), ::testing::Bool()),
                         NameOf);
// The saves, of one, two and three files.
INSTANTIATE_TEST_SUITE_P(Saves, KilledRecovery,
                         ::testing::Combine(::testing::ValuesIn(kOperations, kOperations + 3),
                                            ::testing::Bool()),
                         NameOf);

}  // namespace
}  // namespace mirudanto::app
