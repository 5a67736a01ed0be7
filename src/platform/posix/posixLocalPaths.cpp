// The user's data folder as the freedesktop base-directory rules give it, and
// the host's paths as they lie on this system.
#include "platform/path.h"
#include "platform/platform.h"
#include "platform/posix/posixPlatform.h"

namespace brimlow::platform {

std::optional<std::string> userDataFolder(const std::string&, const std::string& posixName) {
  Platform& os = current();
  const std::optional<std::string> dataHome = os.environmentVariable("XDG_DATA_HOME");
  if (dataHome && !dataHome->empty() && dataHome->front() == '/')
    return JoinPath(*dataHome, posixName);
  const std::optional<std::string> home = os.environmentVariable("HOME");
  if (!home || home->empty()) return std::nullopt;
  return JoinPath(JoinPath(*home, ".local/share"), posixName);
}

std::string localPathOf(const std::string& path) {
  return mapToPosixPath(path);
}

}  // namespace brimlow::platform
