#include <gtest/gtest.h>

#include "core/amount.h"

TEST(Smoke, Builds) { EXPECT_EQ(mirudanto::FormatAmount(1000), QStringLiteral("1,000")); }
