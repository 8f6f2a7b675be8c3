#pragma once
// The settings holder: one object for the whole run with every option and the last working
// state. It reads the settings file once when the main window is created and writes it once,
// when it is destroyed at the very end of the run; everything else reads and changes the
// members only. The data-file password lives here too, in memory only.
#include <cstdint>
#include <string>

#include "store/platform.h"

namespace torvane {

class TInitParam {
public:
    // All texts empty, booleans off and integers zero until LoadParams. fileOps must outlive
    // the holder; it replaces the settings file when the holder writes it.
    explicit TInitParam(IFileOps& fileOps);
    // Runs SaveParams; nothing is written when LoadParams never ran.
    ~TInitParam();
    TInitParam(const TInitParam&) = delete;
    TInitParam& operator=(const TInitParam&) = delete;

    // Remembers path (the program's path with the extension ".ini") and reads every key, each
    // taking its default when absent. A missing or unreadable file is no error.
    void LoadParams(const std::string& path);
    // Rereads the file, sets every key (other lines keep their place) and writes it back through
    // a temporary file. True when there was nothing to write (no path) or the write succeeded;
    // otherwise false with the reason, the file keeping its previous content.
    bool SaveParams(std::string& error);

    const std::string& FileName() const { return path_; }

    // One member per settings key, in the file's order.
    std::string OpenDir;      // OPENDIR: initial folder of the open dialog, ending in "\"
    std::string SaveDir;      // SAVEDIR: initial folder of the save dialog, ending in "\"
    std::string LastOpen;     // LASTOPEN: data file opened at start; empty for the default beside the program
    bool PropView = false;    // PROPVIEW: property panel visible at start
    bool WindowHide = false;  // WINDOWHIDE: hide the main window before a macro is sent from it
    bool AddEnter = false;    // ADDENTER: append "\p" and a carriage return to every sent macro
    int32_t AlermDate = 0;    // ALERMDATE: days of warning before a limit date
    int32_t KeyDelay = 0;     // KEYDELAY: milliseconds between two keystrokes
    int32_t KeyPause = 0;     // KEYPAUSE: milliseconds of the pause code "\p"
    bool StartFor = false;    // STARTFOR: start hidden in the tray
    bool StatusBar = false;   // STATUSBAR: status bar visible
    std::string LastNode;     // LASTNODE: category path of the folder selected at start
    bool NotifyTop = false;   // NOTIFYTOP: the top node also lists due and expired records
    std::string ItemList;     // ITEMLIST: field letters of the item list's columns after the title

    // The data-file password: handed to the record list before every load and save and taken
    // back after them. Never written to any file.
    std::string Password;

private:
    IFileOps& fileOps_;
    std::string path_;
};

}  // namespace torvane
