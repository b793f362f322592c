#pragma once

// What the private CUPS scheduler of the tests holds: its jobs, its queues'
// options and printable areas, and the words of a delivered PDF.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <optional>
#include <vector>

namespace mirudanto::testing::cups {

struct QueuedJob {
  int id = 0;
  QString queue;
  QString title;
  QString format;
  ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// Every job the scheduler knows, finished ones included.
inline std::vector<QueuedJob> AllJobs() {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
  std::vector<QueuedJob> all;
  for (int k = 0; k < count; ++k) {
    // The queue's name comes percent-encoded, as in the job's printer URI.
    all.push_back({jobs[k].id, QUrl::fromPercentEncoding(jobs[k].dest),
                   QString::fromUtf8(jobs[k].title), QString::fromUtf8(jobs[k].format),
                   jobs[k].state});
  }
  cupsFreeJobs(count, jobs);
  return all;
}

// The highest job id so far: every later job has a higher one.
inline int LastJobId() {
  int last = 0;
  for (const QueuedJob& job : AllJobs()) last = std::max(last, job.id);
  return last;
}

// The jobs made after the one with that id.
inline std::vector<QueuedJob> JobsAfter(int last) {
  std::vector<QueuedJob> jobs;
  for (const QueuedJob& job : AllJobs()) {
    if (job.id > last) jobs.push_back(job);
  }
  return jobs;
}

inline std::optional<QueuedJob> JobOf(int id) {
  for (const QueuedJob& job : AllJobs()) {
    if (job.id == id) return job;
  }
  return std::nullopt;
}

// Waits until the job has left the queue; its last state.
inline ipp_jstate_t WaitForJob(int id) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 60000) {
    const std::optional<QueuedJob> job = JobOf(id);
    if (job && job->state >= IPP_JSTATE_CANCELED) return job->state;
    QThread::msleep(100);
  }
  return IPP_JSTATE_PROCESSING;
}

inline QSet<QString> PdfFiles(const QString& folder) {
  QSet<QString> files;
  QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) files.insert(it.next());
  return files;
}

inline QString QueueOption(const QString& queue, const char* option) {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  const QByteArray name = queue.toUtf8();
  QString value;
  if (const cups_dest_t* dest = cupsGetDest(name.constData(), nullptr, count, dests)) {
    value = QString::fromUtf8(cupsGetOption(option, dest->num_options, dest->options));
  }
  cupsFreeDests(count, dests);
  return value;
}

// The printable area's top-left corner on the default paper of the queue, in
// millimetres from the paper's corner, as libcups tells it.
inline std::optional<QPointF> PrintableOrigin(const QString& queue) {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  const QByteArray name = queue.toUtf8();
  std::optional<QPointF> origin;
  if (cups_dest_t* dest = cupsGetDest(name.constData(), nullptr, count, dests)) {
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
      cups_size_t size;
      if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size)) {
        origin = QPointF(size.left / 100.0, size.top / 100.0);
      }
      cupsFreeDestInfo(info);
    }
  }
  cupsFreeDests(count, dests);
  return origin;
}

// A word of pdftotext's bounding-box output, in millimetres from the page's
// top-left corner.
struct Word {
  QString text;
  double x = 0;
  double y = 0;
};

inline std::vector<Word> WordsOf(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << "pdftotext failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  const QString html = QString::fromUtf8(process.readAllStandardOutput());
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re"));
  std::vector<Word> words;
  for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
    const double mmPerPoint = 25.4 / 72;
    QString text = m.captured(3);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    words.push_back(
        {text, m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint});
  }
  return words;
}

// A text expected on a page, at millimetres from the printable area's corner.
struct ExpectedWord {
  QString text;
  double x;
  double y;
};

// Each text is a word of the PDF within 1 mm of its place, measured from the
// printable area's corner at `origin` (millimetres from the paper's corner).
inline void ExpectWordsPlaced(const QString& pdf, QPointF origin,
                              const std::vector<ExpectedWord>& expected) {
  const std::vector<Word> words = WordsOf(pdf);
  for (const ExpectedWord& want : expected) {
    SCOPED_TRACE(want.text.toStdString());
    const auto found = std::find_if(words.begin(), words.end(),
                                    [&](const Word& w) { return w.text == want.text; });
    ASSERT_NE(found, words.end()) << "not on the page";
    EXPECT_NEAR(found->x, origin.x() + want.x, 1.0);
    EXPECT_NEAR(found->y, origin.y() + want.y, 1.0);
  }
}

// The document a queue received, kept by the scheduler (PreserveJobFiles).
inline QString DeliveredDocument(const QString& schedulerFolder, int job) {
  return QDir(schedulerFolder)
      .filePath(QStringLiteral("spool/d%1-001").arg(job, 5, 10, QChar('0')));
}

}  // namespace mirudanto::testing::cups
