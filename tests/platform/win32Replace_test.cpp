#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/win32/win32Platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::TempFolder;

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

}  // namespace
