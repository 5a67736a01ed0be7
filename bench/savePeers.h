#pragma once

// The comparison peers of the save benchmark: the same records written in the
// host's layout by pugixml's document and save, by libxml2's text writer and
// by plain string building.  Each turns the program's 8-bit texts into UTF-8
// first, as the program does, and writes the file itself (no flush to disk).
// Used only here, never in the program.

#include <string>

#include "data/downloadsList.h"

namespace brimlow::bench {

void SaveWithPugixml(const TDownloadsList& list, const std::string& fileName);
void SaveWithLibxml2(const TDownloadsList& list, const std::string& fileName);
void SaveWithStrings(const TDownloadsList& list, const std::string& fileName);

}  // namespace brimlow::bench
