#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/temporaryName.h"
#include "platform/win32/win32Platform.h"
#include "testSupport.h"
#include "win32TestSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;
using brimlow::platform::testing::waitForFile;

namespace {

std::string createErrorText(const std::string& target, DWORD error) {
  return "Cannot create file \"" + target + "\". " + systemMessage(error);
}

TEST(Win32Replace, ReplacesAnExistingFileAndKeepsItsAttributes) {
  TempFolder root;
  root.write("list.xml", "old content, longer than the new\r\n");
  const std::string target = root.path("list.xml");
  ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));

  replaceFileContents(target, "new\r\n");

  EXPECT_EQ(root.read("list.xml"), "new\r\n");
  EXPECT_NE(::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(root.entryCount(), 1u) << "no temporary or backup left";
}

TEST(Win32Replace, CreatesAMissingFileByRenaming) {
  TempFolder root;
  const std::string target = root.path("new.xml");
  replaceFileContents(target, std::string("a\0b", 3));
  EXPECT_EQ(root.read("new.xml"), std::string("a\0b", 3));
  EXPECT_EQ(root.entryCount(), 1u);
}

TEST(Win32Replace, ReplacesTwiceInARow) {
  TempFolder root;
  const std::string target = root.path("list.xml");
  replaceFileContents(target, "first");
  replaceFileContents(target, "second");
  EXPECT_EQ(root.read("list.xml"), "second");
  EXPECT_EQ(root.entryCount(), 1u);
}

TEST(Win32Replace, TheTemporaryLiesBesideTheTarget) {
  TempFolder root;
  root.write("lists\\default.xml", "old");
  const std::string target = root.path("lists\\default.xml");
  WriteHandle file = system().createTemporaryBeside(target);
  EXPECT_EQ(file.path.rfind(root.path("lists\\."), 0), 0u) << file.path;
  EXPECT_EQ(root.entryCount("lists"), 2u);
  system().discard(file);
  EXPECT_EQ(root.entryCount("lists"), 1u) << "discard removes it";
  EXPECT_EQ(root.read("lists\\default.xml"), "old");
  EXPECT_TRUE(file.path.empty());
}

// A failing replacement, each with the old file intact and nothing left
// beside it.
struct FailureCase {
  const char* label;
  // Prepares the target; a handle it opens is closed at the end.
  void (*prepare)(const std::string& target, HANDLE& held);
  DWORD expectedError;  // 0: any system message
};

void readOnly(const std::string& target, HANDLE&) {
  ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
}

void heldWithoutSharing(const std::string& target, HANDLE& held) {
  // Another program reads the file and lets nobody write, rename or delete it.
  held = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

class Win32ReplaceFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Win32ReplaceFailure, LeavesTheOldFileAndNoLeftovers) {
  TempFolder root;
  root.write("list.xml", "old content\r\n");
  const std::string target = root.path("list.xml");
  HANDLE held = INVALID_HANDLE_VALUE;
  GetParam().prepare(target, held);

  std::string message;
  try {
    replaceFileContents(target, "new content\r\n");
  } catch (const EFCreateError& error) {
    message = error.what();
  }
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
  ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

  const std::string start = "Cannot create file \"" + target + "\". ";
  EXPECT_EQ(message.substr(0, start.size()), start) << GetParam().label << ": " << message;
  EXPECT_GT(message.size(), start.size()) << GetParam().label;
  if (GetParam().expectedError != 0) {
    EXPECT_EQ(message, createErrorText(target, GetParam().expectedError)) << GetParam().label;
  }
  EXPECT_EQ(root.read("list.xml"), "old content\r\n") << GetParam().label;
  EXPECT_EQ(root.entryCount(), 1u) << GetParam().label << ": something left beside the list";
}

INSTANTIATE_TEST_SUITE_P(Targets, Win32ReplaceFailure,
                         ::testing::Values(FailureCase{"read-only", readOnly, 0},
                                           FailureCase{"held open", heldWithoutSharing, 0}));

