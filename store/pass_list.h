#pragma once
// The records of the open data file, in the list's own order, and the reading and writing of
// that file. Records are owned here and referred to by address elsewhere: an address stays
// valid until its record is deleted or the list is cleared or reloaded (sorting reorders the
// references, not the records).
#include <cstdio>
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
    WrongPassword,  // the list is empty
    ConvertError,   // a malformed date; the records before it are kept
    ReadError,      // the file could not be opened or read; the records before are kept
    Truncated,      // data follows the character 26 that ended the file; the records before it are kept
};

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
    bool AskPassword(const std::string& message);
    LoadResult LoadFromFile(const std::string& fileName);
    // A list with a record that the file cannot hold (FirstUnstorableItem) is not saved, and
    // nothing is touched.
    bool SaveToFile(const std::string& fileName);
    // The position of the first record that a file of the kind cannot hold, or -1. A plain file
    // cannot hold a character 26, which ends the file when it is read; a protected one cannot
    // hold a character 0, at which a deciphered block ends.
    int FirstUnstorableItem(bool encrypted) const;

    LoadResult LastLoadResult() const { return lastLoad_; }
    // False after a load that stopped before the end of an existing file: the list then holds
    // less than the file, and the next save to it first keeps the file as a dated ".bak".
    bool LoadCompleted() const { return lastLoad_ == LoadResult::Loaded || lastLoad_ == LoadResult::NoFile; }

    bool Modified = false;
    bool Encrypted = true;
    std::string Password;

private:
    LoadResult ReadRecords(std::FILE* file, const std::string& fileName);
    void WrongPassword(const std::string& fileName);
    bool KeepBackup(const std::string& fileName, std::string& error);

    IPrompts& prompts_;
    const ICollator& collator_;
    IFileOps& fileOps_;
    std::vector<std::unique_ptr<TPassItem>> items_;
    LoadResult lastLoad_ = LoadResult::Loaded;
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
