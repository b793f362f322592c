#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "app/screens.h"
#include "core/company_record.h"
#include "core/sequential_value_file.h"
#include "core/statement_files.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/screen.h"
#include "platform/value_files.h"
#include "printing/print_data_set.h"

namespace mirudanto::bench {

// A desktop that never shows anything, so that no box can stop a benchmark.
class SilentDesktop : public platform::Desktop {
 public:
  SilentDesktop() { platform::InstallDesktop(this); }
  ~SilentDesktop() override { platform::InstallDesktop(nullptr); }
  void Beep() override {}
  int ShowMessageBox(const platform::MessageBoxRequest&) override {
    ++boxes;
    return 0;
  }
  void EndProgram() override {}
  int boxes = 0;
};

// What the program's event loop does once an operation has returned, before
// the user's next press: the events posted meanwhile and the window system's
// (showing, activating, painting), and the deletion of the windows unloaded.
// A benchmark that skips it lets them pile up, and its figure grows with its
// iterations.
inline void RunPendingWork() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Posted outside any event loop, the deletions wait for this explicit call.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The hard disk in a temporary folder.
class ScratchDisk {
 public:
  ScratchDisk() { platform::Drives::SetRoot(QChar('c'), dir_.path()); }
  ~ScratchDisk() { platform::Drives::SetRoot(QChar('c'), QString()); }

 private:
  QTemporaryDir dir_;
};

// The master record of company `code` among many registered ones.
inline CompanyRecord ManyCompaniesRecord(CompanyCode code) {
  CompanyRecord record;
  record.code = code;
  record.name = QStringLiteral("株式会社見本%1").arg(code);
  record.nameKana = QStringLiteral("カブシキガイシャミホン");
  record.periodStart = {20, 4, 1};
  record.periodEnd = {21, 3, 31};
  return record;
}

// A folder of this machine that holds a hard disk of companies 1 to `count`,
// each set up as "会社呼出" leaves a new company: its master file and every
// statement file of its set-up. Company 1 is set up by the program itself;
// the others are copies of its files under their own codes, written straight
// into the folders with no flushing, so that 999 companies (some 37,000
// files) take a second or two rather than minutes of saves.
class SetUpCompaniesFolder {
 public:
  explicit SetUpCompaniesFolder(int count) {
    platform::Drives::SetRoot(QChar('c'), dir_.path());
    SetUpFirstCompany();
    const QString companies = platform::Drives::Translate(CompanyFolder());
    const QString statements = platform::Drives::Translate(StatementFolder());
    const QString firstSuffix = CodeText(1) + QStringLiteral(".txt");
    const QDir::Filters files = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString& name : QDir(statements).entryList(files)) {
      if (!name.endsWith(firstSuffix) || name.startsWith(QChar('.'))) {
        error_ = "the set-up left a file that is no statement file of company 1: " +
                 name.toStdString();
      }
      QFile file(statements + QChar('/') + name);
      if (!file.open(QIODevice::ReadOnly)) error_ = "cannot read " + name.toStdString();
      firstFiles_.push_back({statements + QChar('/') + name, file.readAll()});
      prefixes_.push_back(name.chopped(firstSuffix.size()));
    }
    firstFiles_.push_back({platform::Drives::Translate(CompanyMasterFile(1)),
                           CompanyRecordWriter(ManyCompaniesRecord(1)).Encode()});
    if (prefixes_.size() < StatementFileSet().size()) {
      error_ = "the set-up left fewer statement files than a company's set";
    }

    for (CompanyCode code = 2; code <= count && error_.empty(); ++code) {
      const QString suffix = CodeText(code) + QStringLiteral(".txt");
      Put(companies + QChar('/') + suffix,
          CompanyRecordWriter(ManyCompaniesRecord(code)).Encode());
      for (std::size_t k = 0; k < prefixes_.size(); ++k) {
        Put(statements + QChar('/') + prefixes_[k] + suffix, firstFiles_[k].second);
      }
    }
    statementFiles_ = static_cast<int>(QDir(statements).entryList(files).size());
    platform::Drives::SetRoot(QChar('c'), QString());
  }

  QString Path() const { return dir_.path(); }
  // Empty when the disk is as described.
  const std::string& Error() const { return error_; }
  int StatementFiles() const { return statementFiles_; }

