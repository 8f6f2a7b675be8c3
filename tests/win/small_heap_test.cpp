#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "win/small_heap_win.h"

namespace torvane::win {
namespace {

// Blocks of every size class and around its edges are aligned as operator new promises, hold
// their whole size without touching a neighbour, and come back for reuse once freed; large
// blocks go elsewhere.
TEST(SmallHeapTest, BlocksOfEverySizeAreAlignedAndKeepTheirBytes) {
    struct Case {
        size_t size;
        bool pooled;
    };
    const Case cases[] = {{0, true}, {1, true}, {15, true}, {16, true}, {17, true}, {255, true},
                          {511, true}, {512, true}, {513, false}, {100000, false}, {300000, false}};
    for (const Case& c : cases) {
        std::vector<unsigned char*> blocks;
        for (int i = 0; i < 300; ++i) {
            auto* block = static_cast<unsigned char*>(::operator new(c.size));
            ASSERT_EQ(0u, reinterpret_cast<uintptr_t>(block) % 16) << c.size;
            EXPECT_EQ(c.pooled, SmallHeapOwns(block)) << c.size;
            std::memset(block, i & 0xFF, c.size);
            blocks.push_back(block);
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            for (size_t k = 0; k < c.size; ++k) ASSERT_EQ(i & 0xFF, blocks[i][k]) << c.size;
        }
        unsigned char* last = blocks.back();
        ::operator delete(last);
        blocks.pop_back();
        if (c.pooled) {
            unsigned char* again = static_cast<unsigned char*>(::operator new(c.size));
            EXPECT_EQ(last, again) << c.size;
            blocks.push_back(again);
        }
        for (unsigned char* block : blocks) ::operator delete(block);
    }
}

// Freed large blocks serve the next ones of their size, and those given back to the system
// beyond what is kept come back writable.
TEST(SmallHeapTest, FreedLargeBlocksAreReusedAndStayWritable) {
    constexpr size_t kSize = 8 << 20;
    constexpr int kBlocks = 40;  // more than the bytes kept free
    std::vector<unsigned char*> first;
    for (int round = 0; round < 2; ++round) {
        std::vector<unsigned char*> blocks;
        for (int i = 0; i < kBlocks; ++i) {
            auto* block = static_cast<unsigned char*>(::operator new(kSize - 100));
            ASSERT_EQ(0u, reinterpret_cast<uintptr_t>(block) % 16);
            block[0] = static_cast<unsigned char>(i);
            block[kSize - 101] = static_cast<unsigned char>(i + round);
            blocks.push_back(block);
        }
        for (int i = 0; i < kBlocks; ++i) {
            ASSERT_EQ(i, blocks[i][0]);
            ASSERT_EQ(i + round, blocks[i][kSize - 101]);
        }
        if (round == 0) {
            first = blocks;
        } else {
            std::sort(first.begin(), first.end());
            std::sort(blocks.begin(), blocks.end());
            EXPECT_EQ(first, blocks);
        }
        for (unsigned char* block : blocks) ::operator delete(block);
    }
}

// Blocks freed all together, in any order, are cut again one after another: a list cleared and
// loaded again keeps its texts as close together as the first load did. Blocks freed here and
// there are handed out again without touching those still in use.
TEST(SmallHeapTest, FreedSpansAreCutAgainInOrder) {
    constexpr size_t kSize = 432;  // a size nothing else here takes, so no other block shares its spans
    constexpr int kBlocks = 5000;  // several spans
    auto allocate = [](std::vector<unsigned char*>& into, int n) {
        for (int i = 0; i < n; ++i) into.push_back(static_cast<unsigned char*>(::operator new(kSize)));
    };
    std::vector<unsigned char*> blocks;
    allocate(blocks, kBlocks);
    std::vector<unsigned char*> shuffled = blocks;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (unsigned char* block : shuffled) ::operator delete(block);
    blocks.clear();
    allocate(blocks, kBlocks);
    int inStep = 0;
    for (int i = 1; i < kBlocks; ++i) inStep += blocks[i] - blocks[i - 1] == static_cast<std::ptrdiff_t>(kSize);
    EXPECT_GT(inStep, kBlocks * 9 / 10);

    for (size_t i = 0; i < blocks.size(); ++i) std::memset(blocks[i], static_cast<int>(i & 0xFF), kSize);
    for (size_t i = 1; i < blocks.size(); i += 2) ::operator delete(blocks[i]);
    std::vector<unsigned char*> again;
    allocate(again, kBlocks / 2);
    for (unsigned char* block : again) std::memset(block, 0xEE, kSize);
    for (size_t i = 0; i < blocks.size(); i += 2) {
        for (size_t k = 0; k < kSize; ++k) ASSERT_EQ(i & 0xFF, blocks[i][k]);
    }
    std::sort(again.begin(), again.end());
    EXPECT_EQ(again.end(), std::adjacent_find(again.begin(), again.end()));
    for (size_t i = 0; i < blocks.size(); i += 2) ::operator delete(blocks[i]);
    for (unsigned char* block : again) ::operator delete(block);
}

// Threads that allocate, and free what others allocated, never get one block twice.
TEST(SmallHeapTest, ThreadsShareThePoolsSafely) {
    constexpr int kPerThread = 20000;
    std::vector<std::unique_ptr<std::string>> made[4];
    std::vector<std::unique_ptr<std::string>> more[4];
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&made, t] {
            for (int i = 0; i < kPerThread; ++i) made[t].push_back(std::make_unique<std::string>(20 + i % 200, 'a' + t));
        });
    }
    for (std::thread& thread : threads) thread.join();
    threads.clear();
    for (int t = 0; t < 4; ++t) {
        // Half of another thread's strings are freed here, while the others allocate.
        threads.emplace_back([&made, &more, t] {
            std::vector<std::unique_ptr<std::string>>& other = made[(t + 1) % 4];
            for (size_t i = 0; i < other.size(); i += 2) other[i].reset();
            for (int i = 0; i < kPerThread / 2; ++i) more[t].push_back(std::make_unique<std::string>(30, 'A' + t));
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 4; ++t) {
        for (const auto& text : made[t]) {
            if (!text) continue;
            ASSERT_EQ(std::string(text->size(), static_cast<char>('a' + t)), *text);
        }
        for (const auto& text : more[t]) ASSERT_EQ(std::string(30, static_cast<char>('A' + t)), *text);
    }
}

}  // namespace
}  // namespace torvane::win
