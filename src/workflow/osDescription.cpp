#include "workflow/osDescription.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "workflow/makerSite.h"

namespace brimlow {

namespace {

constexpr uint32_t kPlatform9x = 1;
constexpr uint32_t kPlatformNT = 2;
constexpr uint8_t kWorkstation = 1;

const char* const kCsdKey = "SYSTEM\\CurrentControlSet\\Control\\Windows";
const char* const kCsdValue = "CSDVersion";

// The systems that report their service pack in the extended version
// information.
constexpr std::array<const char*, 7> kExtendedInfoSystems = {"Windows 2000",
                                                             "Windows XP",
                                                             "Windows Server 2003",
                                                             "Windows XP x64",
                                                             "Windows Server 2003 \"R2\"",
                                                             "Windows Vista",
                                                             "Windows Server \"Longhorn\""};

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string WithMinor(const char* stem, uint32_t minor) {
  return stem + std::to_string(minor);
}

std::string Windows9xName(const platform::OsVersionInfo& v) {
  const std::string service = Trimmed(v.serviceText);
  if (v.minorVersion < 10)
    return service == "B" || service == "C" ? "Windows 95 OSR2" : "Windows 95";
  if (v.minorVersion < 90) {
    if (v.kernel32Major == 4 && v.kernel32Minor == 90) return "Windows ME";
    return service == "A" || service == "B" ? "Windows 98 SE" : "Windows 98";
  }
  if (v.minorVersion == 90) return "Windows ME";
  return {};
}

std::string WindowsNTName(const platform::OsVersionInfo& v) {
  const uint32_t major = v.majorVersion;
  const uint32_t minor = v.minorVersion;
  if (major == 3 && (minor == 1 || minor == 5 || minor == 51))
    return WithMinor("Windows NT 3.", minor);
  if (major == 4) return WithMinor("Windows NT 4.", minor);
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major == 5 && minor == 1) return "Windows XP";
  if (major == 5 && minor == 2) {
    if (v.serverR2Metric != 0) return "Windows Server 2003 \"R2\"";
    if (!v.nativeArchitectureIsX86 && v.productType == kWorkstation) return "Windows XP x64";
    return "Windows Server 2003";
  }
  if (major == 6 && minor == 0)
    return v.productType == kWorkstation ? "Windows Vista" : "Windows Server \"Longhorn\"";
  return {};
}

}  // namespace

std::string WindowsName(const platform::OsVersionInfo& version) {
  if (version.platformId == kPlatform9x) return Windows9xName(version);
  if (version.platformId == kPlatformNT) return WindowsNTName(version);
  return {};
}

uint32_t ServicePackNumber(const platform::OsVersionInfo& version, const std::string& windowsName,
                           std::optional<uint32_t> csdVersion) {
  for (const char* name : kExtendedInfoSystems)
    if (windowsName == name) return version.hasExtendedInfo ? version.servicePackMajor : 0;
  if (!csdVersion) return 0;
  char hex[16];
  const int length = std::snprintf(hex, sizeof hex, "%.4x", *csdVersion);
  // Hexadecimal digits that are no decimal number (0x0A00) name no pack.
  uint32_t decimal = 0;
  const auto [end, error] = std::from_chars(hex, hex + length, decimal);
  if (error != std::errc() || end != hex + length) return 0;
  return decimal / 100;
}

std::string OsDescription(const platform::OsVersionInfo& version,
                          std::optional<uint32_t> csdVersion) {
  const std::string name = WindowsName(version);
  const uint32_t pack = ServicePackNumber(version, name, csdVersion);
  return name + " " + (pack > 0 ? "SP" + std::to_string(pack) : std::string());
}

std::string OsDescription() {
  platform::Platform& os = platform::current();
  std::optional<uint32_t> csdVersion;
  try {
    csdVersion = os.readLocalMachineInteger(kCsdKey, kCsdValue);
  } catch (const platform::EPlatformError&) {
    // A value that cannot be read counts as none.
  }
  return OsDescription(os.osVersion(), csdVersion);
}

std::string PercentEncoded(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~';
    if (plain) {
      result += c;
    } else {
      result += '%';
      result += kHex[byte >> 4];
      result += kHex[byte & 0x0F];
    }
  }
  return result;
}

std::string SupportAddress(const std::string& osDescription) {
  return std::string(kMakerSite) + kSupportPagePath + PercentEncoded(osDescription);
}

}  // namespace brimlow
