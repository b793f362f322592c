// Blank-A4 pages through the real backend and the private CUPS scheduler of
// scripts/test: one PDF job a page, in batch order, drawn where the tables say.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/printers.h"
#include "platform/screen.h"
#include "printing/blank_a4/blank_a4_screen.h"
#include "support/cups_jobs.h"
#include "support/print_company.h"
#include "support/private_cups.h"
#include "support/qt_printers.h"
#include "support/recording_desktop.h"
#include "support/temp_drives.h"

namespace mirudanto::printing {
namespace {

using namespace testing::cups;
using M = StatementMark;

constexpr double kDotsPerInch = 300;

// The page rendered as pdftoppm draws it.
QImage Rendered(const QString& pdf, const QTemporaryDir& scratch) {
  const QString prefix = scratch.filePath(QStringLiteral("page"));
  QProcess process;
  process.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(kDotsPerInch), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), pdf, prefix});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    ADD_FAILURE() << "pdftoppm failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QImage(prefix + QStringLiteral(".png"));
}

int Pixel(double millimetres) { return static_cast<int>(millimetres * kDotsPerInch / 25.4); }

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 160; }

// The y, in millimetres from the paper's top, of the horizontal line that runs
// dark across x from..to and lies nearest to `near`; none when no line does.
std::optional<double> HorizontalLineNear(const QImage& image, double near, double from, double to) {
  std::optional<double> best;
  for (int y = Pixel(near - 3); y <= Pixel(near + 3); ++y) {
    int dark = 0;
    for (int x = Pixel(from); x <= Pixel(to); ++x) dark += Dark(image, x, y) ? 1 : 0;
    if (dark < 0.95 * (Pixel(to) - Pixel(from) + 1)) continue;
    const double at = (y + 0.5) * 25.4 / kDotsPerInch;
    if (!best || std::abs(at - near) < std::abs(*best - near)) best = at;
  }
  return best;
}

class BlankA4Cups : public testing::PrivateCupsTest {
 protected:
  void SetUp() override {
    PrivateCupsTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    screen = &platform::ScreenSet::Instance().Add<BlankA4Screen>();
  }
  void TearDown() override {
    platform::ScreenSet::Instance().Clear();
    PrivateCupsTest::TearDown();
  }
  void Click(const QString& button) { screen->ControlAs<QPushButton>(button).click(); }

  testing::TempDrives drives;
  testing::RecordingDesktop desktop;
  BlankA4Screen* screen = nullptr;
};

TEST_F(BlankA4Cups, ATwoSetBatchIsFourPdfJobsInOrderDrawnWhereTheTablesSay) {
  const QString queue = kQueues[0];
  platform::SetDefaultPrinter(queue);
  testing::WriteCompany(drives, 7, [](const StatementFile& file, QStringList& lines) {
    testing::SetAmount(M::Deposits, 16, "1234567")(file, lines);
    testing::SetAmount(M::Rents, 8, "2")(file, lines);
  });
  screen->Write("Text146", "7");
  screen->Show();
  screen->Press("Command3");
  const int lastJob = LastJobId();

  Click("Command6");

  EXPECT_EQ(desktop.Summary(), QStringList());
  std::vector<QueuedJob> jobs = JobsAfter(lastJob);
  std::sort(jobs.begin(), jobs.end(),
            [](const QueuedJob& a, const QueuedJob& b) { return a.id < b.id; });
  ASSERT_EQ(jobs.size(), 4u);
  QStringList titles;
  for (const QueuedJob& job : jobs) {
    titles.append(job.title);
    EXPECT_EQ(job.queue, queue);
    EXPECT_EQ(job.format, QStringLiteral("application/pdf"));
  }
  EXPECT_EQ(titles, (QStringList{"預貯金", "地代家賃", "預貯金", "地代家賃"}));
  EXPECT_EQ(screen->Read("Text13"), QStringLiteral("2"));
  EXPECT_EQ(screen->Read("Text25"), QStringLiteral("2"));

  // The first page: its title and its total as the words of the PDF, its
  // frame's top and the rule of band 1 as drawn, each within 1 mm of its place
  // from the printable area's corner.
  ASSERT_EQ(WaitForJob(jobs[0].id), IPP_JSTATE_COMPLETED);
  const QString pdf = DeliveredDocument(SchedulerFolder(), jobs[0].id);
  const std::optional<QPointF> origin = PrintableOrigin(queue);
  ASSERT_TRUE(origin);
  ExpectWordsPlaced(pdf, *origin,
                    {{QStringLiteral("預貯金等の明細書"), 27, 26},
                     {QStringLiteral("①"), 188, 26},
                     {QStringLiteral("1,234,567"), 137 - 3.5 * 15 * 25.4 / 72, 265}});
  QTemporaryDir scratch;
  const QImage page = Rendered(pdf, scratch);
  ASSERT_FALSE(page.isNull());
  for (const double rule : {32.0, 42.0, 272.0}) {
    const std::optional<double> found =
        HorizontalLineNear(page, origin->y() + rule, origin->x() + 30, origin->x() + 187);
    ASSERT_TRUE(found) << rule;
    EXPECT_NEAR(*found, origin->y() + rule, 1.0) << rule;
  }
}

}  // namespace
}  // namespace mirudanto::printing
