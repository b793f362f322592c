#include "app/printer_screen.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/main_menu.h"
#include "platform/printers.h"
#include "platform/screen.h"
#include "support/private_cups.h"
#include "support/qt_printers.h"
#include "support/recording_desktop.h"
#include "support/temp_drives.h"

namespace mirudanto::app {
namespace {

using platform::ScreenSet;

QStringList Items(QListWidget& list) {
  QStringList items;
  for (int row = 0; row < list.count(); ++row) items.append(list.item(row)->text());
  return items;
}

class PrinterScreenTest : public testing::PrivateCupsTest {
 protected:
  void SetUp() override {
    PrivateCupsTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    menu = &ScreenSet::Instance().Add<MainMenu>();
    screen = &ScreenSet::Instance().Add<PrinterScreen>();
    // Loaded but hidden, so that only a return to it shows it.
    menu->Load();
    menu->Hide();
  }
  void TearDown() override {
    ScreenSet::Instance().Clear();
    PrivateCupsTest::TearDown();
  }

  // The main menu's opening of this screen: load and show, nothing else.
  void Open() { screen->Show(); }
  QListWidget& List() { return screen->ControlAs<QListWidget>(QStringLiteral("List1")); }
  void Click(const QString& button) { screen->ControlAs<QPushButton>(button).click(); }
  void CloseBox() {
    screen->Window().close();
    platform::DeleteDiscardedWindows();
  }
  void ExpectBackAtTheMenu() {
    EXPECT_FALSE(screen->IsShown());
    EXPECT_TRUE(screen->IsLoaded());
    EXPECT_TRUE(menu->IsShown());
  }

  testing::TempDrives drives;
  testing::RecordingDesktop desktop;
  platform::Screen* menu = nullptr;
  platform::Screen* screen = nullptr;
};

TEST_F(PrinterScreenTest, TheFirstOpeningListsTheQueuesInCupsOrderAndSelectsTheFirst) {
  Open();

  EXPECT_EQ(screen->Window().windowTitle(), QStringLiteral("プリンターの変更"));
  EXPECT_EQ(Items(List()), kQueues);
  EXPECT_EQ(List().currentRow(), 0);
  EXPECT_TRUE(List().item(0)->isSelected());
  EXPECT_EQ(List().selectionMode(), QAbstractItemView::SingleSelection);

  EXPECT_EQ(screen->CaptionOf(QStringLiteral("Label1")), QStringLiteral("プリンタ："));
  EXPECT_EQ(screen->CaptionOf(QStringLiteral("Command1")), QStringLiteral("設  定"));
  EXPECT_EQ(screen->CaptionOf(QStringLiteral("Command2")), QStringLiteral("閉じる"));
  EXPECT_EQ(
      screen->CaptionOf(QStringLiteral("Label2")),
      QStringLiteral(
          "（注意事項）　　ここで変更したプリンターはパソコンの標準設定をも変更してしまいます。"));
  EXPECT_TRUE(screen->ControlAs<QLabel>(QStringLiteral("Label2")).font().bold());
  EXPECT_FALSE(screen->ControlAs<QLabel>(QStringLiteral("Label1")).font().bold());

  QWidget* first = screen->Window().nextInFocusChain();
  while (first != &screen->Window() && !(first->focusPolicy() & Qt::TabFocus)) {
    first = first->nextInFocusChain();
  }
  EXPECT_EQ(first, &List());
}

TEST_F(PrinterScreenTest, SetMakesTheSelectedQueueTheDefaultAndTheNextOpeningKeepsTheList) {
  Open();
  List().setCurrentRow(1);

  Click(QStringLiteral("Command1"));

  EXPECT_EQ(LpstatDefault(), kQueues[1]);
  EXPECT_EQ(platform::DefaultPrinter(), kQueues[1]);
  ExpectBackAtTheMenu();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 0);

  AddQueue(QStringLiteral("Added_PDF"));
  Open();
  EXPECT_EQ(Items(List()), kQueues);
  EXPECT_EQ(List().currentRow(), 1);
  EXPECT_TRUE(List().item(1)->isSelected());
}

TEST_F(PrinterScreenTest, SetWithoutTouchingTheListMakesTheFirstQueueTheDefault) {
  platform::SetDefaultPrinter(kQueues[2]);
  Open();

  Click(QStringLiteral("Command1"));

  EXPECT_EQ(LpstatDefault(), kQueues[0]);
  ExpectBackAtTheMenu();
}

TEST_F(PrinterScreenTest, CloseChangesNothingButWhichScreenIsShown) {
  platform::SetDefaultPrinter(kQueues[2]);
  Open();
  List().setCurrentRow(1);

  Click(QStringLiteral("Command2"));

  EXPECT_EQ(LpstatDefault(), kQueues[2]);
  ExpectBackAtTheMenu();
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(desktop.beeps, 0);
  Open();
  EXPECT_EQ(List().currentRow(), 1);
}

// With nothing to choose the button has nothing to set and only closes.
TEST_F(PrinterScreenTest, SetWithNoPrinterChosenOnlyReturnsToTheMenu) {
  platform::SetDefaultPrinter(kQueues[2]);
  const std::vector<std::pair<const char*, std::function<void(QListWidget&)>>> cases = {
      {"no printer installed", [](QListWidget& list) { list.clear(); }},
      {"selection cleared", [](QListWidget& list) { list.clearSelection(); }},
  };
  for (const auto& [label, empty] : cases) {
    SCOPED_TRACE(label);
    Open();
    empty(List());

    Click(QStringLiteral("Command1"));

    EXPECT_EQ(LpstatDefault(), kQueues[2]);
    ExpectBackAtTheMenu();
    EXPECT_TRUE(desktop.boxes.empty());
    CloseBox();
    menu->Hide();
  }
}

TEST_F(PrinterScreenTest, AfterTheCloseBoxTheNextOpeningListsTheQueuesInstalledThen) {
  Open();
  List().setCurrentRow(2);
  AddQueue(QStringLiteral("New_PDF"));

  CloseBox();
  EXPECT_FALSE(screen->IsLoaded());
  Open();

  EXPECT_EQ(Items(List()), (QStringList{kQueues[0], kQueues[1], "New_PDF", kQueues[2]}));
  EXPECT_EQ(List().currentRow(), 0);
}

TEST_F(PrinterScreenTest, AQueueRemovedSinceTheListWasMadeIsReportedAndTheScreenStays) {
  platform::SetDefaultPrinter(kQueues[0]);
  AddQueue(QStringLiteral("Gone_PDF"));
  Open();
  List().setCurrentRow(static_cast<int>(Items(List()).indexOf(QStringLiteral("Gone_PDF"))));
  RemoveQueue(QStringLiteral("Gone_PDF"));

  Click(QStringLiteral("Command1"));

  ASSERT_EQ(desktop.Summary(), QStringList{"プリンターの変更|プリンター名が無効です。"});
  EXPECT_EQ(desktop.boxes[0].icon, platform::BoxIcon::Warning);
  EXPECT_EQ(LpstatDefault(), kQueues[0]);
  EXPECT_TRUE(screen->IsShown());
  EXPECT_EQ(List().currentItem()->text(), QStringLiteral("Gone_PDF"));
}

}  // namespace
}  // namespace mirudanto::app
