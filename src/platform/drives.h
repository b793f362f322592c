#pragma once

#include <QString>

namespace mirudanto::platform {

// The program composes every path in drive form ("c:\法人税\ミルダ\①7.txt");
// this is the one place where such a path becomes a path on this machine.
//   c:\  is  $XDG_DATA_HOME/mirudanto/c  (the hard disk)
//   a:\  is  $XDG_DATA_HOME/mirudanto/a  (a folder, or a link to a mounted medium)
class Drives {
 public:
  // Points both drives at the user's data folder.
  static void UseDefaultRoots();
  // Points a drive at a folder of this machine (tests use temporary folders).
  static void SetRoot(QChar letter, const QString& folder);
  static QString Root(QChar letter);

  // Creates the hard disk's folder, and nothing below it.
  static void EnsureHardDisk();

  // The path on this machine; fails with "disk not ready" when the path's
  // drive is unknown or is the removable drive and its medium is missing.
  static QString Translate(const QString& drivePath);
};

}  // namespace mirudanto::platform
