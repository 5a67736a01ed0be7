// The user's data folder on this machine alone (not roaming with the user),
// and paths, which are this system's own already.
#include "platform/path.h"
#include "platform/platform.h"

namespace brimlow::platform {

std::optional<std::string> userDataFolder(const std::string& windowsName, const std::string&) {
  const std::optional<std::string> local = current().environmentVariable("LOCALAPPDATA");
  if (!local || local->empty()) return std::nullopt;
  return JoinPath(*local, windowsName);
}

std::string localPathOf(const std::string& path) {
  return path;
}

}  // namespace brimlow::platform
