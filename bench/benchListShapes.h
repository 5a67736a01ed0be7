#pragma once

// The shapes a downloads list can take beside the host's usual one, for the
// load benchmark: each a switch of the list generator, any of them together.
// Standard library only.

#include <ostream>
#include <string_view>

namespace brimlow::bench {

struct ListShape {
  bool References = false;    // one text field in ten carries references
  bool CData = false;         // some texts as CDATA sections
  bool LfOnly = false;        // LF line ends instead of CR LF
  bool MixedLines = false;    // CR LF, LF and CR at random
  bool LongComments = false;  // comments of several KB, as fields and as XML comments
  bool Sparse = false;        // empty and missing fields
  bool Shuffled = false;      // the fields of each download in random order
  bool Unknown = false;       // extra elements of unknown names, some nested
  bool Bom = false;           // a UTF-8 byte-order mark first
  bool Tabs = false;          // indented with tabs, as the host writes
};

// Adds the shape named `name` ("plain", "refs", "cdata", "lf", "mixed-eol",
// "long-comments", "sparse", "shuffled", "unknown", "bom", "tabs", or "all"
// for every one of them, mixed line ends standing for both kinds) to
// `shape`; false for an unknown name.
bool AddShape(std::string_view name, ListShape& shape);

// Writes a list of `count` downloads of the shape, its names, hosts, folders
// and comments varied download by download.  The same count and shape always
// give the same text.
void WriteShapedList(long count, const ListShape& shape, std::ostream& out);

}  // namespace brimlow::bench
