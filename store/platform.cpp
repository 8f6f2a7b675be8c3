#include "store/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace torvane {

bool PosixFileOps::Replace(const std::string& source, const std::string& target, std::string& error) {
    if (std::rename(source.c_str(), target.c_str()) == 0) return true;
    error = std::strerror(errno);
    return false;
}

}  // namespace torvane
