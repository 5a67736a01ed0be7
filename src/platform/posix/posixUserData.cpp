// The user's data folder as the freedesktop base-directory rules give it.
#include "platform/path.h"
#include "platform/platform.h"

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

}  // namespace brimlow::platform
