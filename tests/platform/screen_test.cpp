#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "app/main_menu.h"
#include "core/failure.h"
#include "platform/desktop.h"
#include "platform/screen.h"
#include "support/recording_desktop.h"

namespace mirudanto::platform {
namespace {

using testing::RecordingDesktop;

// A small screen whose operations are set by each test.
class ProbeScreen : public Screen {
 public:
  ProbeScreen(const QString& name, QStringList& log) : Screen(name, name + " caption"), log_(log) {}

  int loads = 0;
  int heldValue = 0;  // screen-level state, kept across unloads
  std::function<void()> onLoad;

  void Operation(const QString& button, std::function<void()> operation) {
    OnClick(button, std::move(operation));
  }

 protected:
  void Build() override {
    SetClientSizeTwips(3000, 2000);
    AddTextBox(QStringLiteral("Text1"), Twips(100, 100, 1500, 300), QStringLiteral("initial"));
    AddButton(QStringLiteral("Command1"), QStringLiteral("one"), Twips(100, 500, 900, 300));
    AddButton(QStringLiteral("Command2"), QStringLiteral("two"), Twips(1100, 500, 900, 300))
        .setVisible(false);
  }
  void FormLoad() override {
    ++loads;
    log_.append(Name() + ".load");
    if (onLoad) onLoad();
  }

 private:
  QStringList& log_;
};

class ScreenRuntime : public ::testing::Test {
 protected:
  ScreenRuntime()
      : a(ScreenSet::Instance().Add<ProbeScreen>(QStringLiteral("FormA"), log)),
        b(ScreenSet::Instance().Add<ProbeScreen>(QStringLiteral("FormB"), log)) {}
  ~ScreenRuntime() override { ScreenSet::Instance().Clear(); }

  // A real click on the button's widget, as the user makes it.
  static void Click(Screen& screen, const QString& button) {
    screen.ControlAs<QPushButton>(button).click();
  }

