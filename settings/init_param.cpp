#include "settings/init_param.h"

#include "settings/init_file.h"

namespace torvane {

namespace {

constexpr int32_t kDefaultAlermDate = 7;
constexpr int32_t kDefaultKeyDelay = 50;
constexpr int32_t kDefaultKeyPause = 500;
const char kDefaultItemList[] = "UGDL";

}  // namespace

TInitParam::TInitParam(IFileOps& fileOps) : fileOps_(fileOps) {}

TInitParam::~TInitParam() {
    // The end of the run has nobody left to tell about a failed write.
    try {
        std::string ignored;
        SaveParams(ignored);
    } catch (...) {
    }
}

void TInitParam::LoadParams(const std::string& path) {
    path_ = path;
    const TInitFile file(path_, fileOps_);
    OpenDir = file.ReadString("OPENDIR", "");
    SaveDir = file.ReadString("SAVEDIR", "");
    LastOpen = file.ReadString("LASTOPEN", "");
    PropView = file.ReadBool("PROPVIEW", false);
    WindowHide = file.ReadBool("WINDOWHIDE", true);
    AddEnter = file.ReadBool("ADDENTER", false);
    AlermDate = file.ReadInteger("ALERMDATE", kDefaultAlermDate);
    KeyDelay = file.ReadInteger("KEYDELAY", kDefaultKeyDelay);
    KeyPause = file.ReadInteger("KEYPAUSE", kDefaultKeyPause);
    StartFor = file.ReadBool("STARTFOR", false);
    StatusBar = file.ReadBool("STATUSBAR", true);
    LastNode = file.ReadString("LASTNODE", "");
    NotifyTop = file.ReadBool("NOTIFYTOP", true);
    ItemList = file.ReadString("ITEMLIST", kDefaultItemList);
}

bool TInitParam::SaveParams(std::string& error) {
    if (path_.empty()) return true;
    TInitFile file(path_, fileOps_);
    file.WriteString("OPENDIR", OpenDir);
    file.WriteString("SAVEDIR", SaveDir);
    file.WriteString("LASTOPEN", LastOpen);
    file.WriteBool("PROPVIEW", PropView);
    file.WriteBool("WINDOWHIDE", WindowHide);
    file.WriteBool("ADDENTER", AddEnter);
    file.WriteInteger("ALERMDATE", AlermDate);
    file.WriteInteger("KEYDELAY", KeyDelay);
    file.WriteInteger("KEYPAUSE", KeyPause);
    file.WriteBool("STARTFOR", StartFor);
    file.WriteBool("STATUSBAR", StatusBar);
    file.WriteString("LASTNODE", LastNode);
    file.WriteBool("NOTIFYTOP", NotifyTop);
    file.WriteString("ITEMLIST", ItemList);
    return file.UpdateFile(error);
}

}  // namespace torvane
