#pragma once
// The records of the open data file, in the list's own order, and the reading and writing of
// that file. Records are owned here and referred to by address elsewhere: an address stays
// valid until its record is deleted or the list is cleared or reloaded (sorting reorders the
// references, not the records).
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "store/pass_item.h"
#include "store/platform.h"

namespace torvane {

// How the last LoadFromFile ended.
enum class LoadResult {
    Loaded,         // the whole file was read
    NoFile,         // the file does not exist; the list is empty
    Cancelled,      // the password prompt was cancelled; the list is empty
    WrongPassword,  // no line of a protected file opened with the password; the list is empty
    ConvertError,   // a malformed date; the records before it are kept
    ReadError,      // the file could not be opened or read; the records before are kept
    Truncated,      // data follows the character 26 that ended the file; the records before it are kept
    Damaged,        // lines that are no records were skipped; every other record is kept
    LineTooLong,    // a line longer than kMaxRecordLine stopped the load; the records before are kept
    OutOfMemory,    // the file needs more memory than there is; the records before are kept
    Converted,      // a Unicode file, every line read; the next save writes Shift_JIS over it
};

// The last load's outcome, with what a message about it needs.
struct LoadReport {
    LoadResult result = LoadResult::Loaded;
    std::string detail;                   // ConvertError, ReadError: the platform's text
    std::vector<long long> damagedLines;  // numbers (from 1) of the file lines that were skipped
};

enum class SaveResult {
    Saved,
    Cancelled,    // the password prompt was cancelled; nothing was touched
    Unstorable,   // a record holds a character the file cannot keep (item); nothing was touched
    CreateError,  // the temporary file could not be made
    WriteError,   // writing or flushing failed; the file is as it was
    BackupError,  // the backup (backupName) of an incompletely loaded file could not be made
    ReplaceError, // the finished file could not replace the old one, which stays
};

struct SaveReport {
    SaveResult result = SaveResult::Saved;
    std::string detail;  // the platform's text
    int item = -1;       // Unstorable: the record's position
    std::string backupName;
};

class TPassList;

// The message box that tells the user of a load's or a save's outcome.
struct Notice {
    enum Kind { None, Warning, Error, Plain };
    Kind kind = None;
    std::string text;
};
// fileName names the file the load or save worked on; list gives Unstorable its record.
Notice LoadNotice(const std::string& fileName, const LoadReport& report);
Notice SaveNotice(const std::string& fileName, const SaveReport& report, const TPassList& list);

class TPassList {
public:
    TPassList(IPrompts& prompts, const ICollator& collator, IFileOps& fileOps);
    ~TPassList();
    TPassList(const TPassList&) = delete;
    TPassList& operator=(const TPassList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // The record at a valid position, to read or change in place.
    TPassItem& Item(int index) { return *items_[static_cast<size_t>(index)]; }
    const TPassItem& Item(int index) const { return *items_[static_cast<size_t>(index)]; }

    void Clear();
    int IndexOfItem(const TPassItem& item) const;
    int AddItem(const TPassItem& item);
    bool DeleteItem(const TPassItem* item);
    void RenameFolder(const std::string& oldPath, const std::string& newPath);
    void DeleteFolder(const std::string& path);
    void MarkChanged();
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    void GetItem(int index, TPassItem& item) const;
    void SetItemPath(int index, const std::string& path);
    std::string GetItemPath(int index) const;
    void Sort();
    // MarkChanged after a change in place to this one record: sets Modified and gives the order
    // Sort would give, ties included, by moving the record with a few dozen comparisons instead
    // of a whole sort. The list falls back to Sort where it cannot vouch for the rest of its
    // order (after RenameFolder, SetItemPath, an overwriting AddItem, a load that stopped
    // early, or a second new record). Nothing moves when the record is not in the list.
    // Whoever changes records in place through Item() sorts afterwards or calls this.
    void MarkItemChanged(const TPassItem* item);
    // confirm: the password is new (a save), so it is typed twice; when the two differ the user
    // is told and asked again.
    bool AskPassword(const std::string& message, bool confirm = false);
    LoadResult LoadFromFile(const std::string& fileName);
    // A list with a record that the file cannot hold (FirstUnstorableItem) is not saved, and
    // nothing is touched. A save that did not replace the file leaves Modified as it was.
    bool SaveToFile(const std::string& fileName);
    // The position of the first record that a file of the kind cannot hold, or -1. A plain file
    // cannot hold a character 26, which ends the file when it is read; a protected one cannot
    // hold a character 0, at which a deciphered block ends.
    int FirstUnstorableItem(bool encrypted) const;
    // Every record's line with CR LF after it, in the list's order (the text of a plain file),
    // handed to emit in consecutive parts made on every processor; false as soon as emit is.
    bool WritePlainText(const std::function<bool(const std::string&)>& emit) const;

    LoadResult LastLoadResult() const { return lastLoad_.result; }
    const LoadReport& LastLoad() const { return lastLoad_; }
    const SaveReport& LastSave() const { return lastSave_; }
    // False after a load that did not read every line of an existing file: the list then holds
    // less than the file, and the next save to it first keeps the file as a dated ".bak".
    bool LoadCompleted() const {
        return lastLoad_.result == LoadResult::Loaded || lastLoad_.result == LoadResult::NoFile;
    }

    bool Modified = false;
    bool Encrypted = true;
    std::string Password;
    // A password handed in that opens no line of the file is asked for (the file was saved
    // under another one) instead of being refused at once. Off for callers that cannot ask.
    bool AskOnWrongPassword = false;

private:
    LoadReport ReadFile(const std::string& fileName);
    LoadReport ReadRecords(std::FILE* file);
    SaveReport WriteFile(const std::string& fileName);
    bool KeepBackup(const std::string& fileName, SaveReport& report);
    void Show(const Notice& notice);
    // Whether the records are as Sort would leave them. A list read from a file this program
    // saved is (a save sorts first): one pass of the comparison over two keys built in turn finds
    // that out, without the keys of every record made at once, and stops at the first pair out of
    // order otherwise.
    bool InSortedOrder() const;

    IPrompts& prompts_;
    const ICollator& collator_;
    IFileOps& fileOps_;
    std::vector<std::unique_ptr<TPassItem>> items_;
    // What the last Sort ordered by, as far as the list still is in its order: Unknown after a
    // change that may have moved records; Disagreeing when the keys' order was refused by the
    // comparison. unplaced_: a record appended since, the one record that may be out of place.
    enum class Order { Unknown, ByKeys, ByComparison, Disagreeing };
    Order order_ = Order::Unknown;
    const TPassItem* unplaced_ = nullptr;
    LoadReport lastLoad_;
    SaveReport lastSave_;
    // Files whose last load in this run did not complete; each is kept as a backup before a
    // save first replaces it.
    std::set<std::string> incompleteFiles_;
};

// The order of Sort: Path + "\" + Title + ":" + UserID.
std::string SortKey(const TPassItem& item);
// The name under which a file whose load did not complete is kept: "<name>.<yyyymmdd-hhmmss>.bak"
// for the time given; attempts after the first add "-2", "-3", ... before ".bak".
std::string BackupName(const std::string& fileName, TDate now, int attempt = 1);

}  // namespace torvane
