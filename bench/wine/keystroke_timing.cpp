// How long one keystroke in the property panel takes with a data file of 100,000 records, from
// the field's change event to the refreshed row of the item list: one in Title (which moves the
// record in the record list's order) and one in the Memo of a record whose memo is 1 MB; beside
// them the record list's Sort alone. Also the whole keystroke (the edit box's own work included)
// and what selecting the 1 MB record costs, with the memo in lines and in one line.
// Goal: each keystroke under 16 ms (one frame at 60 Hz). Prints the figures (median and worst of
// several keystrokes); asserts nothing.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "app/main_form_win.h"
#include "bench/sample_catalogue.h"
#include "editor/prop_form_win.h"
#include "settings/init_param.h"
#include "store/pass_item.h"
#include "win/platform_win.h"

namespace torvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMemoBytes = 1 << 20;
constexpr int kKeystrokes = 21;
constexpr int kOneLineKeystrokes = 5;
constexpr int kSortRuns = 5;
constexpr double kGoalMs = 16.0;
// Three records of one folder (i % kFolders alike): the title one, the memo in lines, the memo
// in one line.
constexpr int kTitleRecord = 1 + 49 * bench::kFolders;  // last of its folder: a "z" in front makes it first
constexpr int kMemoRecord = 1 + bench::kFolders;
constexpr int kOneLineRecord = 1 + 2 * bench::kFolders;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Figures {
    double median = 0, worst = 0;
};

Figures Summarise(std::vector<double> times) {
    if (times.empty()) return {};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// A memo as users write them (dated lines of Japanese and ASCII), or all in one line.
std::string MakeMemo(bool inLines) {
    static const char* const lines[] = {"2024/01/02 ライセンス更新、請求書は経理へ回付 ref#",
                                        "問い合わせ窓口: support@example.com 担当 佐藤 ",
                                        "Version 3.1 upgrade key issued; old key revoked. no. "};
    std::string memo;
    for (int i = 0; memo.size() < kMemoBytes; ++i) {
        memo += lines[i % 3] + std::to_string(i);
        memo += inLines ? "\r\n" : " ";
    }
    memo.resize(kMemoBytes);
    // Never half a double-byte character or half a line break at the end.
    while (!memo.empty() && (static_cast<unsigned char>(memo.back()) >= 0x80 || memo.back() == '\r')) memo.pop_back();
    return memo;
}

// When the field's change event reaches the panel.
Clock::time_point changeEvent;
UINT watchedId = 0;

LRESULT CALLBACK WatchChange(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_COMMAND && LOWORD(wParam) == watchedId && HIWORD(wParam) == EN_CHANGE) changeEvent = Clock::now();
    return DefSubclassProc(window, msg, wParam, lParam);
}

struct Keystrokes {
    Figures toRow;  // change event to refreshed row
    Figures whole;  // key message to painted row and field
    bool moved = true;
};

// Keystrokes into the field: a character at the start, then a backspace, in turn. moved: whether
// each one moved the record in the record list.
Keystrokes Type(TMainForm& form, HWND field, int count, TPassItem* record) {
    HWND list = form.Controls().ListView1;
    watchedId = static_cast<UINT>(GetDlgCtrlID(field));
    SetWindowSubclass(GetParent(field), WatchChange, 1, 0);
    std::vector<double> toRow, whole;
    Keystrokes result;
    const auto position = [&] {
        for (int i = 0; i < form.PassList()->Count(); ++i) {
            if (&form.PassList()->Item(i) == record) return i;
        }
        return -1;
    };
    for (int k = 0; k < count + 2; ++k) {
        const bool typing = k % 2 == 0;
        SendMessageW(field, EM_SETSEL, typing ? 0 : 1, typing ? 0 : 1);
        const int before = position();
        changeEvent = Clock::time_point();
        const auto start = Clock::now();
        SendMessageW(field, WM_CHAR, typing ? L'z' : L'\b', 1);
        UpdateWindow(list);
        const auto rowDone = Clock::now();
        UpdateWindow(field);
        const auto end = Clock::now();
        if (position() == before) result.moved = false;
        if (k < 2) continue;  // warming up
        toRow.push_back(changeEvent == Clock::time_point() ? -1 : Ms(changeEvent, rowDone));
        whole.push_back(Ms(start, end));
        Pump();
    }
    RemoveWindowSubclass(GetParent(field), WatchChange, 1);
    result.toRow = Summarise(toRow);
    result.whole = Summarise(whole);
    return result;
}