TEST(Win32Replace, AFolderOrAMissingFolderIsACreateError) {
  TempFolder root;
  root.makeFolder("folder");
  struct Case {
    std::string target;
    DWORD error;
  };
  const Case cases[] = {
      {root.path("folder"), ERROR_ACCESS_DENIED},
      {root.path("missing\\list.xml"), ERROR_PATH_NOT_FOUND},
      {"", ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    try {
      replaceFileContents(c.target, "x");
      ADD_FAILURE() << c.target << ": no error";
    } catch (const EFCreateError& error) {
      EXPECT_EQ(std::string(error.what()), createErrorText(c.target, c.error));
    }
  }
  EXPECT_EQ(root.entryCount(), 1u);
  EXPECT_EQ(root.entryCount("folder"), 0u);
}

// Run as a child by the test after it, and skipped otherwise: starts a save of
// the target that BRIMLOW_HELD_TARGET names, writes part of it, says so in
// the file BRIMLOW_HELD_READY names, and waits to be killed.
TEST(Win32StaleTemporaries, HeldWriter) {
  const char* target = std::getenv("BRIMLOW_HELD_TARGET");
  const char* ready = std::getenv("BRIMLOW_HELD_READY");
  if (target == nullptr || ready == nullptr) GTEST_SKIP() << "a child of the test below";
  WriteHandle file = system().createTemporaryBeside(target);
  system().writeAll(file, std::string(1 << 20, 'x'), target);
  std::ofstream(ready) << "ready";
  ::Sleep(INFINITE);
}

// A started copy of this test program, ended by TerminateProcess.
class Child {
 public:
  explicit Child(const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + system().programFilePath() + "\" " + arguments;
    started_ = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process_) != 0;
  }
  ~Child() { kill(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return process_.dwProcessId; }
  void kill() {
    if (!started_) return;
    ::TerminateProcess(process_.hProcess, 9);
    ::WaitForSingleObject(process_.hProcess, 10000);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
    started_ = false;
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

size_t temporariesOf(const TempFolder& root, const char* folder, DWORD writer) {
  const std::string prefix = temporaryPrefix("list.xml") + std::to_string(writer) + "-";
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root.path(folder)))
    count += entry.path().filename().string().starts_with(prefix) ? 1 : 0;
  return count;
}

TEST(Win32StaleTemporaries, AKilledSaveLeavesOneThatTheNextSaveRemoves) {
  TempFolder root;
  root.write("lists\\list.xml", "old");
  root.makeFolder("marks");
  const std::string target = root.path("lists\\list.xml");
  const ScopedEnvironment held("BRIMLOW_HELD_TARGET", target);
  const ScopedEnvironment ready("BRIMLOW_HELD_READY", root.path("marks\\ready"));
  Child writer("--gtest_filter=Win32StaleTemporaries.HeldWriter");
  ASSERT_TRUE(writer.started());
  ASSERT_EQ(waitForFile(root.path("marks\\ready")), "ready");
  ASSERT_EQ(temporariesOf(root, "lists", writer.id()), 1u);

  replaceFileContents(target, "while it writes");
  EXPECT_EQ(temporariesOf(root, "lists", writer.id()), 1u) << "a save still running keeps its file";

  const DWORD id = writer.id();
  writer.kill();
  EXPECT_EQ(root.read("lists\\list.xml"), "while it writes");
  ASSERT_EQ(temporariesOf(root, "lists", id), 1u) << "the killed save left its file";
  replaceFileContents(target, "new");
  EXPECT_EQ(root.read("lists\\list.xml"), "new");
  EXPECT_EQ(root.entryCount("lists"), 1u) << "the stale temporary is gone";
}

TEST(Win32StaleTemporaries, NothingButTheTargetsOwnNamesOfGoneWritersIsRemoved) {
  TempFolder root;
  root.write("list.xml", "old");
  Child ended("--gtest_list_tests");
  ASSERT_TRUE(ended.started());
  const std::string gone = std::to_string(ended.id());
  ended.kill();
  const std::string self = std::to_string(::GetCurrentProcessId());
  const std::vector<std::string> kept = {
      ".list.xml." + self + "-900.tmp",     // this process's own
      ".other.xml." + gone + "-0.tmp",      // another target's
      "list.xml." + gone + "-0.tmp",        // not hidden
      ".list.xml." + gone + "-0.tmp.part",  // more after the ending
      ".list.xml." + gone + "-0.old",       // maybe the only copy of an old list
  };
  for (const std::string& name : kept)
    root.write(name, "someone's");
  root.makeFolder(".list.xml." + gone + "-1.tmp");
  root.write(".LIST.XML." + gone + "-2.tmp", "stale");  // letter case does not count here

  replaceFileContents(root.path("list.xml"), "new");

  for (const std::string& name : kept)
    EXPECT_EQ(root.read(name), "someone's") << name;
  EXPECT_TRUE(std::filesystem::is_directory(root.path(".list.xml." + gone + "-1.tmp")));
  EXPECT_FALSE(std::filesystem::exists(root.path(".LIST.XML." + gone + "-2.tmp")));
}

}  // namespace
