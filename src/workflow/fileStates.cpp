#include "workflow/fileStates.h"

#include "platform/platform.h"

namespace brimlow {

TFileState TFileStates::Of(const std::string& fileName) {
  if (!fileName.empty() && platform::current().fileExists(fileName)) return TFileState::Present;
  return TFileState::Absent;
}

}  // namespace brimlow
