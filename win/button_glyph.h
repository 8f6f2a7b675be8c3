#pragma once
// The pictures of the standard OK and Cancel buttons (a green tick, a red cross), shown to the
// left of the caption.
#include <windows.h>

namespace torvane::win {

enum class ButtonGlyph { Ok, Cancel };

// Gives a push button its picture; the images live for the whole run.
void SetButtonGlyph(HWND button, ButtonGlyph glyph);

}  // namespace torvane::win
