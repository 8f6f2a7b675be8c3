// Reading a data file into the record list. The file is read whole and split into lines in
// place; lines are independent records, so deciphering and parsing run on every processor, and
// a pass in line order then takes their results as a line-by-line reading would: the same
// records, merges and damaged lines, and a failure that stops the reading at the same line.
#include <algorithm>
#include <cerrno>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/crypt.h"
#include "store/line_source.h"
#include "store/parallel_for.h"
#include "store/pass_list.h"
#include "store/text_file.h"

namespace torvane {
namespace {

// Lines deciphered and parsed by one thread at least: fewer are not worth starting it.
constexpr size_t kMinLoadPart = 256;
// The most records room is made for before they are read.
constexpr size_t kExpectedRecords = 1u << 18;

size_t HashRecordKey(const TPassItem& item) {
    const std::hash<std::string> hash;
    size_t h = hash(item.Path);
    for (const std::string* field : {&item.Title, &item.UserID, &item.Passwd, &item.Company}) {
        h = h * 1000003u ^ hash(*field);
    }
    h ^= h >> 31;  // the index takes the low bits
    h *= 0x9e3779b97f4a7c15ull;
    return h ^ (h >> 29);
}

// Finds records by their identity while a file is read, where a search through the list for
// every line would make loading quadratic. Open addressing over positions: one probe is
// usually one cache line, which matters with 100,000 records.
class RecordKeyIndex {
public:
    // Sized at once for the records expected: growing it step by step rehashes every record
    // again and again, each time into fresh memory.
    RecordKeyIndex(const std::vector<std::unique_ptr<TPassItem>>& items, size_t expected) : items_(items) {
        size_t size = 1024;
        while (size < 2 * expected) size *= 2;
        Resize(size);
    }

    // The first position with the record's key for which accept(position) holds, or -1.
    template <class Accept>
    int Find(const TPassItem& item, size_t hash, Accept accept) const {
        for (size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const Slot& s = slots_[slot];
            if (s.position < 0) return -1;
            if (s.hash == hash && SameRecordKey(*items_[static_cast<size_t>(s.position)], item) && accept(s.position)) {
                return s.position;
            }
        }
    }
    void Add(size_t hash, int position) {
        if ((count_ + 1) * 2 > slots_.size()) Resize(slots_.size() * 2);
        Insert(hash, position);
        ++count_;
    }

private:
    struct Slot {
        size_t hash = 0;
        int position = -1;
    };

    void Insert(size_t hash, int position) {
        size_t slot = hash & mask_;
        while (slots_[slot].position >= 0) slot = (slot + 1) & mask_;
        slots_[slot] = {hash, position};
    }
    void Resize(size_t size) {
        std::vector<Slot> old(size);
        old.swap(slots_);
        mask_ = size - 1;
        for (const Slot& s : old) {
            if (s.position >= 0) Insert(s.hash, s.position);
        }
    }

    const std::vector<std::unique_ptr<TPassItem>>& items_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t count_ = 0;
};

// Blank or a comment: a line a data file may hold that is no record and no damage.
bool IsBlankOrComment(std::string_view text) {
    const auto first = std::find_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 32; });
    return first == text.end() || *first == ';';
}

int CountQuotes(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '"'));
}

// The file's lines and how the reading of them ended.
struct FileLines {
    std::unique_ptr<MappedBytes> mapped;  // a Shift_JIS file's bytes, which the lines point into,
    std::string bytes;                    // or, where the file could not be mapped, read
    std::vector<std::string> owned;  // a Unicode file's lines, converted
    std::vector<std::string_view> text;
    std::vector<char> readable;      // 0: a Unicode line that Shift_JIS cannot hold
    int error = 0;
    bool tooLong = false;
    bool trailingData = false;
};

