#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFileInfo>
#include <QHashFunctions>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "support/drive_state.h"
#include "support/memory_file_system.h"
#include "support/power_loss_file_system.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

namespace power_loss_detail {

inline bool Runs(const std::function<bool()>& operation) {
  try {
    return operation();
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace power_loss_detail

// The files of both drives as they are now.
inline DriveFiles FilesOnDrives(const TempDrives& drives) {
  return DriveState::Of(drives).files;
}

// What the next start does before anything else: both drives taken, each
// interrupted change rolled back and its leftovers removed.
inline void TakeBothDrives() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    const platform::DriveLock taken(root, platform::DriveLock::Mode::Exclusive);
  }
}

// The states an operation not reported done may leave, asked after each run.
using UndoneStates =
    std::function<std::vector<DriveFiles>(const DriveFiles& before, const DriveFiles& after)>;

// Every file as before or every file as after: an operation whose last step
// may fail after its change is on the medium.
inline std::vector<DriveFiles> BeforeOrAfter(const DriveFiles& before, const DriveFiles& after) {
  return {before, after};
}
// Every file as before: one change of the file layer, whose failure before
// its commit leaves no file changed.
inline std::vector<DriveFiles> OnlyBefore(const DriveFiles& before, const DriveFiles&) {
  return {before};
}

// One whole operation of the program, to be cut short at every step.
struct PowerLossRun {
  bool hardLinks = true;
  // Before each run, on the drives as they were and with no power to lose
  // yet: whatever the operation needs besides the files (a screen loaded).
  std::function<void()> prepare;
  // The operation; true when it reported done. A Failure counts as not done.
  std::function<bool()> operation;
  // The states it may leave when it did not report done, besides the state
  // after it once it committed its change.
  UndoneStates undone = OnlyBefore;
  // The next start's recovery; by default both drives are taken.
  std::function<void()> recover = TakeBothDrives;
  // Whether each recovery is cut short too, after each of its own steps, and
  // what the medium keeps of it recovered again.
  bool cutRecovery = false;
  // Whether the drive's next hold is made on the medium as each kill, and
  // each failed flush, left it, before any power loss: with what it had not
  // flushed still to be kept or lost, the start's recovery, a read and a
  // change, each cut after every step of its own.
  bool nextHolds = false;
};

namespace power_loss_detail {

// Where there are more pending operations than this, a cut is tried with a
// sample of their choices.
constexpr std::size_t kEveryChoiceUpTo = 10;
constexpr int kRandomChoices = 200;
// After a failed flush, whose cuts are many more, fewer; and so for the cuts
// of a next hold.
constexpr int kRandomChoicesAfterAFailure = 20;
// A change of more steps than this has its next holds made after the first
// and the last step of each run of like steps, not after every step; and so
// is a hold of more steps cut.
constexpr std::size_t kNextHoldsAtEveryStepUpTo = 40;
// Where more operations than this are pending at a next hold's cut, the
// choices that keep or lose one of them alone are left out: those of each
// folder and the sample stay.
constexpr std::size_t kSinglesUpTo = 10;

// The choices of pending operations that a cut keeps, each a mark for each
// operation: every choice of a few; of many, all but one and only one for
// each, all and only those of each folder, and a sample drawn from `random`.
inline std::vector<std::vector<char>> Choices(
    const std::vector<PowerLossFileSystem::Operation>& pending, std::mt19937& random,
    int randomChoices, bool singles = true) {
  const std::size_t n = pending.size();
  std::vector<std::vector<char>> choices;
  if (n <= kEveryChoiceUpTo) {
    for (unsigned mask = 0; mask < (1u << n); ++mask) {
      std::vector<char>& kept = choices.emplace_back(n);
      for (std::size_t k = 0; k < n; ++k) kept[k] = (mask >> k) & 1u;
    }
    return choices;
  }
  choices.emplace_back(n, 0);
  choices.emplace_back(n, 1);
  for (std::size_t k = 0; singles && k < n; ++k) {
    choices.emplace_back(n, 1)[k] = 0;
    choices.emplace_back(n, 0)[k] = 1;
  }
  std::set<QString> folders;
  for (const auto& operation : pending) folders.insert(operation.folder);
  for (const QString& folder : folders) {
    std::vector<char>& only = choices.emplace_back(n);
    std::vector<char>& others = choices.emplace_back(n);
    for (std::size_t k = 0; k < n; ++k) {
      only[k] = pending[k].folder == folder;
      others[k] = !only[k];
    }
  }
  std::bernoulli_distribution coin;
  for (int r = 0; r < randomChoices; ++r) {
    std::vector<char>& kept = choices.emplace_back(n);
    for (std::size_t k = 0; k < n; ++k) kept[k] = coin(random);
  }
  return choices;
}

// Which pending operations a cut kept and which it lost, to tell a failure.
inline std::string ChoiceOf(const std::vector<PowerLossFileSystem::Operation>& pending,
                            const std::vector<char>& kept) {
  std::string out;
  for (std::size_t k = 0; k < pending.size(); ++k) {
    const auto& operation = pending[k];
    out += std::string(kept[k] ? "\n  kept " : "\n  lost ") +
           (operation.from.isEmpty() ? QString()
                                     : QStringLiteral("rename %1 to ").arg(operation.from))
               .toStdString() +
           (operation.folder + QChar('\\') + operation.name).toStdString() +
           (!operation.node           ? " removed"
            : operation.node->folder ? " made, a folder"
                                      : " given file " + std::to_string(operation.node->file));
  }
  return out;
}

// Whether a kill, or a cut of a next hold, is tried after each step of
// these (0: before the first): after every step of a few; of many, after the
// first and the last of each run of like steps (the temporaries written, the
// old contents set aside, ...).
inline std::vector<char> KillPoints(const std::vector<PowerLossFileSystem::StepKind>& kinds) {
  std::vector<char> at(kinds.size() + 1, 1);
  if (kinds.size() <= kNextHoldsAtEveryStepUpTo) return at;
  for (std::size_t k = 1; k + 1 < kinds.size(); ++k) {
    at[k + 1] = kinds[k] != kinds[k - 1] || kinds[k] != kinds[k + 1];
  }
  return at;
}

// What the drive's next hold took from the medium or put on it.
struct Held {
  // A file the hold read, and what it found (nothing: no such file). What a
  // read took may have gone on elsewhere, to another drive say: no later cut
  // may take it back.
  std::optional<QString> read;
  std::optional<QByteArray> found;
  // A file the hold wrote of its own, there or not after a cut.
  QString own;
};

// A hold of the drive that `path` lies on, as the program makes them after a
// kill; a Failure (the power cut) ends it where it is.
struct NextHold {
  const char* name;
  void (*make)(const QString& path, Held& held);
};

inline const NextHold kNextHolds[] = {
    {"the start's recovery",
     [](const QString&, Held&) {
       for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
         platform::DriveLock::RecoverIfFree(root);
       }
     }},
    {"a read",
     [](const QString& path, Held& held) {
       try {
         held.found = platform::ReadFileBytes(path);
       } catch (const Failure& failure) {
         if (failure.Kind() != FailureKind::FileNotFound &&
             failure.Kind() != FailureKind::PathNotFound) {
           throw;
         }
       }
       held.read = path;
     }},
    {"a change of another file",
     [](const QString& path, Held& held) {
       held.own = platform::DataRootOf(path) + QStringLiteral("\\次の変更.txt");
       platform::WriteFileAtomic(held.own, "next");
     }},
};

// Looks at the states that cuts leave, and a kill at the same point, each
// once: recovered as the next start would, on a medium in memory, every file
// must be wholly as after the operation when it reported done, or in one of
// its undone states when not (never some files of one state and some of
// another), and no hidden file may be left.
class CutStates {
 public:
  CutStates(const PowerLossRun& run, DriveFiles before, DriveFiles after,
            int randomChoices = kRandomChoices)
      : run_(run),
        before_(std::move(before)),
        after_(std::move(after)),
        afterHashed_(Hashed(after_)),
        randomChoices_(randomChoices),
        changed_(FirstChanged(before_, after_)) {}

