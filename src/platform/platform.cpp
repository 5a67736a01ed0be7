#include "platform/platform.h"

#include <cctype>

#include "platform/overrides.h"

namespace brimlow::platform {

namespace {
Platform* installed = nullptr;
std::optional<char> chosenDecimalSeparator;
}  // namespace

std::optional<char> decimalSeparatorOverride() {
  return chosenDecimalSeparator;
}

EFOpenError::EFOpenError(const std::string& path, const std::string& reason)
    : EPlatformError("Cannot open file \"" + path + "\". " + reason) {}

EFCreateError::EFCreateError(const std::string& path, const std::string& reason)
    : EPlatformError("Cannot create file \"" + path + "\". " + reason) {}

ERegistryException::ERegistryException(const std::string& valueName)
    : EPlatformError("Invalid data type for '" + valueName + "'") {}

Platform& current() {
  return installed ? *installed : system();
}

ScopedPlatform::ScopedPlatform(Platform& replacement) : previous_(installed) {
  installed = &replacement;
}

ScopedPlatform::~ScopedPlatform() {
  installed = previous_;
}

void setDecimalSeparator(char separator) {
  chosenDecimalSeparator = separator;
}

RecycleResult Platform::recycleFile(const std::string& path) {
  return {RecycleOutcome::NoRecycleBin, {path, {}, {}}};
}

PutBackOutcome Platform::putBackRecycled(const RecycledFile&) {
  return PutBackOutcome::NotInBin;
}

bool Platform::driveRootReachable(const std::string&) {
  return true;
}

std::string driveRootOf(std::string_view path) {
  const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
    return {static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))), ':'};
  if (path.size() < 3 || !isSeparator(path[0]) || !isSeparator(path[1])) return {};
  // "\\server\share": the server's and the share's names, case folded.
  std::string root = "\\\\";
  int parts = 0;
  for (size_t i = 2; i < path.size(); ++i) {
    const char c = path[i];
    if (isSeparator(c)) {
      if (++parts == 2) break;
      root += '\\';
    } else {
      root += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return parts == 0 || root.back() == '\\' ? std::string{} : root;
}

void replaceFileContents(const std::string& path, std::string_view bytes) {
  Platform& os = current();
  WriteHandle file = os.createTemporaryBeside(path);
  try {
    os.writeAll(file, bytes, path);
    os.commitAndClose(file, path);
    os.replaceWith(file, path);
  } catch (...) {
    os.discard(file);
    throw;
  }
}

}  // namespace brimlow::platform
