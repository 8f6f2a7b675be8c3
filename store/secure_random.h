#pragma once
// Unpredictable bytes from the operating system, for what must not be guessed (generated
// passwords). The cipher's salts keep the shared generator of store/random.h: its sequence is
// part of the data files already written.
#include <cstddef>

namespace torvane {

class ISecureRandom {
public:
    virtual ~ISecureRandom() = default;
    // Fills size bytes; false when the source failed, and then the bytes must not be used.
    virtual bool Fill(unsigned char* bytes, size_t size) = 0;
};

// getrandom where the system has it, otherwise /dev/urandom. Fails (returns false) on systems
// with neither; Windows uses win::WinSecureRandom.
class PosixSecureRandom : public ISecureRandom {
public:
    bool Fill(unsigned char* bytes, size_t size) override;
};

}  // namespace torvane
