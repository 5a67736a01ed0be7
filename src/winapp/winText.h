#pragma once

// The program's texts are 8-bit texts of the active code page; the window
// talks to the system through its wide calls.  These two turn one into the
// other by the platform's one rule.

#include <string>
#include <string_view>

namespace brimlow {

std::wstring Wide(std::string_view ansi);
std::string Ansi(std::wstring_view wide);
// A text of the program's own, written in UTF-8.
std::wstring WideFromUtf8(std::string_view utf8);

// The text of a window (a control's caption or content) in the code page.
std::string WindowTextOf(void* window);
std::wstring WideWindowText(void* window);

}  // namespace brimlow
