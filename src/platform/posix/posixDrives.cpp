// Whether a drive or a share of the Wine prefix can be reached now.
#include <sys/stat.h>

#include "platform/posix/posixPlatform.h"

namespace brimlow::platform {

// A drive is the prefix's "dosdevices/x:" link and a share its
// "dosdevices/unc/server/share" folder, as every file call finds them: the
// root is reachable when a folder is there, with the link followed (a link
// to a medium that is not mounted, or no such drive: unreachable).  One or
// two questions to the file system, whatever the root.
bool PosixPlatform::driveRootReachable(const std::string& root) {
  if (root.empty()) return true;
  struct stat info {};
  return ::stat(mapToPosixPath(root + "\\").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace brimlow::platform
