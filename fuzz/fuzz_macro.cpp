// Macro lists and templates from a data file: reading a list must write back to the same
// entries, and expanding any template against any record must keep field text literal and
// leave the Enter that ADDENTER asks for intact.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "autoinput/macro.h"

namespace {

using torvane::TPassItem;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The keystroke sender's reading: typed bytes as they are, key codes as "\x01" and the letter.
std::string SenderView(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        if (IsLead(c)) {
            out += text.substr(i, 2);
            i += 2;
        } else if (c == '\\') {
            if (i + 1 >= text.size()) break;
            const char next = text[i + 1];
            if (next == '\\') {
                out += '\\';
                i += 2;
            } else if (next != 0 && std::strchr("ptnRLUD^vHE", next)) {
                out += '\x01';
                out += next;
                i += 2;
            } else {
                ++i;
            }
        } else {
            out += static_cast<char>(c);
            ++i;
        }
    }
    return out;
}

// A field as the sender types it: whole characters only.
std::string WholeCharacters(const std::string& text) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t step = IsLead(text[end]) ? 2 : 1;
        if (end + step > text.size()) break;
        end += step;
    }
    return text.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);

    const std::string list = in.ConsumeRandomLengthString(256);
    const auto entries = torvane::ReadCommaList(list);
    Require(torvane::ReadCommaList(torvane::WriteCommaList(entries)) == entries);

    TPassItem item;
    item.Macro = list;
    for (std::string* field : {&item.UserID, &item.Passwd, &item.Serial, &item.ProdKey, &item.Hint, &item.Memo,
                               &item.Title, &item.Company}) {
        *field = in.ConsumeRandomLengthString(64);
    }
    item.Flags = in.ConsumeIntegral<uint16_t>();
    item.Price = in.ConsumeIntegral<int32_t>();
    item.Kind = in.ConsumeIntegral<int32_t>();
    item.FirstDate = in.ConsumeFloatingPoint<double>();
    item.LimitDate = in.ConsumeFloatingPoint<double>();
    const int number = in.ConsumeIntegralInRange<int>(-1, 12);
    const std::string entry = in.ConsumeRemainingBytesAsString();

    torvane::ExpandMacro(entry, item);
    torvane::BuildMacroText(number, in.ConsumeBool(), item);
    const std::string text = torvane::BuildMacroText(entry, true, item);
    if (!entry.empty()) {
        const std::string view = SenderView(text);
        Require(view.size() >= 4 && view.compare(view.size() - 4, 4, "\x01p\x01n") == 0);
    }
    Require(SenderView(torvane::ExpandMacro("=%P", item)) == WholeCharacters(item.Passwd));

    const size_t count = entries.size();
    torvane::SetMacro(item, -1, item.Title, entry);
    Require(torvane::MacroEntry(item.Macro, static_cast<int>(count)) == item.Title + "=" + entry);
    Require(torvane::DeleteMacro(item, static_cast<int>(count)));
    Require(torvane::ReadCommaList(item.Macro) == entries);
    return 0;
}
