// Reads any bytes as a downloads list and as a category file.  A load may
// fail with its conversion error; anything else escaping is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/categories.h"
#include "data/convert.h"
#include "data/downloadsList.h"
#include "memoryPlatform.h"
#include "targets.h"

namespace brimlow::fuzz {

void ReadAnyList(std::string_view bytes) {
  MemoryPlatform memory{std::string(bytes)};
  platform::ScopedPlatform scoped(memory);
  try {
    const TDownloadsList list("fuzz.xml");
    volatile size_t sink = 0;
    for (int i = 0; i < list.Count(); ++i)
      sink = sink + list[i].FileName.size() + list[i].Size;
  } catch (const EConvertError&) {
  }
  try {
    const TCategoryList categories("nodelist.xml");
    volatile const void* found = categories.FindByID(2);
    (void)found;
  } catch (const EConvertError&) {
  }
}

}  // namespace brimlow::fuzz