  // Every choice of what the cut in `medium` kept; false once one is wrong.
  // With `holds`, the drive's next holds too, made on it as it is.
  bool Check(const PowerLossFileSystem& medium, bool done, bool holds = false) {
    if (holds && !CheckNextHolds(medium, done)) return false;
    const auto& pending = medium.Pending();
    const PowerLossFileSystem::Choosing choosing(medium);
    const std::set<QString> drives = medium.Drives();
    const bool committed = medium.Committed();
    const std::vector<Files> undone = Undone(committed);
    // Killed there instead: every call made stays, and all it wrote.
    MemoryState killed = MemoryState::Of(medium.Now());
    if (Unseen(HashOf(killed), done, committed) &&
        !Check(std::move(killed), drives, done, committed, undone,
               [] { return std::string("\n  killed there"); })) {
      return false;
    }
    for (std::vector<char>& kept : Choices(pending, random_, randomChoices_)) {
      const PowerLossFileSystem::Choosing::Chosen chosen = choosing.Choose(std::move(kept));
      if (!Unseen(chosen.hash, done, committed)) continue;
      if (!Check(choosing.Durable(chosen), drives, done, committed, undone,
                 [&] { return ChoiceOf(pending, chosen.kept); })) {
        return false;
      }
    }
    return true;
  }

