#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QListWidget>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <map>

#include "app/main_menu.h"
#include "backup/company_files.h"
#include "backup/data_screen.h"
#include "core/company_record.h"
#include "core/cp932.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/file_transaction.h"
#include "platform/screen.h"
#include "support/faulty_file_system.h"
#include "support/screen_test.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

// A master record with texts the register could have written.
inline CompanyRecord SampleRecord(CompanyCode code, const QString& name) {
  CompanyRecord record;
  record.code = code;
  record.capital = 10000000;
  record.periodStart = {20, 4, 1};
  record.periodEnd = {21, 3, 31};
  record.nameKana = QStringLiteral("ミホン");
  record.name = name;
  record.taxPlace = QStringLiteral("東京都千代田区１－１");
  record.representativeKana = QStringLiteral("ヤマダ　タロウ");
  record.representativeAddress = QStringLiteral("東京都港区");
  record.businessType = QStringLiteral("卸売業");
  record.taxOffice = QStringLiteral("麹町");
  record.phone = QStringLiteral("03-1234-5678");
  record.settlementDate = {21, 5, 13};
  return record;
}

// The bytes of a data file of its own: its name and a version in cp932,
// repeated to about `size` bytes, so that a file copied to the wrong name,
// torn or re-encoded shows.
inline QByteArray Content(const QString& drivePath, const QString& version, int size = 200) {
  const QString name = drivePath.mid(drivePath.lastIndexOf(QChar('\\')) + 1);
  const QByteArray line =
      EncodeCp932(QChar('"') + name + QStringLiteral("　") + version + QStringLiteral("\"\r\n"))
          .value();
  QByteArray bytes;
  while (bytes.size() < size) bytes += line;
  return bytes;
}

// One company's files on one root: the master file, then the 36 statement
// files. Returns the bytes put, by path.
inline std::map<QString, QByteArray> PutCompany(const TempDrives& drives, CompanyCode code,
                                                const QString& name, const QString& version,
                                                const QString& root = kDataRoot,
                                                int size = 200) {
  std::map<QString, QByteArray> put;
  const QString master = CompanyMasterFile(code, root);
  put[master] = CompanyRecordWriter(SampleRecord(code, name)).Encode();
  for (const QString& path : backup::StatementFiles(code, root)) {
    put[path] = Content(path, version, size);
  }
  for (const auto& [path, bytes] : put) drives.Put(path, bytes);
  return put;
}

// Every file and folder under a drive's root, relative to it, sorted.
inline QStringList Tree(const QString& nativeRoot) {
  QStringList entries;
  QDirIterator it(nativeRoot, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) entries.append(QDir(nativeRoot).relativeFilePath(it.next()));
  entries.sort();
  return entries;
}

// A test of the data screen: the main menu (whose list the screen rebuilds)
// and the data screen, on a hard disk with its three folders.
class DataScreenTest : public ScreenTest {
 protected:
  DataScreenTest()
      : menu(platform::ScreenSet::Instance().Add<app::MainMenu>()),
        form21(platform::ScreenSet::Instance().Add<backup::DataScreen>()) {
    for (const QString& folder : {CompanyFolder(), ScheduleFolder(), StatementFolder()}) {
      drives.MakeFolder(folder);
    }
  }

  // Types a code and presses a button, as the user does.
  void Run(const char* button, const QString& code = QStringLiteral("7")) {
    form21.Write("Text6", code);
    form21.Press(button);
  }

  // A backup of company 7 over its older copy with the medium pulled out
  // between two renames into place, and gone when the first old content is
  // to be put back: the record and the old contents stay on the medium.
  void CutShortBackup() {
    FaultyFileSystem files;
    files.Fail(FileOperation::Rename, 20, FailureKind::DiskNotReady);
    files.Fail(FileOperation::Rename, 21, FailureKind::DiskNotReady);
    Run("Command1");
  }
  // Company 7 backed up as v1, then as v2 cut short.
  void LeaveInterruptedBackup() {
    PutCompany(drives, 7, "株式会社見本", "v1");
    Run("Command1");
    PutCompany(drives, 7, "株式会社見本", "v2");
    CutShortBackup();
    ASSERT_TRUE(drives.Exists(kFloppyDataRoot + QChar('\\') + platform::kRecordName));
  }

  bool BarShown() { return form21.IsControlVisible("ProgressBar1"); }
  int BarValue() { return form21.ControlAs<QProgressBar>("ProgressBar1").value(); }

  // The items of the main menu's company list.
  QStringList Listed() {
    QStringList items;
    auto& list = menu.ControlAs<QListWidget>("List1");
    for (int k = 0; k < list.count(); ++k) items.append(list.item(k)->text());
    return items;
  }

  app::MainMenu& menu;
  backup::DataScreen& form21;
};

}  // namespace mirudanto::testing