void ReadLines(std::FILE* file, TextEncoding encoding, IFileOps& fileOps, FileLines& lines) {
    if (encoding != TextEncoding::ShiftJis) {
        LineSource source(file, encoding, fileOps);
        SourceLine line;
        while (source.Next(line)) {
            lines.owned.push_back(std::move(line.text));
            lines.readable.push_back(line.readable);
        }
        lines.text.assign(lines.owned.begin(), lines.owned.end());
        lines.error = source.Failed() ? source.Error() : 0;
        lines.tooLong = source.TooLong();
        lines.trailingData = source.TrailingData();
        return;
    }
    std::string_view bytes;
    lines.mapped = fileOps.MapRest(file);
    if (lines.mapped) {
        bytes = lines.mapped->Bytes();
    } else {
        lines.error = ReadRest(file, lines.bytes, kMaxRecordLine);
        bytes = lines.bytes;
    }
    LineRules rules;
    rules.maxLine = kMaxRecordLine;
    rules.lineEnd = LineEndIn(bytes, true, kMaxRecordLine);
    // After a read error only the lines that ended before it count, as when read line by line.
    if (lines.error != 0) bytes = bytes.substr(0, bytes.find_last_of(rules.lineEnd) + 1);
    SplitText split = SplitLines(bytes, rules);
    lines.text = std::move(split.lines);
    lines.readable.assign(lines.text.size(), 1);
    lines.tooLong = split.tooLong;
    lines.trailingData = split.trailingData;
}

// What a line or a group of lines gave: a record, nothing (damaged), or the failure that stops
// the reading there.
struct Parsed {
    std::unique_ptr<TPassItem> item;
    size_t hash = 0;
    std::exception_ptr failure;
};

Parsed ParseRecord(std::string_view text) {
    Parsed parsed;
    try {
        if (std::optional<TPassItem> item = ParseLine(text)) {
            parsed.item = std::make_unique<TPassItem>(std::move(*item));
            parsed.hash = HashRecordKey(*parsed.item);
        }
    } catch (...) {
        parsed.failure = std::current_exception();
    }
    return parsed;
}

// A quoted field with line breaks (a memo) spans several lines of the file: the lines from
// first up to the returned end make one record, joined with CR LF, length bytes long.
size_t JoinedEnd(const FileLines& lines, size_t first, size_t& length) {
    int quotes = CountQuotes(lines.text[first]);
    length = lines.text[first].size();
    size_t end = first + 1;
    while (quotes % 2 != 0 && length <= kMaxRecordLine && end < lines.text.size() && lines.readable[end]) {
        length += 2 + lines.text[end].size();
        quotes += CountQuotes(lines.text[end]);
        ++end;
    }
    return end;
}

Parsed ParseJoined(const FileLines& lines, size_t first, size_t end, size_t length) {
    if (length > kMaxRecordLine) return {};
    if (end == first + 1) return ParseRecord(lines.text[first]);
    std::string text;
    text.reserve(length);
    text.append(lines.text[first]);
    for (size_t i = first + 1; i < end; ++i) text.append("\r\n").append(lines.text[i]);
    return ParseRecord(text);
}

}  // namespace

