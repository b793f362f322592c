#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <map>
#include <set>

#include "core/statement_files.h"
#include "ledger_fixture.h"
#include "platform/screen.h"
#include "statements/ledgers/ledger_screen.h"
#include "support/screen_layout_checks.h"
#include "support/statement_files_support.h"

namespace mirudanto::statements {
namespace {

using testing::Box;
using testing::kAccount;
using testing::kAddress;
using testing::kBalance;
using testing::kName;
using testing::kRemarks;
using testing::Quoted;
using testing::Repeated;

template <class S>
class LedgerScreenTest : public testing::LedgerTest<S> {};

using LedgerScreens = ::testing::Types<ReceivablesScreen, PayablesScreen, OtherPayablesScreen>;
TYPED_TEST_SUITE(LedgerScreenTest, LedgerScreens);

TYPED_TEST(LedgerScreenTest, ANewWindowShowsItsInitialTexts) {
  const int n = this->n;
  for (int r = 1; r <= n; ++r) {
    EXPECT_EQ(this->Read(r, kAccount), r == 1 ? this->facts.word : QStringLiteral("　")) << r;
    EXPECT_EQ(this->Read(r, kName), QString()) << r;
    EXPECT_EQ(this->Read(r, kAddress), QString()) << r;
    EXPECT_EQ(this->Read(r, kBalance), QStringLiteral("　　")) << r;
    EXPECT_EQ(this->Read(r, kRemarks), QString()) << r;
  }
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("　　"));
  EXPECT_EQ(this->screen.Read("Text146"), QString());
  EXPECT_EQ(this->screen.RowCount(), n);
}

TYPED_TEST(LedgerScreenTest, AnUntouchedScreenSavesTheNewCompanyFiles) {
  const int n = this->n;
  this->Save();

  // The word, N − 1 ideographic spaces, 3N empty texts; N + 1 zeros.
  QByteArray texts = EncodeCp932("\"" + this->facts.word + "\"\r\n").value();
  texts += EncodeCp932(QStringLiteral("\"　\"\r\n")).value().repeated(n - 1);
  texts += QByteArray("\"\"\r\n").repeated(3 * n);
  EXPECT_EQ(this->drives.Get(this->TextPath()), texts);
  EXPECT_EQ(this->drives.Get(this->AmountPath()), QByteArray("0\r\n").repeated(n + 1));
  EXPECT_EQ(this->Texts().size(), 4 * n);
  EXPECT_EQ(this->desktop.beeps, 1);
  EXPECT_TRUE(this->desktop.boxes.empty());

  // After the reload the amounts show empty; the accounts keep their words.
  for (int r = 1; r <= n; ++r) {
    EXPECT_EQ(this->Read(r, kBalance), QString()) << r;
    EXPECT_EQ(this->Read(r, kAccount), r == 1 ? this->facts.word : QStringLiteral("　")) << r;
  }
  EXPECT_EQ(this->screen.Read("Text118"), QString());
}

TYPED_TEST(LedgerScreenTest, TheTextFileHoldsTheColumnsOneAfterAnother) {
  const int n = this->n;
  // A distinct text in every text cell and a distinct amount in every
  // balance cell: value cN + r for column c of the file, row r.
  const testing::LedgerColumn columns[4] = {kAccount, kName, kAddress, kRemarks};
  QStringList expected = Repeated("", 4 * n);
  int sum = 0;
  for (int r = 1; r <= n; ++r) {
    for (int c = 0; c < 4; ++c) {
      const QString text = QStringLiteral("r%1c%2").arg(r).arg(c);
      this->Write(r, columns[c], text);
      expected[c * n + r - 1] = text;
    }
    this->Write(r, kBalance, QString::number(r * 1000));
    sum += r * 1000;
  }
  this->Save();

  EXPECT_EQ(this->Texts(), Quoted(expected));
  QStringList amounts;
  for (int r = 1; r <= n; ++r) amounts.append(QString::number(r * 1000));
  amounts.append(QString::number(sum));
  EXPECT_EQ(this->Amounts(), amounts);

  // The documented examples: row 2's name is value N + 2 and row N's name
  // value 2N (15 and 26 on ⑨買), row N's remarks the last value.
  EXPECT_EQ(this->Texts()[n + 2 - 1], QStringLiteral("\"r2c1\""));
  EXPECT_EQ(this->Texts()[2 * n - 1], QStringLiteral("\"r%1c1\"").arg(n));
  EXPECT_EQ(this->Texts()[4 * n - 1], QStringLiteral("\"r%1c3\"").arg(n));

  // Loaded into a fresh window, every value comes back into its own box.
  this->screen.Unload();
  platform::DeleteDiscardedWindows();
  this->Load();
  for (int r = 1; r <= n; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(this->Read(r, columns[c]), QStringLiteral("r%1c%2").arg(r).arg(c));
    }
    EXPECT_EQ(this->Read(r, kBalance), FormatAmount(r * 1000));
  }
  EXPECT_EQ(this->screen.Read("Text118"), FormatAmount(sum));
  EXPECT_TRUE(this->desktop.boxes.empty());
}

