#include "xml/xmlChars.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace brimlow {
namespace {

bool White(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Trimming and packing one byte at a time, to check the many-at-a-time
// version against.
std::string PlainTrimAndPack(const std::string& text) {
  std::string out;
  bool pending = false;
  for (const char c : text) {
    if (White(c)) {
      pending = !out.empty();
    } else {
      if (pending) out += ' ';
      pending = false;
      out += c;
    }
  }
  return out;
}

TEST(XmlChars, TrimAndPackMatchesThePlainRuleOnRandomTexts) {
  // Runs of every kind of white space, long stretches that pack to
  // themselves and white space at both ends, across blocks of sixteen.
  std::mt19937 random(11);
  const char alphabet[] = {'a', 'b', 'c', 'd', ' ', ' ', '\t', '\n', '\r', '\xD0'};
  for (int round = 0; round < 5000; ++round) {
    const unsigned letters = round % 3 == 0 ? 4 : 10;  // a third without white space
    std::string text(random() % 100, 'x');
    for (char& c : text)
      c = alphabet[random() % letters];
    if (round % 5 == 0 && !text.empty()) text[random() % text.size()] = ' ';
    std::string packed = text;
    xmlchars::TrimAndPackWhitespace(packed);
    ASSERT_EQ(packed, PlainTrimAndPack(text)) << ::testing::PrintToString(text);
  }
}

TEST(XmlChars, TrimAndPackOfLongLinesWithIndentation) {
  // A comment typed over several lines, as lists carry them.
  std::string text = "  first line of a long comment, with words and more words\r\n";
  for (int line = 0; line < 40; ++line)
    text += "\t\t  line " + std::to_string(line) + " goes on for a while, single spaces only\n";
  std::string packed = text;
  xmlchars::TrimAndPackWhitespace(packed);
  EXPECT_EQ(packed, PlainTrimAndPack(text));
}

}  // namespace
}  // namespace brimlow
