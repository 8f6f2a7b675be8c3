#include "store/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/list_files.h"

namespace torvane {
namespace {

std::vector<std::string> Lines(const std::string& content) {
    listtest::Folder folder;
    const std::string path = folder.File("t.txt");
    listtest::WriteBytes(path, content);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    TextLineReader reader(file);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_FALSE(reader.Failed());
    std::fclose(file);
    return lines;
}

using V = std::vector<std::string>;

TEST(TextLineReaderTest, LineEnds) {
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("a"), V{"a"});
    EXPECT_EQ(Lines("a\r\n"), V{"a"});
    EXPECT_EQ(Lines("a\r"), V{"a"});
    EXPECT_EQ(Lines("\r\n\r\n"), (V{"", ""}));
    EXPECT_EQ(Lines("a\r\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("a\r\n\nb\nc\r\n"), (V{"a", "\nb\nc"}));  // only one LF is skipped after a CR
}

TEST(TextLineReaderTest, Character26EndsTheFile) {
    const std::string eof(1, '\x1a');
    EXPECT_EQ(Lines(eof + "a\r\n"), V{});
    EXPECT_EQ(Lines("a\r\n" + eof + "b"), V{"a"});
    EXPECT_EQ(Lines("ab" + eof + "cd\r\ne"), V{"ab"});
    EXPECT_EQ(Lines("a\r\x1a"), V{"a"});
}

TEST(TextLineReaderTest, LinesAcrossReadChunks) {
    const std::string longLine(150 * 1024, 'x');
    // The CR closes one chunk and its LF opens the next.
    const std::string first(64 * 1024 - 1, 'y');
    EXPECT_EQ(Lines(first + "\r\nz"), (V{first, "z"}));
    EXPECT_EQ(Lines(longLine + "\r\n" + longLine), (V{longLine, longLine}));
}

}  // namespace
}  // namespace torvane
