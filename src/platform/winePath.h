#pragma once

// Where the host's paths lie on a POSIX system.  The host runs under Wine, so
// the paths it stores and the registry hands out are Windows paths; Wine keeps
// its drives under the prefix's "dosdevices" folder ("c:", "d:", ...), and like
// Windows it finds names whatever their letter case.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow::platform {

// The file-system questions the mapping asks, so that it can be tried on a
// made-up folder tree.
struct FolderLookup {
  // True when an entry (of any kind) of exactly this path exists.
  std::function<bool(const std::string&)> exists;
  // The names of a folder's entries; empty when it cannot be listed.
  std::function<std::vector<std::string>(const std::string&)> list;
  // The text that two names compare equal by when letter case is ignored.
  std::function<std::string(std::string_view)> fold;
};

// The POSIX path of the file that `path` names:
// - "X:\..." or "X:..." (a drive letter and a colon) lies in
//   `winePrefix`/dosdevices/x:; "." parts are dropped, ".." parts take away the
//   part before them but never the drive;
// - "\\server\share\..." (a share) lies in `winePrefix`/dosdevices/unc/server/
//   share, where Wine reaches shares; ".." never leaves the share;
// - a path with "\" and no "/" is relative to the current folder (or, with a
//   leading "\", to the root), "\" read as "/";
// - every other path is already a POSIX path and comes back unchanged.
// For the first two, each part is taken as written when an entry of that name
// exists and otherwise as the first entry of its folder whose name matches it
// when case is ignored; a part that matches nothing stays as written, so that
// a file about to be created gets the name the caller gave.
std::string mapHostPath(std::string_view path, const std::string& winePrefix,
                        const FolderLookup& lookup);

}  // namespace brimlow::platform