TYPED_TEST(LedgerScreenTest, AmountsWithOrWithoutSeparatorsNegativeAndBlank) {
  const int n = this->n;
  const std::pair<const char*, int> cells[] = {
      {"1000", 1000}, {"2,500", 2500}, {"-300", -300}, {"12.5", 12}, {"13.5", 14},
      {"　　", 0},    {"　", 0},       {"", 0},        {" 7 ", 7},   {"１，０００", 1000},
      {" \t", 0},
  };
  int row = 1;
  int sum = 0;
  QStringList expected;
  for (const auto& [text, value] : cells) {
    this->Write(row++, kBalance, QString::fromUtf8(text));
    sum += value;
    expected.append(QString::number(value));
  }
  for (int r = row; r <= n; ++r) expected.append("0");
  expected.append(QString::number(sum));
  this->Save();

  EXPECT_EQ(this->Amounts(), expected);
  EXPECT_TRUE(this->desktop.boxes.empty());
  EXPECT_EQ(this->desktop.beeps, 1);
  EXPECT_EQ(this->Read(1, kBalance), QStringLiteral("1,000"));
  EXPECT_EQ(this->Read(2, kBalance), QStringLiteral("2,500"));
  EXPECT_EQ(this->Read(3, kBalance), QStringLiteral("-300"));
  EXPECT_EQ(this->Read(6, kBalance), QString());
  EXPECT_EQ(this->Read(7, kBalance), QString());
  EXPECT_EQ(this->screen.Read("Text118"), FormatAmount(sum));
}

TYPED_TEST(LedgerScreenTest, TheTotalBoxShowsTheComputedTotalAndALoadShowsItAsStored) {
  const int n = this->n;
  this->screen.Write("Text118", "1,000,000");
  this->Write(2, kBalance, "5");
  this->Save();
  EXPECT_EQ(this->Amounts().back(), QStringLiteral("5"));
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("5"));

  this->screen.Write("Text118", "合計");
  this->Write(2, kBalance, "");
  this->Save();
  EXPECT_EQ(this->Amounts(), Repeated("0", n + 1));
  EXPECT_EQ(this->screen.Read("Text118"), QString());

  // "DATA" shows the stored total, not the sum of the rows.
  this->PutAmounts(Repeated("1", n) + QStringList{"42"});
  this->Load();
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("42"));
  EXPECT_EQ(this->Read(n, kBalance), QStringLiteral("1"));
}

TYPED_TEST(LedgerScreenTest, TextsAreStoredExactlyAsTyped) {
  const int n = this->n;
  this->Write(1, kAccount, "");
  this->Write(2, kName, QStringLiteral("  株式会社　見本 "));
  this->Write(n, kRemarks, QStringLiteral("　"));
  this->Save();
  const QStringList texts = this->Texts();
  EXPECT_EQ(texts[0], QStringLiteral("\"\""));
  EXPECT_EQ(texts[n + 1], QStringLiteral("\"  株式会社　見本 \""));
  EXPECT_EQ(texts[4 * n - 1], QStringLiteral("\"　\""));
  EXPECT_EQ(this->Read(2, kName), QStringLiteral("  株式会社　見本 "));
}

