#include "printing/printer.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "printing/qt_printer.h"
#include "printing/recording_printer.h"
#include "support/failure_of.h"
#include "support/printed_operations.h"
#include "support/qt_printers.h"

namespace mirudanto::printing {
namespace {

using testing::FailureOf;

void SmallPage(PagePlan& plan) {
  plan.SetFont(kMincho, 11);
  plan.PutText(27, 32, QStringLiteral("三井住友銀行"));
  plan.SetFontSize(15);
  RightAlignedAmount(plan, 143, 33, 1234567, Nudge::Apply, 3);
  plan.DrawLine(25, 32, 192, 32, 6);
}

TEST(RecordingPrinter, OnePrintIsOneJobWithEveryOperationOnTheDefaultPrinter) {
  RecordingPrinter printer;
  const int id = PrintPage(printer, QStringLiteral("預貯金"), SmallPage);

  ASSERT_EQ(printer.jobs.size(), 1u);
  const RecordingPrinter::Job& job = printer.jobs[0];
  EXPECT_EQ(job.id, id);
  EXPECT_EQ(job.queue, QStringLiteral("Recording_PDF"));
  EXPECT_EQ(job.title, QStringLiteral("預貯金"));
  const double x = 143 - 3.5 * 15 * 25.4 / 72 + 3;
  const std::vector<Operation> expected = {
      SetFont{kMincho, 11},
      PutText{27, 32, QStringLiteral("三井住友銀行")},
      SetFont{kMincho, 15},
      PutText{x, 33, QStringLiteral("1,234,567")},
      DrawLine{25, 32, 192, 32, 6},
  };
  ASSERT_EQ(job.operations.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    SCOPED_TRACE(k);
    if (const auto* text = std::get_if<PutText>(&job.operations[k])) {
      const auto& want = std::get<PutText>(expected[k]);
      EXPECT_EQ(text->text, want.text);
      EXPECT_NEAR(text->x, want.x, 1e-4);
      EXPECT_NEAR(text->y, want.y, 1e-4);
    } else {
      EXPECT_EQ(job.operations[k], expected[k]);
    }
  }

  // Each press is a job of its own.
  const int second = PrintPage(printer, QStringLiteral("預貯金"), SmallPage);
  EXPECT_NE(second, id);
  EXPECT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.documentsMade, 2);
}

TEST(RecordingPrinter, WithoutADefaultPrinterNothingIsPlannedOrSent) {
  RecordingPrinter printer;
  printer.defaultPrinter.clear();
  bool planned = false;
  const auto failure = FailureOf([&] {
    PrintPage(printer, QStringLiteral("預貯金"), [&](PagePlan& plan) {
      planned = true;
      SmallPage(plan);
    });
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::NoDefaultPrinter);
  EXPECT_EQ(failure->Description(), QStringLiteral("既定のプリンターがありません。"));
  EXPECT_FALSE(planned);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(printer.documentsMade, 0);
}

TEST(RecordingPrinter, APlanThatFailsItsCheckSendsNothing) {
  RecordingPrinter printer;
  const auto failure = FailureOf([&] {
    PrintPage(printer, QStringLiteral("預貯金"), [](PagePlan& plan) {
      SmallPage(plan);
      // The last item is out of range: none of the page goes out.
      plan.PutText(27, 32768, QStringLiteral("x"));
    });
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::Overflow);
  EXPECT_TRUE(printer.jobs.empty());
}

TEST(RecordingPrinter, ALayoutThatFailsHalfWaySendsNothing) {
  RecordingPrinter printer;
  const auto failure = FailureOf([&] {
    PrintPage(printer, QStringLiteral("預貯金"), [](PagePlan& plan) {
      SmallPage(plan);
      throw Failure(FailureKind::TypeMismatch);
    });
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::TypeMismatch);
  EXPECT_TRUE(printer.jobs.empty());
}

TEST(RecordingPrinter, ARefusedJobIsReportedAndNotCountedAsPrinted) {
  RecordingPrinter printer;
  printer.refuseJobs = true;
  const auto failure = FailureOf([&] { PrintPage(printer, QStringLiteral("預貯金"), SmallPage); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
  EXPECT_EQ(failure->Description(), QStringLiteral("デバイス I/O エラーです。"));
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(printer.jobsRefused, 1);
}

TEST(RecordingPrinter, ADocumentIsSentOnceAndOnlyWhenItsPlanPassesTheCheck) {
  RecordingPrinter printer;
  const auto document = printer.NewDocument(QStringLiteral("x"));
  EXPECT_EQ(document->Queue(), QStringLiteral("Recording_PDF"));
  PagePlan bad(document->Metric());
  bad.DrawLine(0, 0, 1, 1, 0);
  EXPECT_THROW(document->Send(bad), Failure);
  PagePlan good(document->Metric());
  EXPECT_THROW(document->Send(good), Failure);
  EXPECT_TRUE(printer.jobs.empty());
}

TEST(CurrentPrinter, IsTheInstalledBackendAndTheRealOneOtherwise) {
  RecordingPrinter recording;
  InstallPrinter(&recording);
  EXPECT_EQ(&CurrentPrinter(), &recording);
  InstallPrinter(nullptr);
  EXPECT_NE(dynamic_cast<QtPrinter*>(&CurrentPrinter()), nullptr);
}

}  // namespace
}  // namespace mirudanto::printing
