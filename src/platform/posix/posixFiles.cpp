// Files, folders, the program's own path and the clock.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/posix/posixPlatform.h"

namespace brimlow::platform {

namespace {

std::string reason(int error) {
  return std::strerror(error);
}

bool statPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(mapToPosixPath(path).c_str(), &info) == 0;
}

}  // namespace

std::string PosixPlatform::readFile(const std::string& path) {
  // Nothing is locked on POSIX: others may go on reading and writing the file.
  const int fd = ::open(mapToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError(path, reason(errno));
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw EFOpenError(path, reason(error));
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool PosixPlatform::fileExists(const std::string& path) {
  struct stat info {};
  return statPath(path, info) && !S_ISDIR(info.st_mode);
}

bool PosixPlatform::directoryExists(const std::string& path) {
  struct stat info {};
  return statPath(path, info) && S_ISDIR(info.st_mode);
}

bool PosixPlatform::createDirectory(const std::string& path) {
  return !path.empty() && ::mkdir(mapToPosixPath(path).c_str(), 0777) == 0;
}

std::vector<std::string> PosixPlatform::listDirectory(const std::string& path) {
  return listPosixFolder(mapToPosixPath(path));
}

bool PosixPlatform::deleteFile(const std::string& path) {
  return !path.empty() && ::unlink(mapToPosixPath(path).c_str()) == 0;
}

std::string PosixPlatform::programFilePath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<size_t>(n));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

LocalDate PosixPlatform::localDate() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

}  // namespace brimlow::platform
