// How long a data file of 100,000 records in 2,000 folders (plain) takes to become a filled
// tree and top list, against the record list's own load of the same file in the same run, and
// how long selecting a folder of 10,000 records takes until its rows are painted.
// Goals: load and build within three times the load alone; the large folder under 100 ms.
// Prints the figures (median of several runs); asserts nothing.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/category_tree_win.h"
#include "app/company_list_win.h"
#include "app/folder_tree.h"
#include "app/item_list_win.h"
#include "app/item_view.h"
#include "bench/silent_prompts.h"
#include "res/resource.h"
#include "store/pass_list.h"
#include "win/image_strip.h"
#include "win/platform_win.h"
#include "win/window.h"

namespace torvane {
namespace {

constexpr int kRecords = 100000;
constexpr int kGroups = 40;
constexpr int kSubfolders = 49;  // per group: 40 + 40 * 49 = 2,000 folders
constexpr int kFolders = kGroups * (kSubfolders + 1);
constexpr int kBigFolderIndex = kGroups;  // FolderName gives kBigFolder
constexpr int kBigFolderRecords = 10000;
constexpr char kBigFolder[] = "Group00\\Folder00";
constexpr char kItemList[] = "UGDL";
constexpr int kWarnDays = 7;
constexpr int kRuns = 5;
constexpr double kLoadGoalRatio = 3.0;
constexpr double kFolderGoalMs = 100.0;

std::string FolderName(int folder) {
    char name[40];
    const int group = folder % kGroups;
    const int sub = folder / kGroups;  // 0: the group folder itself
    if (sub == 0) {
        std::snprintf(name, sizeof name, "Group%02d", group);
    } else {
        std::snprintf(name, sizeof name, "Group%02d\\Folder%02d", group, sub - 1);
    }
    return name;
}

TPassItem MakeRecord(int i, TDate today) {
    static const char* const titles[] = {"画像編集ソフト", "ネット銀行", "通販サイト", "メールアカウント"};
    static const char* const companies[] = {"株式会社サンプル", "Example Inc.", "有限会社テスト", "ACME"};
    TPassItem item;
    // The big folder first, the rest spread over the other 1,999 folders.
    if (i < kBigFolderRecords) {
        item.Path = FolderName(kBigFolderIndex);
    } else {
        const int other = i % (kFolders - 1);
        item.Path = FolderName(other < kBigFolderIndex ? other : other + 1);
    }
    item.Title = titles[i % 4] + std::to_string(i);
    item.Kind = i % 6;
    item.UserID = "user" + std::to_string(i * 7 % 100000);
    item.Passwd = "Pw" + std::to_string(i * 7919 % 1000003);
    item.Company = companies[i % 4] + std::to_string(i % 250);
    item.Serial = "SN-" + std::to_string(100000 + i);
    item.FirstDate = today - 3000 + i % 3000;
    // One record in 50 expires around today, so the top node's warning list is not empty.
    if (i % 50 == 0) {
        item.Flags = HasLimitDate;
        item.LimitDate = today - 10 + i % 20;
    }
    item.LastDate = item.FirstDate + 30;
    if (i % 10 == 0) item.Memo = "更新は毎年\r\n連絡先は窓口";
    return item;
}

class Host : public win::Window {
public:
    std::function<bool(NMHDR*, LRESULT&)> onNotify;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NOTIFY && onNotify) {
            LRESULT result = 0;
            if (onNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string TempFile(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "torvane_timing_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// Writes the records' lines, then lets a record list save them in its own order and format.
void WriteDataFile(const std::string& dataFile, const std::string& seedFile, TPassList& list) {
    const TDate today = Today();
    std::FILE* out = std::fopen(seedFile.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", seedFile.c_str());
        std::exit(1);
    }
    for (int i = 0; i < kRecords; ++i) {
        const std::string line = FormatLine(MakeRecord(i, today)) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    std::fclose(out);
    list.Encrypted = false;
    list.LoadFromFile(seedFile);
    if (!list.SaveToFile(dataFile)) std::exit(1);
    DeleteFileA(seedFile.c_str());
}

}  // namespace
}  // namespace torvane

int main() {
    using namespace torvane;
    using Clock = std::chrono::steady_clock;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    SilentPrompts prompts;
    win::LocaleCollator collator;
    win::WinFileOps fileOps;
    const std::string dataFile = TempFile("data.csv");
    {
        TPassList seed(prompts, collator, fileOps);
        WriteDataFile(dataFile, TempFile("seed.csv"), seed);
    }

    win::Window::RegisterWindowClass(L"TorvaneTimingHost");
    Host host;
    host.Create(L"TorvaneTimingHost", L"timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 900, 700);
    win::ImageStrip images(IDB_TREE);
    CategoryTree tree(CategoryTree::Create(host.Handle(), 1, images.List()));
    ItemList items(ItemList::Create(host.Handle(), 2, images.List()));
    CompanyListView companies(CompanyListView::Create(host.Handle(), 3));
    MoveWindow(tree.Handle(), 0, 0, 250, 660, TRUE);
    MoveWindow(items.Handle(), 250, 0, 630, 660, TRUE);
    ShowWindow(companies.Handle(), SW_HIDE);  // the company page is not in front

    TPassList list(prompts, collator, fileOps);
    list.Encrypted = false;
    // What the main window does when the tree's selection changes.
    host.onNotify = [&](NMHDR* header, LRESULT& result) {
        if (header->hwndFrom == tree.Handle() && header->code == TVN_SELCHANGEDW && !tree.Updating()) {
            const std::string path = tree.GetNodePath(tree.Selected());
            SendMessageW(items.Handle(), WM_SETREDRAW, FALSE, 0);
            items.SetRows(FolderRecords(list, path, path.empty(), kWarnDays), kItemList, kWarnDays);
            items.Select(0);
            SendMessageW(items.Handle(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(items.Handle(), nullptr, TRUE);
            return false;
        }
        return items.HandleNotify(header, result);
    };

    std::vector<double> loads, models, trees, tops, companyLists, folders;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        list.LoadFromFile(dataFile);
        loads.push_back(MsSince(start));

        // The rest of loading a data file into the window, up to the painted tree and top list.
        start = Clock::now();
        SendMessageW(tree.Handle(), WM_SETREDRAW, FALSE, 0);
        std::vector<std::string_view> paths;
        paths.reserve(static_cast<size_t>(list.Count()));
        for (int i = 0; i < list.Count(); ++i) paths.push_back(list.Item(i).Path);
        const std::unique_ptr<FolderNode> model = BuildFolderTree(paths, collator);
        models.push_back(MsSince(start));
        auto step = Clock::now();
        tree.Reset();
        tree.Fill(*model);
        tree.ExpandTop();
        trees.push_back(MsSince(step));
        step = Clock::now();
        SendMessageW(companies.Handle(), WM_SETREDRAW, FALSE, 0);
        companies.Fill(GroupCompanies(list, collator, false));
        SendMessageW(companies.Handle(), WM_SETREDRAW, TRUE, 0);
        companyLists.push_back(MsSince(step));
        step = Clock::now();
        tree.SelectNodeByPath("");
        SendMessageW(tree.Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(tree.Handle(), nullptr, TRUE);
        UpdateWindow(tree.Handle());
        UpdateWindow(items.Handle());
        tops.push_back(MsSince(step));

        // Selecting the big folder, until its first rows are painted.
        start = Clock::now();
        tree.SelectNodeByPath(kBigFolder);
        UpdateWindow(items.Handle());
        folders.push_back(MsSince(start));
        // Figures of a tree or list that did not fill would mean nothing.
        const auto nodes = static_cast<int>(SendMessageW(tree.Handle(), TVM_GETCOUNT, 0, 0));
        if (nodes != kFolders + 1) {
            std::fprintf(stderr, "the tree holds %d nodes\n", nodes);
            return 1;
        }
        if (items.Count() != kBigFolderRecords) {
            std::fprintf(stderr, "the big folder shows %d rows\n", items.Count());
            return 1;
        }
    }
    DeleteFileA(dataFile.c_str());

    const double load = Median(loads);
    const double build = Median(models) + Median(trees) + Median(companyLists) + Median(tops);
    const double folder = Median(folders);
    std::printf("Data file: %d records in %d folders, plain; median of %d runs\n", list.Count(), kFolders, kRuns);
    std::printf("  record list load (LoadFromFile)        %8.1f ms\n", load);
    std::printf("  folder model (BuildFolderTree)         %8.1f ms\n", Median(models));
    std::printf("  tree view fill (Reset, Fill, expand)   %8.1f ms\n", Median(trees));
    std::printf("  company list (GroupCompanies, Fill)    %8.1f ms\n", Median(companyLists));
    std::printf("  top node selected, list painted        %8.1f ms (%d rows)\n", Median(tops),
                static_cast<int>(FolderRecords(list, "", true, kWarnDays).size()));
    std::printf("  load and build                         %8.1f ms = %.2f x the load (goal: within %.0f x)\n",
                load + build, (load + build) / load, kLoadGoalRatio);
    std::printf("  folder of %d records selected, painted %6.1f ms (goal: under %.0f ms; slowest run %.1f ms)\n",
                kBigFolderRecords, folder, kFolderGoalMs, *std::max_element(folders.begin(), folders.end()));
    return 0;
}
