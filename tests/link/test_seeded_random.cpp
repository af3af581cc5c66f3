// The seedable generator of the filler and the header's random bytes.
#include "link/SeededRandom.h"

#include <gtest/gtest.h>

namespace {

TEST(SeededRandom, ClassicSequenceForSeedOne)
{
    // The classic C-library generator seeded with 1.
    SeededRandom random(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
    EXPECT_EQ(random.Next(), 19169);
}

TEST(SeededRandom, SameSeedSameSequence)
{
    for (std::uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
        SeededRandom a(seed);
        SeededRandom b(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(a.Next(), b.Next());
    }
}

TEST(SeededRandom, RangeIs0To32767)
{
    SeededRandom random(987654321u);
    int low = 32767, high = 0;
    for (int i = 0; i < 200000; ++i) {
        const int v = random.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);
}

TEST(SeededRandom, DifferentSeedsDiffer)
{
    SeededRandom a(1000);
    SeededRandom b(1001);
    EXPECT_NE(a.Next(), b.Next());
}

} // namespace
