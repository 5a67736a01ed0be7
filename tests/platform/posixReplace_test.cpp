#include "platform/platform.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::TempFolder;

namespace {

mode_t modeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

std::string createErrorOf(const std::string& path) {
  try {
    replaceFileContents(path, "new");
  } catch (const EFCreateError& error) {
    return error.what();
  }
  return "no error";
}

class UmaskScope {
 public:
  explicit UmaskScope(mode_t mask) : old_(::umask(mask)) {}
  ~UmaskScope() { ::umask(old_); }

 private:
  mode_t old_;
};

TEST(ReplacePermissions, TheNewFileKeepsTheOldBits) {
  TempFolder folder;
  for (const mode_t mode : {mode_t{0640}, mode_t{0600}, mode_t{0755}, mode_t{0444}}) {
    const std::string path = folder.path("list.xml");
    folder.write("list.xml", "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    replaceFileContents(path, "new");
    EXPECT_EQ(folder.read("list.xml"), "new");
    EXPECT_EQ(modeOf(path), mode) << std::oct << mode;
    std::filesystem::remove(path);
  }
}

TEST(ReplacePermissions, ANewFileGetsTheUmaskDefault) {
  TempFolder folder;
  const UmaskScope mask(027);
  replaceFileContents(folder.path("new.xml"), "x");
  EXPECT_EQ(modeOf(folder.path("new.xml")), mode_t{0640});
}

TEST(ReplaceLinks, TheLinkStaysAndItsFileIsReplaced) {
  TempFolder folder;
  folder.write("real/list.xml", "old");
  folder.makeFolder("links");
  std::filesystem::create_symlink(folder.path("real/list.xml"), folder.path("links/list.xml"));

  replaceFileContents(folder.path("links/list.xml"), "new");

  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("links/list.xml")));
  EXPECT_EQ(folder.read("real/list.xml"), "new");
  EXPECT_EQ(folder.entryCount("links"), 1u);
  EXPECT_EQ(folder.entryCount("real"), 1u) << "temporary file left behind";
}

TEST(ReplaceLinks, ARelativeChainIsFollowedFromEachLinksFolder) {
  TempFolder folder;
  folder.write("b/real.xml", "old");
  folder.makeFolder("a");
  std::filesystem::create_symlink("real.xml", folder.path("b/second.xml"));
  std::filesystem::create_symlink("../b/second.xml", folder.path("a/first.xml"));

  replaceFileContents(folder.path("a/first.xml"), "new");

  EXPECT_EQ(folder.read("b/real.xml"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("a/first.xml")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("b/second.xml")));
}

TEST(ReplaceLinks, ADanglingLinkGetsItsFileCreated) {
  TempFolder folder;
  std::filesystem::create_symlink("target.xml", folder.path("link.xml"));
  replaceFileContents(folder.path("link.xml"), "new");
  EXPECT_EQ(folder.read("target.xml"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("link.xml")));
}

TEST(ReplaceLinks, ALoopIsACreateError) {
  TempFolder folder;
  std::filesystem::create_symlink("b.xml", folder.path("a.xml"));
  std::filesystem::create_symlink("a.xml", folder.path("b.xml"));
  const std::string path = folder.path("a.xml");
  EXPECT_EQ(createErrorOf(path),
            "Cannot create file \"" + path + "\". Too many levels of symbolic links");
}

TEST(ReplaceFailures, AFolderIsNotReplaced) {
  TempFolder folder;
  folder.write("list.xml/inside", "kept");
  const std::string path = folder.path("list.xml");
  EXPECT_EQ(createErrorOf(path), "Cannot create file \"" + path + "\". Is a directory");
  EXPECT_EQ(folder.read("list.xml/inside"), "kept");
  EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(ReplaceFailures, AFolderWithoutWriteAccessLeavesTheFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempFolder folder;
  folder.write("ro/list.xml", "old");
  ASSERT_EQ(::chmod(folder.path("ro").c_str(), 0555), 0);
  const std::string path = folder.path("ro/list.xml");
  EXPECT_EQ(createErrorOf(path), "Cannot create file \"" + path + "\". Permission denied");
  EXPECT_EQ(folder.read("ro/list.xml"), "old");
}

TEST(ReplaceSteps, TemporaryFilesNeverShareAName) {
  TempFolder folder;
  folder.write("list.xml", "old");
  Platform& os = system();
  WriteHandle first = os.createTemporaryBeside(folder.path("list.xml"));
  WriteHandle second = os.createTemporaryBeside(folder.path("list.xml"));
  EXPECT_NE(first.path, second.path);
  EXPECT_EQ(folder.entryCount(), 3u);
  os.discard(first);
  os.discard(second);
  os.discard(second);  // a second discard does no harm
  EXPECT_EQ(folder.entryCount(), 1u);
  EXPECT_EQ(folder.read("list.xml"), "old");
}

TEST(ReplaceSteps, DiscardAfterCloseStillRemovesTheTemporary) {
  TempFolder folder;
  Platform& os = system();
  const std::string target = folder.path("list.xml");
  WriteHandle file = os.createTemporaryBeside(target);
  os.writeAll(file, "partial", target);
  os.commitAndClose(file, target);
  EXPECT_EQ(file.value, -1);
  os.discard(file);
  EXPECT_EQ(folder.entryCount(), 0u);
}

}  // namespace
