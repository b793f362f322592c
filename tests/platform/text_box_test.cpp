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
  TextBoxInput() : box(nullptr, QStringLiteral("Text1")) { box.SetText(QStringLiteral("ab")); }

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
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(box.Text(), QStringLiteral("longer than thre"));
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(TextBoxInput, ACharacterLoadedFromAFileIsNotHeldAgainstTheNextEdit) {
  box.SetText(QStringLiteral("a\tb"));
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

}  // namespace
}  // namespace mirudanto::platform
