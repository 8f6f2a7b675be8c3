#pragma once
// Macro templates: a record's macros, the built-in ones, the field placeholders and the
// expansion of a template into the text the keystroke sender types.
//
// A macro entry is a name, "=" and a template. In a template "%" and a letter of
// "UPSKQABYVWMNTDLG" (either case) stands for a record field; "%$" and a letter is the same
// field split with pauses instead of tabs. Backslash codes ("\t", "\p", ...) are the keystroke
// sender's. All text is Shift_JIS bytes.
#include <string>
#include <string_view>

#include "autoinput/comma_list.h"
#include "store/pass_item.h"

namespace torvane {

// The five built-in macros every record offers before its own; a comma list ending in ",".
extern const char* const DefaultMacros;
constexpr int kDefaultMacroCount = 5;

// The placeholder letters, in the order of the letter table; they also name the item list's
// columns.
extern const char* const kFieldLetters;  // "UPSKQABYVWMNTDLG"

// DefaultMacros followed by the record's own Macro list; empty for no record. Macro number i
// of a record is entry i of this list, so the record's own macro j is number j + 5.
std::string FullMacroList(const TPassItem* item);

// Entry i of a macro list (quotes removed, doubled quotes made single); empty when the list
// has no entry i.
std::string MacroEntry(const std::string& list, int index);

// The text before the first "=" (empty without "=").
std::string MacroName(const std::string& entry);
// The text after the first "=" (the whole entry without "=").
std::string MacroTemplate(const std::string& entry);

// The most bytes a shown template or expansion holds: a crafted record could make either as
// long as the record itself, too long for a label to show or a window to stay responsive.
constexpr size_t kPreviewLimit = 4000;
// The text cut to at most limit bytes, never inside a double-byte character, with "…" marking
// a cut.
std::string PreviewText(const std::string& text, size_t limit = kPreviewLimit);

// Stores name "=" templ as the record's own macro `index`: replaces it when it exists and
// appends otherwise (-1 appends).
void SetMacro(TPassItem& item, int index, const std::string& name, const std::string& templ);
// Removes the record's own macro `index`; false (and nothing changed) when there is none.
bool DeleteMacro(TPassItem& item, int index);

struct TFieldText {
    std::string Text;
    bool Split = false;  // the placeholder replaces each "-" of Text by a split token
};

// The record field a letter names, as text (matched without regard to case). A character that
// names no field gives itself. The text is the field's own: nothing is escaped for the sender.
TFieldText FieldText(char letter, const TPassItem& item);

// What replaces "-" in a split field: "\t" (Tab) for "%", "\p" (pause) for "%$".
std::string_view SplitToken(bool pauseSplit);

// The template of `entry` with its placeholders replaced by the record's fields; the result
// is for the keystroke sender. Field text is typed as it stands: a backslash in it is written
// as two backslashes (which the sender types as one backslash), so it never starts a code,
// and a template backslash right before a field placeholder is dropped because it would
// otherwise combine with the field's first character. A double-byte character is taken whole
// in the template and in field text (its second byte may be 0x5C, the backslash). A template
// ending in "%", "%$" or the first byte of a double-byte character, and a field ending in
// such a first byte, stop at their end and add nothing for that last mark.
std::string ExpandMacro(const std::string& entry, const TPassItem& item);

// The text a macro run hands to the keystroke sender, shared by every place that runs macros:
// the entry expanded against the record and, when addEnter (the ADDENTER setting) is on,
// followed by a pause and the Enter key ("\p\n"; a template's unfinished backslash at its end
// is dropped first so that it cannot combine with them). Empty for an empty entry: an empty
// entry runs nothing, and callers check the entry before they bring the target forward.
std::string BuildMacroText(const std::string& entry, bool addEnter, const TPassItem& item);
// The same for macro number `number` of the record's FullMacroList.
std::string BuildMacroText(int number, bool addEnter, const TPassItem& item);

}  // namespace torvane
