// Backs one company up to the removable drive again and again until it is
// killed: the kill -9 test's child. Arguments: the removable drive's folder,
// the company code, then two or more hard-disk folders, taken in turn, each
// holding a version of the company. Writes "ready" once the drives are set,
// before the first backup.
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "backup/company_copies.h"
#include "core/failure.h"
#include "platform/drives.h"

int main(int argc, char** argv) {
  using namespace mirudanto;
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s FLOPPY CODE HARDDISK HARDDISK...\n", argv[0]);
    return 2;
  }
  platform::Drives::SetRoot(QChar('a'), QString::fromLocal8Bit(argv[1]));
  const CompanyCode code = std::atoi(argv[2]);
  const int disks = argc - 3;
  if (::write(STDOUT_FILENO, "ready\n", 6) != 6) return 2;
  for (long round = 0;; ++round) {
    platform::Drives::SetRoot(QChar('c'), QString::fromLocal8Bit(argv[3 + round % disks]));
    try {
      backup::PrepareBackupToFloppy(code).Write();
    } catch (const Failure& failure) {
      std::fprintf(stderr, "backup failed: %s\n", failure.what());
      return 1;
    }
  }
}
