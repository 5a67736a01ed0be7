#pragma once

// The trash folders of the freedesktop.org rules, as read back after a file
// went into one.  A trash folder holds "files/NAME", the file itself, and
// "info/NAME.trashinfo", which says where it lay and when it was trashed.
// The user's own trash is "$XDG_DATA_HOME/Trash"; another volume has
// "$top/.Trash/$uid" or "$top/.Trash-$uid" at its top folder, and there the
// path it lay at is written relative to that top folder.
//
// The system's trash call does not say where it put a file, so the file is
// looked for: by its identity on disk (a move within a volume keeps it),
// then by the place the info names.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow::platform {

// What a ".trashinfo" says: the path, its percent escapes decoded, and the
// deletion date as written (local time, "YYYY-MM-DDThh:mm:ss", so that later
// dates compare greater as texts).  None without a "[Trash Info]" group
// holding a Path.
struct TrashInfo {
  std::string path;
  std::string deletionDate;
};
std::optional<TrashInfo> parseTrashInfo(std::string_view text);

// The absolute path an info's Path stands for: a relative one lies under the
// top folder of `trashFolder` (the folder holding ".Trash-$uid", or the
// folder holding ".Trash" for ".Trash/$uid"; the data folder for the user's
// own trash).
std::string originalPlaceOf(const std::string& trashFolder, const std::string& infoPath);

// The trash folders a file of `folder` (an absolute POSIX folder) can go to:
// the user's own and those at the top of the folder's volume.
std::vector<std::string> trashFoldersFor(const std::string& folder, const std::string& homeTrash,
                                         uid_t user);

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
};

struct TrashedFile {
  std::string file;  // the trashed file's path
  std::string info;  // its ".trashinfo"
};

// The entry of the trash folders holding the file that lay at `originalPath`
// (absolute) and has `identity` on disk; when several could be, the one whose
// info names that place, and of those the latest.  Without a file of that
// identity, the latest entry whose info names the place and whose file is
// there.  None when no entry fits.
std::optional<TrashedFile> findTrashedFile(const std::vector<std::string>& trashFolders,
                                           const std::string& originalPath,
                                           const FileIdentity& identity);

}  // namespace brimlow::platform
