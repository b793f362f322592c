#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

#include "platform/file_transaction.h"
#include "support/temp_drives.h"

namespace mirudanto::testing {

// Every file of both drives by its drive-form path ("c:\法人税\..."), with its
// bytes. The drives' lock files are no data and are left out; folders too,
// since a folder once made is kept whatever the change it was made for.
using DriveFiles = std::map<QString, QByteArray>;

namespace drive_state_detail {

inline const QString kDriveNames[] = {QStringLiteral("c:"), QStringLiteral("a:")};

inline QString NativeRoot(const TempDrives& drives, const QString& drive) {
  return drive == QStringLiteral("c:") ? drives.HardDisk() : drives.Floppy();
}

// Calls `each(drive-form path, info)` for everything under both drives.
template <class Each>
void Walk(const TempDrives& drives, Each each) {
  for (const QString& drive : kDriveNames) {
    const QString root = NativeRoot(drives, drive);
    if (!QFileInfo(root).isDir()) continue;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      QString path = drive + QChar('\\') + QDir(root).relativeFilePath(it.filePath());
      path.replace(QChar('/'), QChar('\\'));
      each(path, it.fileInfo());
    }
  }
}

inline QString NameOf(const QString& path) { return path.mid(path.lastIndexOf(QChar('\\')) + 1); }

}  // namespace drive_state_detail

// What both drives hold, folders included, to be put back before each run.
struct DriveState {
  std::set<QString> folders;
  DriveFiles files;

  static DriveState Of(const TempDrives& drives) {
    DriveState state;
    drive_state_detail::Walk(drives, [&](const QString& path, const QFileInfo& info) {
      if (info.isDir()) {
        state.folders.insert(path);
      } else if (drive_state_detail::NameOf(path) != platform::kLockName) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) state.files[path] = file.readAll();
      }
    });
    return state;
  }

  // Puts the drives back as they were from the state they are in now,
  // touching only what differs: each run's start is then cheap.
  void PutBack(const TempDrives& drives, const DriveState& now) const {
    for (const auto& [path, bytes] : now.files) {
      const auto kept = files.find(path);
      if (kept == files.end() || kept->second != bytes) QFile::remove(drives.Native(path));
    }
    for (auto folder = now.folders.rbegin(); folder != now.folders.rend(); ++folder) {
      if (folders.count(*folder) == 0) QDir(drives.Native(*folder)).removeRecursively();
    }
    for (const QString& folder : folders) {
      if (now.folders.count(folder) == 0) QDir().mkpath(drives.Native(folder));
    }
    for (const auto& [path, bytes] : files) {
      const auto found = now.files.find(path);
      if (found != now.files.end() && found->second == bytes) continue;
      QFile file(drives.Native(path));
      if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "cannot put back " << path.toStdString();
      }
    }
  }
};

// A hash of a state that is the sum of one for each folder and file, so that
// a state that differs from another in a few files is hashed from those few.
inline std::size_t HashOfFolder(const QString& folder) { return qHash(folder, 0x9e3779b9u); }
inline std::size_t HashOfFile(const QString& path, const QByteArray& bytes) {
  return qHashMulti(0x85ebca6bu, path, bytes) * 0x9e3779b97f4a7c15ull;
}
inline std::size_t HashOf(const DriveState& state) {
  std::size_t hash = 0;
  for (const QString& folder : state.folders) hash += HashOfFolder(folder);
  for (const auto& [path, bytes] : state.files) hash += HashOfFile(path, bytes);
  return hash;
}

// Each path where the files found differ from those before or after, with
// which of them it matches: enough to tell a torn change from a wrong one.
inline std::string Difference(const DriveFiles& now, const DriveFiles& before,
                              const DriveFiles& after) {
  std::set<QString> paths;
  for (const DriveFiles* files : {&now, &before, &after}) {
    for (const auto& [path, bytes] : *files) paths.insert(path);
  }
  const auto at = [](const DriveFiles& files, const QString& path) -> const QByteArray* {
    const auto found = files.find(path);
    return found == files.end() ? nullptr : &found->second;
  };
  const auto same = [](const QByteArray* a, const QByteArray* b) {
    return a == nullptr ? b == nullptr : b != nullptr && *a == *b;
  };
  std::string out;
  for (const QString& path : paths) {
    const QByteArray* is = at(now, path);
    const QByteArray* was = at(before, path);
    const QByteArray* will = at(after, path);
    if (same(was, will) && same(is, was)) continue;
    QString state;
    if (same(is, was) && same(is, will)) {
      state = QStringLiteral("as before and after");
    } else if (same(is, was)) {
      state = is ? QStringLiteral("as before") : QStringLiteral("missing, as before");
    } else if (same(is, will)) {
      state = is ? QStringLiteral("as after") : QStringLiteral("missing, as after");
    } else if (is == nullptr) {
      state = QStringLiteral("missing, neither before nor after");
    } else {
      state = QStringLiteral("%1 bytes, neither before nor after").arg(is->size());
    }
    out += "\n  " + (path + QStringLiteral(": ") + state).toStdString();
  }
  return out;
}

}  // namespace mirudanto::testing