  QStringList log;
  RecordingDesktop desktop;
  ProbeScreen& a;
  ProbeScreen& b;
};

TEST_F(ScreenRuntime, WritingOrPressingLoadsHiddenOnceAndRunsTheLoadStep) {
  b.Operation(QStringLiteral("Command1"), [&] { log.append(QStringLiteral("B.Command1")); });
  a.Operation(QStringLiteral("Command1"), [&] {
    b.Write(QStringLiteral("Text1"), QStringLiteral("7"));
    b.Press(QStringLiteral("Command1"));
    b.Load();
  });

  a.Press(QStringLiteral("Command1"));

  EXPECT_EQ(log, (QStringList{"FormA.load", "FormB.load", "B.Command1"}));
  EXPECT_TRUE(b.IsLoaded());
  EXPECT_FALSE(b.IsShown());
  EXPECT_EQ(b.loads, 1);
  EXPECT_EQ(b.Read(QStringLiteral("Text1")), QStringLiteral("7"));
}

TEST_F(ScreenRuntime, PressesNestInOrderAlsoOnHiddenButtons) {
  a.Operation(QStringLiteral("Command1"), [&] {
    log.append(QStringLiteral("A1 begin"));
    b.Press(QStringLiteral("Command2"));
    log.append(QStringLiteral("A1 end"));
  });
  b.Operation(QStringLiteral("Command2"), [&] {
    log.append(QStringLiteral("B2 begin"));
    a.Write(QStringLiteral("Text1"), QStringLiteral("from B"));
    log.append(QStringLiteral("B2 end"));
  });

  Click(a, QStringLiteral("Command1"));

  EXPECT_EQ(log, (QStringList{"FormA.load", "A1 begin", "FormB.load", "B2 begin", "B2 end",
                              "A1 end"}));
  EXPECT_FALSE(b.IsControlVisible(QStringLiteral("Command2")));
  EXPECT_EQ(a.Read(QStringLiteral("Text1")), QStringLiteral("from B"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ScreenRuntime, AFailureGoesToThePresserAndAClickReportsIt) {
  b.Operation(QStringLiteral("Command1"), [] { throw Failure(FailureKind::FileNotFound); });
  a.Operation(QStringLiteral("Command1"), [&] {
    b.Press(QStringLiteral("Command1"));
    log.append(QStringLiteral("not reached"));
  });

  EXPECT_THROW(a.Press(QStringLiteral("Command1")), Failure);
  Click(a, QStringLiteral("Command1"));

  EXPECT_FALSE(log.contains(QStringLiteral("not reached")));
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|ファイルが見つかりません。"});
  EXPECT_EQ(desktop.boxes[0].icon, BoxIcon::Warning);
  EXPECT_EQ(desktop.boxes[0].buttons, QStringList{"OK"});
}

TEST_F(ScreenRuntime, AnOperationThatReportsItsOwnFailureLetsThePresserGoOn) {
  b.Operation(QStringLiteral("Command1"), [] {
    try {
      throw Failure(FailureKind::TooFewValues);
    } catch (const Failure& failure) {
      ReportError(QStringLiteral("預貯金"), failure);
    }
  });
  a.Operation(QStringLiteral("Command1"), [&] {
    b.Press(QStringLiteral("Command1"));
    log.append(QStringLiteral("went on"));
  });

  Click(a, QStringLiteral("Command1"));

  EXPECT_TRUE(log.contains(QStringLiteral("went on")));
  EXPECT_EQ(desktop.Summary(), QStringList{"預貯金|ファイルにこれ以上データがありません。"});
}

TEST_F(ScreenRuntime, AFailingLoadStepReachesThePresser) {
  b.onLoad = [] { throw Failure(FailureKind::PathNotFound); };
  a.Operation(QStringLiteral("Command1"), [&] { b.Write(QStringLiteral("Text1"), "1"); });

  Click(a, QStringLiteral("Command1"));

  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|パスが見つかりません。"});
}

TEST_F(ScreenRuntime, WhateverEscapesAClickIsReportedAndGoesNoFurther) {
  a.Operation(QStringLiteral("Command1"), [] { throw std::runtime_error("internal"); });

  Click(a, QStringLiteral("Command1"));

  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|デバイス I/O エラーです。"});
}

// A page switch: the screen's own button has the other screen opened, whose
// opening unloads the pressing screen while its operation is still running.
TEST_F(ScreenRuntime, AScreenUnloadedDuringItsOwnClickGetsAFreshWindowAndNothingCrashes) {
  b.Operation(QStringLiteral("Command1"), [&] {
    a.Unload();
    b.Unload();
    b.Write(QStringLiteral("Text1"), QStringLiteral("opened"));
    b.Show();
  });
  a.Operation(QStringLiteral("Command1"), [&] {
    b.Press(QStringLiteral("Command1"));
    // Still inside the click of the discarded window: touching a box makes a
    // new one, as the old runtime did.
    a.Write(QStringLiteral("Text1"), QStringLiteral("after"));
  });
  a.Show();
  QPointer<ScreenWindow> oldWindow = &a.Window();

  Click(a, QStringLiteral("Command1"));
  DeleteDiscardedWindows();

  EXPECT_TRUE(oldWindow.isNull());
  EXPECT_TRUE(a.IsLoaded());
  EXPECT_FALSE(a.IsShown());
  EXPECT_EQ(a.Read(QStringLiteral("Text1")), QStringLiteral("after"));
  EXPECT_TRUE(b.IsShown());
  EXPECT_EQ(b.Read(QStringLiteral("Text1")), QStringLiteral("opened"));
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ScreenRuntime, StateSurvivesAnUnloadWhileTheWindowStartsFromItsInitialTexts) {
  a.Operation(QStringLiteral("Command1"), [&] {
    a.heldValue = 42;
    a.Write(QStringLiteral("Text1"), QStringLiteral("typed"));
  });
  a.Press(QStringLiteral("Command1"));

  a.Unload();
  DeleteDiscardedWindows();
  EXPECT_FALSE(a.IsLoaded());

  EXPECT_EQ(a.Read(QStringLiteral("Text1")), QStringLiteral("initial"));
  EXPECT_EQ(a.heldValue, 42);
  EXPECT_EQ(a.loads, 2);
}

TEST_F(ScreenRuntime, ShowIsModelessTopLevelAndHideKeepsTheScreenLoaded) {
  a.Show();
  b.Show();
  ScreenWindow& window = a.Window();
  EXPECT_TRUE(window.isWindow());
  EXPECT_EQ(window.parentWidget(), nullptr);
  EXPECT_EQ(window.windowModality(), Qt::NonModal);
  EXPECT_EQ(window.objectName(), QStringLiteral("FormA"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("FormA caption"));
  EXPECT_TRUE(a.IsShown());

  a.Hide();
  EXPECT_TRUE(a.IsLoaded());
  EXPECT_FALSE(a.IsShown());
  EXPECT_EQ(a.loads, 1);
}

TEST_F(ScreenRuntime, TheCloseBoxUnloadsWithoutSaving) {
  a.heldValue = 5;
  a.Show();
  a.Write(QStringLiteral("Text1"), QStringLiteral("unsaved"));

  a.Window().close();
  DeleteDiscardedWindows();

  EXPECT_FALSE(a.IsLoaded());
  EXPECT_EQ(a.heldValue, 5);
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_FALSE(desktop.ended);
}

TEST(MainMenuCloseBox, BeepsAndEndsTheProgramAtOnce) {
  RecordingDesktop desktop;
  auto& menu = ScreenSet::Instance().Add<app::MainMenu>();
  menu.Show();

  menu.Window().close();

  EXPECT_TRUE(desktop.ended);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_TRUE(menu.IsLoaded());
  EXPECT_EQ(menu.Window().windowTitle(), QStringLiteral("ミルダントシステム"));
  ScreenSet::Instance().Clear();
}

}  // namespace
}  // namespace mirudanto::platform
