// Files, folders, the program's own path and the clock.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/posix/fileCalls.h"
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
  return readFileWithRoom(path, 0);
}

std::string PosixPlatform::readFileWithRoom(const std::string& path, double growth) {
  std::string bytes;
  if (const int error = readWholePosixFile(mapToPosixPath(path), bytes, growth))
    throw EFOpenError(path, reason(error));
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
  return !path.empty() && fileCalls().unlink(mapToPosixPath(path).c_str()) == 0;
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