  // Company 1's files as the set-up left them, whatever an earlier benchmark
  // saved into them.
  void ResetFirstCompany() {
    for (const auto& [path, bytes] : firstFiles_) {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
          file.write(bytes) != bytes.size()) {
        error_ = "cannot rewrite " + path.toStdString();
      }
    }
  }

 private:
  void SetUpFirstCompany() {
    SilentDesktop desktop;
    platform::CreateFolder(kDataRoot);
    platform::CreateFolder(CompanyFolder());
    platform::SaveValueFile(CompanyMasterFile(1), CompanyRecordWriter(ManyCompaniesRecord(1)));
    app::RegisterScreens();
    platform::Screen& menu = platform::ScreenNamed(QStringLiteral("Form1"));
    menu.Load();
    menu.Write(QStringLiteral("Text1"), CodeText(1));
    menu.Press(QStringLiteral("Command2"));
    platform::ScreenSet::Instance().Clear();
    RunPendingWork();
    if (desktop.boxes != 0) error_ = "the set-up of company 1 showed a message box";
  }

  void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(bytes) != bytes.size()) {
      error_ = "cannot write " + path.toStdString();
    }
  }

  QTemporaryDir dir_;
  // Company 1's files with their paths on this machine, the statement files
  // first, in the order of `prefixes_`, and the master file last.
  std::vector<std::pair<QString, QByteArray>> firstFiles_;
  // Each statement file's name before its code.
  std::vector<QString> prefixes_;
  int statementFiles_ = 0;
  std::string error_;
};

// The hard disk of companies 1 to `count` set up (SetUpCompaniesFolder),
// company 1 as its set-up left it. The folder is made by the first benchmark
// that asks for that count and kept for the rest of the run: its runs and
// repetitions, and the other benchmarks of the same count, find it ready.
// Skips the benchmark when the folder could not be made as described.
class SetUpCompaniesDisk {
 public:
  SetUpCompaniesDisk(benchmark::State& state, int count) : folder_(Shared(count)) {
    folder_.ResetFirstCompany();
    platform::Drives::SetRoot(QChar('c'), folder_.Path());
    if (!folder_.Error().empty()) state.SkipWithError(folder_.Error().c_str());
    state.counters["companies"] = count;
    state.counters["statement_files"] = folder_.StatementFiles();
  }
  ~SetUpCompaniesDisk() { platform::Drives::SetRoot(QChar('c'), QString()); }
  SetUpCompaniesDisk(const SetUpCompaniesDisk&) = delete;
  SetUpCompaniesDisk& operator=(const SetUpCompaniesDisk&) = delete;

  bool Ready() const { return folder_.Error().empty(); }

 private:
  static SetUpCompaniesFolder& Shared(int count) {
    static std::map<int, std::unique_ptr<SetUpCompaniesFolder>> folders;
    std::unique_ptr<SetUpCompaniesFolder>& folder = folders[count];
    if (folder == nullptr) folder = std::make_unique<SetUpCompaniesFolder>(count);
    return *folder;
  }

  SetUpCompaniesFolder& folder_;
};

// A company's 36 print files with full rows: long texts, seven-digit amounts
// (so that every statement needs printing).
inline void WriteFullPrintCompany(CompanyCode code) {
  for (const StatementFile& file : PrintDataSetOrder()) {
    ValueWriter values;
    for (int n = 1; n <= printing::ValueCount(file); ++n) {
      if (file.role == FileRole::Amounts) {
        values.WriteNumber(1234567 + n);
      } else if (file.mark == StatementMark::Inventories && n <= 6) {
        values.WriteNumber(n <= 3 ? 13 : 0);
      } else {
        values.WriteText(QStringLiteral("株式会社見本商事　東京支店"));
      }
    }
    platform::SaveValueFile(PathOf(file, code), values);
  }
}

// A scratch hard disk that holds company 7's full print files.
class FullPrintCompanyDisk {
 public:
  FullPrintCompanyDisk() {
    platform::CreateFolder(kDataRoot);
    platform::CreateFolder(StatementFolder());
    WriteFullPrintCompany(7);
  }

 private:
  ScratchDisk disk_;
};

// True only under scripts/bench's own scheduler (scripts/private-cups), as the
// tests require: no benchmark prints to the machine's printers.
inline bool PrivateScheduler() {
  const QFileInfo socket(qEnvironmentVariable("CUPS_SERVER"));
  const QString clientRoot = qEnvironmentVariable("CUPS_SERVERROOT");
  return socket.isAbsolute() && socket.exists() && !clientRoot.isEmpty() &&
         QFileInfo(clientRoot).canonicalFilePath() ==
             QFileInfo(socket.dir(), QStringLiteral("client")).canonicalFilePath();
}

// Makes a queue of the private scheduler the default printer; skips the
// benchmark (false) anywhere else.
inline bool UsePrivateQueue(benchmark::State& state) {
  if (!PrivateScheduler()) {
    state.SkipWithError("no private CUPS scheduler: run through scripts/bench");
    return false;
  }
  if (platform::DefaultPrinter().isEmpty()) {
    const std::vector<QString> queues = platform::InstalledPrinters();
    if (queues.empty()) {
      state.SkipWithError("the private scheduler has no queue");
      return false;
    }
    platform::SetDefaultPrinter(queues.front());
  }
  return true;
}

}  // namespace mirudanto::bench
