#include "store/random.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/core/fixed_clock.h"

namespace torvane {
namespace {

TEST(RandomTest, SequenceFromStateZero) {
    SetRandomState(0);
    std::vector<uint32_t> drawn;
    for (int i = 0; i < 10; ++i) drawn.push_back(RandomBelow(100));
    EXPECT_EQ((std::vector<uint32_t>{0, 3, 86, 20, 27, 67, 31, 16, 37, 42}), drawn);
    EXPECT_EQ(1828254910u, RandomState());
}

TEST(RandomTest, StepsTheStateBeforeScalingIt) {
    SetRandomState(0);
    EXPECT_EQ(0u, RandomBelow(0xFFFFFFFFu));  // state 1
    EXPECT_EQ(0x08088405u, RandomBelow(0xFFFFFFFFu));
    EXPECT_EQ(0xDC6DAC1Eu, RandomBelow(0xFFFFFFFFu));
    const uint32_t before = RandomState();
    EXPECT_EQ(0u, RandomBelow(0));
    EXPECT_EQ(before * 134775813u + 1u, RandomState());
}

TEST(RandomTest, SeedIsTheUtcTimeOfDayInMilliseconds) {
    {
        FixedClock clock(0, TimeOfDay{5, 6, 7, 8}, TimeOfDay{1, 2, 3, 4});
        SeedRandom();
        EXPECT_EQ(3723004u, RandomState());
    }
    FixedClock clock(0, TimeOfDay{}, TimeOfDay{23, 59, 59, 999});
    SeedRandom();
    EXPECT_EQ(86399999u, RandomState());
}

}  // namespace
}  // namespace torvane
