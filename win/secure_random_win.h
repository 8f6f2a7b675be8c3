#pragma once
// The system's cryptographic generator for the core's ISecureRandom.
#include "store/secure_random.h"

namespace torvane::win {

// BCryptGenRandom with the system's preferred generator; RtlGenRandom (advapi32's
// SystemFunction036) on systems without bcrypt.dll. Both are bound at run time.
class WinSecureRandom : public ISecureRandom {
public:
    bool Fill(unsigned char* bytes, size_t size) override;
};

}  // namespace torvane::win
