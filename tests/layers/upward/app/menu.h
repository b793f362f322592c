#pragma once
#include "backup/screen.h"
