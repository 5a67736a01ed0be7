#include "platform/posix/posixTrashFolders.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "platform/posix/posixPlatform.h"

namespace brimlow::platform {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%XX" stands for the byte XX; a "%" without two hexadecimal digits is
// itself.
std::string decodedPath(std::string_view text) {
  std::string path;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      path += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      path += text[i];
    }
  }
  return path;
}

std::string parentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joined(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string realFolder(const std::string& folder) {
  char buffer[PATH_MAX];
  return ::realpath(folder.c_str(), buffer) != nullptr ? std::string(buffer) : folder;
}

// A place as the file system knows it: its folder with every link followed.
std::string canonicalPlace(const std::string& path) {
  return joined(realFolder(parentOf(path)), nameOf(path));
}

// The top folder of the volume that holds `folder`: the last folder upwards
// on the same device.
std::string volumeTopOf(const std::string& folder) {
  std::string top = realFolder(folder);
  struct stat info {};
  if (::stat(top.c_str(), &info) != 0) return top;
  while (top != "/") {
    const std::string parent = parentOf(top);
    struct stat above {};
    if (::stat(parent.c_str(), &above) != 0 || above.st_dev != info.st_dev) break;
    top = parent;
  }
  return top;
}

// The trash numbers a name that is taken ("a.tar.gz", "a.2.tar.gz"): its
// text up to the first dot and from there stay.
bool mayBeTrashNameOf(std::string_view stem, std::string_view name) {
  if (stem == name) return true;
  const size_t dot = name.find('.');
  const std::string_view head = name.substr(0, dot);
  const std::string_view tail =
      dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
  return stem.size() > name.size() && stem.starts_with(head) && stem.ends_with(tail);
}

// The name a trash gives the `number`th file of one name it holds at once:
// "a.tar.gz", "a.2.tar.gz", "a.3.tar.gz".
std::string numberedName(const std::string& name, int number) {
  if (number == 1) return name;
  const size_t dot = name.find('.');
  if (dot == std::string::npos) return name + "." + std::to_string(number);
  return name.substr(0, dot) + "." + std::to_string(number) + name.substr(dot);
}

struct Entry {
  std::string folder;
  std::string stem;
  TrashedFile paths() const {
    return {joined(joined(folder, "files"), stem),
            joined(joined(folder, "info"), stem + std::string(kInfoSuffix))};
  }
};

std::vector<Entry> entriesOf(const std::vector<std::string>& folders, std::string_view name,
                             bool onlyNamesLikeIt) {
  std::vector<Entry> entries;
  for (const std::string& folder : folders) {
    for (const std::string& infoName : listPosixFolder(joined(folder, "info"))) {
      if (!std::string_view(infoName).ends_with(kInfoSuffix)) continue;
      std::string stem = infoName.substr(0, infoName.size() - kInfoSuffix.size());
      if (onlyNamesLikeIt && !mayBeTrashNameOf(stem, name)) continue;
      entries.push_back({folder, std::move(stem)});
    }
  }
  return entries;
}

bool hasIdentity(const std::string& path, const FileIdentity& identity) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && info.st_dev == identity.device &&
         info.st_ino == identity.inode;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

struct Choice {
  std::optional<TrashedFile> best;
  bool bestNamesThePlace = false;
  std::string bestDate;

  void consider(const Entry& entry, const std::string& place, bool mustNameThePlace) {
    TrashedFile paths = entry.paths();
    const std::optional<std::string> text = readPosixFile(paths.info);
    const std::optional<TrashInfo> info = text ? parseTrashInfo(*text) : std::nullopt;
    const bool namesThePlace =
        info && canonicalPlace(originalPlaceOf(entry.folder, info->path)) == place;
    if (mustNameThePlace && !namesThePlace) return;
    const std::string date = info ? info->deletionDate : std::string{};
    if (best && (bestNamesThePlace > namesThePlace ||
                 (bestNamesThePlace == namesThePlace && bestDate >= date)))
      return;
    best = std::move(paths);
    bestNamesThePlace = namesThePlace;
    bestDate = date;
  }
};

}  // namespace

std::optional<TrashInfo> parseTrashInfo(std::string_view text) {
  std::optional<std::string> path;
  std::string date;
  bool inGroup = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.starts_with('[')) {
      inGroup = line == "[Trash Info]";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inGroup || equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    if (key == "Path" && !path) path = decodedPath(value);
    if (key == "DeletionDate" && date.empty()) date = value;
  }
  if (!path || path->empty()) return std::nullopt;
  return TrashInfo{std::move(*path), std::move(date)};
}

std::string originalPlaceOf(const std::string& trashFolder, const std::string& infoPath) {
  if (infoPath.starts_with('/')) return infoPath;
  std::string top = parentOf(trashFolder);
  if (nameOf(top) == ".Trash") top = parentOf(top);
  return joined(top, infoPath);
}

std::vector<std::string> trashFoldersFor(const std::string& folder, const std::string& homeTrash,
                                         uid_t user) {
  const std::string top = volumeTopOf(folder);
  const std::string id = std::to_string(user);
  return {homeTrash, joined(joined(top, ".Trash"), id), joined(top, ".Trash-" + id)};
}

std::optional<TrashedFile> findTrashedFile(const std::vector<std::string>& trashFolders,
                                           const std::string& originalPath,
                                           const FileIdentity& identity) {
  const std::string name = nameOf(originalPath);
  const std::string place = canonicalPlace(originalPath);
  Choice choice;
  // The trash takes the first number free at the time, so the file lies
  // before the first gap: a few questions however full the trash is.
  for (const std::string& folder : trashFolders) {
    for (int number = 1; number < 100000; ++number) {
      const Entry entry{folder, numberedName(name, number)};
      struct stat info {};
      if (::lstat(entry.paths().file.c_str(), &info) != 0) break;
      if (info.st_dev == identity.device && info.st_ino == identity.inode) {
        choice.consider(entry, place, false);
        return choice.best;
      }
    }
  }
  const std::vector<Entry> likely = entriesOf(trashFolders, name, true);
  for (const Entry& entry : likely) {
    if (hasIdentity(entry.paths().file, identity)) choice.consider(entry, place, false);
  }
  // Another program may have named it otherwise.
  if (!choice.best) {
    for (const Entry& entry : entriesOf(trashFolders, name, false)) {
      if (hasIdentity(entry.paths().file, identity)) choice.consider(entry, place, false);
    }
  }
  // A volume that does not keep identities across a move.
  if (!choice.best) {
    for (const Entry& entry : likely) {
      if (exists(entry.paths().file)) choice.consider(entry, place, true);
    }
  }
  return choice.best;
}

}  // namespace brimlow::platform
