#include "cli/jsonOutput.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string json(std::string_view text) {
  std::ostringstream out;
  brimlow::cli::writeJsonString(out, text);
  return out.str();
}

TEST(JsonOutput, EscapesOnlyQuotesBackslashesAndControlBytes) {
  EXPECT_EQ(json("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(json("line\r\nnext\ttab"), R"("line\r\nnext\ttab")");
  EXPECT_EQ(json(std::string_view("\x01\x1f", 2)), R"("\u0001\u001f")");
  EXPECT_EQ(json(std::string_view("\0", 1)), R"("\u0000")");
}

TEST(JsonOutput, HighBytesPassUnchanged) {
  // CP1251 "а" and the UTF-8 bytes of "я" stay the program's own bytes.
  EXPECT_EQ(json("\xE0"), "\"\xE0\"");
  EXPECT_EQ(json("\xD1\x8F"), "\"\xD1\x8F\"");
  EXPECT_EQ(json("/"), "\"/\"");
}

}  // namespace
