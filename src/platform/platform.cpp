#include "platform/platform.h"

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
