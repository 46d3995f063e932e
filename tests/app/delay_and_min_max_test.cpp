#include "app/delay_and_min_max.h"

#include <gtest/gtest.h>

TEST(Delay, WaitsUntilTheTickCountReachesTheTarget) {
    std::uint32_t now = 1000;
    int reads = 0;
    Delay(50, [&] {
        ++reads;
        return now += 10;
    });
    EXPECT_GE(now, 1060u);
    EXPECT_EQ(reads, 6); // the start, then one read per pass until 1060 >= 1060
}

TEST(Delay, ATargetThatWrapsEndsAfterOnePass) {
    std::uint32_t now = 0xFFFFFFF0u;
    int reads = 0;
    Delay(50, [&] {
        ++reads;
        return now++;
    });
    EXPECT_EQ(reads, 2); // target wrapped to 0x22, below every tick read after it
}

TEST(Delay, ProcessesMessagesAtLeastOnceForAZeroWait) {
    int reads = 0;
    Delay(0, [&] {
        ++reads;
        return 7u;
    });
    EXPECT_EQ(reads, 2);
}

TEST(MinMaxSign, SignGivesMinusOneZeroOrOne) {
    EXPECT_EQ(Sign(-0.5), -1);
    EXPECT_EQ(Sign(0.0), 0);
    EXPECT_EQ(Sign(3.0), 1);
    EXPECT_EQ(Min(-3, 2), -3);
    EXPECT_EQ(Max(-3, 2), 2);
}
