#include "app/leftovers.h"

#include "core/statement_files.h"
#include "platform/files.h"

namespace mirudanto::app {

void RemoveSaveLeftovers() {
  for (const QString& root : {kDataRoot, kFloppyDataRoot}) {
    for (const QString& folder :
         {root, CompanyFolder(root), ScheduleFolder(root), StatementFolder(root)}) {
      platform::RemoveTemporaryFiles(folder);
    }
  }
}

}  // namespace mirudanto::app
