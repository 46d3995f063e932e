#include "surface/nearest.h"

#include <gtest/gtest.h>

TEST(Nearest, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(nearest(0.5), 0);
    EXPECT_EQ(nearest(1.5), 2);
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(-2.5), -2);
    EXPECT_EQ(nearest(2.6), 3);
    // Sizes derived from the pen width: 24 x 3 / 13 + 3 = 8.54 -> 9; 24 x 21 / 13 = 38.8 -> 39.
    EXPECT_EQ(nearest(24.0 * 3 / 13) + 3, 9);
    EXPECT_EQ(nearest(24.0 * 21 / 13), 39);
}
