#pragma once

// JSON lines as brimlow-cli prints them.  Strings are the bytes the program
// holds, in the active code page: only the double quote, the backslash and
// bytes below 0x20 are escaped; bytes 0x80 to 0xFF are written as they are.

#include <ostream>
#include <string_view>

#include "data/download.h"

namespace brimlow::cli {

// Writes `text` as a JSON string, quotes included.
void writeJsonString(std::ostream& out, std::string_view text);

// One line for one download: its fields in the order of the file format.
void writeDownloadJson(std::ostream& out, const Tdownload& record);

}  // namespace brimlow::cli
