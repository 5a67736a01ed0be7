#pragma once

// Text files are handled by lines: the text is cut at CR, LF or CR LF and
// every line leaves followed by CR LF, the last one too.

#include <string>
#include <string_view>

namespace brimlow {

// True when every CR is followed by LF, every LF preceded by CR, and the text
// is empty or ends with CR LF: the form ToCrLfLines gives.
bool HasCrLfLines(std::string_view text);

// The text up to its first NUL byte, cut into lines and joined again with
// CR LF after every line.  A text that already has that form comes back
// unchanged; an empty text stays empty.
std::string ToCrLfLines(std::string_view text);

// The same in place, reusing `text`'s storage when it already has that form
// (the usual case for a file Brimlow wrote), so a large file is not held twice.
void MakeCrLfLines(std::string& text);

}  // namespace brimlow
