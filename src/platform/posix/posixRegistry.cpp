// The registry is the Wine prefix's: user.reg for the current user's keys,
// system.reg for the local machine's.  The files are read at every question,
// so the answers follow what the host has written meanwhile.
#include <cstdlib>

#include "platform/posix/posixPlatform.h"
#include "platform/registryFile.h"

namespace brimlow::platform {

namespace {

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<RegistryKey> keyIn(const char* hive, const std::string& key, Platform& os) {
  const std::optional<std::string> file = readPosixFile(winePrefix() + "/" + hive);
  if (!file) return std::nullopt;
  return findRegistryKey(*file, os.ansiToWide(key));
}

}  // namespace

bool PosixPlatform::registryKeyExists(const std::string& key) {
  return keyIn("user.reg", key, *this).has_value();
}

std::optional<std::string> PosixPlatform::readRegistryText(const std::string& key,
                                                           const std::string& valueName) {
  const std::optional<RegistryKey> found = keyIn("user.reg", key, *this);
  if (!found) return std::nullopt;
  const RegistryValue* value = found->find(ansiToWide(valueName));
  if (value == nullptr) return std::nullopt;
  if (value->type != RegistryValue::Type::Text) throw ERegistryException(valueName);
  return wideToAnsi(value->text);
}

std::optional<uint32_t> PosixPlatform::readLocalMachineInteger(const std::string& key,
                                                               const std::string& valueName) {
  const std::optional<RegistryKey> found = keyIn("system.reg", key, *this);
  if (!found) return std::nullopt;
  const RegistryValue* value = found->find(ansiToWide(valueName));
  if (value == nullptr || value->type != RegistryValue::Type::Integer) return std::nullopt;
  return value->integer;
}

std::optional<std::string> PosixPlatform::environmentVariable(const std::string& name) {
  if (const char* value = std::getenv(name.c_str())) return std::string(value);
  if (name != "APPDATA") return std::nullopt;
  // Programs under Wine see APPDATA set to the prefix's application-data
  // folder; outside Wine the registry still says where that is.
  try {
    std::optional<std::string> folder = readRegistryText(kShellFolders, "AppData");
    if (folder && folder->empty()) return std::nullopt;
    return folder;
  } catch (const ERegistryException&) {
    return std::nullopt;
  }
}

}  // namespace brimlow::platform
