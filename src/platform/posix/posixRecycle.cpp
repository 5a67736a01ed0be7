// The recycle bin: the freedesktop.org trash, through GIO's trash call on
// the local file system, and putting a file back from it.
//
// The trash call only ever renames: the file goes into the trash of its own
// volume or stays where it was, never erased.  The local file system is asked
// directly (not through a virtual file system module, whose trash could mean
// anything), so that is what happens whatever GIO modules are installed.
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/fileCalls.h"
#include "platform/posix/posixPlatform.h"
#include "platform/posix/posixTrashFolders.h"

namespace brimlow::platform {

namespace {

std::string parentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

std::string absolutePath(const std::string& path) {
  if (path.starts_with('/')) return path;
  char buffer[4096];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return path;
  return std::string(buffer) + "/" + path;
}

bool trashThroughGio(const std::string& path) {
  GFile* file = g_vfs_get_file_for_path(g_vfs_get_local(), path.c_str());
  GError* error = nullptr;
  const bool trashed = g_file_trash(file, nullptr, &error) != FALSE;
  if (error != nullptr) g_error_free(error);
  g_object_unref(file);
  return trashed;
}

std::string homeTrash() {
  // The data folder GIO itself trashes into; it reads it once per process.
  return std::string(g_get_user_data_dir()) + "/Trash";
}

// Whether this process may move the file out of its folder: write access to
// the folder, the sticky folder's rule on owners, and no "immutable" or
// "append only" mark on the file (which lock it against renaming).
bool mayMove(const std::string& path, const struct stat& file) {
  const std::string folder = parentOf(path);
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return false;
  struct stat above {};
  if (::stat(folder.c_str(), &above) != 0) return false;
  const uid_t me = ::geteuid();
  if ((above.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && above.st_uid != me)
    return false;
  struct statx attributes {};
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &attributes) == 0 &&
      (attributes.stx_attributes & (STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND)) != 0)
    return false;
  return true;
}

// After the bin refused a file that could be moved: it has no bin, or the bin
// could not take it in, when the file is still there; otherwise it went
// meanwhile.
RecycleOutcome outcomeOfRefusal(const std::string& path, const struct stat& before) {
  struct stat now {};
  const bool stillThere = ::lstat(path.c_str(), &now) == 0 && now.st_dev == before.st_dev &&
                          now.st_ino == before.st_ino;
  return stillThere ? RecycleOutcome::NoRecycleBin : RecycleOutcome::Failed;
}

// 0, or why the entry could not be there: the error number of lstat.
int lookAt(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? 0 : errno;
}

// Where a file of the bin goes back to: the exact place its info names (the
// name as it was, whatever case the list writes it in), else the list's path.
std::string placeToPutBack(const RecycledFile& file) {
  if (!file.info.empty() && nameOf(file.info) == nameOf(file.binPath) + ".trashinfo") {
    const std::optional<std::string> text = readPosixFile(file.info);
    if (const std::optional<TrashInfo> info = text ? parseTrashInfo(*text) : std::nullopt)
      return originalPlaceOf(parentOf(parentOf(file.info)), info->path);
  }
  return absolutePath(mapToPosixPath(file.originalPath));
}

// 0, or the error number: EEXIST when an entry lies at `to`, which is never
// replaced.
int moveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system that cannot refuse to replace: look first.
  if (lookAt(to) == 0) return EEXIST;
  return fileCalls().rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

RecycleResult PosixPlatform::recycleFile(const std::string& path) {
  RecycleResult result{RecycleOutcome::Failed, {path, {}, {}}};
  if (path.empty()) return result;
  const std::string local = absolutePath(mapToPosixPath(path));
  struct stat before {};
  // Only files go to the bin here, as only files are ever deleted.
  if (::lstat(local.c_str(), &before) != 0 || S_ISDIR(before.st_mode)) return result;
  // A file that cannot be moved is not offered to the bin at all.
  if (!mayMove(local, before)) return result;
  if (!trashThroughGio(local)) {
    result.outcome = outcomeOfRefusal(local, before);
    return result;
  }
  result.outcome = RecycleOutcome::Recycled;
  const std::vector<std::string> folders =
      trashFoldersFor(parentOf(local), homeTrash(), ::geteuid());
  if (const auto found = findTrashedFile(folders, local, {before.st_dev, before.st_ino})) {
    result.file.binPath = found->file;
    result.file.info = found->info;
  }
  return result;
}

PutBackOutcome PosixPlatform::putBackRecycled(const RecycledFile& file) {
  if (file.binPath.empty()) return PutBackOutcome::NotInBin;
  if (const int error = lookAt(file.binPath))
    return error == ENOENT || error == ENOTDIR ? PutBackOutcome::NotInBin : PutBackOutcome::Failed;
  const std::string target = placeToPutBack(file);
  // Under Wine a name in another letter case is the same file.
  if (lookAt(target) == 0 || lookAt(mapToPosixPath(file.originalPath)) == 0)
    return PutBackOutcome::PlaceTaken;
  const int error = moveWithoutReplacing(file.binPath, target);
  if (error == EEXIST || error == ENOTEMPTY) return PutBackOutcome::PlaceTaken;
  if (error != 0) return PutBackOutcome::Failed;
  // Without its file the info would show an entry the bin cannot restore.
  if (!file.info.empty()) fileCalls().unlink(file.info.c_str());
  return PutBackOutcome::PutBack;
}

}  // namespace brimlow::platform
