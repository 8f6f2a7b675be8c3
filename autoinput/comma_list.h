#pragma once
// Comma lists: the text form of a record's macro list. Entries are joined with ","; an entry
// that holds a blank, a control character, a double quote or a comma is written between
// double quotes with its quotes doubled.
#include <string>
#include <vector>

namespace torvane {

// Reads a comma list. Blanks and control characters around an entry are skipped; a quoted
// entry runs to the next lone quote (to the end of the text when none follows); an unquoted
// one runs up to the first comma or blank. A comma at the very end adds no entry.
std::vector<std::string> ReadCommaList(const std::string& text);

// Writes a list that ReadCommaList reads back entry for entry. An empty list gives the empty
// text, a list of one empty entry two double quotes.
std::string WriteCommaList(const std::vector<std::string>& entries);

}  // namespace torvane
