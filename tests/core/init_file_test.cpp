#include "settings/init_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "settings/file_name.h"
#include "store/text_file.h"
#include "tests/core/list_files.h"

namespace torvane {
namespace {

using listtest::Folder;
using listtest::NativeFileOps;
using listtest::ReadBytes;
using listtest::RefusingFileOps;
using listtest::WriteBytes;
using Names = std::vector<std::string>;

TEST(FileNameTest, ChangesOnlyTheLastComponentsExtension) {
    EXPECT_EQ("C:\\Tools\\Torvane.ini", ChangeFileExt("C:\\Tools\\Torvane.exe", ".ini"));
    EXPECT_EQ("C:\\dir.x\\prog.ini", ChangeFileExt("C:\\dir.x\\prog", ".ini"));
    EXPECT_EQ("/tmp/a.b/Torvane.ini", ChangeFileExt("/tmp/a.b/Torvane", ".ini"));
    EXPECT_EQ("C:\\ソフト\\Torvane.chm", ChangeFileExt("C:\\ソフト\\Torvane.exe", ".chm"));
    // The 0x5C inside "ソ" is no folder separator: the extension ".bソ" is replaced.
    EXPECT_EQ("C:\\x\\a.tvd", ChangeFileExt("C:\\x\\a.bソ", ".tvd"));
}

class InitFileTest : public ::testing::Test {
protected:
    Folder folder;
    NativeFileOps fileOps;
    std::string path = folder.File("Torvane.ini");
};

TEST_F(InitFileTest, NamesMatchInAnyCaseAndTheFirstLineWins) {
    WriteBytes(path, "keyDelay=80\r\nKEYDELAY=90\r\nURL=http://x/?a=b\r\nno equals sign\r\n=orphan\r\n");
    TInitFile file(path, fileOps);
    EXPECT_EQ(80, file.ReadInteger("KEYDELAY", 50));
    EXPECT_EQ("http://x/?a=b", file.ReadString("url", ""));  // the value runs past later "="
    EXPECT_EQ("dflt", file.ReadString("no equals sign", "dflt"));
    EXPECT_EQ("dflt", file.ReadString("NO", "dflt"));
    EXPECT_FALSE(file.Modified());
}

TEST_F(InitFileTest, DoubleByteNamesMatchByteForByte) {
    // "ア" (83 41) and "ヂ" (83 61): their second bytes are the letters A and a.
    WriteBytes(path, "ヂ=lower\r\nア=upper\r\n");
    TInitFile file(path, fileOps);
    EXPECT_EQ("upper", file.ReadString("ア", ""));
    EXPECT_EQ("lower", file.ReadString("ヂ", ""));
}

TEST_F(InitFileTest, BooleansAreExactlyOne) {
    WriteBytes(path, "A=1\r\nB=0\r\nC=true\r\nD=\r\nE= 1\r\nF=yes\r\n");
    TInitFile file(path, fileOps);
    EXPECT_TRUE(file.ReadBool("A", false));
    for (const char* name : {"B", "C", "D", "E", "F"}) EXPECT_FALSE(file.ReadBool(name, true)) << name;
    EXPECT_TRUE(file.ReadBool("MISSING", true));
    EXPECT_FALSE(file.ReadBool("MISSING", false));
}

TEST_F(InitFileTest, IntegersThatAreNotValidReadAsTheDefault) {
    WriteBytes(path,
               "A=-42\r\nB= 80 \r\nC=+7\r\nD=2147483647\r\nE=-2147483648\r\n"
               "F=abc\r\nG=12x\r\nH=\r\nI=2147483648\r\nJ=1.5\r\nK=+-3\r\nL=0x10\r\nM=-\r\n");
    TInitFile file(path, fileOps);
    EXPECT_EQ(-42, file.ReadInteger("A", 0));
    EXPECT_EQ(80, file.ReadInteger("B", 0));
    EXPECT_EQ(7, file.ReadInteger("C", 0));
    EXPECT_EQ(2147483647, file.ReadInteger("D", 0));
    EXPECT_EQ(INT32_MIN, file.ReadInteger("E", 0));
    for (const char* name : {"F", "G", "H", "I", "J", "K", "L", "M", "MISSING"})
        EXPECT_EQ(500, file.ReadInteger(name, 500)) << name;
}

TEST_F(InitFileTest, WritingReplacesInPlaceAppendsNewNamesAndKeepsOtherLines) {
    WriteBytes(path, "; my notes\r\nkeydelay=80\r\n\r\nOTHER=x\r\nkeydelay=90\r\n");
    {
        TInitFile file(path, fileOps);
        file.WriteInteger("KEYDELAY", 60);
        file.WriteBool("STARTFOR", true);
        file.WriteString("LASTNODE", "a\\b=c");
        EXPECT_TRUE(file.Modified());
    }
    EXPECT_EQ("; my notes\r\nKEYDELAY=60\r\n\r\nOTHER=x\r\nkeydelay=90\r\nSTARTFOR=1\r\nLASTNODE=a\\b=c\r\n",
              ReadBytes(path));
    EXPECT_EQ(Names{"Torvane.ini"}, folder.Names());  // no temporary file stays behind
}

TEST_F(InitFileTest, AnEmptyTextRemovesEveryLineOfTheName) {
    WriteBytes(path, "LASTNODE=a\r\nX=1\r\nlastnode=b\r\n");
    {
        TInitFile file(path, fileOps);
        file.WriteString("LASTNODE", "");
        file.WriteString("NEVERTHERE", "");
        EXPECT_EQ("top", file.ReadString("LASTNODE", "top"));
    }
    EXPECT_EQ("X=1\r\n", ReadBytes(path));
}

TEST_F(InitFileTest, ReadingAloneNeverRewritesTheFile) {
    const std::string original = "A=1\nB=2\rC=3\r\nD=4\x1A tail";
    WriteBytes(path, original);
    {
        TInitFile file(path, fileOps);
        // CR, LF and CR LF all end a line.
        EXPECT_EQ((Names{"A=1", "B=2", "C=3", "D=4\x1A tail"}), file.Lines());
        EXPECT_EQ("1", file.ReadString("A", ""));
    }
    EXPECT_EQ(original, ReadBytes(path));
}

// An LF at the very end closes the last line, as CR LF does; it opens none.
TEST_F(InitFileTest, AnLfEndingTheFileAddsNoEmptyLine) {
    const std::vector<std::pair<std::string, Names>> cases = {
        {"A=1\nB=2\n", {"A=1", "B=2"}}, {"\n", {""}},
        {"A=1\n\n", {"A=1", ""}},       {"A=1\n\r\n", {"A=1", ""}}, {"A=1\r\n\n", {"A=1", ""}},
        {"A=1\nB=2", {"A=1", "B=2"}},
    };
    for (const auto& [content, lines] : cases) {
        WriteBytes(path, content);
        TInitFile file(path, fileOps);
        EXPECT_EQ(lines, file.Lines()) << content;
    }
    WriteBytes(path, "A=1\nB=2\n");
    {
        TInitFile file(path, fileOps);
        file.WriteString("B", "3");
    }
    EXPECT_EQ("A=1\r\nB=3\r\n", ReadBytes(path));
}

// The user froze the settings: they stay as they are, without a word.
TEST_F(InitFileTest, ReadOnlyFileIsLeftAsItIs) {
    namespace fs = std::filesystem;
    WriteBytes(path, "A=1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    {
        TInitFile file(path, fileOps);
        file.WriteString("A", "2");
    }
    EXPECT_EQ("A=1\r\n", ReadBytes(path));
    EXPECT_EQ(fs::perms::none, fs::status(path).permissions() & fs::perms::owner_write);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

// Hand-edited or not, every line after a character 26 is still the file's.
TEST_F(InitFileTest, Character26IsAnOrdinaryByte) {
    WriteBytes(path, "A=1\x1a\r\nB=2\r\n\x1a\r\nC=3\r\n");
    {
        TInitFile file(path, fileOps);
        EXPECT_EQ("1\x1a", file.ReadString("A", ""));
        EXPECT_EQ("3", file.ReadString("C", ""));
        file.WriteString("D", "x\x1ay");
    }
    EXPECT_EQ("A=1\x1a\r\nB=2\r\n\x1a\r\nC=3\r\nD=x\x1ay\r\n", ReadBytes(path));
}

// A folder name with line breaks must not become lines of its own: the settings file would
// then hold keys nobody set.
TEST_F(InitFileTest, AValueThatCannotStayOnOneLineIsDroppedLikeAnEmptyOne) {
    WriteBytes(path, "LASTNODE=old\r\nKEYPAUSE=500\r\n");
    {
        TInitFile file(path, fileOps);
        file.WriteString("LASTNODE", "a\nKEYPAUSE=1\r\nb");
        file.WriteString("SAVEDIR", "lone\rcr");
        EXPECT_EQ("top", file.ReadString("LASTNODE", "top"));
        EXPECT_TRUE(file.Modified());
    }
    EXPECT_EQ("KEYPAUSE=500\r\n", ReadBytes(path));
    TInitFile again(path, fileOps);
    EXPECT_EQ(500, again.ReadInteger("KEYPAUSE", 0));
}

TEST_F(InitFileTest, AMissingFileStartsEmptyAndIsCreatedWhenWritten) {
    {
        TInitFile file(path, fileOps);
        EXPECT_TRUE(file.Lines().empty());
        EXPECT_EQ(50, file.ReadInteger("KEYDELAY", 50));
    }
    EXPECT_FALSE(FileExists(path));
    {
        TInitFile file(path, fileOps);
        file.WriteInteger("KEYDELAY", -5);
    }
    EXPECT_EQ("KEYDELAY=-5\r\n", ReadBytes(path));
}

TEST_F(InitFileTest, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
    WriteBytes(path, "KEYDELAY=80\r\n");
    RefusingFileOps refusing;
    {
        TInitFile file(path, refusing);
        file.WriteInteger("KEYDELAY", 10);
        std::string error;
        EXPECT_FALSE(file.UpdateFile(error));
        EXPECT_EQ("replace refused", error);
        EXPECT_FALSE(file.Modified());
        file.WriteString("MORE", "x");  // the destructor's write fails the same way, silently
    }
    EXPECT_EQ(2, refusing.calls);
    EXPECT_EQ("KEYDELAY=80\r\n", ReadBytes(path));
    EXPECT_EQ(Names{"Torvane.ini"}, folder.Names());
}

TEST_F(InitFileTest, AnUnwritableFolderIsReportedAndChangesNothing) {
    const std::string nowhere = folder.File("missing") + "/Torvane.ini";
    TInitFile file(nowhere, fileOps);
    file.WriteBool("STARTFOR", true);
    std::string error;
    EXPECT_FALSE(file.UpdateFile(error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(FileExists(nowhere));
}

// The texts of read and write failures are the platform's (on Windows in the user's language).
TEST_F(InitFileTest, FailuresAreReportedInThePlatformsErrorText) {
    listtest::MarkedErrorsFileOps marked;
    std::filesystem::create_directory(path);  // exists, but cannot be read as a file
    TInitFile unreadable(path, marked);
    unreadable.WriteString("A", "1");
    std::string error;
    EXPECT_FALSE(unreadable.UpdateFile(error));
    EXPECT_EQ(error.rfind("[error ", 0), 0u) << error;

    TInitFile unwritable(folder.File("missing") + "/Torvane.ini", marked);
    unwritable.WriteString("A", "1");
    error.clear();
    EXPECT_FALSE(unwritable.UpdateFile(error));
    EXPECT_EQ(error, "[error " + std::to_string(ENOENT) + "]");
}

TEST_F(InitFileTest, ShiftJisPathsAndValuesSurviveByteForByte) {
    const std::string sjisPath = folder.File("ソフト設定.ini");
    const std::string value = "C:\\ソフト\\表計算\\データ.tvd";
    WriteBytes(sjisPath, "メモ\r\n");
    {
        TInitFile file(sjisPath, fileOps);
        file.WriteString("LASTOPEN", value);
    }
    EXPECT_EQ("メモ\r\nLASTOPEN=" + value + "\r\n", ReadBytes(sjisPath));
    TInitFile again(sjisPath, fileOps);
    EXPECT_EQ(value, again.ReadString("lastopen", ""));
}

}  // namespace
}  // namespace torvane
