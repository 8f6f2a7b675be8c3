#pragma once
// What the keystroke sender does with an expanded macro, worked out apart from any window:
// the text becomes a list of steps (a character byte to post, a key to press, a pause), and a
// key word becomes the key messages it posts. The Win32 sender only carries the steps out.
#include <cstdint>
#include <string>
#include <vector>

namespace torvane {

// Key words: the low byte is the virtual-key code; the flags ask for more.
constexpr std::uint16_t kKeyExtended = 0x1000;
constexpr std::uint16_t kKeyShift = 0x0100;
constexpr std::uint16_t kKeyCtrl = 0x0200;

// The window messages of a key run, with the values Win32 gives them.
constexpr unsigned kMsgKeyDown = 0x0100;
constexpr unsigned kMsgKeyUp = 0x0101;
constexpr unsigned kMsgChar = 0x0102;

struct SendStep {
    enum class Kind {
        Char,  // post the byte as one character message
        Code,  // press keyWord (none for a pause code), then pause and look for the focus again
    };
    Kind kind = Kind::Char;
    unsigned char byte = 0;
    std::uint16_t keyWord = 0;  // 0: the code only pauses
};

struct KeyMessage {
    unsigned message = 0;
    std::uint8_t virtualKey = 0;
    std::uint32_t lParam = 0;
};

// Whether letter is one of the backslash codes; keyWord gets its key (0 for the pause code).
bool BackslashCodeKey(char letter, std::uint16_t& keyWord);

// The steps for an expanded macro. A two-byte character is two Char steps, lead byte first.
// A backslash pair types one backslash; a backslash before a code letter is that code; before
// anything else it is dropped. Control bytes are dropped, and a lone lead byte or backslash at
// the end of the text sends nothing.
std::vector<SendStep> ScriptSendText(const std::string& text);

// The messages that press keyWord: Ctrl and Shift held around the key when asked for.
std::vector<KeyMessage> KeyMessagesFor(std::uint16_t keyWord);

}  // namespace torvane
