#include "platform/winePath.h"

#include <cctype>

namespace brimlow::platform {

namespace {

bool hasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         std::isalpha(static_cast<unsigned char>(path[0])) != 0;
}

// The parts between "\" or "/" separators, empty ones left out.
std::vector<std::string_view> splitParts(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = path.find_first_of("\\/", start);
    const size_t stop = end == std::string_view::npos ? path.size() : end;
    if (stop > start) parts.push_back(path.substr(start, stop - start));
    start = stop + 1;
  }
  return parts;
}

// "\\server\share...": two backslashes and a server's name.
bool isSharePath(std::string_view path) {
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '/';
}

// The parts of a path below its drive or share, as Windows takes "." and ".."
// apart from the text before it looks at the disk: ".." at the root stays at
// the root, and the first `rootParts` parts (a share's server and name) are
// the root.
std::vector<std::string_view> partsBelowRoot(std::string_view rest, size_t rootParts) {
  std::vector<std::string_view> parts;
  for (const std::string_view part : splitParts(rest)) {
    if (part == "." && parts.size() >= rootParts) continue;
    if (part == ".." && parts.size() >= rootParts) {
      if (parts.size() > rootParts) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  return parts;
}

std::string child(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path = folder;
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

// The entry of `folder` that `name` stands for: itself when it exists, else a
// name of the folder that equals it but for letter case.
std::string resolvePart(const std::string& folder, std::string_view name,
                        const FolderLookup& lookup) {
  const std::string exact = child(folder, name);
  if (name == "." || name == ".." || lookup.exists(exact)) return exact;
  const std::string wanted = lookup.fold(name);
  for (const std::string& entry : lookup.list(folder.empty() ? std::string(".") : folder)) {
    if (lookup.fold(entry) == wanted) return child(folder, entry);
  }
  return exact;
}

}  // namespace

std::string mapHostPath(std::string_view path, const std::string& winePrefix,
                        const FolderLookup& lookup) {
  std::string mapped;
  std::vector<std::string_view> parts;
  if (hasDriveLetter(path)) {
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    mapped = child(child(winePrefix, "dosdevices"), std::string(1, drive) + ":");
    parts = partsBelowRoot(path.substr(2), 0);
  } else if (isSharePath(path)) {
    // Wine reaches a share through "dosdevices/unc/server/share".
    mapped = child(child(winePrefix, "dosdevices"), "unc");
    parts = partsBelowRoot(path.substr(2), 2);
  } else if (path.find('\\') != std::string_view::npos &&
             path.find('/') == std::string_view::npos) {
    if (path.front() == '\\') mapped = "/";
    parts = splitParts(path);
  } else {
    return std::string(path);
  }
  // Most paths are written exactly as the files are named: one question then
  // answers for all their parts.
  std::string exact = mapped;
  for (const std::string_view part : parts)
    exact = child(exact, part);
  if (lookup.exists(exact)) return exact;
  for (const std::string_view part : parts)
    mapped = resolvePart(mapped, part, lookup);
  return mapped;
}

}  // namespace brimlow::platform
