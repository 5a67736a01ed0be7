// Registry values and the environment.  Keys are opened for reading only,
// never created.  Texts are read in UTF-16 and narrowed by the program's own
// rule (wideToAnsi).
#include <windows.h>

#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

class OpenKey {
 public:
  OpenKey(HKEY hive, const std::string& key) {
    if (::RegOpenKeyExW(hive, widenAnsi(key).c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~OpenKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct RawValue {
  DWORD type = REG_NONE;
  std::string bytes;
};

// The type and data of a value; none when it is absent or cannot be read.
std::optional<RawValue> queryValue(const OpenKey& key, const std::string& valueName) {
  const std::wstring name = widenAnsi(valueName);
  RawValue value;
  DWORD size = 0;
  LONG status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size);
  // The value may grow between the two questions: ask again until it fits.
  for (int attempt = 0; attempt < 8 && status == ERROR_SUCCESS; ++attempt) {
    value.bytes.resize(size);
    DWORD got = size;
    status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type,
                                reinterpret_cast<BYTE*>(value.bytes.data()), &got);
    if (status == ERROR_SUCCESS) {
      value.bytes.resize(got);
      return value;
    }
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
    }
  }
  return std::nullopt;
}

// The text of string data: UTF-16 units up to the first terminating zero, if
// the data holds one (it need not).
std::u16string textOf(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  const size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

}  // namespace

bool Win32Platform::registryKeyExists(const std::string& key) {
  return static_cast<bool>(OpenKey(HKEY_CURRENT_USER, key));
}

std::optional<std::string> Win32Platform::readRegistryText(const std::string& key,
                                                           const std::string& valueName) {
  const OpenKey open(HKEY_CURRENT_USER, key);
  if (!open) return std::nullopt;
  const std::optional<RawValue> value = queryValue(open, valueName);
  if (!value) return std::nullopt;
  // Expandable text is text too; it is handed over as stored, unexpanded.
  if (value->type != REG_SZ && value->type != REG_EXPAND_SZ) throw ERegistryException(valueName);
  return wideToAnsi(textOf(value->bytes));
}

std::optional<uint32_t> Win32Platform::readLocalMachineInteger(const std::string& key,
                                                               const std::string& valueName) {
  const OpenKey open(HKEY_LOCAL_MACHINE, key);
  if (!open) return std::nullopt;
  const std::optional<RawValue> value = queryValue(open, valueName);
  if (!value || value->type != REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  uint32_t integer = 0;
  for (int i = 3; i >= 0; --i)
    integer = (integer << 8) | static_cast<unsigned char>(value->bytes[static_cast<size_t>(i)]);
  return integer;
}

std::optional<std::string> Win32Platform::environmentVariable(const std::string& name) {
  const std::wstring wideName = widenAnsi(name);
  std::wstring value(256, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD n =
        ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      // Zero is also the length of a variable that is set but empty.
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < value.size()) {
      value.resize(n);
      return wideToAnsi(asUtf16(value));
    }
    value.resize(n);  // the size needed, its terminating zero included
  }
}

}  // namespace brimlow::platform
