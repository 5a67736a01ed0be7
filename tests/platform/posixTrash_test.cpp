#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "platform/posix/posixTrashFolders.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

// The trash goes by $HOME and $XDG_DATA_HOME, which are read once per
// process: they point at a scratch home before the first test.
std::string scratchHome;

class ScratchHome : public ::testing::Environment {
 public:
  void SetUp() override {
    scratchHome = (fs::temp_directory_path() / ("brimlow-home-" + std::to_string(::getpid())));
    fs::create_directories(scratchHome + "/.local/share");
    ::setenv("HOME", scratchHome.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (scratchHome + "/.local/share").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(scratchHome); }
};
[[maybe_unused]] const auto* const kHome = ::testing::AddGlobalTestEnvironment(new ScratchHome);

std::string homeTrash() {
  return scratchHome + "/.local/share/Trash";
}

std::string nowText() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
  return text;
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

RecycledFile recycled(const std::string& path) {
  const RecycleResult result = system().recycleFile(path);
  EXPECT_EQ(result.outcome, RecycleOutcome::Recycled) << path;
  EXPECT_EQ(result.file.originalPath, path);
  return result.file;
}

TEST(Recycle, TheHomeTrashHoldsTheFileAndWhereAndWhenItWasTrashed) {
  TempFolder folder;
  folder.write("Файл 1%.txt", "content");
  const std::string path = folder.path("Файл 1%.txt");
  const std::string before = nowText();
  const RecycledFile file = recycled(path);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(file.binPath, homeTrash() + "/files/Файл 1%.txt");
  EXPECT_EQ(file.info, homeTrash() + "/info/Файл 1%.txt.trashinfo");
  const std::string text = contentOf(file.info);
  EXPECT_TRUE(text.starts_with("[Trash Info]\n")) << text;
  EXPECT_NE(text.find("%201%25.txt\n"), std::string::npos) << "escaped: " << text;
  const std::optional<TrashInfo> info = parseTrashInfo(text);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->path, path);
  EXPECT_LE(before, info->deletionDate);
  EXPECT_LE(info->deletionDate, nowText());

  EXPECT_EQ(system().putBackRecycled(file), PutBackOutcome::PutBack);
  EXPECT_EQ(folder.read("Файл 1%.txt"), "content");
  EXPECT_FALSE(fs::exists(file.binPath));
  EXPECT_FALSE(fs::exists(file.info));
  EXPECT_EQ(system().putBackRecycled(file), PutBackOutcome::NotInBin) << "already put back";
}

TEST(Recycle, AWindowsPathIsTheFileOnTheWineDriveAndGoesBackUnderItsOwnName) {
  TempFolder prefix;
  prefix.write("drive/Downloads/Film.AVI", "film");
  prefix.makeFolder("dosdevices");
  fs::create_directory_symlink(prefix.path("drive"), prefix.path("dosdevices/d:"));
  ScopedEnvironment wine("WINEPREFIX", prefix.path());
  const RecycledFile file = recycled("D:\\downloads\\FILM.avi");
  EXPECT_TRUE(file.binPath.ends_with("/files/Film.AVI")) << file.binPath;
  EXPECT_FALSE(fs::exists(prefix.path("drive/Downloads/Film.AVI")));

  prefix.write("drive/Downloads/FILM.AVI", "another");
  EXPECT_EQ(system().putBackRecycled(file), PutBackOutcome::PlaceTaken) << "the same name to Wine";
  fs::remove(prefix.path("drive/Downloads/FILM.AVI"));
  EXPECT_EQ(system().putBackRecycled(file), PutBackOutcome::PutBack);
  EXPECT_EQ(prefix.read("drive/Downloads/Film.AVI"), "film");
  EXPECT_EQ(prefix.entryCount("drive/Downloads"), 1u);
}

TEST(Recycle, FilesOfOneNameEachKeepTheirPlaceInTheBin) {
  TempFolder folder;
  std::vector<RecycledFile> files;
  for (const char* name : {"one/a.tar.gz", "two/a.tar.gz", "three/a.tar.gz"}) {
    folder.write(name, name);
    files.push_back(recycled(folder.path(name)));
    EXPECT_EQ(contentOf(files.back().binPath), name);
  }
  for (const RecycledFile& file : files) {
    EXPECT_EQ(system().putBackRecycled(file), PutBackOutcome::PutBack);
    EXPECT_EQ(folder.path(contentOf(file.originalPath)), file.originalPath);
  }
}

