#include "platform/value_files.h"

#include <gtest/gtest.h>

#include <QDir>

#include "core/failure.h"
#include "support/failure_of.h"
#include "support/qt_printers.h"
#include "support/temp_drives.h"

namespace mirudanto::platform {
namespace {

using testing::FailureOf;
using testing::TempDrives;

TEST(ValueFile, SaveThenOpenGivesTheValuesBack) {
  TempDrives drives;
  drives.MakeFolder(QStringLiteral("c:\\法人税\\ミルダ"));
  const QString path = QStringLiteral("c:\\法人税\\ミルダ\\①7.txt");

  ValueWriter writer;
  writer.WriteText(QStringLiteral("普通預金")).WriteNumber(-1234567).WriteText(QString());
  SaveValueFile(path, writer);
  EXPECT_EQ(drives.Get(path), writer.Encode());

  ValueReader reader = OpenValueFile(path);
  EXPECT_EQ(reader.ReadText(), QStringLiteral("普通預金"));
  EXPECT_EQ(reader.ReadInt32(), -1234567);
  EXPECT_EQ(reader.ReadText(), QString());
  EXPECT_EQ(reader.Remaining(), 0);
}

TEST(ValueFile, AnUnstorableTextLeavesTheOldFileAsItWas) {
  TempDrives drives;
  const QString path = QStringLiteral("c:\\法人税\\ミルダ\\①7.txt");
  const QByteArray old("\"old\"\r\n1\r\n");
  drives.Put(path, old);

  ValueWriter writer;
  writer.WriteText(QStringLiteral("fine")).WriteNumber(2).WriteText(QStringLiteral("€"));
  const std::optional<Failure> failure = FailureOf([&] { SaveValueFile(path, writer); });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Kind(), FailureKind::UnstorableText);
  EXPECT_EQ(drives.Get(path), old);
  // Not even a temporary file was begun.
  EXPECT_EQ(QDir(drives.Native(QStringLiteral("c:\\法人税\\ミルダ")))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("①7.txt")});
}

}  // namespace
}  // namespace mirudanto::platform
