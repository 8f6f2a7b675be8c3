#pragma once
// The catalogue every speed measurement uses, natively and under Wine: 100,000 records of a
// busy user (about 150 bytes each, Japanese text, 2,000 folders in two levels).
#include <cstdio>
#include <string>

#include "bench/silent_prompts.h"
#include "store/pass_list.h"

namespace torvane::bench {

constexpr int kRecords = 100000;
constexpr int kFolders = 2000;
constexpr char kPassword[] = "bench-password";

inline TDate Day(int y, int m, int d) {
    TDate day = 0;
    TryEncodeDate(y, m, d, day);
    return day;
}

inline TPassItem MakeRecord(int i) {
    static const char* const tops[] = {"ソフトウェア", "ウェブ", "メール", "ハード", "会員"};
    static const char* const titles[] = {"画像編集ソフト", "ネット銀行", "通販サイト", "メールアカウント"};
    static const char* const companies[] = {"株式会社サンプル", "Example Inc.", "有限会社テスト"};
    const int folder = i % kFolders;
    TPassItem item;
    item.Path = std::string(tops[folder % 5]) + "\\分類" + std::to_string(folder);
    item.Title = titles[i % 4] + std::to_string(i);
    item.Kind = i % 6;
    item.UserID = "user" + std::to_string(i * 7 % 100000);
    item.Passwd = "Pw" + std::to_string(i * 7919 % 1000003);
    item.Company = companies[i % 3];
    item.Serial = "SN-" + std::to_string(100000 + i);
    item.Price = i % 7 == 0 ? 9800 : 0;
    item.Flags = i % 5 == 0 ? 8 : 0;
    item.FirstDate = Day(2001, 6, 19) + i % 5000;
    item.LimitDate = item.FirstDate + 365;
    item.LastDate = i % 3 == 0 ? 0 : item.FirstDate + 30;
    if (i % 10 == 0) item.Memo = "更新は毎年\r\n連絡先は窓口";
    return item;
}

// Writes the catalogue as a plain and as a protected data file (kPassword), each in the list's
// order by byte comparison, so every platform measures the same bytes. Returns the plaintext
// bytes the cipher handles for the protected file (password and line, per record); 0 on failure.
inline double WriteSampleFiles(const std::string& plain, const std::string& protect, IFileOps& fileOps) {
    std::FILE* out = std::fopen(plain.c_str(), "wb");
    if (!out) return 0;
    for (int i = 0; i < kRecords; ++i) {
        const std::string line = FormatLine(MakeRecord(i)) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    if (std::fclose(out) != 0) return 0;
    SilentPrompts prompts;
    ByteCollator collator;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = false;
    list.LoadFromFile(plain);
    if (!list.SaveToFile(plain)) return 0;
    list.Encrypted = true;
    list.Password = kPassword;
    if (!list.SaveToFile(protect)) return 0;
    double plaintext = 0;
    for (int i = 0; i < list.Count(); ++i) {
        plaintext += static_cast<double>(sizeof kPassword - 1 + FormatLine(list.Item(i)).size());
    }
    return plaintext;
}

}  // namespace torvane::bench
