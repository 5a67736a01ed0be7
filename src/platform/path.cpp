#include "path.h"

#include <algorithm>

namespace brimlow::platform {

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\";
#else
constexpr std::string_view kSeparators = "/\\";
#endif

char separatorFor(std::string_view folder) {
#ifdef _WIN32
  (void)folder;
  return '\\';
#else
  return isWindowsPath(folder) ? '\\' : '/';
#endif
}

bool isSeparator(char c) {
  return kSeparators.find(c) != std::string_view::npos;
}

}  // namespace

bool isWindowsPath(std::string_view path) {
  const bool driveLetter =
      path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool backslashesOnly =
      path.find('\\') != std::string_view::npos && path.find('/') == std::string_view::npos;
  return driveLetter || backslashesOnly;
}

std::string JoinPath(std::string_view folder, std::string_view part) {
  if (part.empty()) return std::string(folder);
  const char separator = separatorFor(folder);
  std::string fixedPart(part);
  std::replace(fixedPart.begin(), fixedPart.end(), '\\', separator);
  if (folder.empty()) return fixedPart;

  std::string result(folder);
  const bool folderEnds = isSeparator(result.back());
  const bool partBegins = fixedPart.front() == separator;
  if (folderEnds && partBegins) {
    result.pop_back();
  } else if (!folderEnds && !partBegins) {
    result += separator;
  }
  return result + fixedPart;
}

std::string ExtractFileDir(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string ExtractFileName(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

}  // namespace brimlow::platform