  // One state of the drives; `told` names how it came about.
  bool Check(const DriveState& state, const std::set<QString>& drives, bool done, bool committed,
             const std::function<std::string()>& told) {
    MemoryState memory = MemoryState::Of(state);
    if (!Unseen(HashOf(memory), done, committed)) return true;
    return Check(std::move(memory), drives, done, committed, Undone(committed), told);
  }

  // Each next hold made on `killed` as it is, with the power on, and cut
  // after each of its steps: each choice of what the medium keeps then is
  // recovered as the next start would and checked, and what the hold read
  // must be what the recovery leaves.
  bool CheckNextHolds(const PowerLossFileSystem& killed, bool done) {
    if (changed_.isEmpty() || !HasNotes(killed)) return true;
    const std::set<QString> drives = killed.Drives();
    const bool committed = killed.Committed();
    const std::vector<Files> undone = Undone(committed);
    const bool wasRecovering = recovering_;
    recovering_ = true;
    bool right = true;
    const Killed left{MemoryState::Of(killed.Now()), killed.NamesOfOneFile()};
    for (const NextHold& hold : kNextHolds) {
      int steps = 0;
      std::vector<char> cuts;
      GoOn(killed, left, hold, -1, [&](const PowerLossFileSystem& medium, const Held&) {
        steps = medium.Steps();
        cuts = KillPoints(medium.StepKinds());
      });
      // The last cut comes after the whole hold, whatever it did after its
      // last step (a read).
      for (int cut = 0; right && cut <= steps; ++cut) {
        if (!cuts[cut]) continue;
        GoOn(killed, left, hold, cut < steps ? cut : -1, [&](const PowerLossFileSystem& medium,
                                                            const Held& held) {
          const auto& pending = medium.Pending();
          const PowerLossFileSystem::Choosing choosing(medium);
          const std::size_t salt = SaltOf(held);
          for (std::vector<char>& kept : Choices(pending, random_, kRandomChoicesAfterAFailure,
                                                 pending.size() <= kSinglesUpTo)) {
            const PowerLossFileSystem::Choosing::Chosen chosen = choosing.Choose(std::move(kept));
            if (!Unseen(chosen.hash + salt, done, committed)) continue;
            if (!Check(choosing.Durable(chosen), drives, done, committed, undone,
                       [&] {
                         return "\n  killed there, then " + std::string(hold.name) +
                                (cut < steps ? " cut after its step " + std::to_string(cut)
                                             : std::string(" made whole, then a cut")) +
                                ChoiceOf(pending, chosen.kept);
                       },
                       held)) {
              right = false;
              return;
            }
          }
        });
      }
    }
    recovering_ = wasRecovering;
    return right;
  }

 private:
  using Files = QHash<QString, QByteArray>;

