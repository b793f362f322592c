#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "platform/controls.h"
#include "support/recording_desktop.h"

namespace mirudanto::platform {
namespace {

using testing::RecordingDesktop;

class TextBoxInput : public ::testing::Test {
 protected:
  // The program leaves the caret at the start; the edits here are made, as a
  // user would make them, after the text.
  TextBoxInput() : box(nullptr, QStringLiteral("Text1")) {
    box.SetText(QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key_End);
  }

  void Paste(const QString& text) {
    QApplication::clipboard()->setText(text);
    box.paste();
  }

  RecordingDesktop desktop;
  TextBox box;
};

TEST_F(TextBoxInput, TypedAndPastedTextThatTheFilesCannotHoldIsRefusedWithABeep) {
  struct Case {
    const char* what;
    QString text;
  };
  const Case refused[] = {
      {"double quote", QStringLiteral("\"")},
      {"line break", QStringLiteral("x\ny")},
      {"tab", QStringLiteral("\t")},
      {"outside cp932", QStringLiteral("€")},
      {"emoji", QString::fromUtf8("😀")},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    const int beeps = desktop.beeps;
    Paste(c.text);
    EXPECT_EQ(box.Text(), QStringLiteral("ab"));
    EXPECT_EQ(desktop.beeps, beeps + 1);
  }

  QTest::keyClicks(&box, QStringLiteral("\""));
  EXPECT_EQ(box.Text(), QStringLiteral("ab"));

  Paste(QStringLiteral("①㈱　ｶﾅ"));
  EXPECT_EQ(box.Text(), QStringLiteral("ab①㈱　ｶﾅ"));
}

TEST_F(TextBoxInput, TheTypingLimitStopsGrowthOnlyAndNeverCutsATextSetByTheProgram) {
  box.SetTypingLimit(3);
  QTest::keyClicks(&box, QStringLiteral("cd"));
  EXPECT_EQ(box.Text(), QStringLiteral("abc"));
  EXPECT_EQ(desktop.beeps, 1);

  box.SetText(QStringLiteral("longer than three"));
  EXPECT_EQ(box.Text(), QStringLiteral("longer than three"));
  QTest::keyClick(&box, Qt::Key_End);
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(box.Text(), QStringLiteral("longer than thre"));
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(TextBoxInput, ACharacterLoadedFromAFileIsNotHeldAgainstTheNextEdit) {
  box.SetText(QStringLiteral("a\tb"));
  QTest::keyClick(&box, Qt::Key_End);
  QTest::keyClicks(&box, QStringLiteral("c"));
  EXPECT_EQ(box.Text(), QStringLiteral("a\tbc"));
  EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(TextBoxInput, TheInputModeIsKeptAsAProperty) {
  EXPECT_EQ(box.property("inputMode").toString(), QStringLiteral("unchanged"));
  box.SetInputMode(InputMode::Hiragana);
  EXPECT_EQ(box.property("inputMode").toString(), QStringLiteral("hiragana"));
  box.SetInputMode(InputMode::Katakana);
  EXPECT_EQ(box.property("inputMode").toString(), QStringLiteral("katakana"));
}

// A loaded bank branch or address wider than its cell must keep its beginning
// in sight, not show scrolled to its end.
TEST(TextBoxDisplay, ALongTextSetByTheProgramShowsFromItsStart) {
  TextBox box(nullptr, QStringLiteral("Text1"));
  box.resize(80, 24);
  const QString address =
      QStringLiteral("東京都千代田区霞が関三丁目一番一号　中央合同庁舎第四号館");

  box.SetText(address);
  box.grab();  // lays the text out as a paint would

  EXPECT_EQ(box.Text(), address);
  EXPECT_EQ(box.cursorPosition(), 0);
  EXPECT_LT(box.inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), box.width() / 4);
}

}  // namespace
}  // namespace mirudanto::platform
