#pragma once

namespace mirudanto::app {

// Removes what saves cut short by a killed program left in the data folders
// of both drives: temporary files that never became data. A drive without a
// medium is passed by.
void RemoveSaveLeftovers();

}  // namespace mirudanto::app
