#pragma once

#include <QString>
#include <vector>

namespace mirudanto::platform {

// The installed printers are the print system's queues; the default printer
// is the user's default destination, the one every program prints to when it
// names none.

// The queues' names in the order the print system lists them; a queue's saved
// variants (instances) are not printers of their own and are left out.
std::vector<QString> InstalledPrinters();

// The default printer's queue name; empty when none is set.
QString DefaultPrinter();

// Makes the named queue the default printer for every later print and every
// program of the user. Fails when no queue has that name (for instance one
// removed since it was listed) or when the setting cannot be stored.
void SetDefaultPrinter(const QString& name);

}  // namespace mirudanto::platform
