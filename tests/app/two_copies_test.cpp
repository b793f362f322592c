// Two copies of the program on one drive: forks of this process save and
// load one statement at once, one of them killed in the middle of a save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <new>
#include <stdexcept>
#include <thread>

#include "app/leftovers.h"
#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/files.h"
#include "statements/borrowings_and_expenses/officer_pay_screen.h"
#include "support/entry_screen_fixture.h"
#include "support/faulty_file_system.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using namespace std::chrono_literals;
using testing::TempDrives;

QString Text() { return StatementTextFile(StatementMark::OfficerPay, 7); }
QString Amounts() { return StatementAmountFile(StatementMark::OfficerPay, 7); }

// Every line of both files of a save names the copy and its round ("A17"),
// so that a file torn or taken from another save shows.
QByteArray SaveBytes(const char* file, const QString& save) {
  return QByteArray(file).append(' ').append(save.toUtf8()).append("\r\n").repeated(100);
}

// The save that made a file, or "torn" when its lines are not of one.
QString SaveOf(const char* file, const QByteArray& bytes) {
  const QList<QByteArray> lines = bytes.split('\n');
  const QByteArray prefix = QByteArray(file).append(' ');
  if (lines.size() != 101 || !lines.back().isEmpty() || !lines.front().startsWith(prefix)) {
    return QStringLiteral("torn");
  }
  for (qsizetype k = 1; k < 100; ++k) {
    if (lines[k] != lines.front()) return QStringLiteral("torn");
  }
  return QString::fromUtf8(lines.front().mid(prefix.size()).chopped(1));
}

// ⑭ as its screen saves it: the amounts, then the texts.
void Save(const QString& save) {
  platform::WriteFilesTogether(
      {{Amounts(), SaveBytes("amounts", save)}, {Text(), SaveBytes("text", save)}});
}

// The pair as the entry screen's load takes it, under the drive's shared
// hold; the save both come from, or what each holds when they differ.
QString Load() {
  const platform::DriveLock disk(kDataRoot, platform::DriveLock::Mode::Shared);
  const QString amounts = SaveOf("amounts", platform::ReadFileBytes(Amounts()));
  const QString text = SaveOf("text", platform::ReadFileBytes(Text()));
  return amounts == text ? text : amounts + QStringLiteral(" and ") + text;
}

// The files of the data root and its statement folder, hidden ones included.
QStringList FilesOf(const TempDrives& drives) {
  QStringList files;
  for (const QString& folder : {kDataRoot, StatementFolder()}) {
    files += QDir(drives.Native(folder))
                 .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }
  return files;
}
// Both files of ⑭ and the drive's lock: nothing left over.
QStringList OnlyTheStatement() { return {platform::kLockName, "A⑭7.txt", "⑭7.txt"}; }

// Runs the body in a child, which ends with its result and nothing of this
// process's own ending (no test report, no handlers).
template <class Body>
pid_t Fork(Body body) {
  const pid_t child = ::fork();
  if (child != 0) return child;
  int result = 3;
  try {
    result = body();
  } catch (...) {
  }
  ::_exit(result);
}

int ExitCodeOf(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A forked copy of the program. One that is still running when its test
// stops early is killed and waited for: no copy outlives its test.
class Copy {
 public:
  template <class Body>
  explicit Copy(Body body) : pid_(Fork(body)) {}
  ~Copy() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ExitCode();
  }
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  int ExitCode() {
    const int code = ExitCodeOf(pid_);
    pid_ = -1;
    return code;
  }

 private:
  pid_t pid_;
};

bool Readable(int fd, int timeoutMs) {
  pollfd poll{fd, POLLIN, 0};
  return ::poll(&poll, 1, timeoutMs) > 0;
}

// A short pause between two saves or loads of a copy, as a user's would be:
// a copy that takes the drive again at once leaves the others, which look
// for a gap now and then, none.
void Pause(int maxMicroseconds = 3000) {
  std::this_thread::sleep_for(
      std::chrono::microseconds(QRandomGenerator::global()->bounded(maxMicroseconds)));
}

