#include "data/crLfFileStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "forwardingPlatform.h"

using namespace brimlow;

namespace {

// Collects what reaches the file; can fail from a given write on.
class CollectingPlatform final : public test::ForwardingPlatform {
 public:
  void writeAll(platform::WriteHandle&, std::string_view bytes,
                const std::string& target) override {
    if (failFrom >= 0 && writes++ >= failFrom)
      throw platform::EFCreateError(target, "No space left on device");
    written.append(bytes);
  }
  std::string written;
  int failFrom = -1;
  int writes = 0;
};

std::string Shown(const std::string& bytes) {
  std::string out;
  for (const char c : bytes)
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

TEST(CrLfFileStream, EveryLineLeavesWithOneCrLf) {
  const struct {
    std::vector<std::string> blocks;
    std::string file;
    const char* what;
  } cases[] = {
      {{"a\r\nb\r\n"}, "a\r\nb\r\n", "CR LF lines pass unchanged"},
      {{"a\nb\n"}, "a\r\nb\r\n", "a LF on its own"},
      {{"a\rb\r"}, "a\r\nb\r\n", "a CR on its own"},
      {{"a\r\n\r\n\n\rb"}, "a\r\n\r\n\r\n\r\nb\r\n", "empty lines of every kind"},
      {{"a\r", "\nb\r\n"}, "a\r\nb\r\n", "a CR LF cut by the end of a block"},
      {{"a\r", "b\r\n"}, "a\r\nb\r\n", "a CR at the end of a block on its own"},
      {{"a\r", "", "x"}, "a\r\nx\r\n", "an empty block between"},
      {{"a\r", "x", "\nb"}, "a\r\nx\r\nb\r\n", "only the very next byte can finish a CR LF"},
      {{"no end"}, "no end\r\n", "the last line gets its end"},
      {{"a\r\n", "\n"}, "a\r\n\r\n", "a LF after a complete CR LF is a line of its own"},
      {{}, "", "nothing written, nothing added"},
      {{"a", "b", "\r\n"}, "ab\r\n", "a line over several blocks"},
      {{std::string("nul\0inside\n", 11)}, std::string("nul\0inside\r\n", 12), "NUL passes"},
  };
  for (const auto& each : cases) {
    CollectingPlatform os;
    platform::WriteHandle file;
    const std::string target = "list.xml";
    TCrLfFileStream stream(os, file, target);
    int64_t offered = 0;
    for (const std::string& block : each.blocks) {
      EXPECT_EQ(stream.write(block.data(), static_cast<int64_t>(block.size())),
                static_cast<int64_t>(block.size()));
      offered += static_cast<int64_t>(block.size());
    }
    stream.finish();
    EXPECT_EQ(Shown(os.written), Shown(each.file)) << each.what;
    EXPECT_EQ(stream.position(), offered) << each.what;
  }
}

// The lines as the file must hold them: split at CR, LF or CR LF, each
// followed by CR LF.
std::string ReferenceLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
  return out;
}

// Long blocks are checked many bytes at a time: breaks of every kind at
// every position, in blocks cut anywhere, give the same lines.
TEST(CrLfFileStream, AnyTextInAnyBlocksGivesTheReferenceLines) {
  std::mt19937 random(20261209);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n'};
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 100, 'x');
    const int breaks = static_cast<int>(random() % 6);  // from none to mostly breaks
    for (char& c : text)
      c = static_cast<int>(random() % 6) < breaks ? alphabet[2 + random() % 4]
                                                  : alphabet[random() % 2];
    CollectingPlatform os;
    platform::WriteHandle file;
    const std::string target = "list.xml";
    TCrLfFileStream stream(os, file, target);
    for (size_t at = 0; at < text.size();) {
      const size_t size = std::min(text.size() - at, size_t{1} + random() % 40);
      stream.write(text.data() + at, static_cast<int64_t>(size));
      at += size;
    }
    stream.finish();
    ASSERT_EQ(Shown(os.written), Shown(ReferenceLines(text))) << Shown(text);
  }
}

TEST(CrLfFileStream, TheFirstFailureIsRaisedAgainAtTheEnd) {
  CollectingPlatform os;
  os.failFrom = 1;
  platform::WriteHandle file;
  const std::string target = "list.xml";
  TCrLfFileStream stream(os, file, target);
  stream.write("first\r\n", 7);
  EXPECT_THROW(stream.write("second\r\n", 8), platform::EFCreateError);
  EXPECT_THROW(stream.write("third\r\n", 7), platform::EFCreateError);
  try {
    stream.finish();
    FAIL() << "no error";
  } catch (const platform::EFCreateError& error) {
    EXPECT_STREQ(error.what(), "Cannot create file \"list.xml\". No space left on device");
  }
  EXPECT_EQ(os.written, "first\r\n");
}

TEST(CrLfFileStream, OnlyAppends) {
  CollectingPlatform os;
  platform::WriteHandle file;
  const std::string target = "list.xml";
  TCrLfFileStream stream(os, file, target);
  stream.write("abc", 3);
  stream.setPosition(3);
  EXPECT_THROW(stream.setPosition(0), std::logic_error);
}

}  // namespace