  static Files Hashed(const DriveFiles& files) { return MemoryState::Of({{}, files}).files; }

  // The first file the operation changes: the one a next hold reads, on the
  // drive it changes.
  static QString FirstChanged(const DriveFiles& before, const DriveFiles& after) {
    for (const DriveFiles* files : {&before, &after}) {
      const DriveFiles& other = files == &before ? after : before;
      for (const auto& [path, bytes] : *files) {
        const auto there = other.find(path);
        if (there == other.end() || there->second != bytes) return path;
      }
    }
    return QString();
  }

  // Whether a change left a record or a note for the next hold to end.
  static bool HasNotes(const PowerLossFileSystem& medium) {
    for (const auto& [path, bytes] : medium.Now().files) {
      if (drive_state_detail::NameOf(path).startsWith(platform::kCommitRecordMark)) return true;
    }
    return false;
  }

  static std::size_t SaltOf(const Held& held) {
    if (!held.read) return 0;
    return HashOfFile(*held.read, held.found.value_or("(none)")) * 3 + (held.found ? 1 : 2);
  }

  // What a kill left on the disk, for each hold made on it.
  struct Killed {
    MemoryState now;
    std::vector<std::pair<QString, QString>> namesOfOneFile;
  };

  // The hold made on the medium as `killed` left it, the power cut after its
  // step `cut` (never, when negative); then `look` at the medium.
  void GoOn(const PowerLossFileSystem& killed, const Killed& left, const NextHold& hold, int cut,
            const std::function<void(const PowerLossFileSystem&, const Held&)>& look) const {
    MemoryFileSystem disk(left.now, killed.Drives());
    for (const auto& [first, second] : left.namesOfOneFile) disk.SameFile(first, second);
    PowerLossFileSystem medium(killed, PowerLossFileSystem::GoingOn{});
    medium.LosePowerAfter(cut);
    Held held;
    try {
      hold.make(changed_, held);
    } catch (const Failure&) {
    }
    look(medium, held);
  }

  // The states the operation may leave when it did not report done.
  std::vector<Files> Undone(bool committed) const {
    std::vector<Files> states;
    for (const DriveFiles& files : run_.undone(before_, after_)) states.push_back(Hashed(files));
    if (committed) states.push_back(afterHashed_);
    return states;
  }

  bool Check(MemoryState state, const std::set<QString>& drives, bool done, bool committed,
             const std::vector<Files>& undone, const std::function<std::string()>& told,
             const Held& held = {}) {
    if (run_.cutRecovery && !recovering_ &&
        !CutRecovery(state, drives, done, committed, undone, told)) {
      return false;
    }
    MemoryFileSystem medium(std::move(state), drives);
    try {
      run_.recover();
    } catch (const Failure& failure) {
      ADD_FAILURE() << "the drives cannot be recovered: " << failure.what() << told();
      return false;
    }
    Files now = medium.State().files;
    for (auto file = now.begin(); file != now.end(); ++file) {
      if (drive_state_detail::NameOf(file.key()).startsWith(QStringLiteral(".~"))) {
        ADD_FAILURE() << "left behind: " << file.key().toStdString() << told();
        return false;
      }
    }
    if (held.read) {
      const auto file = now.constFind(*held.read);
      const std::optional<QByteArray> left =
          file == now.cend() ? std::nullopt : std::optional<QByteArray>(file.value());
      if (left != held.found) {
        ADD_FAILURE() << "a read took what the cut then took back: "
                      << held.read->toStdString() << (held.found ? " read" : " missing")
                      << ", yet " << (left ? "there" : "missing") << " after the recovery"
                      << (left && held.found ? " with other bytes" : "") << told();
        return false;
      }
    }
    if (!held.own.isEmpty()) now.remove(held.own);
    const auto differs = [&] {
      return Difference(medium.State().Ordered().files, before_, after_) + told();
    };
    if (done) {
      if (now == afterHashed_) return true;
      ADD_FAILURE() << "reported done, yet not on the medium:" << differs();
      return false;
    }
    if (std::find(undone.begin(), undone.end(), now) != undone.end()) return true;
    ADD_FAILURE() << "not done, yet the files are in no state it may leave"
                  << (committed ? " (committed)" : "") << ":" << differs();
    return false;
  }

