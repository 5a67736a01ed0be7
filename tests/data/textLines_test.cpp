#include "data/textLines.h"

#include <gtest/gtest.h>

#include <random>

using namespace brimlow;

namespace {

struct LinesCase {
  const char* label;
  std::string text;
  std::string expected;
};

const LinesCase kCases[] = {
    {"empty text stays empty", "", ""},
    {"CR LF text is unchanged", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"last line gets its CR LF", "a\r\nb", "a\r\nb\r\n"},
    {"LF ends become CR LF", "a\nb\n", "a\r\nb\r\n"},
    {"CR ends become CR LF", "a\rb\r", "a\r\nb\r\n"},
    {"mixed ends", "a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
    {"empty lines are kept", "a\n\nb", "a\r\n\r\nb\r\n"},
    {"LF CR is two line ends", "\n\r", "\r\n\r\n"},
    {"CR CR LF is two line ends", "a\r\r\n", "a\r\n\r\n"},
    {"a lone LF among CR LF lines", "a\r\nb\nc\r\n", "a\r\nb\r\nc\r\n"},
    {"a lone CR among CR LF lines", "a\rb\r\n", "a\r\nb\r\n"},
    {"a LF first", "\na\r\n", "\r\na\r\n"},
    {"CR LF lines of one byte each", "\r\n\r\n", "\r\n\r\n"},
    {"text stops at the first NUL", std::string("a\r\nb\0c\r\n", 8), "a\r\nb\r\n"},
    {"NUL at the start leaves nothing", std::string("\0abc", 4), ""},
    {"NUL after a CR LF text", std::string("a\r\n\0", 4), "a\r\n"},
};

TEST(TextLines, EveryLineEndsWithCrLf) {
  for (const LinesCase& row : kCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(ToCrLfLines(row.text), row.expected);
    std::string inPlace = row.text;
    MakeCrLfLines(inPlace);
    EXPECT_EQ(inPlace, row.expected);
    // A text needs no change exactly when its lines already end with CR LF.
    if (row.text.find('\0') == std::string::npos) {
      EXPECT_EQ(HasCrLfLines(row.text), row.text == row.expected);
    }
  }
}

// The rule of line ends, one byte at a time, to check the many-at-a-time
// conversion against.
std::string PlainCrLfLines(const std::string& text) {
  std::string lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines += line + "\r\n";
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  return open ? lines + line + "\r\n" : lines;
}

TEST(TextLines, RandomTextsMatchTheRuleAtEveryPlace) {
  // Line ends of every kind at every place of blocks of sixteen bytes and
  // across their borders, and now and then a NUL.
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', ' ', '\0'};
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 80, 'x');
    const unsigned kinds = round % 2 == 0 ? 7 : 8;  // every other text without NUL
    for (char& c : text)
      c = alphabet[random() % kinds];
    SCOPED_TRACE(::testing::PrintToString(text));
    const std::string expected = PlainCrLfLines(text);
    ASSERT_EQ(ToCrLfLines(text), expected);
    std::string inPlace = text;
    MakeCrLfLines(inPlace);
    ASSERT_EQ(inPlace, expected);
    if (text.find('\0') == std::string::npos) {
      ASSERT_EQ(HasCrLfLines(text), text == expected);
    }
    // Counted beforehand, with a marker counted beside the line ends.
    const TLineEnds counts = CountLineEnds(text, "ab");
    std::string counted = text;
    MakeCrLfLines(counted, counts);
    ASSERT_EQ(counted, expected);
    // With room for the longer form, the text grows in its own storage.
    std::string roomy = text;
    roomy.reserve(text.size() * 2 + 2);
    const char* const storage = roomy.data();
    MakeCrLfLines(roomy, counts);
    ASSERT_EQ(roomy, expected);
    ASSERT_EQ(roomy.data(), storage);
    const std::string beforeNul = text.substr(0, text.find('\0'));
    ASSERT_EQ(counts.length, beforeNul.size());
    size_t markers = 0;
    for (size_t at = beforeNul.find("ab"); at != std::string::npos;
         at = beforeNul.find("ab", at + 1))
      ++markers;
    ASSERT_EQ(counts.markers, markers);
  }
}

}  // namespace