TYPED_TEST(LedgerScreenTest, ClearThenSaveStoresEmptyTextsAndTheWordButtonRefillsRowOneOnly) {
  const int n = this->n;
  for (int r = 1; r <= n; ++r) {
    this->Write(r, kName, QStringLiteral("n%1").arg(r));
    this->Write(r, kBalance, "10");
  }
  this->Save();
  const QStringList headings = {this->screen.Read("Text2"), this->screen.Read("Text3"),
                                this->screen.Read("Text6")};

  // "期末現在高" empties the N amount cells and the total, nothing else.
  this->screen.Press("Command17");
  for (int r = 1; r <= n; ++r) EXPECT_EQ(this->Read(r, kBalance), QString()) << r;
  EXPECT_EQ(this->screen.Read("Text118"), QString());
  EXPECT_EQ(this->Read(3, kName), QStringLiteral("n3"));
  EXPECT_EQ(this->Read(1, kAccount), this->facts.word);

  // "クリア" empties every cell and the total; headings and code stay.
  this->screen.Press("Command4");
  EXPECT_EQ(this->Grid(), Repeated("", 5 * n));
  EXPECT_EQ(this->screen.Read("Text146"), QStringLiteral("7"));
  EXPECT_EQ((QStringList{this->screen.Read("Text2"), this->screen.Read("Text3"),
                         this->screen.Read("Text6")}),
            headings);
  // Nothing changes on disk until the save.
  EXPECT_EQ(this->Amounts().back(), QString::number(10 * n));

  this->Save();
  EXPECT_EQ(this->Texts(), Quoted(Repeated("", 4 * n)));
  EXPECT_EQ(this->Amounts(), Repeated("0", n + 1));

  this->screen.Write(testing::LedgerCell(1, kAccount), "typed");
  this->screen.Press("Command1");
  EXPECT_EQ(this->Read(1, kAccount), this->facts.word);
  for (int r = 2; r <= n; ++r) EXPECT_EQ(this->Read(r, kAccount), QString()) << r;
}

TYPED_TEST(LedgerScreenTest, TheClearingButtonsEmptyExactlyTheirBoxes) {
  const int n = this->n;
  std::set<QString> all;
  for (const auto* box : this->screen.Window().template findChildren<platform::TextBox*>()) {
    this->screen.Write(box->objectName(), "x");
    all.insert(box->objectName());
  }
  auto emptied = [&] {
    std::set<QString> names;
    for (const QString& name : all) {
      if (this->screen.Read(name).isEmpty()) names.insert(name);
      this->screen.Write(name, "x");
    }
    return names;
  };
  this->screen.Press("Command17");
  EXPECT_EQ(emptied().size(), static_cast<std::size_t>(n + 1));
  this->screen.Press("Command4");
  const std::set<QString> cleared = emptied();
  EXPECT_EQ(cleared.size(), static_cast<std::size_t>(5 * n + 1));  // 71, 66, 56
  for (const char* kept : {"Text2", "Text3", "Text6", "Text146"}) {
    EXPECT_FALSE(cleared.count(kept)) << kept;
  }
}

TYPED_TEST(LedgerScreenTest, DataReplacesWhatWasTypedAndAMissingFileChangesNothingShown) {
  this->Write(1, kName, "saved");
  this->Save();
  this->Write(1, kName, "typed");
  this->Write(2, kBalance, "99");
  this->Load();
  EXPECT_EQ(this->Read(1, kName), QStringLiteral("saved"));
  EXPECT_EQ(this->Read(2, kBalance), QString());
  EXPECT_TRUE(this->desktop.boxes.empty());

  this->Write(1, kName, "typed");
  this->Load("8");
  EXPECT_EQ(this->desktop.Summary(),
            QStringList{"ミルダント|ファイルが見つかりません。\n" + MarkText(this->mark) + "8.txt"});
  EXPECT_EQ(this->Read(1, kName), QStringLiteral("typed"));

  // Both files are read whole before anything is shown.
  this->PutAmounts(Repeated("1", this->n));
  this->Load();
  EXPECT_EQ(this->Read(1, kName), QStringLiteral("typed"));
  EXPECT_EQ(this->desktop.Summary().back(),
            "ミルダント|ファイルにこれ以上データがありません。\nA" + MarkText(this->mark) + "7.txt");
  EXPECT_EQ(this->desktop.beeps, 1);
}