  // The recovery from `state` cut after each of its steps, and each choice of
  // what the medium keeps of it recovered again.
  bool CutRecovery(const MemoryState& state, const std::set<QString>& drives, bool done,
                   bool committed, const std::vector<Files>& undone,
                   const std::function<std::string()>& told) {
    const PowerLossFileSystem::Start start = PowerLossFileSystem::StartOf(state.Ordered(), drives);
    const auto recover = [&](int cut, const std::function<bool(PowerLossFileSystem&)>& look) {
      const MemoryFileSystem disk(state, drives);
      PowerLossFileSystem medium(start);
      medium.LosePowerAfter(cut);
      Runs([&] {
        run_.recover();
        return true;
      });
      return look(medium);
    };
    int steps = 0;
    recover(-1, [&](PowerLossFileSystem& medium) {
      steps = medium.Steps();
      return true;
    });
    recovering_ = true;
    bool right = true;
    for (int cut = 0; right && cut < steps; ++cut) {
      right = recover(cut, [&](PowerLossFileSystem& medium) {
        const auto& pending = medium.Pending();
        for (const std::vector<char>& kept : Choices(pending, random_, randomChoices_)) {
          MemoryState again = MemoryState::Of(medium.Durable(kept));
          if (!Unseen(HashOf(again), done, committed)) continue;
          if (!Check(std::move(again), drives, done, committed, undone, [&] {
                return told() + "\n  and its recovery cut after step " + std::to_string(cut) +
                       ChoiceOf(pending, kept);
              })) {
            return false;
          }
        }
        return true;
      });
    }
    recovering_ = false;
    return right;
  }

  // Whether a state of this hash, so told, is looked at for the first time.
  // Two states alike but for a collision of 64 bits are taken as one.
  bool Unseen(std::size_t hash, bool done, bool committed) {
    return seen_
        .insert(hash + (done ? 0x2545f4914f6cdd1dull : 0) +
                (committed ? 0x9fb21c651e98df25ull : 0))
        .second;
  }

  const PowerLossRun& run_;
  DriveFiles before_;
  DriveFiles after_;
  Files afterHashed_;
  int randomChoices_;
  std::mt19937 random_{20261211};
  std::unordered_set<std::size_t> seen_;
  bool recovering_ = false;
  QString changed_;
};

// The drives as they began, and the operation made whole on them once. The
// runs go on in memory, over the drives as they began: the disk keeps them,
// and is given the state of the last run at the end.
struct WholeRun {
  DriveState start;
  MemoryState startInMemory;
  std::set<QString> drives;
  PowerLossFileSystem::Start began;
  // As the whole run left them.
  DriveState after;
  int steps = 0;
  int flushes = 0;
  std::vector<PowerLossFileSystem::StepKind> kinds;
};

inline WholeRun RunWhole(const TempDrives& drives, const PowerLossRun& run) {
  WholeRun whole;
  whole.start = DriveState::Of(drives);
  whole.startInMemory = MemoryState::Of(whole.start);
  whole.drives = {QStringLiteral("c:")};
  if (QFileInfo(drives.Floppy()).isDir()) whole.drives.insert(QStringLiteral("a:"));
  const MemoryFileSystem disk(whole.startInMemory, whole.drives);
  if (run.prepare) run.prepare();
  PowerLossFileSystem medium;
  whole.began = medium.Began();
  if (!run.hardLinks) medium.WithoutHardLinks();
  EXPECT_TRUE(Runs(run.operation)) << "the operation fails with the power on";
  whole.steps = medium.Steps();
  whole.kinds = medium.StepKinds();
  whole.flushes = medium.Flushes();
  whole.after = medium.Now();
  EXPECT_NE(whole.start.files, whole.after.files) << "the operation changes nothing";
  EXPECT_GT(whole.steps, 0);
  return whole;
}

// Runs the operation again from the drives as they began, with the medium
// set by `set`; tells whether it reported done, then leaves the medium to
// `look`.
inline void RunAgain(const PowerLossRun& run, WholeRun& whole,
                     const std::function<void(PowerLossFileSystem&)>& set,
                     const std::function<void(PowerLossFileSystem&, bool done)>& look) {
  const MemoryFileSystem disk(whole.startInMemory, whole.drives);
  if (run.prepare) run.prepare();
  PowerLossFileSystem medium(whole.began);
  if (!run.hardLinks) medium.WithoutHardLinks();
  set(medium);
  look(medium, Runs(run.operation));
}

// The disk as the whole run left it, for what the test does next.
inline void PutOnDisk(const TempDrives& drives, const WholeRun& whole) {
  whole.after.PutBack(drives, whole.start);
}

}  // namespace power_loss_detail

