#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "statements/entry_screen.h"
#include "statements/layout_builders.h"
#include "support/entry_screen_fixture.h"
#include "support/failure_of.h"

namespace mirudanto::statements {
namespace {

using testing::FileLines;

constexpr FileRole T = FileRole::Text;
constexpr FileRole A = FileRole::Amounts;
constexpr FileRole M = FileRole::SubtotalMarkers;

// A small screen that uses what the larger ones will: its amount file written
// and read first, a marker file read after the others are shown, a total less
// a marker shown as digits by the save, a total that is shown only, and a
// total carried into another screen.
EntryScreenLayout ProbeLayout() {
  EntryScreenLayout layout =
      NewEntryLayout({"Form16", "probe", "Command3", "Command2", "読込", "保存"});
  const StatementMark mark = StatementMark::MiscGains;
  layout.files = {
      {{mark, A},
       {{ValueKind::Amount, "Text1"}, {ValueKind::Amount, "Text2"}, {ValueKind::Amount, "Text3"},
        {ValueKind::Amount, "Text4"}}},
      {{mark, T}, {{ValueKind::Text, "Text5"}, {ValueKind::Text, "Text6"}}},
      {{mark, M}, {{ValueKind::Amount, "Text7", Display::Digits}}, true},
  };
  TotalRule total = SumRule({A, 4}, 1, 3);
  total.minus = {{M, 1}};
  total.shownAs = Display::Digits;
  TotalRule firstTwo = SumRule({A, 4}, 1, 2);
  firstTwo.unstoredBox = "Text8";
  layout.totals = {total, firstTwo};
  layout.carriedOnLoad = {{{A, 4}, "Form17", "Text1"}};
  layout.carriedOnSave = {{{A, 4}, "Form17", "Text2"}};
  for (int n = 1; n <= 8; ++n) AddTextCell(layout, BoxName(n), QRect(120, 120 + 330 * n, 1500, 330));
  AddClearingButton(layout, "Command4", "クリア", QRect(1800, 120, 1000, 330),
                    {"Text1", "Text5"});
  AddBottomLine(layout, {QRect(1800, 600, 1000, 330), "Command4", QRect(1800, 120, 1000, 330),
                         {"Text1", "Text5"}, QRect(1800, 1000, 1000, 330), "合計",
                         QRect(1800, 1400, 1000, 330)});
  layout.clientTwips = QSize(3000, 3600);
  return layout;
}

class ProbeScreen : public EntryScreen {
 public:
  ProbeScreen() : EntryScreen(ProbeLayout()) {}
  // What the total box showed between the writing and the reload.
  QString totalAsSaved;

 protected:
  void AfterWrite() override { totalAsSaved = Read("Text4"); }
};

// Another screen's boxes that the probe carries its total into.
class CarryTarget : public platform::Screen {
 public:
  CarryTarget() : Screen("Form17", "target") {}

 protected:
  void Build() override {
    AddTextBox("Text1", platform::Twips(0, 0, 900, 300));
    AddTextBox("Text2", platform::Twips(0, 300, 900, 300));
  }
};

class EntryScreenEngine : public testing::EntryScreenTest<ProbeScreen> {
 protected:
  EntryScreenEngine() : target(platform::ScreenSet::Instance().Add<CarryTarget>()) {}
  QString MarkerPath() const { return SubtotalMarkerFile(mark, 7); }

