#pragma once

// The registry files of a Wine prefix (user.reg for the current user,
// system.reg for the local machine), read only.  A key is a section
//   [Software\\Kelvane\\Tarvolt] 1234567890
// (backslashes doubled) followed by its values, one a line:
//   "Name"="text"      text (escapes \\ \" \n \r \t, \x and up to four hex
//                      digits for one UTF-16 unit, \ and octal digits)
//   "Name"=str(2):"…"  expandable text; str(N) with another N is not text
//   "Name"=dword:0000002a
//   "Name"=hex:01,02,\ and hex(N):…  bytes, continued over lines ending in "\"
//   @=…                the key's default value, named "" here
// Bytes outside escapes are UTF-8.  Key and value names compare without
// regard to letter case, as the registry does.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brimlow::platform {

struct RegistryValue {
  enum class Type { Text, Integer, Other };
  Type type = Type::Other;
  std::u16string text;   // for Text
  uint32_t integer = 0;  // for Integer
};

struct RegistryKey {
  std::vector<std::pair<std::u16string, RegistryValue>> values;  // in file order

  // The value of that name, case ignored; null when the key has none.
  const RegistryValue* find(std::u16string_view name) const;
};

// Equal but for letter case (Latin and Cyrillic letters).
bool sameRegistryName(std::u16string_view a, std::u16string_view b);

// The key named `key` (single backslashes between its parts; a leading or
// trailing backslash is ignored) in the text of a registry file; none when the
// file has no such section.
std::optional<RegistryKey> findRegistryKey(std::string_view file, std::u16string_view key);

}  // namespace brimlow::platform
