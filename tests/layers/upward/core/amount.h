#pragma once
  #  include "core/amount.h"
#include "platform/fonts.h"
