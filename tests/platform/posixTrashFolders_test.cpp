#include "platform/posix/posixTrashFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::TempFolder;

namespace {

struct InfoCase {
  const char* label;
  const char* text;
  std::optional<TrashInfo> info;
};

class ParseTrashInfoTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(ParseTrashInfoTest, Reads) {
  const std::optional<TrashInfo> info = parseTrashInfo(GetParam().text);
  ASSERT_EQ(info.has_value(), GetParam().info.has_value()) << GetParam().label;
  if (!info) return;
  EXPECT_EQ(info->path, GetParam().info->path) << GetParam().label;
  EXPECT_EQ(info->deletionDate, GetParam().info->deletionDate) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTrashInfoTest,
    ::testing::Values(
        InfoCase{"as written", "[Trash Info]\nPath=/a/b\nDeletionDate=2024-05-01T10:20:30\n",
                 TrashInfo{"/a/b", "2024-05-01T10:20:30"}},
        InfoCase{"escapes decoded, broken ones kept", "[Trash Info]\nPath=/a%20%D0%A4%2%zz",
                 TrashInfo{"/a \xD0\xA4%2%zz", ""}},
        InfoCase{"CR LF and blanks around the sign",
                 "\r\n[Trash Info]\r\n DeletionDate = 2024\r\nPath = rel/x \r\n",
                 TrashInfo{"rel/x", "2024"}},
        InfoCase{"only its own group counts", "[Other]\nPath=/no\n[Trash Info]\nPath=/yes\n",
                 TrashInfo{"/yes", ""}},
        InfoCase{"no group", "Path=/a\n", std::nullopt},
        InfoCase{"an empty path", "[Trash Info]\nPath=\n", std::nullopt}));

TEST(OriginalPlace, ARelativePathLiesUnderTheTrashsTopFolder) {
  EXPECT_EQ(originalPlaceOf("/v/.Trash-1000", "d/a"), "/v/d/a");
  EXPECT_EQ(originalPlaceOf("/v/.Trash/1000", "d/a"), "/v/d/a");
  EXPECT_EQ(originalPlaceOf("/.Trash-0", "a"), "/a");
  EXPECT_EQ(originalPlaceOf("/h/.local/share/Trash", "/abs/a"), "/abs/a");
}

TEST(TrashFolders, AreTheHomeTrashAndThoseAtTheTopOfTheVolume) {
  TempFolder folder;
  const std::vector<std::string> folders = trashFoldersFor(folder.path(), "/home/Trash", 1000);
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_EQ(folders[0], "/home/Trash");
  ASSERT_TRUE(folders[2].ends_with(".Trash-1000"));
  const std::string top = folders[2].substr(0, folders[2].size() - 11);
  EXPECT_EQ(folders[1], top + ".Trash/1000");
  EXPECT_TRUE(folder.path().starts_with(top)) << top;
  struct stat inside {};
  struct stat atTop {};
  struct stat above {};
  ASSERT_EQ(::stat(folder.path().c_str(), &inside), 0);
  ASSERT_EQ(::stat(top.c_str(), &atTop), 0);
  EXPECT_EQ(inside.st_dev, atTop.st_dev);
  if (top != "/" && ::stat((top + "..").c_str(), &above) == 0) {
    EXPECT_NE(above.st_dev, atTop.st_dev);
  }
}

// A volume's trash holding three entries that all say they came from
// "d/a.txt", the newest being "a.2.txt", and one that was elsewhere.
class FindTrashed : public ::testing::Test {
 protected:
  void SetUp() override {
    entry("a.txt", "d/a.txt", "2024-01-01T00:00:00");
    entry("a.2.txt", "d/a.txt", "2024-03-01T00:00:00");
    entry("copy of a.txt", "d/a.txt", "2024-02-01T00:00:00");
    entry("a.3.txt", "e/a.txt", "2025-01-01T00:00:00");
    volume.makeFolder("d");
  }
  void entry(const std::string& name, const std::string& place, const std::string& date) {
    volume.write(".Trash-7/files/" + name, name);
    volume.write(".Trash-7/info/" + name + ".trashinfo",
                 "[Trash Info]\nPath=" + place + "\nDeletionDate=" + date + "\n");
  }
  FileIdentity identityOf(const std::string& name) const {
    struct stat info {};
    ::lstat(volume.path(".Trash-7/files/" + name).c_str(), &info);
    return {info.st_dev, info.st_ino};
  }
  std::string found(const FileIdentity& identity) const {
    const std::optional<TrashedFile> file = findTrashedFile(
        {volume.path("missing/Trash"), volume.path(".Trash-7")}, volume.path("d/a.txt"), identity);
    if (!file) return "(none)";
    EXPECT_EQ(file->info, volume.path(".Trash-7/info/") +
                              file->file.substr(file->file.rfind('/') + 1) + ".trashinfo");
    return file->file.substr(volume.path(".Trash-7/files/").size());
  }
  TempFolder volume;
};

TEST_F(FindTrashed, TheFileItselfWhateverItsNameOrDate) {
  EXPECT_EQ(found(identityOf("a.txt")), "a.txt");
  EXPECT_EQ(found(identityOf("copy of a.txt")), "copy of a.txt");
}

TEST_F(FindTrashed, WithoutItsIdentityTheNewestEntryFromItsPlace) {
  EXPECT_EQ(found({}), "a.2.txt");
  std::filesystem::remove(volume.path(".Trash-7/files/a.2.txt"));
  EXPECT_EQ(found({}), "a.txt") << "an entry without its file is no answer";
  std::filesystem::remove_all(volume.path(".Trash-7/files"));
  EXPECT_EQ(found({}), "(none)");
}

}  // namespace
