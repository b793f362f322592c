#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <map>

#include "core/failure.h"
#include "statements/borrowings_and_expenses/misc_screen.h"
#include "statements/borrowings_and_expenses/officer_pay_screen.h"
#include "statements/entry_screen.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/faulty_file_system.h"
#include "support/screen_test.h"

namespace mirudanto::statements {
namespace {

using testing::FaultyFileSystem;
using testing::FileOperation;

// Every file below the hard disk with its bytes, hidden ones included.
std::map<QString, QByteArray> Files(const testing::TempDrives& drives) {
  std::map<QString, QByteArray> files;
  QDirIterator it(drives.HardDisk(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly)) files[it.filePath()] = file.readAll();
  }
  return files;
}

// The screen's first text box and first amount box, filled for `round`.
void Fill(EntryScreen& screen, int round) {
  bool text = false;
  bool amount = false;
  for (const FileLayout& file : screen.Layout().files) {
    for (const FileValue& value : file.values) {
      if (value.box.isEmpty()) continue;
      if (value.kind == ValueKind::Text && !text) {
        screen.Write(value.box, QStringLiteral("第%1回").arg(round));
        text = true;
      } else if (value.kind == ValueKind::Amount && !amount) {
        screen.Write(value.box, QString::number(1000 * round));
        amount = true;
      }
    }
  }
}

class FailedRenameTest : public testing::ScreenTest {
 protected:
  FailedRenameTest() { drives.MakeFolder(StatementFolder()); }

  // Saves once, then fails each rename of the next press of `button` in
  // turn (the record's, each file's into place, and the commit's): every file
  // stays as the first save left it, with one message and no beep.
  void FailEachRename(EntryScreen& screen, const QString& button) {
    screen.Write(screen.Layout().codeBox, QStringLiteral("7"));
    Fill(screen, 1);
    screen.Press(screen.Layout().saveButton);
    ASSERT_EQ(desktop.beeps, 1);
    const auto saved = Files(drives);
    const int files = static_cast<int>(screen.Layout().files.size());
    ASSERT_GE(files, 2);
    for (int nth = 1; nth <= files + 2; ++nth) {
      SCOPED_TRACE(nth);
      desktop.boxes.clear();
      desktop.beeps = 0;
      Fill(screen, 2);
      {
        FaultyFileSystem faulty;
        faulty.Fail(FileOperation::Rename, nth, FailureKind::PermissionDenied);
        screen.RunUserAction(button);
      }
      EXPECT_EQ(desktop.boxes.size(), 1u);
      EXPECT_EQ(desktop.boxes.front().text, Failure::Describe(FailureKind::PermissionDenied));
      EXPECT_EQ(desktop.beeps, 0);
      EXPECT_EQ(Files(drives), saved);
    }
    ASSERT_EQ(desktop.beeps, 0);
    Fill(screen, 2);
    {
      FaultyFileSystem counted;
      screen.RunUserAction(button);
      EXPECT_EQ(counted.Calls(FileOperation::Rename), files + 2) << "a rename left untried";
    }
  }
};

TEST_F(FailedRenameTest, AnOfficerPaySaveThatCannotReplaceAFileChangesNone) {
  auto& screen = platform::ScreenSet::Instance().Add<OfficerPayScreen>();
  FailEachRename(screen, screen.Layout().saveButton);
}

TEST_F(FailedRenameTest, AMiscGainsSaveOfThreeFilesThatCannotReplaceOneChangesNone) {
  auto& screen = platform::ScreenSet::Instance().Add<MiscGainsScreen>();
  FailEachRename(screen, screen.Layout().saveButton);
}

TEST_F(FailedRenameTest, OrderingReceivablesThatCannotReplaceAFileLeavesEveryFigureByItsCustomer) {
  auto& screen = platform::ScreenSet::Instance().Add<ReceivablesScreen>();
  FailEachRename(screen, QStringLiteral("Command5"));
}

}  // namespace
}  // namespace mirudanto::statements