  CarryTarget& target;
};

TEST_F(EntryScreenEngine, ASaveWorksOutItsTotalsCarriesThemAndWritesEveryFileByRole) {
  screen.Write("Text1", "1,000");
  screen.Write("Text2", "2000");
  screen.Write("Text3", "　");
  screen.Write("Text7", "500");
  screen.Write("Text5", "名");
  Save();

  EXPECT_EQ(desktop.Summary(), QStringList());
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(Amounts(), (QStringList{"1000", "2000", "0", "2500"}));
  EXPECT_EQ(Texts(), (QStringList{"\"名\"", "\"\""}));
  EXPECT_EQ(FileLines(drives, MarkerPath()), QStringList{"500"});
  // Shown as the save left it, then as the reload shows it.
  EXPECT_EQ(screen.totalAsSaved, QStringLiteral("2500"));
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("2,500"));
  EXPECT_EQ(screen.Read("Text8"), QStringLiteral("3,000"));
  EXPECT_EQ(screen.Read("Text7"), QStringLiteral("500"));
  EXPECT_EQ(target.Read("Text2"), QStringLiteral("2,500"));
  EXPECT_EQ(target.Read("Text1"), QStringLiteral("2,500"));  // the reload's carry
  EXPECT_EQ((screen.Held()[{A, 4}].number), 2500);
  EXPECT_EQ((screen.Held()[{M, 1}].number), 500);
}

TEST_F(EntryScreenEngine, ALoadShowsTheStoredTotalsAndReadsTheLateFileAfterShowingTheOthers) {
  PutAmounts({"1", "2", "3", "99"});
  PutTexts({"\"a\"", "\"b\""});
  screen.Write("Text7", "typed");
  Load();

  // The stored total stands; the shown-only total is worked out.
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("99"));
  EXPECT_EQ(screen.Read("Text8"), QString());
  EXPECT_EQ(target.Read("Text1"), QStringLiteral("99"));
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("a"));
  // The marker file is missing: what was read first is shown, its box is not.
  EXPECT_EQ(screen.Read("Text7"), QStringLiteral("typed"));
  EXPECT_EQ(desktop.Summary(), QStringList{"読込|ファイルが見つかりません。\nA⑯益小計7.txt"});
}

TEST_F(EntryScreenEngine, TheFailureOfTheLastLoadIsKeptUntilALoadSucceeds) {
  PutAmounts({"1", "2", "3", "6"});
  PutTexts({"\"a\"", "\"b\""});
  Load();  // the late marker file is missing
  ASSERT_TRUE(screen.LastLoadFailure());
  EXPECT_EQ(screen.LastLoadFailure()->Kind(), FailureKind::FileNotFound);

  testing::PutLines(drives, MarkerPath(), {"0"});
  Load();
  EXPECT_FALSE(screen.LastLoadFailure());
  Load("x");
  EXPECT_EQ(screen.LastLoadFailure()->Kind(), FailureKind::TypeMismatch);
}

TEST_F(EntryScreenEngine, ASaveThatCannotWriteCarriesNothingToTheOtherScreen) {
  target.Write("Text2", "before");
  QFile::remove(drives.Native(TextPath()));
  QDir().mkdir(drives.Native(TextPath()));
  screen.Write("Text1", "5");
  Save();
  EXPECT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(target.Read("Text2"), QStringLiteral("before"));
}

// The same screen with the other load policies.
template <LoadFailureEnd End, TotalsOnLoad Totals>
class PolicyScreen : public EntryScreen {
 public:
  PolicyScreen() : EntryScreen(Layout()) {}
  static EntryScreenLayout Layout() {
    EntryScreenLayout layout = ProbeLayout();
    layout.files.pop_back();
    layout.totals.front().minus.clear();
    layout.loadFailure = End;
    layout.totalsOnLoad = Totals;
    layout.carriedOnLoad.clear();
    layout.carriedOnSave.clear();
    for (BoxLayout& box : layout.boxes) box.initialText = QStringLiteral("初");
    return layout;
  }
};

using RecomputingScreen = PolicyScreen<LoadFailureEnd::Report, TotalsOnLoad::Recomputed>;
using ResettingScreen = PolicyScreen<LoadFailureEnd::ReportAndReset, TotalsOnLoad::AsStored>;
using HandingOnScreen = PolicyScreen<LoadFailureEnd::HandOn, TotalsOnLoad::AsStored>;

