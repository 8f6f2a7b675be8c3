#include "store/pass_item.h"

namespace torvane {

const char* const KindNames[kKindCount] = {"ソフトウェア", "ログイン", "メール", "WEB登録", "ハードウェア", "その他"};

const std::string& KindName(int32_t kind) {
    static const std::string names[kKindCount] = {KindNames[0], KindNames[1], KindNames[2],
                                                  KindNames[3], KindNames[4], KindNames[5]};
    static const std::string none;
    return kind >= 0 && kind < kKindCount ? names[kind] : none;
}

bool SameRecordKey(const TPassItem& a, const TPassItem& b) {
    return a.Path == b.Path && a.Title == b.Title && a.UserID == b.UserID && a.Passwd == b.Passwd &&
           a.Company == b.Company;
}

// FormatLine, ParseLine, ParseDate, ParseNumber and ExpiryState follow.

}  // namespace torvane
