#include "platform/unicode.h"

#include <gtest/gtest.h>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;

namespace {

struct ToUtf8Case {
  const char* label;
  std::u16string wide;
  std::string utf8;
};

class Utf16ToUtf8Test : public ::testing::TestWithParam<ToUtf8Case> {};

TEST_P(Utf16ToUtf8Test, Encodes) {
  EXPECT_TRUE(sameBytes(GetParam().utf8, utf16ToUtf8(GetParam().wide))) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16ToUtf8Test,
    ::testing::Values(
        ToUtf8Case{"ASCII stays one byte each", u"abc", "abc"},
        ToUtf8Case{"U+0000 is kept inside the text", std::u16string(u"a\0b", 3),
                   std::string("a\0b", 3)},
        ToUtf8Case{"Cyrillic is two bytes", u"Пр", "\xD0\x9F\xD1\x80"},
        ToUtf8Case{"U+20AC is three bytes", u"\u20AC", "\xE2\x82\xAC"},
        ToUtf8Case{"a surrogate pair is one four-byte character", u"\U0001F600",
                   "\xF0\x9F\x98\x80"},
        ToUtf8Case{"a lone high surrogate becomes ?", std::u16string(1, char16_t(0xD83D)) + u"x",
                   "?x"},
        ToUtf8Case{"a lone low surrogate becomes ?", std::u16string(1, char16_t(0xDE00)), "?"},
        ToUtf8Case{"a high surrogate at the end becomes ?",
                   u"a" + std::u16string(1, char16_t(0xD800)), "a?"},
        ToUtf8Case{"two high surrogates in a row are two ?",
                   std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)},
                   "?\xF0\x90\x80\x80"}));

struct ToUtf16Case {
  const char* label;
  std::string utf8;
  std::u16string wide;
};

class Utf8ToUtf16Test : public ::testing::TestWithParam<ToUtf16Case> {};

TEST_P(Utf8ToUtf16Test, Decodes) {
  EXPECT_TRUE(sameBytes(GetParam().wide, utf8ToUtf16(GetParam().utf8))) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToUtf16Test,
    ::testing::Values(
        ToUtf16Case{"well-formed Cyrillic", "\xD0\x9F\xD1\x80", u"Пр"},
        ToUtf16Case{"four bytes give a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        ToUtf16Case{"a CP1251 byte keeps its value", "\xCF\xF0", u"\u00CF\u00F0"},
        ToUtf16Case{"a stray continuation byte keeps its value", "a\x80z", u"a\u0080z"},
        ToUtf16Case{"a truncated sequence keeps its bytes", "\xE2\x82", u"\u00E2\u0082"},
        ToUtf16Case{"an overlong slash is not a slash", "\xC0\xAF", u"\u00C0\u00AF"},
        ToUtf16Case{"an encoded surrogate is not decoded", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
        ToUtf16Case{"beyond U+10FFFF is not decoded", "\xF4\x90\x80\x80",
                    u"\u00F4\u0090\u0080\u0080"},
        ToUtf16Case{"a two-byte lead at the very end keeps its value", "ab\xD0", u"ab\u00D0"},
        ToUtf16Case{"a lead byte before ASCII gives both",
                    "\xD0"
                    "a",
                    u"\u00D0a"}));

// Runs of sixteen bytes go at once: a byte above 7F anywhere in one, or in
// the rest after the last whole run, stops the widening.
TEST(WidenAscii, WidensAsciiAndStopsAtAnyOtherByte) {
  const std::string ascii = "http://example.com/files/get.php?file=12&mirror=3";  // 49 bytes
  for (size_t length : {size_t{0}, size_t{5}, size_t{16}, size_t{17}, ascii.size()}) {
    const std::string bytes = ascii.substr(0, length);
    std::u16string out(bytes.size(), u'\0');
    EXPECT_TRUE(widenAscii(bytes, out.data())) << length;
    EXPECT_EQ(out, std::u16string(bytes.begin(), bytes.end())) << length;
    for (size_t at = 0; at < length; ++at) {
      std::string marked = bytes;
      marked[at] = '\xD0';
      EXPECT_FALSE(widenAscii(marked, out.data())) << length << " at " << at;
    }
  }
}

TEST(Utf8RoundTrip, EveryBasicPlaneCharacterComesBack) {
  std::u16string all;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) all += static_cast<char16_t>(c);
  }
  EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(all)), all);
}

}  // namespace
