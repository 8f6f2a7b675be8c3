// Deciphers arbitrary lines under arbitrary keys, and checks that any text without zero bytes
// survives a round trip. Input: one byte giving the key length (modulo 32), the key, the line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/crypt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static torvane::TCrypt crypt;
    if (size == 0) return 0;
    const size_t keyLength = data[0] % 32 < size - 1 ? data[0] % 32 : size - 1;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    const std::string line(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);

    crypt.SetKey(key);
    const std::string text = crypt.Decipher(line);
    if (line.size() <= 13 ? text != line : text.size() > (line.size() - 6) / 12 * 8) __builtin_trap();

    std::string plain;
    for (char c : line) {
        if (c != '\0') plain += c;
    }
    crypt.NewSalt();
    const std::string enciphered = crypt.Encipher(plain);
    if (crypt.Decipher(enciphered) != plain) __builtin_trap();
    return 0;
}
