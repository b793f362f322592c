#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <map>

#include "core/failure.h"

namespace mirudanto::platform {
namespace {

std::map<char16_t, QString>& Roots() {
  static std::map<char16_t, QString> roots;
  return roots;
}

}  // namespace

void Drives::UseDefaultRoots() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/mirudanto");
  SetRoot(QChar('c'), base + QStringLiteral("/c"));
  SetRoot(QChar('a'), base + QStringLiteral("/a"));
}

void Drives::SetRoot(QChar letter, const QString& folder) {
  Roots()[letter.toLower().unicode()] = QDir::cleanPath(folder);
}

QString Drives::Root(QChar letter) {
  const auto found = Roots().find(letter.toLower().unicode());
  return found == Roots().end() ? QString() : found->second;
}

void Drives::EnsureHardDisk() {
  const QString root = Root(QChar('c'));
  if (!root.isEmpty()) QDir().mkpath(root);
}

QString Drives::Translate(const QString& drivePath) {
  if (drivePath.size() < 2 || drivePath[1] != QChar(':')) throw Failure(FailureKind::PathNotFound);
  const QChar letter = drivePath[0].toLower();
  const QString root = Root(letter);
  if (root.isEmpty()) throw Failure(FailureKind::DiskNotReady);
  // A removable medium that is not there: a missing folder, or a link whose
  // mount point has gone. Nothing may be created in its place.
  if (letter == QChar('a') && !QFileInfo(root).isDir()) throw Failure(FailureKind::DiskNotReady);

  QString rest = drivePath.mid(2);
  rest.replace(QChar('\\'), QChar('/'));
  const QStringList parts = rest.split(QChar('/'), Qt::SkipEmptyParts);
  QString native = root;
  for (const QString& part : parts) {
    if (part == QStringLiteral(".") || part == QStringLiteral("..")) {
      throw Failure(FailureKind::PathNotFound);
    }
    native += QChar('/') + part;
  }
  return native;
}

}  // namespace mirudanto::platform
