#include "platform/winePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

using namespace brimlow::platform;

namespace {

// A made-up folder tree: the paths of every entry that exists.
class FakeTree {
 public:
  explicit FakeTree(std::set<std::string> entries) : entries_(std::move(entries)) {}

  FolderLookup lookup() {
    return {
        [this](const std::string& path) {
          ++questions;
          return entries_.count(path) > 0;
        },
        [this](const std::string& folder) {
          std::vector<std::string> names;
          const std::string prefix = folder == "." ? "" : folder + "/";
          for (const std::string& entry : entries_) {
            if (!entry.starts_with(prefix)) continue;
            const std::string rest = entry.substr(prefix.size());
            if (!rest.empty() && rest.find('/') == std::string::npos) names.push_back(rest);
          }
          return names;
        },
        [](std::string_view name) {
          std::string folded(name);
          std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
            return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          });
          return folded;
        },
    };
  }

  int questions = 0;

 private:
  std::set<std::string> entries_;
};

const std::set<std::string> kPrefixTree = {
    "/p/dosdevices",
    "/p/dosdevices/c:",
    "/p/dosdevices/c:/users",
    "/p/dosdevices/c:/users/me",
    "/p/dosdevices/c:/users/me/AppData",
    "/p/dosdevices/c:/users/me/AppData/Roaming",
    "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt",
    "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/lists",
    "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/lists/default.xml",
    "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/nodelist.xml",
    "/p/dosdevices/d:",
    "/p/dosdevices/d:/Downloads",
    "/p/dosdevices/d:/Downloads/Film.AVI",
    "/p/dosdevices/unc",
    "/p/dosdevices/unc/server",
    "/p/dosdevices/unc/server/Share",
    "/p/dosdevices/unc/server/Share/Films",
    "/p/dosdevices/unc/server/Share/Films/a.avi",
    "Tarvolt",
    "Tarvolt/lists",
    "Tarvolt/lists/default.xml",
};

struct MapCase {
  const char* label;
  const char* path;
  const char* posix;
};

class MapHostPathTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapHostPathTest, Maps) {
  FakeTree tree(kPrefixTree);
  EXPECT_EQ(mapHostPath(GetParam().path, "/p", tree.lookup()), GetParam().posix)
      << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapHostPathTest,
    ::testing::Values(
        MapCase{"exact names", "C:\\users\\me\\AppData\\Roaming\\Tarvolt\\lists\\default.xml",
                "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/lists/default.xml"},
        MapCase{"names in another case are found",
                "c:\\USERS\\ME\\appdata\\roaming\\TARVOLT\\Lists\\DEFAULT.XML",
                "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/lists/default.xml"},
        MapCase{"dot-dot is taken away first",
                "C:\\users\\me\\AppData\\Roaming\\Tarvolt\\lists\\..\\nodelist.xml",
                "/p/dosdevices/c:/users/me/AppData/Roaming/Tarvolt/nodelist.xml"},
        MapCase{"dot-dot at the root stays at the root", "C:\\..\\..\\users",
                "/p/dosdevices/c:/users"},
        MapCase{"dots and doubled separators are dropped", "D:\\.\\Downloads\\\\film.avi",
                "/p/dosdevices/d:/Downloads/Film.AVI"},
        MapCase{"forward slashes separate too", "d:/downloads/film.avi",
                "/p/dosdevices/d:/Downloads/Film.AVI"},
        MapCase{"a missing file keeps the name given", "C:\\Users\\ME\\New File.xml",
                "/p/dosdevices/c:/users/me/New File.xml"},
        MapCase{"beyond a missing folder all stays as given", "C:\\Nowhere\\Users\\x",
                "/p/dosdevices/c:/Nowhere/Users/x"},
        MapCase{"the drive alone", "C:", "/p/dosdevices/c:"},
        MapCase{"a drive the prefix lacks", "Q:\\x", "/p/dosdevices/q:/x"},
        MapCase{"a share lies where Wine reaches shares", "\\\\SERVER\\share\\films\\A.AVI",
                "/p/dosdevices/unc/server/Share/Films/a.avi"},
        MapCase{"dot-dot never leaves the share", "\\\\server\\Share\\..\\..\\Films",
                "/p/dosdevices/unc/server/Share/Films"},
        MapCase{"a share the prefix lacks", "\\\\other\\x\\y", "/p/dosdevices/unc/other/x/y"},
        MapCase{"a relative path with backslashes", "tarvolt\\LISTS\\default.xml",
                "Tarvolt/lists/default.xml"},
        MapCase{"a rooted path with backslashes", "\\tmp\\x", "/tmp/x"},
        MapCase{"a POSIX path is not touched", "/home/me/C:\\odd", "/home/me/C:\\odd"},
        MapCase{"a relative POSIX path is not touched", "lists/default.xml", "lists/default.xml"},
        MapCase{"an empty path stays empty", "", ""}));

TEST(MapHostPath, AnExactPathCostsOneQuestion) {
  FakeTree tree(kPrefixTree);
  mapHostPath("D:\\Downloads\\Film.AVI", "/p", tree.lookup());
  EXPECT_EQ(tree.questions, 1);
}

TEST(MapHostPath, ThePrefixMayEndWithASlash) {
  FakeTree tree(kPrefixTree);
  EXPECT_EQ(mapHostPath("d:\\downloads", "/p/", tree.lookup()), "/p/dosdevices/d:/Downloads");
}

}  // namespace
