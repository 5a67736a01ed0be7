#pragma once

// The name a download is shown by in both download lists.

#include <string_view>

#include "data/download.h"

namespace brimlow {

// The most characters a name is shown with.  No file system allows longer
// ones, and laying out millions of characters would take seconds at every
// paint; the record keeps the whole text.  A window cuts after converting the
// text, so that a character of several bytes is never split.
inline constexpr int kMaxShownNameLength = 1000;

// The file name part of FileName (after its last "\" or ":", and outside
// Windows also "/", since the host's files may have POSIX paths there), or
// else the last part of the URL.  Uncut.
std::string_view ShownNamePart(const Tdownload& download);

}  // namespace brimlow
