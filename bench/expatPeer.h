#pragma once

// The comparison peer of the load benchmark: the same downloads list read
// with expat's SAX interface into the same records, with the same text
// normalisation, number and date conversions and UTF-8 to code page step as
// the program's own reader.  Used only here, never in the program.

#include <string>

#include "peerRecords.h"

namespace brimlow::bench {

// Throws EConvertError for a bad value, std::runtime_error when the file
// cannot be read.
PeerList LoadWithExpat(const std::string& fileName);

}  // namespace brimlow::bench
