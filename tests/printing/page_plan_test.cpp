#include "printing/page_plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/failure.h"
#include "support/failure_of.h"
#include "support/printed_operations.h"
#include "support/qt_printers.h"

namespace mirudanto::printing {
namespace {

using testing::FailureOf;

constexpr double kTolerance = 1e-4;

// One em at a size, in millimetres.
double Em(double points) { return points * 25.4 / 72.0; }

TEST(FixedPitchMetric, HalfAnEmForAsciiAndHalfWidthKatakanaAndAWholeEmForTheRest) {
  const FixedPitchMetric metric;
  struct Case {
    QString text;
    double ems;
  };
  const Case cases[] = {
      {QString(), 0},
      {QStringLiteral("1234567"), 3.5},
      {QStringLiteral("-5"), 1},
      {QStringLiteral(" ~"), 1},
      {QStringLiteral("ｱｲｳ"), 1.5},
      {QStringLiteral("｡ﾟ"), 1},
      {QStringLiteral("預金"), 2},
      {QStringLiteral("　甲　"), 3},
      {QStringLiteral("㈱乙"), 2},
      {QStringLiteral("<b>&amp;"), 4},
      {QStringLiteral("A預"), 1.5},
      // One character beyond the basic plane is one character.
      {QString::fromUcs4(U"𠮷"), 1},
      // DEL and the full-width forms are not half-width.
      {QStringLiteral("\x7F"), 1},
      {QStringLiteral("Ａ１"), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_NEAR(metric.TextWidth(kMincho, 11, c.text), c.ems * Em(11), 1e-12);
    EXPECT_NEAR(metric.TextWidth(QStringLiteral("other"), 15, c.text), c.ems * Em(15), 1e-12);
  }
}

TEST(PagePlan, RecordsTheOperationsInOrderAndKeepsTheFontNameWhenOnlyTheSizeChanges) {
  const FixedPitchMetric metric;
  PagePlan plan(metric);
  plan.SetFont(kMincho, 11);
  plan.PutText(27, 32, QStringLiteral("　甲　"));
  plan.SetFontSize(15);
  plan.PutText(27.5, 33.25, QStringLiteral("<b>&amp;"));
  plan.DrawLine(25, 32, 192, 32, 6);
  plan.PutText(0, 0, QString());

  const std::vector<Operation> expected = {
      SetFont{kMincho, 11},
      PutText{27, 32, QStringLiteral("　甲　")},
      SetFont{kMincho, 15},
      PutText{27.5, 33.25, QStringLiteral("<b>&amp;")},
      DrawLine{25, 32, 192, 32, 6},
      PutText{0, 0, QString()},
  };
  EXPECT_EQ(plan.Operations(), expected);
  EXPECT_EQ(plan.FontName(), kMincho);
  EXPECT_EQ(plan.FontPoints(), 15);
  EXPECT_NEAR(plan.TextWidth(QStringLiteral("㈱乙")), 2 * Em(15), kTolerance);
  plan.Check();
}

TEST(PagePlan, TextsAndMeasuresNeedAFont) {
  const FixedPitchMetric metric;
  PagePlan plan(metric);
  EXPECT_FALSE(plan.HasFont());
  for (const auto& step : std::initializer_list<std::function<void()>>{
           [&] { plan.PutText(1, 1, QStringLiteral("x")); },
           [&] { plan.TextWidth(QStringLiteral("x")); },
           [&] { plan.SetFontSize(11); },
       }) {
    const auto failure = FailureOf(step);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::InvalidArgument);
  }
  // Lines need no font.
  plan.DrawLine(0, 0, 1, 1, 1);
  EXPECT_EQ(plan.Operations().size(), 1u);
}

TEST(PagePlan, ChecksEveryPositionAgainstThe16BitRange) {
  const FixedPitchMetric metric;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double bad : {32767.001, 32768.0, -32768.001, -40000.0, inf, -inf, nan}) {
    SCOPED_TRACE(bad);
    const std::function<void(PagePlan&)> builds[] = {
        [&](PagePlan& p) { p.PutText(bad, 0, QStringLiteral("x")); },
        [&](PagePlan& p) { p.PutText(0, bad, QStringLiteral("x")); },
        [&](PagePlan& p) { p.DrawLine(bad, 0, 0, 0, 1); },
        [&](PagePlan& p) { p.DrawLine(0, bad, 0, 0, 1); },
        [&](PagePlan& p) { p.DrawLine(0, 0, bad, 0, 1); },
        [&](PagePlan& p) { p.DrawLine(0, 0, 0, bad, 1); },
    };
    for (const auto& build : builds) {
      PagePlan plan(metric);
      plan.SetFont(kMincho, 11);
      plan.PutText(1, 1, QStringLiteral("before"));
      build(plan);
      const auto failure = FailureOf([&] { plan.Check(); });
      ASSERT_TRUE(failure);
      EXPECT_EQ(failure->Kind(), FailureKind::Overflow);
      EXPECT_EQ(failure->Description(), QStringLiteral("オーバーフローしました。"));
    }
  }
  PagePlan edges(metric);
  edges.SetFont(kMincho, 11);
  edges.PutText(-32768, 32767, QStringLiteral("x"));
  edges.DrawLine(-32768, -32768, 32767, 32767, 1);
  edges.Check();
}

TEST(PagePlan, ChecksFontsAndLineWidths) {
  const FixedPitchMetric metric;
  const std::function<void(PagePlan&)> bad[] = {
      [](PagePlan& p) { p.SetFont(QString(), 11); },
      [](PagePlan& p) { p.SetFont(kMincho, 0); },
      [](PagePlan& p) { p.SetFont(kMincho, -1); },
      [](PagePlan& p) { p.SetFont(kMincho, 2160.5); },
      [](PagePlan& p) { p.SetFont(kMincho, std::numeric_limits<double>::quiet_NaN()); },
      [](PagePlan& p) { p.DrawLine(0, 0, 1, 1, 0); },
      [](PagePlan& p) { p.DrawLine(0, 0, 1, 1, -3); },
      [](PagePlan& p) { p.DrawLine(0, 0, 1, 1, 32768); },
  };
  for (const auto& build : bad) {
    PagePlan plan(metric);
    build(plan);
    const auto failure = FailureOf([&] { plan.Check(); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Kind(), FailureKind::InvalidArgument);
  }
  PagePlan good(metric);
  good.SetFont(kMincho, 2160);
  good.SetFont(kMincho, 0.5);
  good.DrawLine(0, 0, 1, 1, 1);
  good.DrawLine(0, 0, 1, 1, 32767);
  good.Check();
}

TEST(AmountNudge, TwoMillimetresBelow1000OneBelowAMillionNoneAbove) {
  struct Case {
    std::int64_t amount;
    double nudge;
  };
  for (const Case& c : {Case{999, 2}, Case{1000, 1}, Case{999999, 1}, Case{1000000, 0},
                        Case{-5, 2}, Case{0, 2}, Case{1, 2}, Case{2147483647, 0},
                        Case{-2147483647 - 1, 2}, Case{15032385529, 0}}) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(AmountNudge(c.amount), c.nudge);
  }
}

// The x of an amount: R minus its digits' width, plus offset and nudge.
struct AmountCase {
  std::int64_t amount;
  QString printed;
  double digitEms;  // width of the plain digits (and minus), in ems
  double nudge;
};

const AmountCase kAmounts[] = {
    {999, QStringLiteral("999"), 1.5, 2},
    {1000, QStringLiteral("1,000"), 2, 1},
    {999999, QStringLiteral("999,999"), 3, 1},
    {1000000, QStringLiteral("1,000,000"), 3.5, 0},
    {-5, QStringLiteral("-5"), 1, 2},
    {-1234567, QStringLiteral("-1,234,567"), 4, 2},
    {15032385529, QStringLiteral("15,032,385,529"), 5.5, 0},
};

TEST(RightAlignedAmount, PlacesTheFormattedTextByTheWidthOfItsPlainDigits) {
  const FixedPitchMetric metric;
  for (const double offset : {0.0, 3.0, -2.0}) {
    for (const AmountCase& c : kAmounts) {
      SCOPED_TRACE(c.printed.toStdString() + " offset " + std::to_string(offset));
      PagePlan plan(metric);
      plan.SetFont(kMincho, 15);
      const double nudged = RightAlignedAmount(plan, 143, 33, c.amount, Nudge::Apply, offset);
      const double plain = RightAlignedAmount(plan, 143, 42, c.amount, Nudge::None, offset);
      const double x = 143 - c.digitEms * Em(15) + offset;
      EXPECT_NEAR(plain, x, kTolerance);
      EXPECT_NEAR(nudged, x + c.nudge, kTolerance);
      ASSERT_EQ(plan.Operations().size(), 3u);
      const auto& first = std::get<PutText>(plan.Operations()[1]);
      const auto& second = std::get<PutText>(plan.Operations()[2]);
      EXPECT_EQ(first.text, c.printed);
      EXPECT_NEAR(first.x, x + c.nudge, kTolerance);
      EXPECT_NEAR(first.y, 33, kTolerance);
      EXPECT_EQ(second.text, c.printed);
      EXPECT_NEAR(second.x, x, kTolerance);
      EXPECT_NEAR(second.y, 42, kTolerance);
    }
  }
}

TEST(RightAlignedAmount, ASevenDigitAmountOverhangsItsReferenceByItsSeparators) {
  const FixedPitchMetric metric;
  PagePlan plan(metric);
  plan.SetFont(kMincho, 15);
  const double x = RightAlignedAmount(plan, 143, 33, 1234567, Nudge::Apply);
  const double rightEnd = x + plan.TextWidth(QStringLiteral("1,234,567"));
  EXPECT_NEAR(rightEnd - 143, plan.TextWidth(QStringLiteral(",,")), kTolerance);
}

TEST(RightAlignedAmount, AZeroAmountPrintsNothingButIsStillPlaced) {
  const FixedPitchMetric metric;
  PagePlan plan(metric);
  plan.SetFont(kMincho, 15);
  const double x = RightAlignedAmount(plan, 143, 33, 0, Nudge::Apply, 3);
  EXPECT_NEAR(x, 143 - 0.5 * Em(15) + 3 + 2, kTolerance);
  EXPECT_EQ(plan.Operations().size(), 1u);
}

TEST(RightAlignedAmount, MeasuresInTheSizeInForce) {
  const FixedPitchMetric metric;
  PagePlan plan(metric);
  plan.SetFont(kMincho, 10);
  EXPECT_NEAR(RightAlignedAmount(plan, 92, 234, 123456, Nudge::None), 92 - 3 * Em(10),
              kTolerance);
  EXPECT_THROW(
      {
        PagePlan noFont(metric);
        RightAlignedAmount(noFont, 92, 234, 1, Nudge::None);
      },
      Failure);
}

TEST(NumberText, ABlankBeforeANumberThatIsNotNegative) {
  EXPECT_EQ(NumberText(19), QStringLiteral(" 19"));
  EXPECT_EQ(NumberText(0), QStringLiteral(" 0"));
  EXPECT_EQ(NumberText(-5), QStringLiteral("-5"));
  EXPECT_EQ(NumberText(32767), QStringLiteral(" 32767"));
  EXPECT_EQ(NumberText(-32768), QStringLiteral("-32768"));
}

}  // namespace
}  // namespace mirudanto::printing
