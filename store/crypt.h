#pragma once
// The line cipher of protected data files: a DES-table Feistel cipher whose table steps
// complement their output and whose expansion is salted per line, with a text encoding of
// two bytes to three characters. Existing files depend on every detail.
#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

extern const char TextAlphabet[];   // 65 characters
extern const char kFixedKeyText[];  // the key used when the password is empty

// Three characters for two bytes.
std::string EncodePair(uint8_t x, uint8_t y);
// Four bytes from six characters (characters outside TextAlphabet count as all bits set).
void DecodeQuad(const char* six, uint8_t out[4]);

class TCrypt {
public:
    enum : uint8_t { kPass = 0, kEncipher = 1, kDecipher = 2 };

    TCrypt();  // seeds the shared generator, then SetKey("")

    void SetKey(const std::string& key);
    void NewSalt();
    std::string Process(const std::string& text);
    std::string Encipher(const std::string& text);
    // Appends what Encipher(text) returns to out: lines enciphered one after another into one
    // buffer, without a string of their own each.
    void EncipherTo(std::string_view text, std::string& out);
    std::string Decipher(std::string_view line);
    // Decipher into out, whose memory a reader of many lines uses again.
    void DecipherTo(std::string_view line, std::string& out);

    void MakeSubKeys(uint8_t mode);
    void CryptBlock(uint8_t block[8]) const;

    std::string Key;
    std::string Salt;  // 6 characters
    uint8_t Mode = kPass;

private:
    // Filled by MakeSubKeys, in the layout of the fast block function: the subkeys in the order
    // the rounds use them, and the salt's swaps of expansion entries as a bit mask.
    uint64_t subKeys_[16] = {};
    uint64_t saltMask_ = 0;
};

}  // namespace torvane
