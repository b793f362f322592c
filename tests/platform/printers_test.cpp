#include "platform/printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <optional>

#include "core/failure.h"
#include "support/private_cups.h"
#include "support/qt_printers.h"

namespace mirudanto::platform {
namespace {

QStringList Listed() {
  QStringList names;
  for (const QString& name : InstalledPrinters()) names.append(name);
  return names;
}

class Printers : public testing::PrivateCupsTest {};

// CUPS compares names bytewise and case-blind, so the Japanese queue comes
// first and "archive_pdf" before "Office_PDF": any sorting of our own shows.
TEST_F(Printers, ListsTheQueuesInTheOrderCupsGivesWithoutTheirInstances) {
  WriteLpoptions("Dest Office_PDF/duplex sides=two-sided-long-edge\n");
  ASSERT_TRUE(LpstatDestinations().contains(QStringLiteral("Office_PDF/duplex")));

  EXPECT_EQ(Listed(), kQueues);
}

TEST_F(Printers, SettingTheDefaultMakesThatQueueTheUsersDefaultAndKeepsSavedOptions) {
  WriteLpoptions("Dest Office_PDF/duplex sides=two-sided-long-edge\n");
  EXPECT_EQ(DefaultPrinter(), QString());

  for (const QString& name : {kQueues[1], kQueues[0], kQueues[2]}) {
    SCOPED_TRACE(name.toStdString());
    SetDefaultPrinter(name);
    EXPECT_EQ(DefaultPrinter(), name);
    EXPECT_EQ(LpstatDefault(), name);
  }
  EXPECT_TRUE(LpstatDestinations().contains(QStringLiteral("Office_PDF/duplex")));
  EXPECT_EQ(Listed(), kQueues);
}

TEST_F(Printers, ANameCupsDoesNotKnowFailsAndKeepsTheDefault) {
  AddQueue(QStringLiteral("Removed_PDF"));
  WriteLpoptions("Dest Office_PDF/duplex sides=two-sided-long-edge\n");
  SetDefaultPrinter(kQueues[1]);
  RemoveQueue(QStringLiteral("Removed_PDF"));

  for (const QString& name : {QString(), QStringLiteral("Removed_PDF"),
                              QStringLiteral("No_Such_PDF"), QStringLiteral("Office_PDF/duplex")}) {
    SCOPED_TRACE(name.toStdString());
    try {
      SetDefaultPrinter(name);
      ADD_FAILURE() << "accepted";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Kind(), FailureKind::InvalidPrinterName);
      EXPECT_EQ(failure.Description(), QStringLiteral("プリンター名が無効です。"));
    }
    EXPECT_EQ(LpstatDefault(), kQueues[1]);
  }
}

TEST_F(Printers, ASettingThatCannotBeStoredFails) {
  // Where the settings file should be stands a folder: writing it fails.
  ASSERT_TRUE(QDir().mkpath(LpoptionsPath()));

  EXPECT_THROW(SetDefaultPrinter(kQueues[2]), Failure);
  EXPECT_EQ(LpstatDefault(), QString());
}

}  // namespace
}  // namespace mirudanto::platform
