#include "store/platform.h"

#include <cerrno>
#include <cstdio>

namespace torvane {

bool PosixFileOps::Replace(const std::string& source, const std::string& target, std::string& error) {
    if (std::rename(source.c_str(), target.c_str()) == 0) return true;
    error = ErrorText(errno);
    return false;
}

}  // namespace torvane
