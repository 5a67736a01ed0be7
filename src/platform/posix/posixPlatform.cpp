#include "platform/posix/posixPlatform.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/fileCalls.h"
#include "platform/winePath.h"

namespace brimlow::platform {

Platform& system() {
  static PosixPlatform instance;
  return instance;
}

std::string winePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : "";
  }
  return std::string(home) + "/.wine";
}

std::string mapToPosixPath(const std::string& path) {
  const FolderLookup lookup{
      [](const std::string& entry) {
        struct stat info {};
        return ::lstat(entry.c_str(), &info) == 0;
      },
      listPosixFolder,
      [](std::string_view name) { return system().lowerCase(name); },
  };
  return mapHostPath(path, winePrefix(), lookup);
}

std::vector<std::string> listPosixFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return names;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(listing);
  return names;
}

int readWholePosixFile(const std::string& path, std::string& bytes, double growth) {
  const FileCalls& calls = fileCalls();
  const int fd = calls.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (fd < 0) return errno;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) {
    const auto size = static_cast<size_t>(info.st_size);
    bytes.reserve(size + static_cast<size_t>(static_cast<double>(size) * growth));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = calls.read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      calls.close(fd);
      bytes.clear();
      return error;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  calls.close(fd);
  return 0;
}

std::optional<std::string> readPosixFile(const std::string& path) {
  std::string bytes;
  if (readWholePosixFile(path, bytes) != 0) return std::nullopt;
  return bytes;
}

}  // namespace brimlow::platform
