#include "platform/registryFile.h"

#include <gtest/gtest.h>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;

namespace {

const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Kelvane] 1700000000\n"
    "#time=1d9f0a\n"
    "\"DefaultDownloadList\"=\"wrong key\"\n"
    "\n"
    "[Software\\\\Kelvane\\\\Tarvolt] 1700000001\n"
    "#time=1d9f0b\n"
    "\"DefaultDownloadList\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\\\\Tarvolt\\\\lists\\\\my."
    "xml\"\n"
    "\"ExeFile\"=str(2):\"%ProgramFiles%\\\\Tarvolt\\\\tarvolt.exe\"\n"
    "\"Escapes\"=\"q\\\"t\\tn\\nz\\0e\\x41\\x0439\\x4e2d!\"\n"
    "\"Raw\"=\"\xD0\x9F\xD1\x80\"\n"
    "\"Count\"=dword:0000012c\n"
    "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19\n"
    "\"List\"=str(7):\"a\\0b\\0\"\n"
    "\"HexText\"=hex(2):25,00,41,00,\\\n"
    "  25,00,00,00\n"
    "\"HexWord\"=hex(4):2c,01,00,00\n"
    "\"Quad\"=hex(b):01,00,00,00,00,00,00,00\n"
    "\"After\"=\"still read\"\n"
    "@=\"default value\"\n"
    "\n"
    "[Software\\\\Kelvane\\\\Tarvolt\\\\Sub] 1700000002\n"
    "\"Inner\"=\"x\"\n";

const RegistryValue& valueOf(const char16_t* name) {
  static const std::optional<RegistryKey> key =
      findRegistryKey(kUserReg, u"Software\\Kelvane\\Tarvolt");
  EXPECT_TRUE(key.has_value());
  const RegistryValue* value = key ? key->find(name) : nullptr;
  static const RegistryValue none;
  EXPECT_NE(value, nullptr) << "no value";
  return value != nullptr ? *value : none;
}

struct TextCase {
  const char* label;
  const char16_t* name;
  std::u16string text;
};

class RegistryTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(RegistryTextTest, IsText) {
  const RegistryValue& value = valueOf(GetParam().name);
  EXPECT_EQ(value.type, RegistryValue::Type::Text) << GetParam().label;
  EXPECT_TRUE(sameBytes(GetParam().text, value.text)) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryTextTest,
    ::testing::Values(TextCase{"doubled backslashes", u"DefaultDownloadList",
                               u"C:\\users\\me\\AppData\\Roaming\\Tarvolt\\lists\\my.xml"},
                      TextCase{"expandable text counts as text, unexpanded", u"ExeFile",
                               u"%ProgramFiles%\\Tarvolt\\tarvolt.exe"},
                      TextCase{"escapes", u"Escapes",
                               std::u16string(u"q\"t\tn\nz\0eA\u0439\u4E2D!", 13)},
                      TextCase{"raw bytes are UTF-8", u"Raw", u"Пр"},
                      TextCase{"text stored as bytes", u"HexText", u"%A%"},
                      TextCase{"a value after a continued one", u"After", u"still read"},
                      TextCase{"@ is the default value, named empty", u"", u"default value"},
                      TextCase{"names compare without case", u"exefile",
                               u"%ProgramFiles%\\Tarvolt\\tarvolt.exe"}));

TEST(RegistryFile, IntegersFromDwordAndFourBytes) {
  EXPECT_EQ(valueOf(u"Count").type, RegistryValue::Type::Integer);
  EXPECT_EQ(valueOf(u"Count").integer, 300u);
  EXPECT_EQ(valueOf(u"HexWord").type, RegistryValue::Type::Integer);
  EXPECT_EQ(valueOf(u"HexWord").integer, 300u);
}

TEST(RegistryFile, OtherTypesAreNeitherTextNorInteger) {
  for (const char16_t* name : {u"Blob", u"List", u"Quad"}) {
    EXPECT_EQ(valueOf(name).type, RegistryValue::Type::Other);
  }
}

TEST(RegistryFile, KeysAreMatchedWholeAndWithoutCase) {
  const auto key = findRegistryKey(kUserReg, u"\\SOFTWARE\\kelvane\\tarvolt\\");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->values.size(), 12u);  // not the values of Software\Kelvane or of Sub
  EXPECT_EQ(key->find(u"Inner"), nullptr);
  const auto parent = findRegistryKey(kUserReg, u"Software\\Kelvane");
  ASSERT_TRUE(parent.has_value());
  EXPECT_EQ(parent->find(u"DefaultDownloadList")->text, u"wrong key");
}

TEST(RegistryFile, MissingKeysAndValues) {
  EXPECT_FALSE(findRegistryKey(kUserReg, u"Software\\Kelvane\\Tarvol").has_value());
  EXPECT_FALSE(findRegistryKey("", u"Software").has_value());
  const auto key = findRegistryKey(kUserReg, u"Software\\Kelvane\\Tarvolt");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->find(u"Missing"), nullptr);
}

TEST(RegistryFile, CrLfLinesAreReadLikeLfLines) {
  const std::string text = "[A\\\\B] 1\r\n\"V\"=\"x\"\r\n\"N\"=dword:00000001\r\n";
  const auto key = findRegistryKey(text, u"a\\b");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->find(u"V")->text, u"x");
  EXPECT_EQ(key->find(u"N")->integer, 1u);
}

TEST(RegistryFile, CyrillicNamesCompareWithoutCase) {
  EXPECT_TRUE(sameRegistryName(u"Папка", u"ПАПКА"));
  EXPECT_TRUE(sameRegistryName(u"ёж", u"ЁЖ"));
  EXPECT_FALSE(sameRegistryName(u"Папка", u"Папки"));
  EXPECT_FALSE(sameRegistryName(u"a", u"ab"));
}

}  // namespace
