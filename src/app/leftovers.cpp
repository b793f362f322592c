#include "app/leftovers.h"

#include "core/failure.h"
#include "core/statement_files.h"
#include "platform/files.h"

namespace mirudanto::app {

void RecoverFromKilledRun() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    const QStringList folders = DataFolders(root);
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
