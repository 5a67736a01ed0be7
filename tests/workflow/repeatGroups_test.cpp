// Repeated downloads: which downloads the address and file-name rules link,
// the groups they form through chains, and which download of a group is kept.
#include "workflow/repeatGroups.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/downloadsList.h"
#include "fakePlatform.h"
#include "workflow/cleaner.h"
#include "workflow/fileStates.h"
#include "workflow/workflowText.h"

namespace brimlow {
namespace {

struct Entry {
  std::string url;
  std::string fileName;
  TDateTime date = 0;
  bool present = false;
};

class RepeatGroupsTest : public ::testing::Test {
 protected:
  RepeatGroupsTest() : scoped(fake) {}

  void Fill(const std::vector<Entry>& entries) {
    list.Clear();
    fake.existingFiles.clear();
    for (const Entry& entry : entries) {
      Tdownload& d = list.Add();
      d.URL = entry.url;
      d.FileName = entry.fileName;
      d.Date = entry.date;
      if (entry.present) fake.existingFiles.insert(entry.fileName);
    }
    groups.Build(list);
  }
  // Each download's group, numbered by first appearance; -1 for none.
  std::vector<int> Labels() const {
    std::vector<int> labels;
    std::vector<int> seen;
    for (int row = 0; row < groups.Count(); ++row) {
      const int group = groups.GroupOf(row);
      if (group < 0) {
        labels.push_back(-1);
        continue;
      }
      size_t label = 0;
      while (label < seen.size() && seen[label] != group)
        ++label;
      if (label == seen.size()) seen.push_back(group);
      labels.push_back(static_cast<int>(label));
    }
    return labels;
  }

  test::FakePlatform fake;
  platform::ScopedPlatform scoped;
  TDownloadsList list;
  TRepeatGroups groups;
};

TEST(UrlKey, TrimsBlanksAndOneSlashAndLowersSchemeAndHostOnly) {
  const struct {
    const char* url;
    const char* key;
  } cases[] = {
      {"", ""},
      {"  \t ", ""},
      {"/", ""},
      {"  HTTP://Example.COM/Files/A.zip/ ", "http://example.com/Files/A.zip"},
      {"http://example.com//", "http://example.com/"},
      {"ftp://User@Host.ORG/x", "ftp://User@host.org/x"},
      {"http://Host.org?Q=A", "http://host.org?Q=A"},
      {"Example.COM/Path", "Example.COM/Path"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UrlKey(c.url), c.key) << c.url;
}

// The key of a file name stands for the comparison the execution makes
// (SameFileName), though it asks the disk nothing.
TEST_F(RepeatGroupsTest, FileNameKeysAgreeWithTheSystemsComparison) {
  const struct {
    const char* a;
    const char* b;
  } cases[] = {
      {"C:\\dl\\Setup.exe", "c:\\DL\\setup.EXE"},
      {"C:\\dl\\setup.exe", "D:\\dl\\setup.exe"},
      {"C:\\dl\\a.bin", "C:\\dl\\a.bi"},
      {"dl\\a.bin", "DL\\A.BIN"},
      {"/tmp/A.bin", "/tmp/a.bin"},
      {"/tmp/a.bin", "/tmp//a.bin"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileNameKey(c.a) == FileNameKey(c.b), SameFileName(c.a, c.b)) << c.a << " " << c.b;
  EXPECT_EQ(FileNameKey(""), "");
}

TEST_F(RepeatGroupsTest, TheRulesLinkDownloadsIntoGroups) {
  const std::string cyrillic = AnsiText("C:\\Загрузки\\Отчет.pdf");
  const std::string cyrillicOther = AnsiText("c:\\загрузки\\ОТЧЕТ.PDF");
  const struct {
    const char* label;
    std::vector<Entry> entries;
    std::vector<int> groups;
    int count;
  } cases[] = {
      {"nothing repeats", {{"http://a/1", "C:\\1"}, {"http://a/2", "C:\\2"}}, {-1, -1}, 0},
      {"the same address, case in scheme and host",
       {{"http://A.org/x", ""}, {"HTTP://a.org/x/", ""}, {"http://a.org/X", ""}},
       {0, 0, -1},
       1},
      {"the same file, letter case ignored",
       {{"", "C:\\dl\\Setup.exe"}, {"", "c:\\DL\\setup.EXE"}, {"", "C:\\dl\\setup.ex"}},
       {0, 0, -1},
       1},
      {"Cyrillic file names", {{"", cyrillic}, {"", cyrillicOther}}, {0, 0}, 1},
      {"empty fields never match", {{"", ""}, {"  ", ""}, {"", ""}}, {-1, -1, -1}, 0},
      {"a chain through both rules",
       {{"http://a/1", "C:\\x"},
        {"http://b/2", "C:\\X"},
        {"http://b/2", "C:\\y"},
        {"http://c/3", "C:\\Y"},
        {"http://d/4", "C:\\z"}},
       {0, 0, 0, 0, -1},
       1},
      {"two groups",
       {{"http://a/1", ""}, {"http://b/2", ""}, {"http://a/1", ""}, {"http://b/2", ""}},
       {0, 1, 0, 1},
       2},
  };
  for (const auto& c : cases) {
    Fill(c.entries);
    EXPECT_EQ(Labels(), c.groups) << c.label;
    EXPECT_EQ(groups.GroupCount(), c.count) << c.label;
  }
}

TEST_F(RepeatGroupsTest, TheDownloadKeptIsPresentThenNewestThenLast) {
  const struct {
    const char* label;
    std::vector<Entry> entries;
    std::vector<uint8_t> marks;
  } cases[] = {
      {"the present file wins over a newer missing one",
       {{"http://a/1", "C:\\a1", 10, true}, {"http://a/1", "C:\\a2", 20, false}},
       {0, 1}},
      {"among present files the newest",
       {{"http://a/1", "C:\\a1", 30, true},
        {"http://a/1", "C:\\a2", 20, true},
        {"http://a/1", "C:\\a3", 40, false}},
       {0, 1, 1}},
      {"none present: the newest",
       {{"http://a/1", "C:\\a1", 10}, {"http://a/1", "C:\\a2", 30}, {"http://a/1", "C:\\a3", 20}},
       {1, 0, 1}},
      {"equal standing: the last in the list",
       {{"http://a/1", "C:\\a1", 10}, {"http://a/1", "C:\\a2", 10}, {"http://b/2", "C:\\b", 10}},
       {1, 0, 0}},
      {"each group keeps one",
       {{"http://a/1", "", 1}, {"http://b/2", "", 1}, {"http://a/1", "", 2}, {"http://b/2", "", 0}},
       {1, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    Fill(c.entries);
    TFileStates files;
    EXPECT_EQ(groups.RepeatMarks(list, files), c.marks) << c.label;
  }
}

}  // namespace
}  // namespace brimlow
