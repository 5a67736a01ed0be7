#pragma once

// The workflow's own texts are written in UTF-8 here; the lists, the windows
// and the messages work in the system's active 8-bit code page.

#include <string>
#include <string_view>

namespace brimlow {

// A UTF-8 text of the program in the active code page.
std::string AnsiText(std::string_view utf8);

}  // namespace brimlow
