// Makes one change through the program's own screens and is killed at a
// chosen step of it: the child of the kill -9 tests of saves, restores,
// copies and backups. Arguments:
//   the hard disk's folder and the removable drive's folder;
//   the change: "Form4", "Form14" or "Form16", a save on that screen with its
//     first text and amount boxes changed to carry the round (round 0: only a
//     load on it); "restore", "copy" or "backup", the data screen's restore
//     of company 7, its copy to 12, or its backup;
//   the round;
//   the step: 0 to finish, or n to die at the nth step;
//   "before" or "after" that step;
//   which calls are steps: "renames" (every set-aside and rename) or "all"
//     (also the record's writing and removal and every flush).
// With MIRUDANTO_NO_HARD_LINKS set, old contents are set aside as on a medium
// without hard links.
#include <signal.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "app/screens.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "statements/entry_screen.h"
#include "support/faulty_file_system.h"
#include "support/recording_desktop.h"

namespace {

using namespace mirudanto;

// Passes every call on to the disk, and kills the program at its step.
class KillingFileSystem final : public platform::FileSystem {
 public:
  KillingFileSystem(int step, bool after, bool everyCall, bool hardLinks)
      : next_(platform::CurrentFileSystem()),
        step_(step),
        after_(after),
        everyCall_(everyCall),
        hardLinks_(hardLinks) {}

  QByteArray ReadFileBytes(const QString& path) override { return next_.ReadFileBytes(path); }
  QString WriteTemporary(const QString& path, const QByteArray& bytes) override {
    return next_.WriteTemporary(path, bytes);
  }
  void ReplaceWithTemporary(const QString& temporary, const QString& path) override {
    Step([&] { next_.ReplaceWithTemporary(temporary, path); });
  }
  void DiscardTemporary(const QString& temporary) noexcept override {
    next_.DiscardTemporary(temporary);
  }
  void SetAside(const QString& path, const QString& aside) override {
    Step([&] {
      if (hardLinks_) {
        next_.SetAside(path, aside);
      } else {
        testing::FaultyFileSystem::RenameAside(path, aside);
      }
    });
  }
  void PutBack(const QString& aside, const QString& path) override { next_.PutBack(aside, path); }
  void SyncFolder(const QString& folder) override {
    Step([&] { next_.SyncFolder(folder); }, everyCall_);
  }
  void WriteRecord(const QString& path, const QByteArray& bytes) override {
    Step([&] { next_.WriteRecord(path, bytes); }, everyCall_);
  }
  std::optional<QByteArray> TakeRecord(const QString& path) override {
    return next_.TakeRecord(path);
  }
  void RemoveRecord(const QString& path) override {
    Step([&] { next_.RemoveRecord(path); }, everyCall_);
  }
  bool FolderExists(const QString& path) override { return next_.FolderExists(path); }
  bool FileExists(const QString& path) override { return next_.FileExists(path); }
  void CreateFolder(const QString& path) override { next_.CreateFolder(path); }
  void CreateTextFile(const QString& path, bool overwrite) override {
    next_.CreateTextFile(path, overwrite);
  }
  void EnsureNewFile(const QString& path) override { next_.EnsureNewFile(path); }
  void CopyFile(const QString& source, const QString& target) override {
    next_.CopyFile(source, target);
  }
  void DeleteFile(const QString& path) override { next_.DeleteFile(path); }

 private:
  template <class Call>
  void Step(Call call, bool counted = true) {
    const bool kill = counted && ++steps_ == step_;
    if (kill && !after_) ::raise(SIGKILL);
    call();
    if (kill) ::raise(SIGKILL);
  }

  platform::FileSystem& next_;
  int step_;
  bool after_;
  bool everyCall_;
  bool hardLinks_;
  int steps_ = 0;
};

// The first box of each kind the user types into: a text and an amount.
void ChangeFirstBoxes(statements::EntryScreen& screen, int round) {
  bool text = false;
  bool amount = false;
  for (const statements::FileLayout& file : screen.Layout().files) {
    for (const statements::FileValue& value : file.values) {
      if (value.box.isEmpty()) continue;
      if (value.kind == statements::ValueKind::Text && !text) {
        screen.Write(value.box, QStringLiteral("第%1回").arg(round));
        text = true;
      } else if (value.kind == statements::ValueKind::Amount && !amount) {
        screen.Write(value.box, QString::number(1000 * round));
        amount = true;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: %s HARDDISK FLOPPY CHANGE ROUND STEP before|after renames|all\n",
                 argv[0]);
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  // A message box would wait for a user: each is written out instead.
  testing::RecordingDesktop desktop;
  platform::Drives::SetRoot(QChar('c'), QString::fromLocal8Bit(argv[1]));
  platform::Drives::SetRoot(QChar('a'), QString::fromLocal8Bit(argv[2]));
  const QString change = QString::fromLocal8Bit(argv[3]);
  const int round = std::atoi(argv[4]);
  KillingFileSystem files(std::atoi(argv[5]), std::strcmp(argv[6], "after") == 0,
                          std::strcmp(argv[7], "all") == 0,
                          std::getenv("MIRUDANTO_NO_HARD_LINKS") == nullptr);

  app::RegisterScreens();
  platform::ScreenNamed(QStringLiteral("Form1")).Load();
  platform::InstallFileSystem(&files);
  const std::map<QString, QString> dataButtons{{QStringLiteral("backup"), QStringLiteral("Command1")},
                                               {QStringLiteral("restore"), QStringLiteral("Command2")},
                                               {QStringLiteral("copy"), QStringLiteral("Command18")}};
  if (const auto button = dataButtons.find(change); button != dataButtons.end()) {
    platform::Screen& data = platform::ScreenNamed(QStringLiteral("Form21"));
    data.Load();
    data.Write(QStringLiteral("Text6"), QStringLiteral("7"));
    data.Write(QStringLiteral("Text39"), QStringLiteral("12"));
    data.Press(button->second);
  } else {
    auto& screen = dynamic_cast<statements::EntryScreen&>(platform::ScreenNamed(change));
    screen.Load();
    screen.Write(screen.Layout().codeBox, QStringLiteral("7"));
    screen.Press(screen.Layout().loadButton);
    if (round > 0) {
      ChangeFirstBoxes(screen, round);
      screen.Press(screen.Layout().saveButton);
    }
  }
  platform::InstallFileSystem(nullptr);
  for (const QString& box : desktop.Summary()) std::printf("%s\n", box.toUtf8().constData());
  std::printf("beeps %d\n", desktop.beeps);
  platform::ScreenSet::Instance().Clear();
  return 0;
}
