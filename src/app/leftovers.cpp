#include "app/leftovers.h"

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/files.h"

namespace mirudanto::app {

void RecoverFromKilledRun() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    const QString drive = root.left(2);
    const QStringList folders{drive, root, CompanyFolder(root), ScheduleFolder(root),
                              StatementFolder(root)};
    try {
      for (const QString& folder : folders) platform::FinishInterruptedChanges(folder);
    } catch (const Failure&) {
      // The old contents a record still needs are among the leftovers.
      continue;
    }
    for (const QString& folder : folders) platform::RemoveTemporaryFiles(folder);
  }
}

}  // namespace mirudanto::app
