#include "settings/init_param.h"

#include <gtest/gtest.h>

#include <memory>

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

// Refuses the replacement but keeps what the temporary file held.
class CapturingFileOps : public listtest::NativeFileOps {
public:
    bool Replace(const std::string& source, const std::string&, std::string& error) override {
        written = ReadBytes(source);
        error = "replace refused";
        return false;
    }
    std::string written;
};

const char kDefaultFile[] =
    "PROPVIEW=0\r\nWINDOWHIDE=1\r\nADDENTER=0\r\nALERMDATE=7\r\nKEYDELAY=50\r\nKEYPAUSE=500\r\n"
    "STARTFOR=0\r\nSTATUSBAR=1\r\nNOTIFYTOP=1\r\nITEMLIST=UGDL\r\n";

class InitParamTest : public ::testing::Test {
protected:
    // One run of the program: a holder that loads the file and writes it when destroyed.
    std::unique_ptr<TInitParam> Start() {
        auto params = std::make_unique<TInitParam>(fileOps);
        params->LoadParams(path);
        return params;
    }

    Folder folder;
    NativeFileOps fileOps;
    std::string path = folder.File("Torvane.ini");
};

TEST_F(InitParamTest, IsEmptyUntilLoadedAndWritesNothingWithoutAPath) {
    {
        TInitParam params(fileOps);
        EXPECT_EQ(0, params.KeyDelay);
        EXPECT_FALSE(params.WindowHide);
        EXPECT_EQ("", params.ItemList);
        std::string error;
        EXPECT_TRUE(params.SaveParams(error));
    }
    EXPECT_FALSE(FileExists(path));
}

TEST_F(InitParamTest, WithoutAFileEveryKeyTakesItsDefaultAndTheRunWritesThem) {
    {
        auto params = Start();
        EXPECT_EQ(path, params->FileName());
        EXPECT_EQ(50, params->KeyDelay);
        EXPECT_EQ(500, params->KeyPause);
        EXPECT_EQ(7, params->AlermDate);
        EXPECT_TRUE(params->WindowHide);
        EXPECT_TRUE(params->StatusBar);
        EXPECT_TRUE(params->NotifyTop);
        EXPECT_FALSE(params->PropView);
        EXPECT_FALSE(params->AddEnter);
        EXPECT_FALSE(params->StartFor);
        EXPECT_EQ("UGDL", params->ItemList);
        EXPECT_EQ("", params->OpenDir + params->SaveDir + params->LastOpen + params->LastNode);
        EXPECT_FALSE(FileExists(path));  // nothing is written while the program runs
    }
    EXPECT_EQ(kDefaultFile, ReadBytes(path));
}

TEST_F(InitParamTest, ChangedMembersReachTheFileInKeyOrder) {
    {
        auto params = Start();
        params->OpenDir = "C:\\data\\";
        params->SaveDir = "D:\\backup\\";
        params->LastOpen = "C:\\data\\mine.tvd";
        params->PropView = true;
        params->WindowHide = false;
        params->AddEnter = true;
        params->AlermDate = 30;
        params->KeyDelay = 10;
        params->KeyPause = -1;
        params->StartFor = true;
        params->StatusBar = false;
        params->LastNode = "ソフト\\ゲーム";
        params->NotifyTop = false;
        params->ItemList = "uGDLp";
    }
    EXPECT_EQ(
        "OPENDIR=C:\\data\\\r\nSAVEDIR=D:\\backup\\\r\nLASTOPEN=C:\\data\\mine.tvd\r\nPROPVIEW=1\r\nWINDOWHIDE=0\r\n"
        "ADDENTER=1\r\nALERMDATE=30\r\nKEYDELAY=10\r\nKEYPAUSE=-1\r\nSTARTFOR=1\r\nSTATUSBAR=0\r\n"
        "LASTNODE=ソフト\\ゲーム\r\nNOTIFYTOP=0\r\nITEMLIST=uGDLp\r\n",
        ReadBytes(path));

    auto again = Start();
    EXPECT_EQ("ソフト\\ゲーム", again->LastNode);
    EXPECT_EQ(-1, again->KeyPause);
    EXPECT_TRUE(again->StartFor);
    EXPECT_FALSE(again->StatusBar);
    EXPECT_EQ("uGDLp", again->ItemList);
}

TEST_F(InitParamTest, HandEditedLinesAreReadLeniently) {
    WriteBytes(path,
               "first line without an equals sign\r\nkeydelay=80\r\nSTATUSBAR=yes\r\nLASTNODE=\r\n"
               "KEYPAUSE=fast\r\nALERMDATE=\r\nItemList=\r\nUNKNOWN=kept\r\n");
    {
        auto params = Start();
        EXPECT_EQ(80, params->KeyDelay);
        EXPECT_FALSE(params->StatusBar);
        EXPECT_EQ("", params->LastNode);
        EXPECT_EQ(500, params->KeyPause);
        EXPECT_EQ(7, params->AlermDate);
        EXPECT_EQ("", params->ItemList);  // present though empty: read as it stands, and dropped
    }
    // Known keys keep their line's position with the name in capitals; empty texts lose theirs;
    // the keys that had no line follow in order.
    EXPECT_EQ(
        "first line without an equals sign\r\nKEYDELAY=80\r\nSTATUSBAR=0\r\nKEYPAUSE=500\r\nALERMDATE=7\r\n"
        "UNKNOWN=kept\r\nPROPVIEW=0\r\nWINDOWHIDE=1\r\nADDENTER=0\r\nSTARTFOR=0\r\nNOTIFYTOP=1\r\n",
        ReadBytes(path));
}

TEST_F(InitParamTest, TheHeldPasswordIsNeverWritten) {
    const std::string secret = "ソ秘密pass";
    CapturingFileOps capturing;
    {
        TInitParam params(capturing);
        params.LoadParams(path);
        params.Password = secret;
    }
    EXPECT_EQ(kDefaultFile, capturing.written);
    {
        auto params = Start();
        params->Password = secret;
    }
    EXPECT_EQ(kDefaultFile, ReadBytes(path));
    EXPECT_EQ("", Start()->Password);
}

TEST_F(InitParamTest, SavingRereadsTheFileSoLinesAddedDuringTheRunSurvive) {
    auto params = Start();
    WriteBytes(path, "ADDED=during the run\r\n");
    params->KeyDelay = 70;
    params.reset();
    const std::string written = ReadBytes(path);
    EXPECT_EQ(0u, written.find("ADDED=during the run\r\n"));
    EXPECT_NE(std::string::npos, written.find("KEYDELAY=70\r\n"));
}

TEST_F(InitParamTest, AFailedWriteKeepsThePreviousFile) {
    const std::string before = "KEYDELAY=80\r\nOTHER=1\r\n";
    WriteBytes(path, before);
    RefusingFileOps refusing;
    std::string error;
    {
        TInitParam params(refusing);
        params.LoadParams(path);
        params.KeyDelay = 20;
        EXPECT_FALSE(params.SaveParams(error));
    }
    EXPECT_EQ("replace refused", error);
    EXPECT_EQ(before, ReadBytes(path));
    EXPECT_EQ(Names{"Torvane.ini"}, folder.Names());
}

}  // namespace
}  // namespace torvane
