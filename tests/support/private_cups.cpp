#include "support/private_cups.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace mirudanto::testing {
namespace {

// Runs a CUPS client against the private scheduler, in the C locale so that
// its words can be read.
QString RunClient(const QString& program, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                  << " failed: " << process.readAllStandardError().toStdString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

const QStringList PrivateCupsTest::kQueues = {
    QStringLiteral("経理部PDF"), QStringLiteral("archive_pdf"), QStringLiteral("Office_PDF")};

void PrivateCupsTest::SetUp() {
  socket_ = qEnvironmentVariable("CUPS_SERVER");
  clientRoot_ = qEnvironmentVariable("CUPS_SERVERROOT");
  home_ = qEnvironmentVariable("HOME");
  const QFileInfo socket(socket_);
  const passwd* user = ::getpwuid(::getuid());
  const QString ownHome = user != nullptr
                              ? QFileInfo(QString::fromLocal8Bit(user->pw_dir)).canonicalFilePath()
                              : QString();
  // Only the layout scripts/private-cups makes counts as the private
  // scheduler, and libcups keeps the user's default under HOME, which must not
  // be the user's own.
  if (!socket.isAbsolute() || !socket.exists() || !QFileInfo(clientRoot_).isDir() ||
      QFileInfo(clientRoot_).canonicalFilePath() !=
          QFileInfo(socket.dir(), QStringLiteral("client")).canonicalFilePath() ||
      !QFileInfo(home_).isDir() || QFileInfo(home_).canonicalFilePath() == ownHome) {
    GTEST_SKIP() << "no private CUPS scheduler (CUPS_SERVER=\"" << socket_.toStdString()
                 << "\", CUPS_SERVERROOT=\"" << clientRoot_.toStdString() << "\", HOME=\""
                 << home_.toStdString() << "\"): run the tests through scripts/test";
  }
  const QByteArray lockPath = socket.dir().filePath(QStringLiteral("tests.lock")).toLocal8Bit();
  lock_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(lock_, 0) << "cannot open " << lockPath.constData();
  ASSERT_EQ(::flock(lock_, LOCK_EX), 0);
  ClearUserSettings();
}

void PrivateCupsTest::TearDown() {
  if (lock_ < 0) return;
  for (const QString& name : added_) {
    RunClient(QStringLiteral("lpadmin"),
              {QStringLiteral("-h"), socket_, QStringLiteral("-x"), name});
  }
  ClearUserSettings();
  ::close(lock_);
  lock_ = -1;
}

QString PrivateCupsTest::LpstatDefault() {
  const QString answer = RunClient(QStringLiteral("lpstat"), {QStringLiteral("-d")}).trimmed();
  const QString prefix = QStringLiteral("system default destination: ");
  if (answer.startsWith(prefix)) return answer.mid(prefix.size());
  EXPECT_EQ(answer, QStringLiteral("no system default destination"));
  return QString();
}

QStringList PrivateCupsTest::LpstatDestinations() {
  return RunClient(QStringLiteral("lpstat"), {QStringLiteral("-e")})
      .split('\n', Qt::SkipEmptyParts);
}

void PrivateCupsTest::AddQueue(const QString& name) {
  RunClient(QStringLiteral("lpadmin"),
            {QStringLiteral("-h"), socket_, QStringLiteral("-p"), name, QStringLiteral("-E"),
             QStringLiteral("-v"), QStringLiteral("file:///dev/null")});
  added_.append(name);
}

void PrivateCupsTest::AddQueue(const QString& name, const QString& model) {
  RunClient(QStringLiteral("lpadmin"),
            {QStringLiteral("-h"), socket_, QStringLiteral("-p"), name, QStringLiteral("-E"),
             QStringLiteral("-v"), QStringLiteral("file:///dev/null"), QStringLiteral("-m"), model});
  added_.append(name);
}

void PrivateCupsTest::RemoveQueue(const QString& name) {
  RunClient(QStringLiteral("lpadmin"), {QStringLiteral("-h"), socket_, QStringLiteral("-x"), name});
  added_.removeAll(name);
}

void PrivateCupsTest::RejectJobs(const QString& name) {
  RunClient(QStringLiteral("cupsreject"), {QStringLiteral("-h"), socket_, name});
}

QString PrivateCupsTest::SchedulerFolder() const { return QFileInfo(socket_).path(); }

QString PrivateCupsTest::LpoptionsPath() const {
  return QDir(home_).filePath(QStringLiteral(".cups/lpoptions"));
}

void PrivateCupsTest::WriteLpoptions(const QByteArray& text) const {
  QDir().mkpath(QFileInfo(LpoptionsPath()).path());
  QFile file(LpoptionsPath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

void PrivateCupsTest::ClearUserSettings() const {
  for (const QString& path :
       {LpoptionsPath(), QDir(clientRoot_).filePath(QStringLiteral("lpoptions"))}) {
    const QFileInfo options(path);
    if (options.isDir()) {
      QDir(path).removeRecursively();
    } else {
      QFile::remove(path);
    }
  }
}

}  // namespace mirudanto::testing
