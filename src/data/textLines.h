#pragma once

// Text files are handled by lines: the text is cut at CR, LF or CR LF and
// every line leaves followed by CR LF, the last one too.

#include <cstddef>
#include <string>
#include <string_view>

namespace brimlow {

// What a text's lines are, counted in one pass: its length up to the first
// NUL, and before that its LFs, its CRs, the CRs directly followed by an LF,
// and the places where a given marker begins.
struct TLineEnds {
  std::size_t lineFeeds = 0;
  std::size_t returns = 0;
  std::size_t pairs = 0;
  std::size_t length = 0;
  std::size_t markers = 0;
};
TLineEnds CountLineEnds(std::string_view text, std::string_view marker = {});

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
// The same for a text whose line ends were counted already.
void MakeCrLfLines(std::string& text, const TLineEnds& counts);

}  // namespace brimlow