// Reads the open file into the empty list. Lines that are no records are skipped and named;
// a protected file none of whose lines opens has a wrong password.
LoadReport TPassList::ReadRecords(std::FILE* file) {
    TextEncoding encoding = TextEncoding::ShiftJis;
    if (!Encrypted) {
        // Saved from a spreadsheet or an editor in Unicode: the mark says so.
        std::string head(3, '\0');
        head.resize(std::fread(head.data(), 1, head.size(), file));
        size_t markLength = 0;
        encoding = EncodingOfMark(head, markLength);
        std::clearerr(file);
        std::fseek(file, static_cast<long>(markLength), SEEK_SET);
    }
    FileLines lines;
    ReadLines(file, encoding, fileOps_, lines);
    const size_t count = lines.text.size();
    // Room for a record per line, as far as a catalogue goes: a file of blank lines gets no more.
    const size_t expected = std::min<size_t>(count, kExpectedRecords);
    RecordKeyIndex index(items_, expected);
    items_.reserve(expected);
    LoadReport report;
    // Lines that are the same record twice are one; two records that share a key and differ
    // otherwise (two licences of one product) are both kept.
    auto add = [this, &index](Parsed& parsed) {
        if (parsed.failure) std::rethrow_exception(parsed.failure);
        TPassItem& item = *parsed.item;
        std::string line;
        const int same = index.Find(item, parsed.hash, [&](int position) {
            if (line.empty()) line = FormatLine(item);
            return FormatLine(*items_[static_cast<size_t>(position)]) == line;
        });
        if (same >= 0) {
            *items_[static_cast<size_t>(same)] = std::move(item);
        } else {
            items_.push_back(std::move(parsed.item));
            index.Add(parsed.hash, Count() - 1);
        }
    };
    size_t opened = 0;
    if (Encrypted) {
        std::vector<Parsed> parsed(count);
        TCrypt crypt;
        crypt.SetKey(Password);
        ParallelFor(count, kMinLoadPart, [&](size_t begin, size_t end) {
            TCrypt local = crypt;
            std::string text;
            for (size_t i = begin; i < end; ++i) {
                if (lines.text[i].empty()) continue;
                try {
                    local.DecipherTo(lines.text[i], text);
                    // Only the first five characters of a password enter the key, so a shorter
                    // password that agrees with them deciphers the file too, leaving the rest of
                    // the right one in front of every line: the line must then still be a record
                    // line. (A rest that only lengthens the first field cannot be told from a
                    // longer folder name.)
                    if (text.compare(0, Password.size(), Password) == 0) {
                        parsed[i] = ParseRecord(std::string_view(text).substr(Password.size()));
                    }
                } catch (...) {
                    parsed[i].failure = std::current_exception();
                }
            }
        });
        std::vector<long long> emptyLines;  // damaged only when a line follows them
        for (size_t i = 0; i < count; ++i) {
            const long long number = static_cast<long long>(i) + 1;
            if (lines.text[i].empty()) {
                emptyLines.push_back(number);
                continue;
            }
            report.damagedLines.insert(report.damagedLines.end(), emptyLines.begin(), emptyLines.end());
            emptyLines.clear();
            if (parsed[i].item || parsed[i].failure) {
                add(parsed[i]);
                ++opened;
            } else {
                report.damagedLines.push_back(number);
            }
        }
    } else {
        // The groups of lines that make the records when every record parses are parsed ahead,
        // on every processor. A group that does not parse loses only its first line, and the
        // lines after it are read again: those groups, rare, are parsed when met.
        struct Group {
            size_t first, end, length;
        };
        std::vector<Group> groups;
        std::vector<int> groupAt(count, -1);
        for (size_t i = 0; i < count;) {
            if (!lines.readable[i] || IsBlankOrComment(lines.text[i])) {
                ++i;
                continue;
            }
            Group g{i, 0, 0};
            g.end = JoinedEnd(lines, i, g.length);
            groupAt[i] = static_cast<int>(groups.size());
            groups.push_back(g);
            i = g.end;
        }
        std::vector<Parsed> parsed(groups.size());
        ParallelFor(groups.size(), kMinLoadPart, [&](size_t begin, size_t end) {
            for (size_t k = begin; k < end; ++k) parsed[k] = ParseJoined(lines, groups[k].first, groups[k].end, groups[k].length);
        });
        for (size_t i = 0; i < count;) {
            const long long number = static_cast<long long>(i) + 1;
            if (!lines.readable[i]) {
                report.damagedLines.push_back(number);
                ++i;
                continue;
            }
            if (IsBlankOrComment(lines.text[i])) {
                ++i;
                continue;
            }
            Parsed again;
            size_t end = 0;
            Parsed* record = &again;
            if (groupAt[i] >= 0) {
                record = &parsed[static_cast<size_t>(groupAt[i])];
                end = groups[static_cast<size_t>(groupAt[i])].end;
            } else {
                size_t length = 0;
                end = JoinedEnd(lines, i, length);
                again = ParseJoined(lines, i, end, length);
            }
            if (record->item || record->failure) {
                add(*record);
                i = end;
                continue;
            }
            // A stray quote took the lines after it: only its own line is lost.
            report.damagedLines.push_back(number);
            ++i;
        }
    }
    if (lines.error != 0) {
        report.result = LoadResult::ReadError;
        report.detail = fileOps_.ErrorText(lines.error);
    } else if (lines.tooLong) {
        report.result = LoadResult::LineTooLong;
    } else if (Encrypted && opened == 0 && !report.damagedLines.empty()) {
        report.result = LoadResult::WrongPassword;
        report.damagedLines.clear();
    } else if (lines.trailingData) {
        report.result = LoadResult::Truncated;
    } else if (!report.damagedLines.empty()) {
        report.result = LoadResult::Damaged;
    } else if (encoding != TextEncoding::ShiftJis) {
        report.result = LoadResult::Converted;
    }
    // The records hold their own text now: the file's memory is free for the sort to use.
    lines = FileLines();
    if (report.result != LoadResult::WrongPassword) Sort();
    return report;
}

}  // namespace torvane