TYPED_TEST(LedgerScreenTest, ABadCodeIsReportedUnderTheSystemTitleAndNothingIsWritten) {
  for (const char* code : {"", "abc", "32768", "-32769"}) {
    this->Write(1, kBalance, "5");
    this->Save(code);
    this->Load(code);
  }
  EXPECT_EQ(this->desktop.Summary(),
            (QStringList{"ミルダント|型が一致しません。", "ミルダント|型が一致しません。",
                         "ミルダント|型が一致しません。", "ミルダント|型が一致しません。",
                         "ミルダント|オーバーフローしました。", "ミルダント|オーバーフローしました。",
                         "ミルダント|オーバーフローしました。",
                         "ミルダント|オーバーフローしました。"}));
  EXPECT_TRUE(QDir(this->drives.Native(StatementFolder())).isEmpty());
  EXPECT_EQ(this->desktop.beeps, 0);
  EXPECT_EQ(this->Read(1, kBalance), QStringLiteral("5"));
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("　　"));
}

TYPED_TEST(LedgerScreenTest, ATotalBeyond32BitsIsRefusedBeforeAnythingIsShownOrWritten) {
  this->Write(1, kBalance, "2,147,483,647");
  this->Save();
  EXPECT_EQ(this->Amounts().back(), QStringLiteral("2147483647"));
  const QStringList before = this->Amounts();

  this->Write(1, kBalance, "2147483647");
  this->Write(2, kBalance, "1");
  this->Save();
  EXPECT_EQ(this->desktop.Summary(), QStringList{"ミルダント|オーバーフローしました。"});
  EXPECT_EQ(this->Amounts(), before);
  EXPECT_EQ(this->desktop.beeps, 1);
  EXPECT_EQ(this->Read(2, kBalance), QStringLiteral("1"));
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("2,147,483,647"));
}

TYPED_TEST(LedgerScreenTest, AFileThatCannotBeWrittenIsReportedAndWhatWasTypedStays) {
  QDir(this->drives.Native(StatementFolder())).removeRecursively();
  this->Write(1, kBalance, "5");
  this->Save();
  EXPECT_EQ(this->desktop.Summary(), QStringList{"ミルダント|パスが見つかりません。"});
  EXPECT_EQ(this->desktop.beeps, 0);
  EXPECT_EQ(this->Read(1, kBalance), QStringLiteral("5"));
}

TYPED_TEST(LedgerScreenTest, TheCaptureTakesTheGridIntoTheRows) {
  const int n = this->n;
  this->Write(1, kName, "saved");
  this->Save();
  const QStringList texts = this->Texts();
  const int beeps = this->desktop.beeps;

  this->Write(1, kAccount, "科目");
  this->Write(1, kName, "名");
  this->Write(2, kAddress, "所");
  this->Write(n, kRemarks, "摘");
  this->Write(1, kBalance, "1,000");
  this->Write(2, kBalance, "-2.5");
  this->Write(3, kBalance, "　");
  this->screen.Write("Text118", "typed");
  this->screen.Press("Command7");

  const HeldFiles& held = this->screen.Held();
  auto text = [&held](int value) { return held[{FileRole::Text, value}].text; };
  auto amount = [&held](int value) { return held[{FileRole::Amounts, value}].number; };
  EXPECT_EQ(amount(1), 1000);
  EXPECT_EQ(amount(2), -2);
  EXPECT_EQ(amount(3), 0);
  EXPECT_EQ(text(n + 1), QStringLiteral("名"));
  EXPECT_EQ(text(2 * n + 2), QStringLiteral("所"));
  EXPECT_EQ(text(4 * n), QStringLiteral("摘"));
  if (this->facts.captureTakesAccountsAndTotal) {
    EXPECT_EQ(text(1), QStringLiteral("科目"));
    EXPECT_EQ(amount(n + 1), 998);
    EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("998"));
  } else {
    EXPECT_EQ(text(1), this->facts.word);
    EXPECT_EQ(amount(n + 1), 0);
    EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("typed"));
  }
  // Only the rows change: the cells as typed, no file, no beep, no message.
  EXPECT_EQ(this->Read(1, kBalance), QStringLiteral("1,000"));
  EXPECT_EQ(this->Read(3, kBalance), QStringLiteral("　"));
  EXPECT_EQ(this->Texts(), texts);
  EXPECT_EQ(this->desktop.beeps, beeps);
  EXPECT_TRUE(this->desktop.boxes.empty());
  EXPECT_FALSE(this->screen.IsControlVisible("Command7"));

  // With nothing in the amount cells the total shows empty.
  if (this->facts.captureTakesAccountsAndTotal) {
    this->screen.Press("Command17");
    this->screen.Write("Text118", "typed");
    this->screen.Press("Command7");
    EXPECT_EQ(this->screen.Read("Text118"), QString());
  }
}

