#pragma once
// A program folder of its own for each test: the program's path decides where its settings
// file, data file and help file are, so a test that runs the main window (in-process, or by
// starting Torvane.exe) does it in a fresh temporary folder, removed afterwards.
#include <windows.h>

#include <string>
#include <vector>

namespace torvane::wintest {

class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder, ending without "\", and file names in it: Shift_JIS, with Japanese names.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // Where the program's own files are when it runs from here as Torvane.exe.
    std::string ProgramPath() const { return File("Torvane.exe"); }
    std::string SettingsFile() const { return File("Torvane.ini"); }

private:
    std::string path_;
};

bool FileExists(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The file's last-write time, or zero when it does not exist.
ULONGLONG WriteTime(const std::string& path);
// Dates the file's last write back to a fixed day in the past, so any rewrite shows.
void MakeOld(const std::string& path);
// The settings file's lines (CR LF ends removed).
std::vector<std::string> Lines(const std::string& path);
// The value of "NAME=value" among lines, or nothing.
bool FindSetting(const std::vector<std::string>& lines, const std::string& name, std::string& value);

}  // namespace torvane::wintest