void Print(const char* what, const Keystrokes& k) {
    std::printf("%-44s median %7.2f ms, worst %7.2f ms  (goal < %.0f ms: %s)\n", what, k.toRow.median, k.toRow.worst,
                kGoalMs,
                k.toRow.worst < kGoalMs    ? "met"
                : k.toRow.median < kGoalMs ? "median met"
                                           : "NOT met");
    std::printf("%-44s median %7.2f ms, worst %7.2f ms\n",
                "  whole keystroke, edit box's own work included:", k.whole.median, k.whole.worst);
}

int Run() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "torvane-keystroke-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string data = folder + "\\data.csv";
    const std::string program = folder + "\\Torvane.exe";
    const std::string ini = folder + "\\Torvane.ini";

    std::string text;
    std::string path;
    for (int i = 0; i < bench::kRecords; ++i) {
        TPassItem item = bench::MakeRecord(i);
        if (i == kMemoRecord) item.Memo = MakeMemo(true);
        if (i == kOneLineRecord) item.Memo = MakeMemo(false);
        if (i == kTitleRecord) path = item.Path;
        text += FormatLine(item) + "\r\n";
    }
    if (!WriteFileBytes(data, text) ||
        !WriteFileBytes(ini, "LASTOPEN=" + data + "\r\nLASTNODE=" + path + "\r\nPROPVIEW=1\r\nNOTIFYTOP=0\r\n")) {
        std::printf("cannot write the data file\n");
        return 1;
    }

    int status = 0;
    {
        win::WinFileOps fileOps;
        TInitParam params(fileOps);
        AppWindow app;
        app.Create(L"Torvane");
        TMainForm form(params, app, program);
        const auto created = Clock::now();
        if (!form.CreateForm() || !form.PassList() || form.PassList()->Count() != bench::kRecords || !form.PropForm()) {
            std::printf("the main window did not load the data file\n");
            return 1;
        }
        const double createMs = Ms(created, Clock::now());
        ShowWindow(form.Handle(), SW_SHOW);
        Pump();
        TPropForm& panel = *form.PropForm();
        const auto find = [&](int i) -> TPassItem* {
            const TPassItem wanted = bench::MakeRecord(i);
            for (int row = 0; row < form.Items().Count(); ++row) {
                if (form.Items().RowRecord(row)->Serial == wanted.Serial) return form.Items().RowRecord(row);
            }
            return nullptr;
        };
        // Selecting a row as the user does, until the panel has shown the record.
        const auto select = [&](TPassItem* record) {
            const auto start = Clock::now();
            form.Items().Select(form.Items().IndexOf(record));
            UpdateWindow(form.Handle());
            RedrawWindow(panel.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            const double ms = Ms(start, Clock::now());
            Pump();
            return ms;
        };
        TPassItem* titleRecord = find(kTitleRecord);
        TPassItem* memoRecord = find(kMemoRecord);
        TPassItem* oneLineRecord = find(kOneLineRecord);
        if (!titleRecord || !memoRecord || !oneLineRecord) {
            std::printf("the folder does not show the records\n");
            return 1;
        }

        std::vector<double> sorts;
        for (int run = 0; run < kSortRuns; ++run) {
            const auto start = Clock::now();
            form.PassList()->Sort();
            sorts.push_back(Ms(start, Clock::now()));
        }
        const Figures sort = Summarise(sorts);

        select(titleRecord);
        const Keystrokes title = Type(form, panel.Controls().Title, kKeystrokes, titleRecord);

        panel.ShowPage(3);
        const double selectMemo = select(memoRecord);
        const Keystrokes memo = Type(form, panel.Controls().Memo, kKeystrokes, memoRecord);

        std::printf("records: %d; memo: %zu bytes; main window made and filled in %.0f ms\n", form.PassList()->Count(),
                    memoRecord->Memo.size(), createMs);
        std::printf("%-44s median %7.2f ms, worst %7.2f ms\n", "TPassList::Sort alone:", sort.median, sort.worst);
        Print("keystroke in Title (record moves), to row:", title);
        if (!title.moved) std::printf("  (a keystroke did not move the record)\n");
        Print("keystroke in a 1 MB Memo, to row:", memo);
        std::printf("%-44s %7.2f ms\n", "selecting the record with the 1 MB memo:", selectMemo);

        const double selectOneLine = select(oneLineRecord);
        std::printf("%-44s %7.2f ms\n", "the same with the memo in one line:", selectOneLine);
        const Keystrokes oneLine = Type(form, panel.Controls().Memo, kOneLineKeystrokes, oneLineRecord);
        Print("keystroke in a 1 MB one-line Memo, to row:", oneLine);
        // Nothing to save at the close.
        form.PassList()->Modified = false;
        form.ExitBtnClick();
        Pump();
    }
    DeleteFileA(data.c_str());
    DeleteFileA(ini.c_str());
    RemoveDirectoryA(folder.c_str());
    return status;
}

}  // namespace
}  // namespace torvane

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    return torvane::Run();
}
