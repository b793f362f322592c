#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "backup/data_screen.h"
#include "backup_fixture.h"
#include "support/screen_layout_checks.h"

namespace mirudanto::backup {
namespace {

using testing::DataScreenTest;

QColor BaseOf(platform::Screen& screen, const char* box) {
  return screen.Box(box).palette().color(QPalette::Base);
}

TEST_F(DataScreenTest, TheScreenLooksAsDesigned) {
  form21.Show();
  QWidget& window = form21.Window();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("データ"));
  // About twice as wide as high.
  const double ratio = double(window.width()) / window.height();
  EXPECT_GT(ratio, 1.8);
  EXPECT_LT(ratio, 2.3);

  const std::pair<const char*, const char*> captions[] = {
      {"Command4", "会社呼出"},        {"Command9", "会社コードクリア"},
      {"Command5", "DATA"},            {"Command18", "へ、リストアする"},
      {"Command1", "フロッピーへコピーする"}, {"Command2", "フロッピーよりHDDへ戻す"},
      {"Command3", "フロッピーより削除する"}, {"Command19", "HDDより削除する"},
      {"Command6", "menu"}};
  for (const auto& [button, caption] : captions) {
    EXPECT_EQ(form21.CaptionOf(button), QString::fromUtf8(caption)) << button;
  }
  const std::pair<const char*, const char*> texts[] = {
      {"Text6", ""},   {"Text5", "　"},  {"Text10", "自平成"}, {"Text13", ""}, {"Text14", ""},
      {"Text15", ""},  {"Text16", "至平成"}, {"Text17", ""}, {"Text18", ""}, {"Text19", ""},
      {"Text39", ""},  {"Text1", ""}};
  for (const auto& [box, text] : texts) {
    EXPECT_EQ(form21.Read(box), QString::fromUtf8(text)) << box;
  }
  // 12 boxes, 9 buttons and the bar.
  EXPECT_EQ(window.findChildren<QLineEdit*>().size(), 12);
  EXPECT_EQ(window.findChildren<QPushButton*>().size(), 9);
  EXPECT_EQ(window.findChildren<QProgressBar*>().size(), 1);

  EXPECT_EQ(BaseOf(form21, "Text5"), QColor(255, 255, 192));
  for (const char* box : {"Text10", "Text13", "Text14", "Text15", "Text16", "Text17", "Text18",
                          "Text19"}) {
    EXPECT_EQ(BaseOf(form21, box), QColor(192, 255, 255)) << box;
  }
  EXPECT_EQ(BaseOf(form21, "Text1"), QColor(255, 0, 255));
  for (const char* box : {"Text6", "Text13", "Text14", "Text15", "Text17", "Text18", "Text19",
                          "Text39"}) {
    EXPECT_TRUE(form21.Box(box).alignment() & Qt::AlignRight) << box;
  }
  EXPECT_FALSE(form21.IsControlVisible("Text1"));
  EXPECT_FALSE(form21.IsControlVisible("ProgressBar1"));

  const QFont menuFont = form21.Control("Command6").font();
  EXPECT_EQ(menuFont.pointSize(), 12);
  EXPECT_TRUE(menuFont.italic());
  EXPECT_LT(form21.Control("Command9").font().pointSize(),
            form21.Control("Command4").font().pointSize());

  // The four file buttons: one width, one below the other at the left edge.
  const QRect first = form21.Control("Command1").geometry();
  int bottom = first.top() - 1;
  for (const char* button : {"Command1", "Command2", "Command3", "Command19"}) {
    const QRect rect = form21.Control(button).geometry();
    EXPECT_EQ(rect.left(), first.left()) << button;
    EXPECT_EQ(rect.width(), first.width()) << button;
    EXPECT_GT(rect.top(), bottom) << button;
    bottom = rect.bottom();
  }
  // The target code reads before its caption, on one line.
  const QRect target = form21.Control("Text39").geometry();
  const QRect restore = form21.Control("Command18").geometry();
  EXPECT_LT(target.right(), restore.left());
  EXPECT_EQ(target.center().y(), restore.center().y());
  // The bar spans nearly the whole window.
  form21.SetVisible("ProgressBar1", true);
  EXPECT_GT(form21.Control("ProgressBar1").width(), window.width() * 9 / 10);

  testing::ExpectNothingOverlapsOrIsClipped(
      form21, {{"Text6", {"-2147483648"}},
               {"Text39", {"-2147483648"}},
               {"Text5", {"株式会社ミルダント商事見本販売センター"}},
               {"Text13", {"99"}},
               {"Text19", {"31"}}});
}

TEST_F(DataScreenTest, TheScreenOpensInTheCodeBoxAndTabRunsAlongTheRows) {
  form21.Show();
  ASSERT_NE(form21.Window().focusWidget(), nullptr);
  EXPECT_EQ(form21.Window().focusWidget()->objectName(), QStringLiteral("Text6"));
  QStringList order;
  QWidget* widget = form21.Window().focusWidget();
  for (int k = 0; k < 8; ++k) {
    order.append(widget->objectName());
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(order, (QStringList{"Text6", "Command4", "Text5", "Command9", "Command5", "Text10",
                                "Text13", "Text14"}));
}

}  // namespace
}  // namespace mirudanto::backup
