#include "tools/version_text.h"

#include "store/sjis.h"

namespace torvane {

std::string ShortVersion(const std::string& fileVersion) {
    const size_t dot = fileVersion.rfind('.');
    return dot == std::string::npos ? fileVersion : fileVersion.substr(0, dot);
}

std::string AboutVersionText(const std::string& productName, const std::string& fileVersion) {
    std::string text = productName + "\nVersion. " + fileVersion + ")";
    // There is always a "." (the one after "Version"), so an empty file version yields
    // "Version (Build  )"-like text rather than nothing, as the box has always shown it.
    const size_t dot = text.rfind('.');
    text.replace(dot, 1, " (Build ");
    return text;
}

std::string ExpandLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(text[i]) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];  // a trail byte 0x5C is not a backslash
        } else if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace torvane
