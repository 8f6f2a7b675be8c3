#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Every length up to several blocks, between buffers apart and overlapping either way, at every
// alignment: the result must be what a byte-by-byte move through a copy gives.
TEST(FastMemoryTest, MoveMatchesAByteByByteMove) {
    std::vector<unsigned char> buffer(256), expected(256), source(256);
    for (size_t n = 0; n <= 100; ++n) {
        for (int from = 0; from < 20; ++from) {
            for (int to = 0; to < 60; to += 3) {
                for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<unsigned char>(i * 7 + 1);
                expected = buffer;
                source.assign(expected.begin() + from, expected.begin() + from + static_cast<long>(n));
                std::copy(source.begin(), source.end(), expected.begin() + to);
                void* result = std::memmove(buffer.data() + to, buffer.data() + from, n);
                ASSERT_EQ(buffer.data() + to, result);
                ASSERT_EQ(expected, buffer) << "n " << n << " from " << from << " to " << to;
            }
        }
    }
}

// The first match within the range only, at every start alignment, whatever lies around it.
TEST(FastMemoryTest, ChrFindsTheFirstMatchInsideTheRangeOnly) {
    std::vector<char> buffer(200, 'x');
    for (size_t start = 0; start < 20; ++start) {
        for (size_t n = 0; n < 70; ++n) {
            for (size_t at = 0; at < 80; at += 7) {
                std::fill(buffer.begin(), buffer.end(), 'x');
                buffer[start + at] = 'y';
                if (start > 0) buffer[start - 1] = 'y';      // before the range
                buffer[start + n] = 'y';                       // just after it
                const void* found = std::memchr(buffer.data() + start, 'y', n);
                const void* expected = at < n ? buffer.data() + start + at : nullptr;
                ASSERT_EQ(expected, found) << "start " << start << " n " << n << " at " << at;
            }
        }
    }
    const char high[] = "ab\xE3\x81\x82";
    EXPECT_EQ(high + 2, std::memchr(high, 0xE3, 5));  // the byte as unsigned char
}

}  // namespace