using RecomputingScreenTest = testing::EntryScreenTest<RecomputingScreen>;
using ResettingScreenTest = testing::EntryScreenTest<ResettingScreen>;
using HandingOnScreenTest = testing::EntryScreenTest<HandingOnScreen>;

TEST_F(RecomputingScreenTest, TheTotalsReplaceTheStoredOnesAndStopTheLoadBeyond32Bits) {
  PutAmounts({"1", "2", "3", "99"});
  PutTexts({"\"a\"", "\"b\""});
  Load();
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("6"));
  EXPECT_EQ(screen.Read("Text8"), QStringLiteral("3"));
  EXPECT_EQ((screen.Held()[{A, 4}].number), 6);

  PutAmounts({"2147483647", "1", "0", "0"});
  PutTexts({"\"c\"", "\"d\""});
  Load();
  EXPECT_EQ(desktop.Summary(), QStringList{"読込|オーバーフローしました。"});
  // The amounts are shown, the totals and the texts are not.
  EXPECT_EQ(screen.Read("Text1"), QStringLiteral("2,147,483,647"));
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("6"));
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("a"));
}

TEST_F(ResettingScreenTest, AFailedReadGoesBackToTheInitialTextsAndForgetsTheCompany) {
  PutAmounts({"1", "2", "3", "6"});
  PutTexts({"\"a\"", "\"b\""});
  Load();
  ASSERT_EQ(screen.Read("Text5"), QStringLiteral("a"));

  // A code that does not convert leaves the screen as it was.
  Load("x");
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("a"));
  EXPECT_TRUE(screen.HeldIsValid());

  Load("8");
  EXPECT_EQ(screen.Read("Text5"), QStringLiteral("初"));
  EXPECT_EQ(screen.Read("Text1"), QStringLiteral("初"));
  EXPECT_FALSE(screen.HeldIsValid());
  EXPECT_EQ(desktop.Summary(), (QStringList{"読込|型が一致しません。",
                                            "読込|ファイルが見つかりません。\nA⑯益8.txt"}));
}

// Pressed from code, the failure goes on to the presser and nothing is shown
// (the save that presses it reports it: see the inventories screen).
TEST_F(HandingOnScreenTest, ALoadHandsItsFailureToThePresser) {
  EXPECT_THROW(Load(), Failure);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_FALSE(screen.HeldIsValid());
}

// The probe with a hidden button that captures some of its boxes and shows
// the totals, as the ledgers' "並替用のデータ呼出" does.
class CapturingScreen : public EntryScreen {
 public:
  CapturingScreen() : EntryScreen(Layout()) {}
  static EntryScreenLayout Layout() {
    EntryScreenLayout layout = ProbeLayout();
    ButtonLayout capture{"Command9", "capture", QRect(1800, 2000, 1000, 330),
                         ButtonRole::Capture, {"Text1", "Text2", "Text5"}};
    capture.capturesTotals = true;
    capture.hidden = true;
    layout.buttons.push_back(capture);
    return layout;
  }
};
using CapturingScreenTest = testing::EntryScreenTest<CapturingScreen>;

