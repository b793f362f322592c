#pragma once

namespace mirudanto::app {

// What a killed run, a power loss or a pulled medium left on both drives:
// an unfinished change is rolled back and its leftovers removed, where no
// other copy of the program holds the drive (that one, or the drive's next
// hold, does it then). A drive without its medium is passed by.
void RecoverFromKilledRun();

}  // namespace mirudanto::app
