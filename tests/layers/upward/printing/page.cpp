#include <QString>
#include "../statements/grid.h"
#include "printing/page.h"
