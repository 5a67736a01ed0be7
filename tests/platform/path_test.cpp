#include "platform/path.h"

#include <gtest/gtest.h>

using namespace brimlow::platform;

namespace {

struct JoinCase {
  const char* label;
  const char* folder;
  const char* part;
  const char* expected;
};

class JoinPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, JoinsWithExactlyOneSeparator) {
  const JoinCase& c = GetParam();
  EXPECT_EQ(JoinPath(c.folder, c.part), c.expected) << c.label;
}

#ifdef _WIN32
constexpr const char* kRelativeDefault = "Tarvolt\\lists\\default.xml";
#else
constexpr const char* kRelativeDefault = "Tarvolt/lists/default.xml";
#endif

const JoinCase kJoinCases[] = {
    {"windows folder gets a backslash", "C:\\u\\AppData", "Tarvolt\\lists\\default.xml",
     "C:\\u\\AppData\\Tarvolt\\lists\\default.xml"},
    {"doubled separator is dropped", "C:\\x\\", "\\y.xml", "C:\\x\\y.xml"},
    {"trailing separator is kept once", "C:\\x\\", "y.xml", "C:\\x\\y.xml"},
    {"empty part gives the folder", "C:\\x", "", "C:\\x"},
    {"empty folder gives the part", "", "Tarvolt\\lists\\default.xml", kRelativeDefault},
    {"parent part after a folder with separator", "D:\\l\\", "..\\nodelist.xml",
     "D:\\l\\..\\nodelist.xml"},
#ifndef _WIN32
    {"posix folder writes fixed parts with slashes", "/home/u/.config",
     "Tarvolt\\lists\\default.xml", "/home/u/.config/Tarvolt/lists/default.xml"},
    {"posix folder with trailing slash", "/opt/brimlow/", "backup", "/opt/brimlow/backup"},
#endif
};

INSTANTIATE_TEST_SUITE_P(Cases, JoinPathTest, ::testing::ValuesIn(kJoinCases));

TEST(PathSplit, FolderKeepsItsLastSeparator) {
  EXPECT_EQ(ExtractFileDir("C:\\x\\lists\\default.xml"), "C:\\x\\lists\\");
  EXPECT_EQ(ExtractFileName("C:\\x\\lists\\default.xml"), "default.xml");
  EXPECT_EQ(ExtractFileDir("default.xml"), "");
  EXPECT_EQ(ExtractFileName("default.xml"), "default.xml");
  EXPECT_EQ(ExtractFileName("C:\\x\\"), "");
}

#ifndef _WIN32
TEST(PathSplit, PosixSplitsAtBothSeparators) {
  EXPECT_EQ(ExtractFileDir("/home/u/a\\b.xml"), "/home/u/a\\");
  EXPECT_EQ(ExtractFileName("/home/u/lists/b.xml"), "b.xml");
}
#endif

TEST(PathKind, RecognisesWindowsPaths) {
  EXPECT_TRUE(isWindowsPath("C:\\x"));
  EXPECT_TRUE(isWindowsPath("d:"));
  EXPECT_TRUE(isWindowsPath("Tarvolt\\lists"));
  EXPECT_FALSE(isWindowsPath("/home/u"));
  EXPECT_FALSE(isWindowsPath("a/b\\c"));
  EXPECT_FALSE(isWindowsPath(""));
}

}  // namespace