TEST_F(CapturingScreenTest, ACaptureTakesItsBoxesAndShowsTheTotalsWithoutWritingAnything) {
  screen.Write("Text1", "1,000");
  screen.Write("Text2", " ");
  screen.Write("Text3", "7");  // not one of the capture's boxes
  screen.Write("Text5", "名");
  screen.Write("Text6", "not taken");
  screen.Press("Command9");

  EXPECT_EQ((screen.Held()[{A, 1}].number), 1000);
  EXPECT_EQ((screen.Held()[{A, 2}].number), 0);
  EXPECT_EQ((screen.Held()[{A, 3}].number), 0);
  EXPECT_EQ((screen.Held()[{T, 1}].text), QStringLiteral("名"));
  EXPECT_EQ((screen.Held()[{T, 2}].text), QString());
  // The totals are worked out from the values and shown as a load shows them.
  EXPECT_EQ((screen.Held()[{A, 4}].number), 1000);
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read("Text8"), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read("Text1"), QStringLiteral("1,000"));
  EXPECT_FALSE(screen.IsControlVisible("Command9"));
  EXPECT_FALSE(drives.Exists(AmountPath()));
  EXPECT_EQ(desktop.beeps, 0);
  EXPECT_TRUE(desktop.boxes.empty());

  // A sum beyond 32 bits is shown nowhere and fails nothing: the boxes are
  // taken, the totals and their boxes stay as they were.
  screen.Write("Text1", "2147483647");
  screen.Write("Text2", "1");
  screen.Press("Command9");
  EXPECT_EQ((screen.Held()[{A, 1}].number), 2147483647);
  EXPECT_EQ((screen.Held()[{A, 2}].number), 1);
  EXPECT_EQ((screen.Held()[{A, 4}].number), 1000);
  EXPECT_EQ(screen.Read("Text4"), QStringLiteral("1,000"));
  EXPECT_EQ(screen.Read("Text8"), QStringLiteral("1,000"));
  EXPECT_TRUE(desktop.boxes.empty());

  // A figure beyond 32 bits, or a text that is no number, is refused as the
  // save refuses it: the capture fails to its presser and takes nothing.
  screen.Write("Text5", "changed");
  for (const auto& [text, kind] : {std::pair{"3,000,000,000", FailureKind::Overflow},
                                   std::pair{"abc", FailureKind::TypeMismatch}}) {
    SCOPED_TRACE(text);
    screen.Write("Text1", text);
    const std::optional<Failure> failure = testing::FailureOf([&] { screen.Press("Command9"); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), kind);
    EXPECT_EQ((screen.Held()[{A, 1}].number), 2147483647);
    EXPECT_EQ((screen.Held()[{T, 1}].text), QStringLiteral("名"));
  }
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST(EntryScreenRows, RowsMoveExchangeAndEmptyAsAWholeOrByColumn) {
  const std::vector<FileLayout> files = {
      {{StatementMark::Deposits, T}, std::vector<FileValue>(4)},
      {{StatementMark::Deposits, A}, std::vector<FileValue>(2, {ValueKind::Amount})},
  };
  const RowLayout row1 = {{T, 1}, {T, 2}, {A, 1}};
  const RowLayout row2 = {{T, 3}, {T, 4}, {A, 2}};
  auto fill = [&] {
    HeldFiles held(files);
    held[{T, 1}].text = "科1";
    held[{T, 2}].text = "名1";
    held[{A, 1}].number = 10;
    held[{T, 3}].text = "科2";
    held[{T, 4}].text = "名2";
    held[{A, 2}].number = 20;
    return held;
  };
  auto texts = [](const HeldFiles& held) {
    QStringList all;
    for (const HeldValue& value : held.Of(T)) all.append(value.text);
    return all;
  };

  HeldFiles held = fill();
  ExchangeRows(held, row1, row2, {1, 2});
  EXPECT_EQ(texts(held), (QStringList{"科1", "名2", "科2", "名1"}));
  EXPECT_EQ((held[{A, 1}].number), 20);
  EXPECT_EQ((held[{A, 2}].number), 10);

  held = fill();
  MoveRow(held, row2, row1);
  EXPECT_EQ(texts(held), (QStringList{"科2", "名2", "", ""}));
  EXPECT_EQ((held[{A, 1}].number), 20);
  EXPECT_EQ((held[{A, 2}].number), 0);

  held = fill();
  ClearRow(held, row1, {0});
  EXPECT_EQ(texts(held), (QStringList{"", "名1", "科2", "名2"}));
  EXPECT_EQ((held[{A, 1}].number), 10);
}

}  // namespace
}  // namespace mirudanto::statements
