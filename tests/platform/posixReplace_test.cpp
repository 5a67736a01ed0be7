#include "platform/platform.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/posix/fileCalls.h"
#include "platform/temporaryName.h"
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

// A child process saving a large list over `target`, held after its first
// write so that the test can kill it in the middle of the save.
class HeldWriter {
 public:
  HeldWriter(const std::string& target, size_t size) {
    int ready[2];
    int hold[2];
    if (::pipe(ready) != 0 || ::pipe(hold) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      readyFd_ = ready[1];
      holdFd_ = hold[0];
      fileCalls().write = WriteThenWait;
      try {
        replaceFileContents(target, std::string(size, 'x'));
      } catch (...) {
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold[0]);
    hold_ = hold[1];
    char byte = 0;
    started_ = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
  }
  ~HeldWriter() {
    kill();
    if (hold_ >= 0) ::close(hold_);
  }
  HeldWriter(const HeldWriter&) = delete;
  HeldWriter& operator=(const HeldWriter&) = delete;

  bool started() const { return started_; }
  pid_t pid() const { return pid_; }
  void kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  // The real write of one chunk, then a word to the parent and a wait that
  // only the kill ends.
  static ssize_t WriteThenWait(int fd, const void* buffer, size_t count) {
    const ssize_t written = systemFileCalls().write(fd, buffer, std::min<size_t>(count, 1 << 20));
    char byte = 1;
    if (::write(readyFd_, &byte, 1) == 1) {
      // Returns only when the parent closes its end without a kill.
      [[maybe_unused]] const ssize_t ended = ::read(holdFd_, &byte, 1);
    }
    return written;
  }
  static inline int readyFd_ = -1;
  static inline int holdFd_ = -1;
  pid_t pid_ = -1;
  int hold_ = -1;
  bool started_ = false;
};

std::vector<std::string> temporariesOf(const TempFolder& folder, pid_t writer) {
  const std::string prefix = temporaryPrefix("list.xml") + std::to_string(writer) + "-";
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) names.push_back(name);
  }
  return names;
}

TEST(StaleTemporaries, AKilledSaveLeavesOneThatTheNextSaveRemoves) {
  TempFolder folder;
  folder.write("list.xml", "old");
  const std::string target = folder.path("list.xml");
  HeldWriter writer(target, 8u << 20);
  ASSERT_TRUE(writer.started());
  const pid_t pid = writer.pid();
  ASSERT_EQ(temporariesOf(folder, pid).size(), 1u);
  const std::string left = temporariesOf(folder, pid)[0];
  EXPECT_EQ(std::filesystem::file_size(folder.path(left)), 1u << 20);

  replaceFileContents(target, "while it writes");
  EXPECT_EQ(temporariesOf(folder, pid).size(), 1u) << "a save still running keeps its file";

  writer.kill();
  EXPECT_EQ(folder.read("list.xml"), "while it writes");
  ASSERT_EQ(temporariesOf(folder, pid).size(), 1u) << "the killed save left its file";
  replaceFileContents(target, "new");
  EXPECT_EQ(folder.read("list.xml"), "new");
  EXPECT_EQ(folder.entryCount(), 1u) << "the stale temporary is gone";
}

pid_t goneProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST(StaleTemporaries, NothingButTheTargetsOwnNamesOfGoneWritersIsRemoved) {
  TempFolder folder;
  folder.write("list.xml", "old");
  const std::string gone = std::to_string(goneProcess());
  const std::string self = std::to_string(::getpid());
  const std::vector<std::string> kept = {
      ".list.xml." + self + "-900.tmp",     // this process's own
      ".list.xml.1-0.tmp",                  // a process that runs
      ".other.xml." + gone + "-0.tmp",      // another target's
      ".List.xml." + gone + "-0.tmp",       // letter case counts here
      "list.xml." + gone + "-0.tmp",        // not hidden
      ".list.xml." + gone + "-0.tmp.part",  // more after the ending
  };
  for (const std::string& name : kept)
    folder.write(name, "someone's");
  folder.makeFolder(".list.xml." + gone + "-1.tmp");
  folder.write("elsewhere", "linked");
  std::filesystem::create_symlink(folder.path("elsewhere"),
                                  folder.path(".list.xml." + gone + "-2.tmp"));
  folder.write(".list.xml." + gone + "-3.tmp", "stale");

  replaceFileContents(folder.path("list.xml"), "new");

  for (const std::string& name : kept)
    EXPECT_EQ(folder.read(name), "someone's") << name;
  EXPECT_TRUE(std::filesystem::is_directory(folder.path(".list.xml." + gone + "-1.tmp")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path(".list.xml." + gone + "-2.tmp")));
  EXPECT_EQ(folder.read("elsewhere"), "linked");
  EXPECT_FALSE(std::filesystem::exists(folder.path(".list.xml." + gone + "-3.tmp")));
}

}  // namespace
