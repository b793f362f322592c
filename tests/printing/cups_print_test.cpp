// The real backend against the private CUPS scheduler of scripts/test: what
// reaches the queue, and where its text lands on the page.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QPointF>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QUrl>
#include <optional>

#include "core/failure.h"
#include "platform/printers.h"
#include "printing/preprinted/preprinted_screen.h"
#include "printing/printer.h"
#include "printing/qt_printer.h"
#include "support/cups_jobs.h"
#include "support/failure_of.h"
#include "support/print_company.h"
#include "support/private_cups.h"
#include "support/qt_printers.h"
#include "support/recording_desktop.h"
#include "support/temp_drives.h"

namespace mirudanto::printing {
namespace {

using namespace testing::cups;
using testing::FailureOf;

void ThreeItems(PagePlan& plan) {
  plan.SetFont(kMincho, 11);
  plan.PutText(27, 32, QStringLiteral("預金テスト"));
  plan.PutText(100, 150, QStringLiteral("<b>&amp;"));
  plan.SetFontSize(15);
  RightAlignedAmount(plan, 143, 33, 1234567, Nudge::Apply);
  plan.DrawLine(25, 272, 192, 272, 6);
}

class CupsPrinting : public testing::PrivateCupsTest {
 protected:
  // The document the queue received, kept by the scheduler (PreserveJobFiles).
  QString Delivered(int job) const { return DeliveredDocument(SchedulerFolder(), job); }
  // The texts of ThreeItems found in the PDF within 1 mm of their places,
  // measured from the printable area's corner.
  void ExpectPlacedFromThePrintableArea(const QString& queue, const QString& pdf);
};

TEST_F(CupsPrinting, OneDocumentIsOnePdfJobOnTheDefaultQueueWithItsTextWhereItWasPut) {
  const QString queue = kQueues[0];  // 経理部PDF
  platform::SetDefaultPrinter(queue);
  const QString pdfFolder = QDir(SchedulerFolder()).filePath(QStringLiteral("pdf"));
  const QSet<QString> pdfsBefore = PdfFiles(pdfFolder);
  const int lastJob = LastJobId();

  QtPrinter printer;
  const int id = PrintPage(printer, QStringLiteral("預貯金"), ThreeItems);

  ASSERT_GT(id, 0);
  const std::optional<QueuedJob> job = JobOf(id);
  ASSERT_TRUE(job);
  EXPECT_EQ(job->queue, queue);
  EXPECT_EQ(job->format, QStringLiteral("application/pdf"));
  EXPECT_EQ(JobsAfter(lastJob).size(), 1u);
  EXPECT_EQ(WaitForJob(id), IPP_JSTATE_COMPLETED);
  EXPECT_EQ(JobsAfter(lastJob).size(), 1u);

  const QString delivered = Delivered(id);
  ASSERT_TRUE(QFileInfo::exists(delivered));

  // The queue's printer made one PDF of it, unless the queues print to
  // /dev/null here (no private mount namespace).
  if (QueueOption(queue, "device-uri") != QStringLiteral("file:///dev/null")) {
    QSet<QString> pdfs;
    QElapsedTimer timer;
    timer.start();
    // Other tests print beside this one; each PDF's name ends with its job.
    const QString ours = QStringLiteral("-job_%1.pdf").arg(id);
    do {
      pdfs.clear();
      for (const QString& pdf : PdfFiles(pdfFolder) - pdfsBefore) {
        if (pdf.endsWith(ours)) pdfs.insert(pdf);
      }
      if (!pdfs.isEmpty()) break;
      QThread::msleep(100);
    } while (timer.elapsed() < 10000);
    EXPECT_EQ(pdfs.size(), 1) << "one job, one PDF";
  }

  // Qt keeps margins of 10 points of its own where this queue's printable area
  // reaches the paper's edge; the texts stand where the layer put them all the
  // same.
  ExpectPlacedFromThePrintableArea(queue, delivered);
}

// A printer whose printable area stops short of the paper's edges.
TEST_F(CupsPrinting, TheTextStandsFromThePrintableAreaOfAPrinterWithMargins) {
  const QString queue = QStringLiteral("Margins_PCL");
  AddQueue(queue, QStringLiteral("drv:///sample.drv/generpcl.ppd"));
  platform::SetDefaultPrinter(queue);
  const std::optional<QPointF> origin = PrintableOrigin(queue);
  ASSERT_TRUE(origin);
  // The driver's margins: 18 points left, 12 points top.
  EXPECT_NEAR(origin->x(), 18 * 25.4 / 72, 0.05);
  EXPECT_NEAR(origin->y(), 12 * 25.4 / 72, 0.05);

  QtPrinter printer;
  const int id = PrintPage(printer, QStringLiteral("預貯金"), ThreeItems);
  const QString delivered = Delivered(id);
  ASSERT_TRUE(QFileInfo::exists(delivered));
  ExpectPlacedFromThePrintableArea(queue, delivered);
}

void CupsPrinting::ExpectPlacedFromThePrintableArea(const QString& queue, const QString& pdf) {
  const std::optional<QPointF> origin = PrintableOrigin(queue);
  ASSERT_TRUE(origin);
  // The amount's x: the right reference less the width of its seven digits
  // (3.5 em at 15 points in the fixed-pitch face) with no nudge.
  ExpectWordsPlaced(pdf, *origin,
                    {{QStringLiteral("預金テスト"), 27, 32},
                     {QStringLiteral("<b>&amp;"), 100, 150},
                     {QStringLiteral("1,234,567"), 143 - 3.5 * 15 * 25.4 / 72, 33}});
}

TEST_F(CupsPrinting, WithoutADefaultPrinterThePrintReportsAndSendsNothing) {
  ASSERT_EQ(LpstatDefault(), QString());
  const int lastJob = LastJobId();
  QtPrinter printer;
  bool planned = false;
  const auto failure = FailureOf([&] {
    PrintPage(printer, QStringLiteral("預貯金"), [&](PagePlan& plan) {
      planned = true;
      ThreeItems(plan);
    });
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Description(), QStringLiteral("既定のプリンターがありません。"));
  EXPECT_FALSE(planned);
  EXPECT_TRUE(JobsAfter(lastJob).empty());
}

TEST_F(CupsPrinting, AJobTheQueueRefusesIsReportedAndNotCountedAsPrinted) {
  const QString queue = QStringLiteral("Refusing_PDF");
  AddQueue(queue);
  RejectJobs(queue);
  platform::SetDefaultPrinter(queue);
  const int lastJob = LastJobId();

  QtPrinter printer;
  const auto failure =
      FailureOf([&] { PrintPage(printer, QStringLiteral("預貯金"), ThreeItems); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::OtherIO);
  EXPECT_EQ(failure->Description(), QStringLiteral("デバイス I/O エラーです。"));
  EXPECT_TRUE(JobsAfter(lastJob).empty());
}

TEST_F(CupsPrinting, APlanOutOfRangeOpensNoJob) {
  platform::SetDefaultPrinter(kQueues[1]);
  const int lastJob = LastJobId();
  QtPrinter printer;
  const auto failure = FailureOf([&] {
    PrintPage(printer, QStringLiteral("預貯金"), [](PagePlan& plan) {
      ThreeItems(plan);
      plan.PutText(27, 40000, QStringLiteral("x"));
    });
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::Overflow);
  EXPECT_TRUE(JobsAfter(lastJob).empty());
}

// The preprinted-sheet screen on the real backend: a company whose ① has a
// bank name in row 1 and a total, opened as the main menu opens it.
class PreprintedCupsPrinting : public CupsPrinting {
 protected:
  void SetUp() override {
    CupsPrinting::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    testing::WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
      if (file.mark != StatementMark::Deposits) return;
      if (file.role == FileRole::Text) lines[0] = QStringLiteral("\"預金テスト\"");
      if (file.role == FileRole::Amounts) lines[15] = QStringLiteral("1234567");
    });
    screen = &platform::ScreenSet::Instance().Add<PreprintedScreen>();
    screen->Write(QStringLiteral("Text146"), QStringLiteral("7"));
    screen->Show();
    screen->Press(QStringLiteral("Command3"));
  }
  void TearDown() override {
    platform::ScreenSet::Instance().Clear();
    CupsPrinting::TearDown();
  }
  void PressDeposits() { screen->ControlAs<QPushButton>(QStringLiteral("Command12")).click(); }

  testing::TempDrives drives;
  testing::RecordingDesktop desktop;
  platform::Screen* screen = nullptr;
};

TEST_F(PreprintedCupsPrinting, OnePressOfDepositsIsOnePdfJobOnTheDefaultQueueWithTheDataInPlace) {
  const QString queue = kQueues[1];
  platform::SetDefaultPrinter(queue);
  const int lastJob = LastJobId();

  PressDeposits();

  EXPECT_TRUE(desktop.boxes.empty());
  const std::vector<QueuedJob> jobs = JobsAfter(lastJob);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].queue, queue);
  EXPECT_EQ(jobs[0].format, QStringLiteral("application/pdf"));
  EXPECT_EQ(screen->CaptionOf(QStringLiteral("Label1")), QString());
  const QString delivered = Delivered(jobs[0].id);
  ASSERT_TRUE(QFileInfo::exists(delivered));
  const std::optional<QPointF> origin = PrintableOrigin(queue);
  ASSERT_TRUE(origin);
  const std::vector<Word> words = WordsOf(delivered);
  // Row 1's bank name, and the total at R 143 less its seven digits plus
  // nothing (a million and more takes no nudge).
  const std::pair<QString, QPointF> expected[] = {
      {QStringLiteral("預金テスト"), {27, 32}},
      {QStringLiteral("1,234,567"), {143 - 3.5 * 15 * 25.4 / 72, 239}},
  };
  for (const auto& [text, place] : expected) {
    SCOPED_TRACE(text.toStdString());
    const auto found = std::find_if(words.begin(), words.end(),
                                    [&](const Word& w) { return w.text == text; });
    ASSERT_NE(found, words.end()) << "not on the page";
    EXPECT_NEAR(found->x, origin->x() + place.x(), 1.0);
    EXPECT_NEAR(found->y, origin->y() + place.y(), 1.0);
  }
}

TEST_F(PreprintedCupsPrinting, WithoutADefaultPrinterThePressReportsSendsNothingAndKeepsTheMark) {
  ASSERT_EQ(LpstatDefault(), QString());
  const int lastJob = LastJobId();
  PressDeposits();
  EXPECT_EQ(desktop.Summary(), QStringList{"ミルダント|既定のプリンターがありません。"});
  EXPECT_TRUE(JobsAfter(lastJob).empty());
  EXPECT_EQ(screen->CaptionOf(QStringLiteral("Label1")), QStringLiteral("要"));
}

// The device's metric is the fixed-pitch face's: half an em for ASCII, a whole
// em for the rest, as the recording backend assumes.
TEST_F(CupsPrinting, TheQueuesMetricIsTheFixedPitchMinchoFace) {
  platform::SetDefaultPrinter(kQueues[2]);
  QtPrinter printer;
  const auto document = printer.NewDocument(QStringLiteral("metric"));
  const FixedPitchMetric fixed;
  for (const QString& text : {QStringLiteral("1234567"), QStringLiteral("預金テスト"),
                              QStringLiteral("　甲　"), QStringLiteral("-5")}) {
    SCOPED_TRACE(text.toStdString());
    EXPECT_NEAR(document->Metric().TextWidth(kMincho, 15, text),
                fixed.TextWidth(kMincho, 15, text), 0.05);
  }
}

}  // namespace
}  // namespace mirudanto::printing
