// The user's data folder on this machine alone (not roaming with the user).
#include "platform/path.h"
#include "platform/platform.h"

namespace brimlow::platform {

std::optional<std::string> userDataFolder(const std::string& windowsName, const std::string&) {
  const std::optional<std::string> local = current().environmentVariable("LOCALAPPDATA");
  if (!local || local->empty()) return std::nullopt;
  return JoinPath(*local, windowsName);
}

}  // namespace brimlow::platform
