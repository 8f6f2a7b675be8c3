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

// The kept threads serve callers on several threads at once, and calls made from inside a part,
// which must not wait for threads busy with the outer call.
TEST(ParallelForTest, SeveralCallersAndNestedCalls) {
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
}

// The parts after a failing one are still done, and the failure reaches the caller after them.
TEST(ParallelForTest, AFailingPartIsThrownOnceEveryPartIsDone) {
    std::vector<std::atomic<int>> hits(10000);
    const auto work = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) ++hits[i];
        if (begin == 0) throw std::runtime_error("first part");
    };
    EXPECT_THROW(ParallelFor(hits.size(), 1, work), std::runtime_error);
    for (size_t i = 0; i < hits.size(); ++i) ASSERT_EQ(1, hits[i].load()) << i;
}

}  // namespace
}  // namespace torvane
