// Whether a drive or a share can be reached now.
#include <windows.h>

#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

// A drive letter needs a volume with its medium in: a drive of removable
// media, empty, answers no volume.  A share needs its root to answer.  The
// system's "no disk" box is kept from showing while the drive is asked.
bool Win32Platform::driveRootReachable(const std::string& root) {
  if (root.empty()) return true;
  const std::wstring rootFolder = widenAnsi(root) + L"\\";
  DWORD previous = 0;
  const bool quiet = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous) != 0;
  bool reachable = false;
  if (root.size() == 2 && root[1] == ':') {
    reachable = ::GetDriveTypeW(rootFolder.c_str()) != DRIVE_NO_ROOT_DIR &&
                ::GetVolumeInformationW(rootFolder.c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                        nullptr, 0) != 0;
  } else {
    reachable = ::GetFileAttributesW(rootFolder.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  if (quiet) ::SetThreadErrorMode(previous, nullptr);
  return reachable;
}

}  // namespace brimlow::platform
