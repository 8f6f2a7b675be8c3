#include "autoinput/send_keys_script.h"

#include "store/sjis.h"

namespace torvane {

namespace {

constexpr char kBackslash = '\\';
constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;

// Repeat count 1 and no scan code; bit 24 marks an extended key, bits 30 and 31 a release.
constexpr std::uint32_t kLParamPress = 0x00000001;
constexpr std::uint32_t kLParamRelease = 0xC0000001;
constexpr std::uint32_t kLParamExtendedBit = 0x01000000;

struct CodeKey {
    char letter;
    std::uint16_t keyWord;
};

constexpr CodeKey kCodeKeys[] = {
    {'p', 0x0000},  // pause only
    {'t', 0x0009},  // Tab
    {'n', 0x000D},  // Enter
    {'R', 0x1027},  // Right arrow
    {'L', 0x1025},  // Left arrow
    {'U', 0x1026},  // Up arrow
    {'D', 0x1028},  // Down arrow
    {'^', 0x1021},  // Page Up
    {'v', 0x1022},  // Page Down
    {'H', 0x1024},  // Home
    {'E', 0x1023},  // End
};

SendStep CharStep(unsigned char byte) {
    return SendStep{SendStep::Kind::Char, byte, 0};
}

}  // namespace

bool BackslashCodeKey(char letter, std::uint16_t& keyWord) {
    for (const CodeKey& code : kCodeKeys) {
        if (code.letter == letter) {
            keyWord = code.keyWord;
            return true;
        }
    }
    return false;
}

std::vector<SendStep> ScriptSendText(const std::string& text) {
    std::vector<SendStep> steps;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            // A lead byte without its second byte would be held by the target (or by the
            // system's conversion) and glued to whatever character comes next: send nothing.
            if (i + 1 >= n || text[i + 1] == '\0') {
                ++i;
                continue;
            }
            steps.push_back(CharStep(b));
            steps.push_back(CharStep(static_cast<unsigned char>(text[i + 1])));
            i += 2;
        } else if (b == kBackslash) {
            if (i + 1 >= n) break;
            const char next = text[i + 1];
            std::uint16_t keyWord = 0;
            if (next == kBackslash) {
                // Field text reaches us with its backslashes doubled, so this is a typed one.
                steps.push_back(CharStep(static_cast<unsigned char>(kBackslash)));
                i += 2;
            } else if (BackslashCodeKey(next, keyWord)) {
                steps.push_back(SendStep{SendStep::Kind::Code, 0, keyWord});
                i += 2;
            } else {
                ++i;  // not a code: the backslash goes, the byte after it is read as usual
            }
        } else if (b < 0x20) {
            ++i;  // line breaks and real tabs would make the target jump fields
        } else {
            steps.push_back(CharStep(b));
            ++i;
        }
    }
    return steps;
}

std::vector<KeyMessage> KeyMessagesFor(std::uint16_t keyWord) {
    std::vector<KeyMessage> messages;
    const bool ctrl = (keyWord & kKeyCtrl) != 0;
    const bool shift = (keyWord & kKeyShift) != 0;
    const std::uint32_t extended = (keyWord & kKeyExtended) != 0 ? kLParamExtendedBit : 0;
    const auto key = static_cast<std::uint8_t>(keyWord & 0xFF);

    // Ctrl is posted as the right-hand (extended) Ctrl key.
    if (ctrl) messages.push_back({kMsgKeyDown, kVkControl, kLParamPress | kLParamExtendedBit});
    if (shift) messages.push_back({kMsgKeyDown, kVkShift, kLParamPress});
    messages.push_back({kMsgKeyDown, key, kLParamPress | extended});
    messages.push_back({kMsgKeyUp, key, kLParamRelease | extended});
    if (shift) messages.push_back({kMsgKeyUp, kVkShift, kLParamRelease});
    if (ctrl) messages.push_back({kMsgKeyUp, kVkControl, kLParamRelease | kLParamExtendedBit});
    return messages;
}

}  // namespace torvane
