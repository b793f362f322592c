// A change killed at a call: the child of a fork makes it and dies there,
// the parent starts again as the program would and looks at both drives.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
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
#include "support/drive_state.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"
#include "support/unflushed_disk.h"

namespace mirudanto::app {
namespace {

using testing::Content;
using testing::Difference;
using testing::DriveState;
using testing::FaultyFileSystem;
using testing::FileOperation;
using testing::PutCompany;
using testing::TempDrives;
using testing::UnflushedDisk;

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
  // A file alone has a note where several have a record.
  if (verb == QStringLiteral("write")) {
    if (name == platform::kDraftName || name == platform::kAloneName) return Stage::RecordWrite;
    return hidden ? Stage::Temporaries : Stage::Other;
  }
  if (verb == QStringLiteral("link")) return hidden ? Stage::SetAsides : Stage::Other;
  if (verb == QStringLiteral("rename")) {
    if (name == platform::kRecordName) return Stage::RecordRename;
    if (name == platform::kDoneName) return Stage::Commit;
    return hidden ? Stage::SetAsides : Stage::IntoPlace;
  }
  if (verb == QStringLiteral("unlink")) {
    if (name == platform::kDoneName || name == platform::kAloneName) return Stage::TidyUnlink;
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
std::string Check(const DriveState& now, const DriveState& expected, const DriveState& before,
                  const DriveState& after) {
  const bool foldersKept = std::includes(now.folders.begin(), now.folders.end(),
                                         before.folders.begin(), before.folders.end()) &&
                           std::includes(after.folders.begin(), after.folders.end(),
                                         now.folders.begin(), now.folders.end());
  if (now.files == expected.files && foldersKept) return std::string();
  return std::string("should be as ") + (&expected == &before ? "before" : "after") +
         (foldersKept ? "" : ", and its folders are not") +
         Difference(now.files, before.files, after.files);
}

class KilledChange : public ::testing::TestWithParam<std::tuple<Operation, bool>> {
 protected:
  void SetUp() override {
    const Operation& operation = std::get<0>(GetParam());
    PutCompanies(drives, !operation.emptyMedium);
    if (operation.madeAnew) {
      ASSERT_TRUE(QFile::remove(drives.Native(operation.madeAnew())));
    }
    before = DriveState::Of(drives);
    change = operation.prepare();
    logged = Log(change, std::get<1>(GetParam()));
    after = DriveState::Of(drives);
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
  DriveState before;
  DriveState after;
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
  DriveState now = after;
  for (const int point : points) {
    SCOPED_TRACE(QStringLiteral("killed after call %1 of %2: %3")
                     .arg(point)
                     .arg(last)
                     .arg(Call(point))
                     .toStdString());
    before.PutBack(drives, now);
    ASSERT_EQ(KilledAfter(change, hardLinks, point), point <= last);

    RecoverFromKilledRun();

    now = DriveState::Of(drives);
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
  DriveState now = after;
  for (const int point : std::set<int>{logged.stages[Stage::IntoPlace].front(), logged.commit}) {
    const DriveState& expected = point < logged.commit ? before : after;
    // The recovery whole, here, to count its calls.
    before.PutBack(drives, now);
    ASSERT_TRUE(KilledAfter(change, hardLinks, point));
    const int calls = static_cast<int>(Log(recovery, hardLinks).calls.size());
    ASSERT_GT(calls, 0);
    now = DriveState::Of(drives);
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
      before.PutBack(drives, now);
      ASSERT_TRUE(KilledAfter(change, hardLinks, point));
      ASSERT_TRUE(KilledAfter(recovery, hardLinks, call));

      RecoverFromKilledRun();

      now = DriveState::Of(drives);
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
