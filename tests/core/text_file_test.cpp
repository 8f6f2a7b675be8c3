#include "store/text_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/core/list_files.h"

namespace torvane {
namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<bool> endedAtCr;
    bool trailingData = false;
};

Read ReadAll(const std::string& content) {
    listtest::Folder folder;
    const std::string path = folder.File("t.txt");
    listtest::WriteBytes(path, content);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    TextLineReader reader(file);
    Read read;
    std::string line;
    while (reader.ReadLine(line)) {
        read.lines.push_back(line);
        read.endedAtCr.push_back(reader.LineEndedAtCr());
    }
    EXPECT_FALSE(reader.Failed());
    read.trailingData = reader.TrailingData();
    std::fclose(file);
    return read;
}

std::vector<std::string> Lines(const std::string& content) {
    return ReadAll(content).lines;
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

TEST(TextLineReaderTest, DataAfterTheCharacter26IsReported) {
    for (const char* complete : {"", "a", "a\r\n", "a\r\n\x1a", "\x1a", "a\x1a\r\n", "a\r\n\x1a\r\n\x1a\x1a\n"}) {
        EXPECT_FALSE(ReadAll(complete).trailingData) << complete;
    }
    for (const char* cut : {"a\r\n\x1a?", "ab\x1a?\r\n", "\x1a ", "a\r\n\x1a\r\n\x1a?", "\x1a\t"}) {
        EXPECT_TRUE(ReadAll(cut).trailingData) << cut;
    }
    // Found however far past the mark, in a later read chunk.
    EXPECT_TRUE(ReadAll("a\x1a" + std::string(200 * 1024, '\n') + "x").trailingData);
    EXPECT_FALSE(ReadAll("a\x1a" + std::string(200 * 1024, '\n')).trailingData);
}

TEST(TextLineReaderTest, TellsWhetherALineEndedAtCr) {
    const Read read = ReadAll("a\r\nb\rc\nd\re");
    EXPECT_EQ(read.lines, (V{"a", "b", "c\nd", "e"}));
    EXPECT_EQ(read.endedAtCr, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(ReadAll("a\n\x1a").endedAtCr, std::vector<bool>{false});
}

TEST(TextLineReaderTest, LinesAcrossReadChunks) {
    const std::string longLine(150 * 1024, 'x');
    // The CR closes one chunk and its LF opens the next.
    const std::string first(64 * 1024 - 1, 'y');
    EXPECT_EQ(Lines(first + "\r\nz"), (V{first, "z"}));
    EXPECT_EQ(Lines(longLine + "\r\n" + longLine), (V{longLine, longLine}));
}

TEST(AtomicFileWriterTest, WritesEveryPieceInOrderPastItsBuffer) {
    listtest::Folder folder;
    const std::string target = folder.File("out.txt");
    listtest::NativeFileOps fileOps;
    AtomicFileWriter writer(fileOps);
    std::string error;
    ASSERT_TRUE(writer.Open(target, error)) << error;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string piece = std::to_string(i) + std::string(static_cast<size_t>(i % 37), 'x') + "\r\n";
        expected += piece;
        ASSERT_TRUE(writer.Write(piece, error)) << error;
    }
    ASSERT_TRUE(writer.Write(std::string(300 * 1024, 'y'), error));  // one piece larger than the buffer
    expected += std::string(300 * 1024, 'y');
    ASSERT_TRUE(writer.Write("end\r\n", error));
    expected += "end\r\n";
    ASSERT_TRUE(writer.Commit(error)) << error;
    EXPECT_EQ(listtest::ReadBytes(target), expected);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.txt"});
}

TEST(CopyToNewFileTest, CopiesIntoANewNameOnly) {
    listtest::Folder folder;
    listtest::NativeFileOps fileOps;
    const std::string source = folder.File("a.tvd");
    const std::string bytes = std::string("x\0\x1a\r\n", 5) + std::string(100 * 1024, 'y');
    listtest::WriteBytes(source, bytes);
    std::string error;
    EXPECT_EQ(CopyToNewFile(source, folder.File("copy"), fileOps, error), CopyResult::Copied) << error;
    EXPECT_EQ(listtest::ReadBytes(folder.File("copy")), bytes);

    listtest::WriteBytes(folder.File("taken"), "mine");
    EXPECT_EQ(CopyToNewFile(source, folder.File("taken"), fileOps, error), CopyResult::TargetExists);
    EXPECT_EQ(listtest::ReadBytes(folder.File("taken")), "mine");

    listtest::MarkedErrorsFileOps marked;
    EXPECT_EQ(CopyToNewFile(folder.File("none"), folder.File("new"), marked, error), CopyResult::Failed);
    EXPECT_EQ(error, "[error " + std::to_string(ENOENT) + "]");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.tvd", "copy", "taken"}));
}

#ifdef _WIN32
// The C library's texts are English; the system's, in the user's language, are shown instead
// whenever the failure has a system code.
TEST(WinFileOpsTest, ErrorTextIsTheSystemsTextOfTheFailure) {
    win::WinFileOps fileOps;
    listtest::Folder folder;
    fileOps.ClearError();
    ASSERT_EQ(fileOps.OpenRead(folder.File("missing\\x.txt")), nullptr);
    const int cause = errno;
    const unsigned long code = _doserrno;
    ASSERT_NE(code, 0u);
    EXPECT_EQ(fileOps.ErrorText(cause), win::SystemErrorText(code));
    EXPECT_NE(fileOps.ErrorText(cause), std::strerror(cause));
    // An error that no failing call left behind keeps the C library's text.
    fileOps.ClearError();
    EXPECT_EQ(fileOps.ErrorText(EEXIST), std::strerror(EEXIST));
}
#endif

}  // namespace
}  // namespace torvane
