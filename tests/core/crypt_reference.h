#pragma once
// The line cipher done the slow, obvious way: every table step walks its table bit by bit, as the
// file format is defined. The fast TCrypt is checked against it; with the departures from DES
// switched off it is plain DES, which checks the tables against published results.
#include <cstdint>
#include <string>
#include <vector>

namespace torvane::reference {

struct CipherOptions {
    bool complement = true;  // every table step yields the complement of the bits it selects
    bool salted = true;      // the salt swaps entries of the expansion table
    bool bigEndian = false;  // block halves read as big-endian numbers, as textbook DES reads them
};

class ReferenceCipher {
public:
    explicit ReferenceCipher(CipherOptions options = {}) : options_(options) {}

    // Salted expansion table and subkeys from the text salt + key.
    void Schedule(const std::string& salt, const std::string& key, bool decipher);
    // Subkeys straight from an 8-byte key block; the expansion table stays unsalted.
    void ScheduleKeyBlock(const uint8_t key[8], bool decipher);
    void CryptBlock(uint8_t block[8]) const;

    // `key` is used as given (the empty-password substitution happens before the cipher).
    std::string Encipher(const std::string& salt, const std::string& key, const std::string& text);
    std::string Decipher(const std::string& key, const std::string& line);

private:
    using Bits = std::vector<int>;  // Bits[0] is bit 1, the most significant

    Bits Select(const uint8_t* table, int n, const Bits& x) const;
    Bits BlockBits(const uint8_t bytes[8]) const;
    void StoreBlock(const Bits& bits, uint8_t bytes[8]) const;

    CipherOptions options_;
    uint8_t expansion_[48] = {};
    std::vector<Bits> subKeys_;  // in round order
};

std::string ReferenceEncodePair(uint8_t x, uint8_t y);
void ReferenceDecodeQuad(const char* six, uint8_t out[4]);

}  // namespace torvane::reference
