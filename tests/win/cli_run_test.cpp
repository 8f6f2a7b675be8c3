// torvane-cli.exe itself, on files in a Japanese folder with Japanese names and a Japanese
// password: the arguments and the environment reach it whole whatever the system's code page
// (this file also runs under an English system's code page, 1252).
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "store/pass_item.h"
#include "tests/win/program_folder.h"
#include "win/text.h"

namespace torvane {
namespace {

using win::ToWide;

struct Outcome {
    DWORD code = 99;
    std::string out;
    std::string err;
};

// Runs the built torvane-cli.exe with the arguments (Shift_JIS); its output and its messages go
// to files of the folder.
Outcome RunCli(const wintest::ProgramFolder& folder, const std::vector<std::string>& args) {
    std::wstring dir = ToWide(TORVANE_BUILD_DIR);
    for (wchar_t& c : dir) {
        if (c == L'/') c = L'\\';
    }
    std::wstring commandLine = L"\"Z:" + dir + L"\\torvane-cli.exe\"";
    for (const std::string& arg : args) commandLine += L" \"" + ToWide(arg) + L"\"";
    const std::string outFile = folder.File("出力.txt");
    const std::string errFile = folder.File("報告.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto create = [&](const std::string& file) {
        return CreateFileW(ToWide(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE out = create(outFile);
    const HANDLE err = create(errFile);
    Outcome outcome;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &outcome.code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    outcome.out = wintest::ReadBytes(outFile);
    outcome.err = wintest::ReadBytes(errFile);
    return outcome;
}

TEST(CliRunTest, JapaneseNamesAndPasswordsReachTheCommandWhole) {
    wintest::ProgramFolder folder;
    TPassItem record;
    record.Path = "ソフト";
    record.Title = "表計算";
    const std::string line = FormatLine(record) + "\r\n";
    const std::string plain = folder.File("台帳.csv");
    wintest::WriteBytes(plain, line);
    const std::string password = "合言葉ソ";  // a trail byte that is "\"
    const std::string locked = folder.File("台帳.tvd");
    std::ostringstream out, err;
    ASSERT_EQ(cli::kExitOk, cli::Run({"convert", plain, locked},
                                     [&](const std::string&) -> std::optional<std::string> { return password; }, out,
                                     err))
        << err.str();
    const std::string passwordFile = folder.File("鍵.txt");
    wintest::WriteBytes(passwordFile, password + "\r\n");

    const struct {
        std::vector<std::string> args;
        const wchar_t* environment;  // TORVANE_PASSWORD, or none
        DWORD code;
    } cases[] = {
        {{"dump", plain}, nullptr, cli::kExitOk},
        {{"dump", locked}, L"合言葉ソ", cli::kExitOk},
        {{"dump", "--password-file", passwordFile, locked}, nullptr, cli::kExitOk},
        {{"dump", locked}, L"合言葉ゾ", cli::kExitWrongPassword},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + (c.environment ? " with the environment's password" : ""));
        SetEnvironmentVariableW(L"TORVANE_PASSWORD", c.environment);
        const Outcome outcome = RunCli(folder, c.args);
        EXPECT_EQ(c.code, outcome.code) << outcome.err;
        if (c.code == cli::kExitOk) {
            EXPECT_EQ(line, outcome.out);
        } else {
            EXPECT_NE(std::string::npos, outcome.err.find(": wrong password")) << outcome.err;
        }
    }
    SetEnvironmentVariableW(L"TORVANE_PASSWORD", nullptr);
}

}  // namespace
}  // namespace torvane
