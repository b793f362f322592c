#include "app/leftovers.h"

#include "core/statement_files.h"
#include "platform/file_transaction.h"

namespace mirudanto::app {

void RecoverFromKilledRun() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) platform::DriveLock::RecoverIfFree(root);
}

}  // namespace mirudanto::app