class Pipe {
 public:
  Pipe() {
    if (::pipe(ends_) != 0) throw std::runtime_error("no pipe");
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  int Read() const { return ends_[0]; }
  int Write() const { return ends_[1]; }
  void CloseRead() { Close(ends_[0]); }
  void CloseWrite() { Close(ends_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int ends_[2];
};

// What the loading copy saw.
struct Loads {
  int loads = 0;
  int mixed = 0;
  int failed = 0;
  char first[160] = {};
};

TEST(TwoCopies, SaveTheSameStatementAtOnceAndALoadAlwaysFindsBothFilesOfOneSave) {
  TempDrives drives;
  drives.MakeFolder(StatementFolder());
  Save(QStringLiteral("S0"));
  ASSERT_EQ(Load(), QStringLiteral("S0"));
  constexpr int kRounds = 300;

  Pipe stop;
  Pipe seen;
  Copy loader([&] {
    Loads loads;
    while (!Readable(stop.Read(), 0)) {
      try {
        const QString save = Load();
        if (save.contains(QChar(' ')) || save == QStringLiteral("torn")) {
          if (loads.mixed++ == 0) {
            std::strncpy(loads.first, save.toUtf8().constData(), sizeof loads.first - 1);
          }
        }
      } catch (const Failure& failure) {
        if (loads.failed++ == 0) {
          std::strncpy(loads.first, failure.what(), sizeof loads.first - 1);
        }
      }
      ++loads.loads;
      Pause(500);
    }
    return ::write(seen.Write(), &loads, sizeof loads) == sizeof loads ? 0 : 1;
  });
  std::deque<Copy> savers;
  for (const char* copy : {"A", "B"}) {
    savers.emplace_back([&] {
      for (int round = 1; round <= kRounds; ++round) {
        Save(QString::fromLatin1(copy) + QString::number(round));
        Pause();
      }
      return 0;
    });
  }
  for (Copy& saver : savers) EXPECT_EQ(saver.ExitCode(), 0) << "a save failed";
  ASSERT_EQ(::write(stop.Write(), "x", 1), 1);
  Loads loads;
  ASSERT_TRUE(Readable(seen.Read(), 30000));
  ASSERT_EQ(::read(seen.Read(), &loads, sizeof loads), static_cast<ssize_t>(sizeof loads));
  EXPECT_EQ(loader.ExitCode(), 0);

  EXPECT_EQ(loads.mixed, 0) << "first: " << loads.first;
  EXPECT_EQ(loads.failed, 0) << "first: " << loads.first;
  // Enough loads to have met the saves in every stage.
  EXPECT_GE(loads.loads, 20);
  const QString last = Load();
  EXPECT_TRUE(last == QStringLiteral("A300") || last == QStringLiteral("B300"))
      << last.toStdString();
  EXPECT_EQ(FilesOf(drives), OnlyTheStatement());
}

// The calls of one save over the files that change the disk, and which of
// them commits it.
struct SaveCalls {
  int changes = 0;
  int commit = 0;
};

SaveCalls CallsOfASave() {
  testing::FaultyFileSystem files;
  SaveCalls calls;
  const QString commit = QStringLiteral("rename ") + kDataRoot + '\\' + platform::kDoneName;
  files.AfterEachCall([&](testing::FileOperation call) {
    if (!testing::Changes(call)) return;
    ++calls.changes;
    if (files.Log().back() == commit) calls.commit = calls.changes;
  });
  Save(QStringLiteral("S1"));
  return calls;
}

// The pair as it lies on the disk, read past the file layer: for a copy that
// holds the drive already.
QString OnDisk(const TempDrives& drives) {
  const QString amounts = SaveOf("amounts", drives.Get(Amounts()));
  const QString text = SaveOf("text", drives.Get(Text()));
  return amounts == text ? text : amounts + QStringLiteral(" and ") + text;
}

// Copy A's saves, in memory that both copies share: the order each took the
// drive in, counted with copy B's, or 0 for a save not begun.
constexpr int kSavesOfA = 2;
struct SharedOrder {
  std::atomic<int> last{0};
  std::atomic<int> ofA[kSavesOfA + 1]{};
};

TEST(TwoCopies, ACopyKilledInTheMiddleOfASaveUndoesNoSaveTheOtherHasReportedDone) {
  TempDrives drives;
  drives.MakeFolder(StatementFolder());
  Save(QStringLiteral("S0"));
  const SaveCalls calls = CallsOfASave();
  ASSERT_GE(calls.changes, 8);
  ASSERT_GT(calls.commit, 0);
  void* const memory = ::mmap(nullptr, sizeof(SharedOrder), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  const struct Unmap {
    void* memory;
    ~Unmap() { ::munmap(memory, sizeof(SharedOrder)); }
  } unmap{memory};
  const QString record = QStringLiteral("write ") + kDataRoot + '\\' + platform::kDraftName;

  // A dies in its last save, after each of its calls in turn.
  for (int point = 1; point <= calls.changes; ++point) {
    SCOPED_TRACE("A killed after call " + std::to_string(point) + " of its save");
    Save(QStringLiteral("S0"));
    SharedOrder& order = *new (memory) SharedOrder;
    Pipe stop;
    Pipe done;
    Pipe wrong;
    // B loads and saves in turn, and tells each save it has made, until it
    // is told to stop. Whenever it has taken the drive, after whatever
    // recovery that took, the pair is the last save made: its own last one,
    // or one of A's that took the drive after it (A's killed one only if
    // it had committed).
    Copy b([&] {
      testing::FaultyFileSystem files;
      QString last = QStringLiteral("S0");
      int lastOrder = 0;
      QString violation;
      const auto check = [&](const char* when, const QString& seen) {
        QString made = last;
        int madeOrder = lastOrder;
        for (int round = 1; round <= kSavesOfA; ++round) {
          const int taken = order.ofA[round];
          const bool committed = round < kSavesOfA || point >= calls.commit;
          if (taken > madeOrder && committed) {
            made = QStringLiteral("A%1").arg(round);
            madeOrder = taken;
          }
        }
        if (seen != made && violation.isEmpty()) {
          violation = QStringLiteral("%1 after %2: %3, not %4").arg(when, last, seen, made);
        }
      };
      int saving = 0;
      files.AfterEachCall([&](testing::FileOperation) {
        if (files.Log().back() != record) return;
        check("a save", OnDisk(drives));
        lastOrder = ++order.last;
        last = QStringLiteral("B%1").arg(saving);
      });
      for (saving = 1;; ++saving) {
        check("a load", Load());
        Save(QStringLiteral("B%1").arg(saving));
        if (::write(done.Write(), &saving, sizeof saving) != sizeof saving) return 1;
        if (Readable(stop.Read(), 0)) break;
        Pause(6000);
      }
      const QByteArray message = violation.toUtf8();
      return ::write(wrong.Write(), message.constData(), message.size()) == message.size() ? 0 : 1;
    });
    done.CloseWrite();
    wrong.CloseWrite();
    // The round B reports next; -1 once B has stopped (its end of the pipe
    // closed) or has reported nothing for long.
    const auto nextDone = [&]() {
      int round = 0;
      if (!Readable(done.Read(), 30000)) return -1;
      return ::read(done.Read(), &round, sizeof round) == sizeof round ? round : -1;
    };
    // A starts once B is saving.
    ASSERT_EQ(nextDone(), 1);
    Copy a([&] {
      testing::FaultyFileSystem files;
      int round = 1;
      int changes = 0;
      files.AfterEachCall([&](testing::FileOperation call) {
        if (files.Log().back() == record) order.ofA[round] = ++order.last;
        if (round == kSavesOfA && testing::Changes(call) && ++changes == point) ::raise(SIGKILL);
      });
      for (; round <= kSavesOfA; ++round) {
        Save(QStringLiteral("A%1").arg(round));
        Pause();
      }
      return 4;  // never killed
    });

    EXPECT_EQ(a.ExitCode(), 128 + SIGKILL);
    // Two more of B's saves, the last of which began after A's death.
    int reported = 0;
    while (reported >= 0 && Readable(done.Read(), 0)) reported = nextDone();
    for (const int wanted = reported + 2; reported >= 0 && reported < wanted;) {
      reported = nextDone();
    }
    ASSERT_GT(reported, 0) << "B stopped before two more saves";
    ASSERT_EQ(::write(stop.Write(), "x", 1), 1);
    for (int round; (round = nextDone()) > 0;) reported = round;
    EXPECT_EQ(b.ExitCode(), 0);
    char violation[200] = {};
    EXPECT_LE(::read(wrong.Read(), violation, sizeof violation - 1), 0) << violation;

    RecoverFromKilledRun();
    EXPECT_EQ(Load(), QStringLiteral("B%1").arg(reported));
    EXPECT_EQ(FilesOf(drives), OnlyTheStatement());
  }
}

// A save on ⑭'s own screen while another copy holds the drive.
class HeldDriveTest : public testing::EntryScreenTest<statements::OfficerPayScreen> {
 protected:
  ~HeldDriveTest() override { platform::DriveLock::SetPatience(5s); }

  // The first box that takes a text.
  QString TextBox() const {
    for (const statements::FileLayout& file : screen.Layout().files) {
      for (const statements::FileValue& value : file.values) {
        if (value.kind == statements::ValueKind::Text && !value.box.isEmpty()) return value.box;
      }
    }
    return QString();
  }
};

TEST_F(HeldDriveTest, ASaveFailsAfterAShortWaitWithoutBeepOrChange) {
  Save();
  const QByteArray texts = drives.Get(TextPath());
  const QByteArray amounts = drives.Get(AmountPath());
  const QStringList files = FilesOf(drives);
  screen.Write(TextBox(), QStringLiteral("山田"));
  platform::DriveLock::SetPatience(200ms);

  // Another copy changing the files, or reading them.
  for (const int hold : {LOCK_EX, LOCK_SH}) {
    SCOPED_TRACE(hold == LOCK_EX ? "exclusive" : "shared");
    const QByteArray lock =
        QFile::encodeName(drives.Native(kDataRoot + "\\" + platform::kLockName));
    const int other = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, hold | LOCK_NB), 0);
    desktop.boxes.clear();
    desktop.beeps = 0;

    const auto start = std::chrono::steady_clock::now();
    Save();
    const auto waited = std::chrono::steady_clock::now() - start;
    ::close(other);

    EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|書き込みできません。"});
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_GE(waited, 200ms);
    EXPECT_LT(waited, 3s);
    EXPECT_EQ(drives.Get(TextPath()), texts);
    EXPECT_EQ(drives.Get(AmountPath()), amounts);
    EXPECT_EQ(FilesOf(drives), files);
    EXPECT_EQ(screen.Read(TextBox()), QStringLiteral("山田"));
  }

  // Once the other copy lets go, the same save goes through.
  desktop.boxes.clear();
  Save();
  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_NE(drives.Get(TextPath()), texts);
}

}  // namespace
}  // namespace mirudanto::app
