#pragma once

// The second peer of the load benchmark: the downloads list parsed by
// pugixml into its document and then walked into the same records as the
// program's reader fills.  Used only here, never in the program.

#include <string>

#include "peerRecords.h"

namespace brimlow::bench {

// Throws EConvertError for a bad value, std::runtime_error when the file
// cannot be read.
PeerList LoadWithPugixml(const std::string& fileName);

}  // namespace brimlow::bench
