#pragma once

// The description of the running operating system that the support page is
// sent: the Windows name, a blank and the service-pack text ("Windows XP
// SP3").  A system that is no Windows has an empty name.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace brimlow {

// The Windows name by the version information; empty for any other system.
std::string WindowsName(const platform::OsVersionInfo& version);

// The service-pack number.  The newer systems report it in their extended
// version information; the older ones through the registry value
// "CSDVersion", whose four hexadecimal digits read as a decimal number give
// the pack times 100 (0x0300 is pack 3).
uint32_t ServicePackNumber(const platform::OsVersionInfo& version, const std::string& windowsName,
                           std::optional<uint32_t> csdVersion);

// Name, blank, "SP%u" (or nothing when there is no service pack).
std::string OsDescription(const platform::OsVersionInfo& version,
                          std::optional<uint32_t> csdVersion);
// The description of the running system, asked anew on every call.
std::string OsDescription();

// Every byte but letters, digits and "-._~" as %XX: the description may hold
// blanks and double quotes, which must not reach another program raw.
std::string PercentEncoded(const std::string& text);

// The support page's address for a system description.
std::string SupportAddress(const std::string& osDescription);

}  // namespace brimlow
