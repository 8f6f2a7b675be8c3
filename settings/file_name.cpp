#include "settings/file_name.h"

#include "store/sjis.h"

namespace torvane {

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    size_t dot = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsLeadByte(c)) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

}  // namespace torvane
