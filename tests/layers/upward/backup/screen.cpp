#include "app/menu.h"
#include "platform/screen.h"
