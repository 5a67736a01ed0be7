#pragma once

#include <cstdint>
#include <string>

namespace brimlow {

// One of the host's download categories.
struct Tcategory {
  int32_t ID = 0;
  int32_t ImageIndex = 0;
  std::string Name;
  int32_t ParentID = 0;
};

}  // namespace brimlow
