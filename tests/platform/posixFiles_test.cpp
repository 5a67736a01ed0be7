#include "platform/platform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;

namespace {

std::string openErrorOf(const std::string& path) {
  try {
    system().readFile(path);
  } catch (const EFOpenError& error) {
    return error.what();
  }
  return "no error";
}

TEST(ReadFile, GivesEveryByteAsItIs) {
  TempFolder folder;
  const std::string bytes("<a>\r\n\0\xFF\xD0\x9F</a>\n", 14);
  folder.write("list.xml", bytes);
  EXPECT_TRUE(sameBytes(bytes, system().readFile(folder.path("list.xml"))));
}

TEST(ReadFile, ReadsAFileAnotherProgramHasOpenForWriting) {
  TempFolder folder;
  folder.write("list.xml", "");
  const int writer = ::open(folder.path("list.xml").c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "held", 4), 4);
  EXPECT_EQ(system().readFile(folder.path("list.xml")), "held");
  ::close(writer);
}

TEST(ReadFile, FailuresNameThePathAndTheReason) {
  TempFolder folder;
  const std::string missing = folder.path("missing.xml");
  EXPECT_EQ(openErrorOf(missing),
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(openErrorOf(folder.path()),
            "Cannot open file \"" + folder.path() + "\". Is a directory");
}

struct ExistsCase {
  const char* label;
  const char* relative;  // under the temporary folder; null for the empty path
  bool file;
  bool folder;
};

class ExistsTest : public ::testing::TestWithParam<ExistsCase> {};

TEST_P(ExistsTest, TellsFilesFromFolders) {
  TempFolder root;
  root.write("file.xml", "x");
  root.makeFolder("sub");
  std::filesystem::create_symlink(root.path("file.xml"), root.path("link.xml"));
  std::filesystem::create_symlink(root.path("gone.xml"), root.path("dangling.xml"));
  const std::string path = GetParam().relative ? root.path(GetParam().relative) : "";
  EXPECT_EQ(system().fileExists(path), GetParam().file) << GetParam().label;
  EXPECT_EQ(system().directoryExists(path), GetParam().folder) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExistsTest,
                         ::testing::Values(ExistsCase{"a file", "file.xml", true, false},
                                           ExistsCase{"a folder", "sub", false, true},
                                           ExistsCase{"nothing", "nothing.xml", false, false},
                                           ExistsCase{"a link to a file", "link.xml", true, false},
                                           ExistsCase{"a dangling link", "dangling.xml", false,
                                                      false},
                                           ExistsCase{"the empty path", nullptr, false, false}));

TEST(Folders, CreateOneLevelOnly) {
  TempFolder root;
  EXPECT_TRUE(system().createDirectory(root.path("backup")));
  EXPECT_TRUE(system().directoryExists(root.path("backup")));
  EXPECT_FALSE(system().createDirectory(root.path("backup"))) << "already there";
  EXPECT_FALSE(system().createDirectory(root.path("a/b"))) << "two levels";
  EXPECT_FALSE(system().directoryExists(root.path("a")));
}

TEST(Folders, ListEveryEntryButDots) {
  TempFolder root;
  root.write("default_2009_03_07.xml", "");
  root.write("notes.txt", "");
  root.makeFolder("old.XML");
  std::vector<std::string> names = system().listDirectory(root.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"default_2009_03_07.xml", "notes.txt", "old.XML"}));
  EXPECT_TRUE(system().listDirectory(root.path("missing")).empty());
}

TEST(DeleteFile, RemovesFilesOnly) {
  TempFolder root;
  root.write("a.avi", "x");
  root.makeFolder("sub");
  EXPECT_TRUE(system().deleteFile(root.path("a.avi")));
  EXPECT_FALSE(system().fileExists(root.path("a.avi")));
  EXPECT_FALSE(system().deleteFile(root.path("a.avi"))) << "already gone";
  EXPECT_FALSE(system().deleteFile(root.path("sub")));
  EXPECT_TRUE(system().directoryExists(root.path("sub")));
  EXPECT_FALSE(system().deleteFile(""));
}

TEST(ProgramFilePath, IsThisTestProgram) {
  const std::string path = system().programFilePath();
  EXPECT_EQ(std::filesystem::path(path).filename(), "posixFiles_test");
  EXPECT_TRUE(system().fileExists(path));
}

// A Wine prefix whose C: drive is a link to drive_c, as Wine makes it.
class WinePrefixFiles : public ::testing::Test {
 protected:
  WinePrefixFiles() : prefix_("WINEPREFIX", root_.path()) {
    root_.write("drive_c/users/Me/Downloads/File.TXT", "payload");
    root_.makeFolder("dosdevices");
    std::filesystem::create_symlink("../drive_c", root_.path("dosdevices/c:"));
  }
  std::string inDriveC(std::string_view relative) const {
    return root_.path("drive_c/" + std::string(relative));
  }

  TempFolder root_;
  ScopedEnvironment prefix_;
};

TEST_F(WinePrefixFiles, WindowsPathsReachTheDrive) {
  EXPECT_TRUE(system().fileExists("C:\\users\\Me\\Downloads\\File.TXT"));
  EXPECT_TRUE(system().fileExists("c:\\USERS\\me\\downloads\\file.txt")) << "case ignored";
  EXPECT_FALSE(system().fileExists("C:\\users\\me\\downloads"));
  EXPECT_TRUE(system().directoryExists("C:\\users\\me\\downloads"));
  EXPECT_EQ(system().readFile("C:\\Users\\ME\\Downloads\\file.txt"), "payload");
  EXPECT_EQ(system().listDirectory("C:\\users\\me\\downloads"),
            std::vector<std::string>{"File.TXT"});
}

TEST_F(WinePrefixFiles, ErrorsKeepTheWindowsText) {
  EXPECT_EQ(openErrorOf("C:\\users\\me\\lists\\default.xml"),
            "Cannot open file \"C:\\users\\me\\lists\\default.xml\". No such file or directory");
}

TEST_F(WinePrefixFiles, NewNamesAreMadeInTheMatchingFolder) {
  EXPECT_TRUE(system().createDirectory("C:\\USERS\\me\\Backup"));
  EXPECT_TRUE(std::filesystem::is_directory(inDriveC("users/Me/Backup")));
  replaceFileContents("c:\\users\\me\\backup\\default.xml", "list");
  EXPECT_EQ(root_.read("drive_c/users/Me/Backup/default.xml"), "list");
}

TEST_F(WinePrefixFiles, DeletesThroughTheDrive) {
  EXPECT_TRUE(system().deleteFile("C:\\users\\me\\downloads\\FILE.txt"));
  EXPECT_FALSE(std::filesystem::exists(inDriveC("users/Me/Downloads/File.TXT")));
}

TEST_F(WinePrefixFiles, RelativeBackslashPathsStartInTheCurrentFolder) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(inDriveC("users"));
  EXPECT_TRUE(system().fileExists("me\\downloads\\File.TXT"));
  std::filesystem::current_path(previous);
}

}  // namespace
