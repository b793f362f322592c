#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

namespace mirudanto::testing {

// For tests that use the print system: they run only against the private
// scheduler that scripts/test starts (scripts/private-cups), and are skipped
// anywhere else, so no test ever reads or changes the machine's own printers or
// its default printer. Tests of this kind run one at a time, also across test
// programs, since they share that scheduler; each starts and ends with no
// default printer set.
class PrivateCupsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The scheduler's queues, in the order CUPS lists them.
  static const QStringList kQueues;

  // What `lpstat -d` names as the default, empty when there is none.
  static QString LpstatDefault();
  // `lpstat -e`: every destination, instances included.
  static QStringList LpstatDestinations();

  // A queue that printing would throw away; removed again at the end.
  void AddQueue(const QString& name);
  // The same with a driver (an lpinfo -m model), for its paper and margins.
  void AddQueue(const QString& name, const QString& model);
  void RemoveQueue(const QString& name);
  // The queue stays but refuses every new job (cupsreject).
  void RejectJobs(const QString& name);

  // The folder of the scheduler, where its PDFs land in pdf/.
  QString SchedulerFolder() const;

  // Where libcups keeps the user's default and saved options (for root too).
  QString LpoptionsPath() const;
  void WriteLpoptions(const QByteArray& text) const;

 private:
  void ClearUserSettings() const;

  QString socket_;
  QString clientRoot_;
  QString home_;
  int lock_ = -1;
  QStringList added_;
};

}  // namespace mirudanto::testing
