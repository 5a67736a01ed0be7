#include "platform/codePageTables.h"

#include <gtest/gtest.h>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;

namespace {

char32_t lowerLatinAndCyrillic(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c == 0x401) return 0x451;
  if (c == 0x10400) return 0x10428;  // DESERET CAPITAL LONG I, beyond the basic plane
  return c;
}

// A made-up code page shaped like CP1251: Latin-1 up to 0x7F, Cyrillic
// capitals from 0xC0 and smalls from 0xE0, Ё at 0xA8 and ё at 0xB8, the euro
// sign at 0x88, and 0x98 undefined (its own value).
SingleByteCodePage cyrillicLike() {
  std::array<char16_t, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = static_cast<char16_t>(b);
  for (int b = 0xC0; b < 0x100; ++b)
    table[b] = static_cast<char16_t>(0x410 + b - 0xC0);
  table[0xA8] = 0x401;
  table[0xB8] = 0x451;
  table[0x88] = 0x20AC;
  table[0x41] = 'A';
  return SingleByteCodePage(table, lowerLatinAndCyrillic);
}

struct FromWideCase {
  const char* label;
  std::u16string wide;
  std::string bytes;
};

class SingleByteFromWideTest : public ::testing::TestWithParam<FromWideCase> {};

TEST_P(SingleByteFromWideTest, Converts) {
  EXPECT_TRUE(sameBytes(GetParam().bytes, cyrillicLike().fromWide(GetParam().wide)))
      << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleByteFromWideTest,
    ::testing::Values(
        FromWideCase{"Cyrillic to its bytes", u"Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
        FromWideCase{"Ё and the euro sign", u"Ё€", "\xA8\x88"},
        FromWideCase{"a character the page lacks is ?", u"a\u4E2Db", "a?b"},
        FromWideCase{"U+0000 stays a zero byte", std::u16string(u"\0", 1), std::string("\0", 1)},
        FromWideCase{"a surrogate pair is one ?", u"\U0001F600", "?"},
        FromWideCase{"an unpaired surrogate is one ?", std::u16string{char16_t(0xDC00), u'x'},
                     "?x"},
        FromWideCase{"an undefined byte round-trips", u"\u0098", "\x98"},
        // The byte 0x80 stands for U+0080 but U+0410 is at 0xC0 only.
        FromWideCase{"what a byte stood for before the remap is lacking", u"\u00C0", "?"}));

TEST(SingleByteCodePage, ToWideReadsEveryByte) {
  EXPECT_TRUE(sameBytes(std::u16string(u"Привет\u20AC\u0098"),
                        cyrillicLike().toWide("\xCF\xF0\xE8\xE2\xE5\xF2\x88\x98")));
}

TEST(SingleByteCodePage, LowerMapsCapitalsOfBothAlphabets) {
  EXPECT_TRUE(sameBytes(std::string("\xEE\xF2\xF7\xE5\xF2 abc \xB8 1?"),
                        cyrillicLike().lower("\xCE\xD2\xD7\xC5\xD2 ABC \xA8 1?")));
}

TEST(SingleByteCodePage, LowerLeavesBytesWhoseLowerCaseThePageLacks) {
  // Byte 0xC0 is А here; a table whose lower case has no byte keeps the byte.
  std::array<char16_t, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = static_cast<char16_t>(b);
  table[0xC0] = 0x410;  // А, but а (U+0430) is nowhere in this page
  const SingleByteCodePage page(table, lowerLatinAndCyrillic);
  EXPECT_TRUE(sameBytes(std::string("\xC0"), page.lower("\xC0")));
}

struct Utf8LowerCase {
  const char* label;
  std::string text;
  std::string lower;
};

class Utf8LowerTest : public ::testing::TestWithParam<Utf8LowerCase> {};

TEST_P(Utf8LowerTest, Lowers) {
  const Utf8CodePage page(lowerLatinAndCyrillic);
  EXPECT_TRUE(sameBytes(GetParam().lower, page.lower(GetParam().text))) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8LowerTest,
    ::testing::Values(
        Utf8LowerCase{"ASCII", "ReadMe.TXT", "readme.txt"},
        Utf8LowerCase{"Cyrillic and Ё", "ОТЧЕТ Ёлка", "отчет ёлка"},
        Utf8LowerCase{"beyond the basic plane", "\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},
        Utf8LowerCase{"invalid bytes pass unchanged", "A\xC0\xFF\xD0Z", "a\xC0\xFF\xD0z"},
        Utf8LowerCase{"a truncated sequence passes unchanged", "\xD0", "\xD0"}));

TEST(Utf8CodePage, ConvertsBothWays) {
  const Utf8CodePage page(lowerLatinAndCyrillic);
  EXPECT_TRUE(
      sameBytes(std::string("\xD0\x9F?"), page.fromWide(std::u16string{u'П', char16_t(0xD800)})));
  EXPECT_TRUE(sameBytes(std::u16string(u"П\u00FF"), page.toWide("\xD0\x9F\xFF")));
}

}  // namespace
