#include "xml/xmlUtf8.h"

#include <gtest/gtest.h>

#include <random>

namespace brimlow {
namespace {

struct DecodeCase {
  const char* label;
  std::string input;
  std::u16string units;
};

class DecodeLenientTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeLenientTest, Decodes) {
  std::u16string out;
  utf8::DecodeLenient(GetParam().input, out);
  EXPECT_EQ(out, GetParam().units);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeLenientTest,
    ::testing::Values(DecodeCase{"ascii", "ab", u"ab"},
                      // U+0430 CYRILLIC SMALL LETTER A
                      DecodeCase{"two_bytes", "\xD0\xB0", u"\u0430"},
                      // U+20AC EURO SIGN
                      DecodeCase{"three_bytes", "\xE2\x82\xAC", u"\u20AC"},
                      // U+1F600: a surrogate pair, never the character 0
                      DecodeCase{"four_bytes_become_a_surrogate_pair", "\xF0\x9F\x98\x80",
                                 u"\U0001F600"},
                      DecodeCase{"stray_continuation_is_its_own_value", "\x80z", u"\u0080z"},
                      DecodeCase{"byte_F8_is_its_own_value", "\xF8", u"\u00F8"},
                      DecodeCase{"lead_without_continuation", "\xD0z", u"\u00D0z"},
                      DecodeCase{"cut_short_stops_decoding", "a\xE2\x82", u"a\u00E2"},
                      DecodeCase{"overlong_passes", "\xC1\x81", u"A"},
                      // C0 80 and E0 80 80 spell the character 0, which no
                      // text may hold: it would end the document once written.
                      DecodeCase{"overlong_zero_is_replaced",
                                 "a\xC0\x80"
                                 "b\xE0\x80\x80",
                                 u"a\uFFFDb\uFFFD"},
                      // F7 BF BF BF is 0x1FFFFF, beyond any character.
                      DecodeCase{"beyond_10FFFF_is_replaced", "\xF7\xBF\xBF\xBF", u"\uFFFD"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Utf8, IsValidRejectsWhatDoesNotRoundTrip) {
  EXPECT_TRUE(utf8::IsValid("plain \xD0\xB0 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
  for (const char* bad :
       {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xD0", "\xE2\x82", "\xD0z"}) {
    EXPECT_FALSE(utf8::IsValid(bad)) << bad;
  }
}

TEST(Utf8, LooksAtEveryByteAfterLongAsciiRuns) {
  // ASCII is passed over sixteen and eight bytes at a time; what follows it
  // counts, wherever it falls.
  for (std::size_t ascii = 0; ascii < 40; ++ascii) {
    const std::string run(ascii, 'a');
    EXPECT_TRUE(utf8::IsValid(run + "\xD0\xB0" + run)) << ascii;
    EXPECT_FALSE(utf8::IsValid(run + "\x80" + run)) << ascii;
    EXPECT_FALSE(utf8::IsValid(run + "\xD0")) << ascii;
    EXPECT_TRUE(utf8::IsAscii(run + run)) << ascii;
    EXPECT_FALSE(utf8::IsAscii(run + "\xC3\xA9" + run)) << ascii;
  }
}

// Well-formedness one character at a time: shortest forms only, no
// surrogates, nothing above U+10FFFF, nothing cut short.
bool PlainIsValid(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const size_t length = b < 0x80                 ? 1
                          : b >= 0xC2 && b <= 0xDF ? 2
                          : b >= 0xE0 && b <= 0xEF ? 3
                          : b >= 0xF0 && b <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t value = length == 1 ? b : b & (0xFF >> (length + 1));
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      value = (value << 6) | (c & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

TEST(Utf8, IsValidMatchesThePlainRuleOnRandomMixes) {
  // Mostly ASCII and two-byte Cyrillic, as list texts are, with now and then
  // a longer character, a stray byte or a character cut short, at every
  // place of blocks of sixteen.
  std::mt19937 random(5);
  const std::string pieces[] = {"a",
                                " ",
                                "b",
                                "\xD0\xB0",
                                "\xD1\x8F",
                                "\xC3\xA9",
                                "\xE2\x84\x96",
                                "\xF0\x9F\x98\x80",
                                "\x80",
                                "\xD0",
                                "\xC1\x81",
                                "\xED\xA0\x80",
                                "\xDF"};
  for (int round = 0; round < 5000; ++round) {
    const unsigned kinds = round % 2 == 0 ? 6 : 13;  // every other text well formed
    std::string text;
    for (unsigned n = random() % 40; n > 0; --n)
      text += pieces[random() % kinds];
    ASSERT_EQ(utf8::IsValid(text), PlainIsValid(text)) << ::testing::PrintToString(text);
  }
}

// The lenient decoding, one sequence at a time.
std::u16string PlainDecode(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const size_t length = b < 0xC0 || b >= 0xF8 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (length == 1) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    if (i + length > text.size()) {
      out += static_cast<char16_t>(b);
      break;
    }
    char32_t value = b & (0xFF >> (length + 1));
    size_t k = 1;
    for (; k < length && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80; ++k)
      value = (value << 6) | (text[i + k] & 0x3F);
    if (k < length) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    utf8::AppendUtf16(value > 0x10FFFF || value == 0 ? utf8::kReplacement : value, out);
    i += length;
  }
  return out;
}

TEST(Utf8, DecodeLenientMatchesThePlainRuleOnRandomMixes) {
  // Long ASCII stretches, taken sixteen at a time, beside every other kind
  // of sequence; appended to what the output already holds.
  std::mt19937 random(9);
  const std::string pieces[] = {"abcdefgh", " ",    "\xD0\xB0", "\xE2\x84\x96", "\xF0\x9F\x98\x80",
                                "\x80",     "\xD0", "\xF8",     "\xC0\x80",     "\xE2\x82"};
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (unsigned n = random() % 30; n > 0; --n)
      text += pieces[random() % (round % 2 == 0 ? 3 : 10)];
    std::u16string out = u"x";
    utf8::DecodeLenient(text, out);
    ASSERT_EQ(out, u"x" + PlainDecode(text)) << ::testing::PrintToString(text);
  }
}

TEST(Utf8, EncodeDecodeRoundTrip) {
  std::mt19937 random(1);
  for (int i = 0; i < 2000; ++i) {
    char32_t c = random() % 0x110000;
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string bytes;
    utf8::AppendUtf8(c, bytes);
    ASSERT_TRUE(utf8::IsValid(bytes)) << static_cast<uint32_t>(c);
    std::u16string decoded;
    utf8::DecodeLenient(bytes, decoded);
    std::u16string expected;
    utf8::AppendUtf16(c, expected);
    ASSERT_EQ(decoded, expected) << static_cast<uint32_t>(c);
  }
}

TEST(Utf8, IsAscii) {
  EXPECT_TRUE(utf8::IsAscii(""));
  EXPECT_TRUE(utf8::IsAscii("a long enough ascii text to pass the word loop"));
  EXPECT_FALSE(utf8::IsAscii("a long enough ascii text to pass the word loop\x80"));
  EXPECT_FALSE(utf8::IsAscii("\xFF long enough ascii text to pass the word loop"));
}

}  // namespace
}  // namespace brimlow
