#include "store/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
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

// The kept threads serve callers on several threads at once, calls made from inside a part
// (which must not wait for threads busy with the outer call), and a part that throws.
TEST(ParallelForTest, SeveralCallersNestedCallsAndFailures) {
    std::atomic<long> total{0};
    auto nested = [&total] {
        for (int round = 0; round < 200; ++round) {
            ParallelFor(8, 1, [&](size_t begin, size_t end) {
                for (size_t i = begin; i < end; ++i) {
                    ParallelFor(100, 1, [&](size_t b, size_t e) { total += static_cast<long>(e - b); });
                }
            });
        }
    };
    std::vector<std::thread> callers;
    for (int t = 0; t < 3; ++t) callers.emplace_back(nested);
    for (std::thread& caller : callers) caller.join();
    EXPECT_EQ(3L * 200 * 8 * 100, total.load());

    std::atomic<int> after{0};
    EXPECT_THROW(ParallelFor(1000, 1,
                             [&](size_t begin, size_t) {
                                 if (begin == 0) throw std::runtime_error("part");
                                 ++after;
                             }),
                 std::runtime_error);
    ParallelFor(1000, 1, [&](size_t, size_t) { ++after; });  // the threads still serve
    EXPECT_LT(0, after.load());
}

}  // namespace
}  // namespace torvane
