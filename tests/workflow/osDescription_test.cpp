#include "workflow/osDescription.h"

#include <gtest/gtest.h>

#include "fakePlatform.h"

namespace brimlow {
namespace {

using platform::OsVersionInfo;

OsVersionInfo Nine(uint32_t minor, const char* service = "", uint32_t kernelMinor = 0) {
  OsVersionInfo v;
  v.platformId = 1;
  v.majorVersion = 4;
  v.minorVersion = minor;
  v.serviceText = service;
  v.kernel32Major = kernelMinor ? 4 : 0;
  v.kernel32Minor = kernelMinor;
  return v;
}

OsVersionInfo NT(uint32_t major, uint32_t minor, uint8_t productType = 1, bool x86 = true,
                 int serverR2 = 0, uint32_t pack = 0) {
  OsVersionInfo v;
  v.platformId = 2;
  v.majorVersion = major;
  v.minorVersion = minor;
  v.hasExtendedInfo = true;
  v.servicePackMajor = pack;
  v.productType = productType;
  v.nativeArchitectureIsX86 = x86;
  v.serverR2Metric = serverR2;
  return v;
}

TEST(WindowsName, EveryRowOfTheVersionTable) {
  const struct {
    const char* label;
    OsVersionInfo version;
    const char* name;
  } cases[] = {
      {"95", Nine(0), "Windows 95"},
      {"95 with service text C, blanks trimmed", Nine(0, " C "), "Windows 95 OSR2"},
      {"95 with service text B", Nine(3, "B"), "Windows 95 OSR2"},
      {"95 with service text A", Nine(0, "A"), "Windows 95"},
      {"98", Nine(10), "Windows 98"},
      {"98 with service text A", Nine(10, "A"), "Windows 98 SE"},
      {"98 with service text B", Nine(89, " B"), "Windows 98 SE"},
      {"kernel32 of 4.90 makes a 98 minor ME", Nine(10, "A", 90), "Windows ME"},
      {"kernel32 of another version does not", Nine(10, "", 10), "Windows 98"},
      {"minor 90", Nine(90), "Windows ME"},
      {"9x minor above 90 is no known system", Nine(91), ""},
      {"NT 3.1", NT(3, 1), "Windows NT 3.1"},
      {"NT 3.5", NT(3, 5), "Windows NT 3.5"},
      {"NT 3.51", NT(3, 51), "Windows NT 3.51"},
      {"NT 3.2 is no known system", NT(3, 2), ""},
      {"NT 4.0", NT(4, 0), "Windows NT 4.0"},
      {"2000", NT(5, 0), "Windows 2000"},
      {"XP", NT(5, 1), "Windows XP"},
      {"Server 2003 R2 by the metric", NT(5, 2, 3, false, 1), "Windows Server 2003 \"R2\""},
      {"XP x64: workstation, not x86", NT(5, 2, 1, false), "Windows XP x64"},
      {"x86 workstation 5.2 is a server", NT(5, 2, 1, true), "Windows Server 2003"},
      {"Server 2003", NT(5, 2, 3, false), "Windows Server 2003"},
      {"Vista", NT(6, 0, 1), "Windows Vista"},
      {"Longhorn", NT(6, 0, 3), "Windows Server \"Longhorn\""},
      {"6.1 is not in the table", NT(6, 1), ""},
      {"not Windows at all", OsVersionInfo{}, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsName(c.version), c.name) << c.label;
}

TEST(OsDescription, NameBlankAndServicePack) {
  const struct {
    const char* label;
    OsVersionInfo version;
    std::optional<uint32_t> csd;
    const char* description;
  } cases[] = {
      {"XP with pack 3", NT(5, 1, 1, true, 0, 3), std::nullopt, "Windows XP SP3"},
      {"Vista without a pack keeps the blank", NT(6, 0, 1), std::nullopt, "Windows Vista "},
      {"the newer systems ignore CSDVersion", NT(6, 0, 1), 0x0300, "Windows Vista "},
      {"no extended information: pack 0",
       [] {
         OsVersionInfo v = NT(5, 1, 1, true, 0, 2);
         v.hasExtendedInfo = false;
         return v;
       }(),
       std::nullopt, "Windows XP "},
      {"NT 4.0 with 0x0600", NT(4, 0), 0x0600, "Windows NT 4.0 SP6"},
      {"NT 4.0 without the value", NT(4, 0), std::nullopt, "Windows NT 4.0 "},
      {"98 with 0x0100", Nine(10), 0x0100, "Windows 98 SP1"},
      {"a value below 0x100 is no pack", Nine(10), 0x0099, "Windows 98 "},
      {"hexadecimal letters name no pack", NT(4, 0), 0x0A00, "Windows NT 4.0 "},
      {"an unknown system: blank and pack", OsVersionInfo{}, 0x0200, " SP2"},
      {"an unknown system without a pack", OsVersionInfo{}, std::nullopt, " "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OsDescription(c.version, c.csd), c.description) << c.label;
}

TEST(OsDescription, AsksTheSystemEachTime) {
  test::FakePlatform fake;
  platform::ScopedPlatform scoped(fake);
  fake.version = NT(4, 0);
  fake.csdVersion = 0x0600;
  EXPECT_EQ(OsDescription(), "Windows NT 4.0 SP6");
  fake.csdVersion = 0x0300;
  EXPECT_EQ(OsDescription(), "Windows NT 4.0 SP3");
}

TEST(SupportAddress, TheQueryInItsOrderWithTheDescriptionEncoded) {
  const std::string address = SupportAddress("Windows XP SP3");
  EXPECT_EQ(address.find("https://"), 0u) << address;
  const std::string query =
      "/index.phtml?page=support&tmp=1&lng=Russian&product=Tarvolt%20Brimlow&version=1.0&os=";
  const size_t at = address.find(query);
  ASSERT_NE(at, std::string::npos) << address;
  EXPECT_EQ(address.substr(at + query.size()), "Windows%20XP%20SP3");
  EXPECT_TRUE(SupportAddress("Windows Server 2003 \"R2\" ")
                  .ends_with("&os=Windows%20Server%202003%20%22R2%22%20"));
  EXPECT_TRUE(SupportAddress(" ").ends_with("&os=%20"));
  EXPECT_EQ(SupportAddress("").find(' '), std::string::npos);
}

TEST(PercentEncoded, OnlyUnreservedCharactersStayRaw) {
  EXPECT_EQ(PercentEncoded("Az09-._~"), "Az09-._~");
  EXPECT_EQ(PercentEncoded(" \"&=?#%"), "%20%22%26%3D%3F%23%25");
  EXPECT_EQ(PercentEncoded("\xD0\xAF"), "%D0%AF");
}

}  // namespace
}  // namespace brimlow
