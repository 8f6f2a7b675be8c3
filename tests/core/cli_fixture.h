#pragma once
// Runs torvane-cli commands in-process on data files written by the record list itself.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/sjis_utf8.h"
#include "store/pass_list.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"
#ifdef _WIN32
#include "win/secure_random_win.h"
#endif

namespace torvane::clitest {

inline TDate Day(int y, int m, int d) {
    TDate day = 0;
    TryEncodeDate(y, m, d, day);
    return day;
}

inline TPassItem Record(const std::string& path, const std::string& title, const std::string& user = "") {
    TPassItem item;
    item.Path = path;
    item.Title = title;
    item.UserID = user;
    item.FirstDate = Day(2001, 6, 19);
    return item;
}

// A command-line argument as the platform passes it: UTF-8 natively, Shift_JIS on Windows.
inline std::string Arg(const std::string& sjis) {
#ifdef _WIN32
    return sjis;
#else
    std::string utf8;
    cli::AppendSjisAsUtf8(sjis, utf8);
    return utf8;
#endif
}

class CliFixture : public ::testing::Test {
protected:
    struct Result {
        int code;
        std::string out;
        std::string err;
    };

    Result Run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const cli::EnvLookup env = [this](const std::string& name) -> std::optional<std::string> {
            const auto it = env_.find(name);
            if (it == env_.end()) return std::nullopt;
            return it->second;
        };
        const int code = cli::Run(args, env, out, err, fileOps_, collator_, random_);
        return {code, out.str(), err.str()};
    }

    std::string Save(const std::string& name, const std::vector<TPassItem>& items, const std::string& password = "") {
        ScriptedPrompts prompts;
        TPassList list(prompts, collator_, fileOps_);
        list.Encrypted = !password.empty();
        list.Password = password;
        for (const TPassItem& item : items) list.AddItem(item);
        const std::string file = folder_.File(name);
        EXPECT_TRUE(list.SaveToFile(file));
        return file;
    }

    std::vector<TPassItem> Load(const std::string& file, const std::string& password = "") {
        ScriptedPrompts prompts;
        TPassList list(prompts, collator_, fileOps_);
        list.Encrypted = !password.empty();
        list.Password = password;
        EXPECT_EQ(LoadResult::Loaded, list.LoadFromFile(file));
        std::vector<TPassItem> items;
        for (int i = 0; i < list.Count(); ++i) items.push_back(list.Item(i));
        return items;
    }

    std::string PasswordFile(const std::string& content) {
        const std::string file = folder_.File("pw" + std::to_string(++passwordFiles_) + ".txt");
        listtest::WriteBytes(file, content);
        return file;
    }

    listtest::Folder folder_;
    std::map<std::string, std::string> env_;
    listtest::NativeFileOps fileOps_;
    ByteCollator collator_;
#ifdef _WIN32
    win::WinSecureRandom random_;
#else
    PosixSecureRandom random_;
#endif
    int passwordFiles_ = 0;
};

}  // namespace torvane::clitest
