#include "store/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace torvane {
namespace {

TEST(ParallelForTest, EveryIndexIsWorkedOnceInContiguousParts) {
    for (size_t count : {0u, 1u, 7u, 1000u, 100001u}) {
        for (size_t minPart : {0u, 1u, 64u, 1000000u}) {
            std::vector<std::atomic<int>> hits(count);
            std::atomic<int> badParts{0};
            ParallelFor(count, minPart, [&](size_t begin, size_t end) {
                if (begin >= end || end > count) ++badParts;
                for (size_t i = begin; i < end; ++i) ++hits[i];
            });
            EXPECT_EQ(0, badParts.load()) << count;
            for (size_t i = 0; i < count; ++i) ASSERT_EQ(1, hits[i].load()) << count << " " << i;
        }
    }
}

}  // namespace
}  // namespace torvane