TYPED_TEST(LedgerScreenTest, ACaptureWhoseSumLeaves32BitsLeavesTheTotalAsItWasAndFailsNothing) {
  this->Write(1, kBalance, "2147483647");
  this->Write(2, kBalance, "1");
  this->screen.Write("Text118", "typed");
  this->screen.Press("Command7");

  EXPECT_TRUE(this->desktop.boxes.empty());
  EXPECT_EQ(this->screen.Read("Text118"), QStringLiteral("typed"));
  const HeldFiles& held = this->screen.Held();
  EXPECT_EQ((held[{FileRole::Amounts, 1}].number), 2147483647);
  EXPECT_EQ((held[{FileRole::Amounts, 2}].number), 1);
  EXPECT_EQ((held[{FileRole::Amounts, this->n + 1}].number), 0);
}

TYPED_TEST(LedgerScreenTest, TheScreenLooksAsDesigned) {
  const int n = this->n;
  platform::Screen& screen = this->screen;
  screen.Show();
  EXPECT_EQ(screen.Window().windowTitle(), this->facts.caption);
  EXPECT_EQ(screen.Window().font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(screen.Window().font().pointSizeF(), 11.25);
  const std::pair<const char*, const char*> headings[] = {
      {"Text2", "名称（氏名）"}, {"Text3", "所在地（住所）"}, {"Text6", "摘　　　要"}};
  for (const auto& [box, text] : headings) {
    EXPECT_EQ(screen.Read(box), QString::fromUtf8(text));
    EXPECT_EQ(screen.Box(box).alignment(), Qt::AlignCenter);
  }
  const std::pair<const char*, const char*> buttons[] = {
      {"Command1", "科　目"},   {"Command17", "期末現在高"},      {"Command3", "DATA"},
      {"Command4", "クリア"},   {"Command5", "大きい順に並び替え"}, {"Command2", "合　　計"},
      {"Command7", "並替用のデータ呼出"}};
  for (const auto& [button, caption] : buttons) {
    EXPECT_EQ(screen.CaptionOf(button), QString::fromUtf8(caption));
  }
  EXPECT_FALSE(screen.IsControlVisible("Text146"));
  EXPECT_FALSE(screen.IsControlVisible("Command7"));

  // The boxes are the grid's, the three headings, the total and the code box.
  std::set<QString> onScreen;
  for (const auto* box : screen.Window().findChildren<platform::TextBox*>()) {
    onScreen.insert(box->objectName());
  }
  std::set<QString> expected = {"Text2", "Text3", "Text6", "Text118", "Text146"};
  for (int r = 1; r <= n; ++r) {
    for (int c = 0; c < 5; ++c) expected.insert(Box(testing::kLedgerTable[r - 1][c]));
  }
  EXPECT_EQ(onScreen, expected);
  EXPECT_EQ(expected.size(), static_cast<std::size_t>(5 * n + 5));

  for (int r = 1; r <= n; ++r) {
    for (int c = 0; c < 5; ++c) {
      platform::TextBox& box = screen.Box(testing::LedgerCell(r, static_cast<testing::LedgerColumn>(c)));
      if (c == kBalance) {
        EXPECT_EQ(box.alignment() & Qt::AlignRight, Qt::AlignRight);
        EXPECT_EQ(box.Mode(), platform::InputMode::Unchanged);
      } else {
        EXPECT_EQ(box.alignment() & Qt::AlignLeft, Qt::AlignLeft);
        EXPECT_EQ(box.Mode(), platform::InputMode::Hiragana);
      }
    }
  }
  EXPECT_EQ(screen.Box("Text118").alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(screen.Box("Text118").Mode(), platform::InputMode::Unchanged);

  // Five columns under their headings, a row every 24 pixels (360 twips)
  // from the heading line at 8 (120), the bottom line one row below row N.
  auto geometry = [&screen](const QString& name) { return screen.Control(name).geometry(); };
  const QString headingLine[5] = {"Command1", "Text2", "Text3", "Command17", "Text6"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(geometry(headingLine[c]).top(), 8);
    for (int r = 1; r <= n; ++r) {
      const QRect cell = geometry(testing::LedgerCell(r, static_cast<testing::LedgerColumn>(c)));
      EXPECT_EQ(cell.left(), geometry(headingLine[c]).left());
      EXPECT_EQ(cell.width(), geometry(headingLine[c]).width());
      EXPECT_EQ(cell.top(), 32 + 24 * (r - 1));
      EXPECT_EQ(cell.height(), 22);
    }
  }
  EXPECT_EQ(geometry("Text7").left(), 8);
  EXPECT_EQ(geometry("Text8").left(), 64);
  EXPECT_EQ(geometry("Text9").left(), 192);
  EXPECT_EQ(geometry("Text11").left(), 344);
  const QString bottomLine[5] = {"Command3", "Command4", "Command5", "Text118", "Command2"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(geometry(bottomLine[c]).top(), 32 + 24 * n) << c;
    EXPECT_EQ(geometry(bottomLine[c]).left(), geometry(headingLine[c]).left()) << c;
  }

  testing::ExpectNothingOverlapsOrIsClipped(screen);
}

// The designed Tab order: ③ from the "期末現在高" button down the rows,
// ⑨買 and ⑨未 from the "科　目" button up from the bottom line.
TYPED_TEST(LedgerScreenTest, TheScreenOpensOnItsFirstControlAndTabRunsAsDesigned) {
  const int n = this->n;
  auto cell = [](int r, testing::LedgerColumn c) { return testing::LedgerCell(r, c); };
  QStringList expected;
  if (n == 14) {
    auto row = [&cell](int r) {
      return QStringList{cell(r, kBalance), cell(r, kRemarks), cell(r, kAddress), cell(r, kName),
                         cell(r, kAccount)};
    };
    expected << "Command17" << row(1) << "Text6" << "Text3" << "Text2";
    for (int r = 2; r <= n; ++r) expected << row(r);
    expected << "Command4" << "Command3" << "Command2" << "Text118" << "Command1" << "Command5";
  } else {
    auto row = [&cell](int r) {
      return QStringList{cell(r, kAccount), cell(r, kName), cell(r, kAddress), cell(r, kRemarks),
                         cell(r, kBalance)};
    };
    expected << "Command1" << "Text118" << "Command2" << "Command3" << "Command4";
    for (int r = n; r >= 2; --r) expected << row(r);
    expected << "Text2" << "Text3" << "Text6" << row(1) << "Command17" << "Command5";
  }
  ASSERT_EQ(expected.size(), 5 * n + 10);

  this->screen.Show();
  QWidget* focus = this->screen.Window().focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->objectName(), expected.front());

  QStringList order;
  QWidget* widget = focus;
  while (order.size() < expected.size() + 1) {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled()) {
      order.append(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  }
  // The last control leads back to the first.
  EXPECT_EQ(order, expected + QStringList{expected.front()});
}

}  // namespace
}  // namespace mirudanto::statements
