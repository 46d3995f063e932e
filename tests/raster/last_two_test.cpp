// The cache behind the rubber band's kept outlines and strips: the value used longer ago
// makes room, the other stays valid.
#include "raster/last_two.h"

#include <gtest/gtest.h>
#include <string>

using raster::LastTwo;

TEST(LastTwo, KeepsBothValuesInUseAndWorksOutOnlyWhatIsMissing) {
    LastTwo<int, std::string> kept;
    int computed = 0;
    auto valueOf = [&](int key) -> std::string& {
        return kept.get(key, [&](std::string& value) {
            ++computed;
            value = "value " + std::to_string(key);
        });
    };
    // A band dragged from 1 to 2 to 3: each move asks for the old value, then the new one.
    std::string& one = valueOf(1);
    std::string& two = valueOf(2);
    EXPECT_EQ(one, "value 1");
    EXPECT_EQ(two, "value 2");
    EXPECT_EQ(&valueOf(2), &two);
    std::string& three = valueOf(3); // 1 was used longer ago than 2
    EXPECT_EQ(two, "value 2");
    EXPECT_EQ(three, "value 3");
    EXPECT_EQ(computed, 3);

    valueOf(2);
    valueOf(1); // 3 makes room this time
    EXPECT_EQ(two, "value 2");
    EXPECT_EQ(computed, 4);
    EXPECT_EQ(valueOf(2), "value 2");
    EXPECT_EQ(computed, 4);
}
