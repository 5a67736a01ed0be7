#include "data/textLines.h"

#include <gtest/gtest.h>

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

}  // namespace
