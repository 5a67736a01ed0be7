#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "platform/path.h"
#include "platform/platform.h"
#include "platform/win32/win32Platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::TempFolder;

namespace {

struct ExistenceCase {
  const char* label;
  std::string path;
  bool file;
  bool folder;
};

TEST(Win32Files, ExistenceOfFilesAndFolders) {
  TempFolder root;
  root.write("list.xml", "x");
  root.write("sub\\inner.txt", "");
  const ExistenceCase cases[] = {
      {"a file", root.path("list.xml"), true, false},
      {"an empty file", root.path("sub\\inner.txt"), true, false},
      {"a folder", root.path("sub"), false, true},
      {"a folder with a trailing separator", root.path("sub") + "\\", false, true},
      {"a missing file", root.path("missing.xml"), false, false},
      {"a file inside a missing folder", root.path("none\\list.xml"), false, false},
      {"the empty name", "", false, false},
      {"other letter case", root.path("LIST.XML"), true, false},
  };
  for (const ExistenceCase& c : cases) {
    EXPECT_EQ(system().fileExists(c.path), c.file) << c.label;
    EXPECT_EQ(system().directoryExists(c.path), c.folder) << c.label;
  }
}

TEST(Win32Files, ARelativePathIsTakenFromTheCurrentFolder) {
  TempFolder root;
  root.write("here.xml", "x");
  char previous[MAX_PATH] = {};
  ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, previous), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(root.path().c_str()));
  const bool found = system().fileExists("here.xml");
  const bool notFound = system().fileExists("elsewhere.xml");
  ::SetCurrentDirectoryA(previous);
  EXPECT_TRUE(found);
  EXPECT_FALSE(notFound);
}

TEST(Win32Files, ReadsAFileThatAnotherWriterHoldsOpen) {
  TempFolder root;
  root.write("list.xml", std::string("a\0b\r\nc", 6));
  const HANDLE writer = ::CreateFileA(root.path("list.xml").c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  std::string bytes;
  EXPECT_NO_THROW(bytes = system().readFile(root.path("list.xml")));
  ::CloseHandle(writer);
  EXPECT_EQ(bytes, std::string("a\0b\r\nc", 6));
}

TEST(Win32Files, ReadsALargeFileWhole) {
  TempFolder root;
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>(i * 7 % 251);
  root.write("big.bin", content);
  EXPECT_EQ(system().readFile(root.path("big.bin")), content);
}

TEST(Win32Files, ReadErrorsCarryTheSystemsMessage) {
  TempFolder root;
  root.makeFolder("folder");
  struct Case {
    std::string path;
    DWORD error;
  };
  const Case cases[] = {
      {root.path("missing.xml"), ERROR_FILE_NOT_FOUND},
      {root.path("none\\missing.xml"), ERROR_PATH_NOT_FOUND},
      {root.path("folder"), ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    try {
      system().readFile(c.path);
      ADD_FAILURE() << c.path << ": no error";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()),
                "Cannot open file \"" + c.path + "\". " + systemMessage(c.error));
    }
  }
}

TEST(Win32Files, SystemMessagesAreTheSystemsTextWithoutTheLineBreak) {
  const std::string message = systemMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(message.empty());
  EXPECT_NE(message.find_first_not_of(' '), std::string::npos);
  EXPECT_NE(message.back(), '\n');
  EXPECT_NE(message.back(), '\r');
  EXPECT_NE(message, systemMessage(ERROR_ACCESS_DENIED));
  // A code the system has no text for still says which one it was.
  EXPECT_EQ(systemMessage(0x3FFFFFF0u), "System error 1073741808.");
}

TEST(Win32Files, CreatesListsAndDeletes) {
  TempFolder root;
  EXPECT_TRUE(system().createDirectory(root.path("backup")));
  EXPECT_FALSE(system().createDirectory(root.path("backup"))) << "already there";
  EXPECT_FALSE(system().createDirectory(root.path("a\\b"))) << "one level only";
  EXPECT_FALSE(system().createDirectory(""));
  root.write("backup\\default_2009_03_07.xml", "1");
  root.write("backup\\OLD.XML", "2");
  root.makeFolder("backup\\folder");

  std::vector<std::string> names = system().listDirectory(root.path("backup"));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"OLD.XML", "default_2009_03_07.xml", "folder"}));
  EXPECT_EQ(system().listDirectory(root.path("backup") + "\\").size(), 3u);
  EXPECT_TRUE(system().listDirectory(root.path("missing")).empty());
  EXPECT_TRUE(system().listDirectory("").empty());

  EXPECT_TRUE(system().deleteFile(root.path("backup\\OLD.XML")));
  EXPECT_FALSE(system().fileExists(root.path("backup\\OLD.XML")));
  EXPECT_FALSE(system().deleteFile(root.path("backup\\OLD.XML"))) << "already gone";
  EXPECT_FALSE(system().deleteFile(root.path("backup\\folder"))) << "a folder is never deleted";
  EXPECT_TRUE(system().directoryExists(root.path("backup\\folder")));
  EXPECT_FALSE(system().deleteFile(""));
}

TEST(Win32Files, AReadOnlyFileIsNotDeleted) {
  TempFolder root;
  root.write("kept.bin", "x");
  ASSERT_TRUE(::SetFileAttributesA(root.path("kept.bin").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(system().deleteFile(root.path("kept.bin")));
  EXPECT_TRUE(system().fileExists(root.path("kept.bin")));
  ::SetFileAttributesA(root.path("kept.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Files, TheProgramsOwnPathNamesThisExecutable) {
  const std::string path = system().programFilePath();
  EXPECT_TRUE(isWindowsPath(path)) << path;
  EXPECT_EQ(ExtractFileName(path), "win32Files_test.exe");
  EXPECT_TRUE(system().fileExists(path));
}

TEST(Win32Files, TheLocalDateIsTodays) {
  const LocalDate before = system().localDate();
  const std::time_t now = std::time(nullptr);
  const std::tm* parts = std::localtime(&now);
  const LocalDate after = system().localDate();
  ASSERT_NE(parts, nullptr);
  // Midnight may pass between the two questions: one of them agrees.
  const auto same = [&](const LocalDate& d) {
    return d.year == parts->tm_year + 1900 && d.month == parts->tm_mon + 1 &&
           d.day == parts->tm_mday;
  };
  EXPECT_TRUE(same(before) || same(after));
}

}  // namespace
