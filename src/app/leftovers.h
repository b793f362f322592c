#pragma once

namespace mirudanto::app {

// What a killed run, a power loss or a pulled medium left in the data folders
// of both drives: first every interrupted change is finished from its commit
// record, so each file set is wholly from one save or copy, and only then are
// the temporary files that never became data removed. A drive whose changes
// cannot be finished keeps its leftovers for a later start; a drive without
// a medium is passed by.
void RecoverFromKilledRun();

}  // namespace mirudanto::app