// Runs the operation once on a whole medium, to learn its steps and what it
// leaves; then, for each step, cuts the power after it and tries what the
// medium may keep of the operations not yet flushed, recovering each as the
// next start would. Returns the number of steps.
inline int LosePowerAtEveryStep(const TempDrives& drives, const PowerLossRun& run) {
  using namespace power_loss_detail;
  WholeRun whole = RunWhole(drives, run);
  if (::testing::Test::HasFailure()) return whole.steps;
  CutStates states(run, whole.start.files, whole.after.files);
  const std::vector<char> holdsAt = KillPoints(whole.kinds);
  for (int step = 0; step <= whole.steps; ++step) {
    SCOPED_TRACE("power lost after step " + std::to_string(step) + " of " +
                 std::to_string(whole.steps));
    bool right = true;
    RunAgain(
        run, whole, [&](PowerLossFileSystem& medium) { medium.LosePowerAfter(step); },
        [&](PowerLossFileSystem& medium, bool done) {
          if (step == whole.steps) {
            EXPECT_TRUE(done) << "the operation fails after its last step";
          }
          right = states.Check(medium, done, run.nextHolds && holdsAt[step]);
        });
    if (!right) break;  // one cut tells it; the rest would repeat it
  }
  PutOnDisk(drives, whole);
  return whole.steps;
}

// Makes each flush of the operation fail in turn, once. After each failure
// the files are wholly as before or as after, once the drives are next
// taken; and the power is then cut at every later step, as above. Returns
// the number of flushes.
inline int FailEachFlush(const TempDrives& drives, const PowerLossRun& run) {
  using namespace power_loss_detail;
  WholeRun whole = RunWhole(drives, run);
  if (::testing::Test::HasFailure()) return whole.flushes;
  CutStates states(run, whole.start.files, whole.after.files, kRandomChoicesAfterAFailure);
  for (int flush = 1; flush <= whole.flushes; ++flush) {
    SCOPED_TRACE("flush " + std::to_string(flush) + " of " + std::to_string(whole.flushes) +
                 " failed");
    int failedAt = 0;
    int steps = 0;
    bool right = true;
    RunAgain(
        run, whole, [&](PowerLossFileSystem& medium) { medium.FailFlush(flush); },
        [&](PowerLossFileSystem& medium, bool done) {
          failedAt = medium.FailedAtStep();
          steps = medium.Steps();
          EXPECT_GT(failedAt, 0) << "the flush was not made";
          // The power stays on: the disk as the failure left it.
          right = states.Check(medium.Now(), medium.Drives(), done, medium.Committed(),
                               [] { return std::string("\n  with the power on"); }) &&
                  (!run.nextHolds || states.CheckNextHolds(medium, done));
        });
    for (int step = failedAt; right && step <= steps; ++step) {
      SCOPED_TRACE("power lost after step " + std::to_string(step) + " of " +
                   std::to_string(steps));
      RunAgain(
          run, whole,
          [&](PowerLossFileSystem& medium) {
            medium.FailFlush(flush);
            medium.LosePowerAfter(step);
          },
          [&](PowerLossFileSystem& medium, bool done) { right = states.Check(medium, done); });
    }
    if (!right) break;
  }
  PutOnDisk(drives, whole);
  return whole.flushes;
}

}  // namespace mirudanto::testing
