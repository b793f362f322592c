#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>

#include "app/company_register.h"
#include "register_boxes.h"
#include "app/main_menu.h"
#include "core/statement_files.h"
#include "platform/screen.h"
#include "support/faulty_file_system.h"
#include "support/screen_layout_checks.h"
#include "support/screen_test.h"
#include "support/statement_files_support.h"

namespace mirudanto::app {
namespace {

using platform::ScreenSet;

class CompanyRegisterTest : public testing::ScreenTest {
 protected:
  CompanyRegisterTest()
      : form10(ScreenSet::Instance().Add<CompanyRegister>()) {
    ScreenSet::Instance().Add<MainMenu>();
  }
  void Fill() { FillRegisterBoxes(form10, "株式会社見本"); }

  QString MasterFile() const { return CompanyMasterFile(7); }

  CompanyRegister& form10;
};

TEST_F(CompanyRegisterTest, RegisteringWritesTheNineteenValuesAndCreatesTheDataRoot) {
  Fill();
  form10.Press("Command4");

  EXPECT_EQ(testing::FileLines(drives, MasterFile()),
            (QStringList{"7", "10000000", "20", "4", "1", "21", "3", "31", "\"ミホン\"",
                         "\"株式会社見本\"", "\"東京都千代田区１－１\"", "\"ヤマダ　タロウ\"",
                         "\"東京都港区\"", "\"卸売業\"", "\"麹町\"", "\"03-1234-5678\"", "21", "5",
                         "13"}));
  EXPECT_TRUE(drives.Get(MasterFile()).contains("\"\x83\x7e\x83\x7a\x83\x93\"\r\n"));  // ミホン
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(desktop.boxes.empty());
  for (const QString& folder : {CompanyFolder(), ScheduleFolder(), StatementFolder()}) {
    EXPECT_TRUE(QDir(drives.Native(folder)).exists()) << folder.toStdString();
  }

  // Read back through the register's own call.
  form10.Press("Command7");
  form10.Write("Text1", "7");
  form10.Press("Command6");
  EXPECT_EQ(form10.Read("Text11"), QStringLiteral("  10,000,000"));
  EXPECT_EQ(form10.Read("Text3"), QStringLiteral("株式会社見本"));
  EXPECT_EQ(form10.Read("Text4"), QStringLiteral("13"));
}

TEST_F(CompanyRegisterTest, RegisteringACodeAgainAsksAndCancelKeepsTheFile) {
  Fill();
  form10.Press("Command4");
  const QByteArray first = drives.Get(MasterFile());
  form10.Write("Text3", "別の名前");

  desktop.Answer("キャンセル");
  form10.Press("Command4");
  EXPECT_EQ(drives.Get(MasterFile()), first);

  desktop.Answer("OK");
  form10.Press("Command4");
  EXPECT_NE(drives.Get(MasterFile()), first);

  EXPECT_EQ(desktop.Summary(),
            (QStringList{"同じコード名があります|既に同名のファイルが存在しています。",
                         "書き換えますか|書き換えますか",
                         "同じコード名があります|既に同名のファイルが存在しています。",
                         "書き換えますか|書き換えますか"}));
  EXPECT_EQ(desktop.boxes[1].icon, platform::BoxIcon::Question);
  EXPECT_EQ(desktop.boxes[1].buttons, (QStringList{"OK", "キャンセル"}));
  EXPECT_EQ(desktop.beeps, 3);
}

// A first registration cut short may have made the data root, or some of its
// folders, and no more: the next makes what is missing, each on its own.
TEST_F(CompanyRegisterTest, ADataRootWithoutSomeOfItsFoldersGetsThemAtTheNextRegistration) {
  const QString folders[] = {CompanyFolder(), ScheduleFolder(), StatementFolder()};
  for (const QString& present : {QString(), ScheduleFolder()}) {
    SCOPED_TRACE(present.isEmpty() ? "the root alone" : "the root and its schedule folder");
    QDir(drives.HardDisk()).removeRecursively();
    drives.MakeFolder(kDataRoot);
    if (!present.isEmpty()) drives.MakeFolder(present);
    desktop.boxes.clear();
    desktop.beeps = 0;
    Fill();
    form10.Press("Command4");

    EXPECT_EQ(desktop.Summary(), QStringList());
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(drives.Exists(MasterFile()));
    for (const QString& folder : folders) {
      EXPECT_TRUE(QDir(drives.Native(folder)).exists()) << folder.toStdString();
    }
  }
}

TEST_F(CompanyRegisterTest, AWriteThatCannotCompleteIsReportedWithoutABeep) {
  Fill();
  {
    testing::FaultyFileSystem files;
    files.Fail(testing::FileOperation::Write, 1, FailureKind::DiskFull);
    form10.Press("Command4");
  }
  EXPECT_EQ(desktop.Summary(), (QStringList{"会社登録|ディスクの空き容量が不足しています。"}));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(drives.Exists(MasterFile()));
}

TEST_F(CompanyRegisterTest, ABoxThatIsNoNumberOrATextTheFileCannotHoldStopsTheRegistration) {
  Fill();
  form10.Press("Command8");  // empties the settlement date
  form10.Press("Command4");
  // The box that stopped it is shown, its text selected.
  EXPECT_EQ(form10.Window().focusWidget(), &form10.Box("Text21"));
  Fill();
  form10.Write("Text3", "見本\"商会");
  form10.Press("Command4");
  EXPECT_EQ(form10.Window().focusWidget(), &form10.Box("Text3"));
  EXPECT_EQ(form10.Box("Text3").selectedText(), QStringLiteral("見本\"商会"));

  EXPECT_EQ(desktop.Summary(), (QStringList{"会社登録|型が一致しません。",
                                            "会社登録|保存できない文字が含まれています。"}));
  EXPECT_FALSE(drives.Exists(MasterFile()));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(CompanyRegisterTest, TheFiscalYearFollowsFromTheStartOfThePeriod) {
  struct Case {
    QStringList start;       // year, month, day
    QStringList end;         // as shown after the button
    QStringList settlement;  // year, month, day
  };
  const Case cases[] = {
      {{"20", "4", "1"}, {"21", "3", "31"}, {"21", "5", "13"}},
      {{"20", "1", "1"}, {"20", "12", "31"}, {"", "", ""}},
      // Heisei 20 is a leap year, 21 is not.
      {{"19", "3", "1"}, {"20", "2", "29"}, {"20", "4", "13"}},
      {{"20", "3", "1"}, {"21", "2", "28"}, {"21", "4", "13"}},
      // A settlement after December falls in the next year.
      {{"20", "12", "1"}, {"21", "11", "30"}, {"22", "1", "13"}},
      {{"20", "2", "1"}, {"21", "1", "31"}, {"21", "3", "13"}},
      {{"20", "13", "1"}, {"21", "12", "31"}, {"22", "2", "13"}},
      {{"20", "4", "15"}, {"", "", ""}, {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start.join('.').toStdString());
    form10.Press("Command7");
    form10.Write("Text13", c.start[0]);
    form10.Write("Text14", c.start[1]);
    form10.Write("Text15", c.start[2]);
    if (c.start[2] != "1") {
      for (const char* box : {"Text17", "Text18", "Text19"}) form10.Write(box, "0");
    }
    form10.Press("Command3");
    const QStringList end = {form10.Read("Text17"), form10.Read("Text18"), form10.Read("Text19")};
    const QStringList settlement = {form10.Read("Text21"), form10.Read("Text20"),
                                    form10.Read("Text4")};
    EXPECT_EQ(end, c.start[2] == "1" ? c.end : (QStringList{"0", "0", "0"}));
    EXPECT_EQ(settlement, c.settlement);
  }
  EXPECT_TRUE(desktop.boxes.empty());

  form10.Write("Text13", "平成");
  form10.Press("Command3");
  EXPECT_EQ(desktop.Summary(), QStringList{"事業年度入力|型が一致しません。"});
}

TEST_F(CompanyRegisterTest, TheCapitalInMillionsAndTheCompanyKindWords) {
  form10.Write("Text11", "5");
  form10.Press("Command5");
  EXPECT_EQ(form10.Read("Text11"), QStringLiteral("  5,000,000"));
  form10.ControlAs<QPushButton>("Command5").click();  // beyond 32 bits: reported, the box unchanged
  EXPECT_EQ(form10.Read("Text11"), QStringLiteral("  5,000,000"));
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});

  form10.Write("Text3", "見本");
  form10.Press("Command1");
  EXPECT_EQ(form10.Read("Text3"), QStringLiteral("株式会社"));
  form10.Press("Command2");
  EXPECT_EQ(form10.Read("Text3"), QStringLiteral("有限会社"));
}

TEST_F(CompanyRegisterTest, TheScreenLooksAsDesigned) {
  form10.Show();
  EXPECT_EQ(form10.Window().windowTitle(), QStringLiteral("会社登録"));
  EXPECT_EQ(form10.CaptionOf("Command4"), QStringLiteral("登　録　実　行"));
  EXPECT_EQ(form10.Box("Text2").Mode(), platform::InputMode::Katakana);
  EXPECT_EQ(form10.Box("Text3").Mode(), platform::InputMode::Hiragana);
  EXPECT_EQ(form10.Box("Text8").TypingLimit(), 9);
  EXPECT_FALSE(form10.IsControlVisible("Text100"));
  testing::ExpectNothingOverlapsOrIsClipped(form10, {{"Text11", {"  2,147,000,000"}}});
  // The screen opens in the code box, not on a button that a Space would press.
  ASSERT_NE(form10.Window().focusWidget(), nullptr);
  EXPECT_EQ(form10.Window().focusWidget()->objectName(), QStringLiteral("Text1"));
  EXPECT_EQ(form10.Window().focusWidget()->nextInFocusChain()->objectName(),
            QStringLiteral("Command6"));
}

TEST_F(CompanyRegisterTest, CallingAMissingCompanyReportsAndEmptiesTheCode) {
  form10.Write("Text100", "9");
  form10.Write("Text3", "残る");
  form10.Press("Command9");
  EXPECT_EQ(desktop.Summary(), QStringList{"会社呼出|パスが見つかりません。"});
  EXPECT_EQ(form10.Read("Text1"), QString());
  EXPECT_EQ(form10.Read("Text3"), QStringLiteral("残る"));
}

}  // namespace
}  // namespace mirudanto::app
