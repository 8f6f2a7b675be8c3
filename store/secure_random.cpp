#include "store/secure_random.h"

#include <cerrno>
#include <cstdio>

#if defined(__linux__)
#include <sys/random.h>
#endif

namespace torvane {

namespace {

bool FillFromDevice(unsigned char* bytes, size_t size) {
    std::FILE* f = std::fopen("/dev/urandom", "rb");
    if (!f) return false;
    const size_t got = std::fread(bytes, 1, size, f);
    std::fclose(f);
    return got == size;
}

}  // namespace

bool PosixSecureRandom::Fill(unsigned char* bytes, size_t size) {
#if defined(__linux__)
    size_t done = 0;
    while (done < size) {
        const ssize_t n = getrandom(bytes + done, size - done, 0);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == ENOSYS) {
            return FillFromDevice(bytes + done, size - done);  // a kernel older than getrandom
        } else {
            return false;
        }
    }
    return true;
#else
    return FillFromDevice(bytes, size);
#endif
}

}  // namespace torvane