TEST(PutBack, LeavesTheBinAloneWhenItCannotPutTheFileBack) {
  TempFolder folder;
  folder.write("taken/a.txt", "old");
  folder.write("gone/a.txt", "old");
  folder.write("emptied/a.txt", "old");
  const RecycledFile taken = recycled(folder.path("taken/a.txt"));
  const RecycledFile gone = recycled(folder.path("gone/a.txt"));
  const RecycledFile emptied = recycled(folder.path("emptied/a.txt"));
  folder.write("taken/a.txt", "new");
  fs::remove(folder.path("gone"));
  fs::remove(emptied.binPath);

  EXPECT_EQ(system().putBackRecycled(taken), PutBackOutcome::PlaceTaken);
  EXPECT_EQ(folder.read("taken/a.txt"), "new");
  EXPECT_EQ(system().putBackRecycled(gone), PutBackOutcome::Failed) << "its folder is gone";
  EXPECT_EQ(system().putBackRecycled(emptied), PutBackOutcome::NotInBin);
  EXPECT_FALSE(fs::exists(folder.path("emptied/a.txt")));
  for (const RecycledFile* kept : {&taken, &gone}) {
    EXPECT_TRUE(fs::exists(kept->binPath));
    EXPECT_TRUE(fs::exists(kept->info));
  }
}

TEST(Recycle, WhatIsNotAFileFailsAndStays) {
  TempFolder folder;
  folder.makeFolder("folder");
  for (const std::string& path : {folder.path("missing.txt"), folder.path("folder"), std::string()})
    EXPECT_EQ(system().recycleFile(path).outcome, RecycleOutcome::Failed) << path;
  EXPECT_TRUE(fs::is_directory(folder.path("folder")));
}

// The file stays where it was, whole.
void expectKept(const std::string& path, RecycleOutcome expected) {
  const RecycleResult result = system().recycleFile(path);
  EXPECT_EQ(result.outcome, expected) << path;
  EXPECT_TRUE(result.file.binPath.empty());
  EXPECT_EQ(contentOf(path), "kept") << path;
}

TEST(Recycle, AVolumeWhoseTrashIsRefusedKeepsTheFile) {
  struct stat shm {
  }, home{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(scratchHome.c_str(), &home) != 0 ||
      shm.st_dev == home.st_dev || ::access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "no memory volume of its own here";
  const std::string path = "/dev/shm/brimlow-kept-" + std::to_string(::getpid());
  std::ofstream(path) << "kept";
  expectKept(path, RecycleOutcome::NoRecycleBin);
  fs::remove(path);
}

TEST(Recycle, AHomeTrashThatCannotBeMadeKeepsTheFile) {
  TempFolder folder;
  folder.write("a.txt", "kept");
  fs::create_directories(homeTrash());
  fs::rename(homeTrash(), homeTrash() + ".aside");
  std::ofstream(homeTrash()) << "not a folder";
  expectKept(folder.path("a.txt"), RecycleOutcome::NoRecycleBin);
  fs::remove(homeTrash());
  fs::rename(homeTrash() + ".aside", homeTrash());
}

TEST(Recycle, AFileLockedAgainstChangeFails) {
  TempFolder folder;
  folder.write("a.txt", "kept");
  const int fd = ::open(folder.path("a.txt").c_str(), O_RDONLY);
  int flags = FS_IMMUTABLE_FL;
  if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
    ::close(fd);
    GTEST_SKIP() << "files cannot be locked here";
  }
  expectKept(folder.path("a.txt"), RecycleOutcome::Failed);
  flags = 0;
  ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  ::close(fd);
}

TEST(Recycle, AFolderWithoutWriteAccessFails) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempFolder folder;
  folder.write("ro/a.txt", "kept");
  fs::permissions(folder.path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
  expectKept(folder.path("ro/a.txt"), RecycleOutcome::Failed);
}

}  // namespace
