// The cleaner without a window: locating and loading the list, moving between
// the list and the trash, the filter run and the statistics it hands on.
#include "workflow/cleaner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "cleanerTestSupport.h"
#include "data/categories.h"
#include "data/download.h"
#include "platform/path.h"
#ifndef _WIN32
#include "../platform/fileFaults.h"
#include "../platform/testSupport.h"
#endif

namespace brimlow {
namespace {

using test::CleanerTest;
using IdList = std::vector<uint32_t>;

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";

TEST_F(CleanerTest, TheListIsTheRegistrysOrElseUnderAppData) {
  const std::string appDataList = "C:\\u\\AppData\\Tarvolt\\lists\\default.xml";
  using Values = std::map<std::string, std::string>;
  const struct {
    const char* label;
    std::optional<Values> key;
    std::optional<std::string> appData;
    std::string list;
    std::string exeFile;
  } cases[] = {
      {"both values",
       Values{{"DefaultDownloadList", "D:\\l\\my.xml"}, {"ExeFile", "D:\\t\\tarvolt.exe"}},
       "C:\\u\\AppData", "D:\\l\\my.xml", "D:\\t\\tarvolt.exe"},
      {"no key", std::nullopt, "C:\\u\\AppData", appDataList, ""},
      {"an empty value counts as none", Values{{"DefaultDownloadList", ""}}, "C:\\u\\AppData",
       appDataList, ""},
      // Relative, with the system's own separators.
      {"without APPDATA", std::nullopt, std::nullopt,
       platform::JoinPath("", "Tarvolt\\lists\\default.xml"), ""},
  };
  for (const auto& c : cases) {
    TCleaner fresh;
    fake.registry.clear();
    if (c.key) fake.registry[kHostKey] = *c.key;
    fake.environment.clear();
    if (c.appData) fake.environment["APPDATA"] = *c.appData;
    EXPECT_EQ(fresh.GetDefaultListName(), c.list) << c.label;
    EXPECT_EQ(fresh.HostExeFile(), c.exeFile) << c.label;
  }
}

TEST_F(CleanerTest, ExeFileKeepsItsValueWhenTheValueGoes) {
  fake.registry[kHostKey] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
  cleaner.GetDefaultListName();
  fake.registry[kHostKey] = {};
  cleaner.GetDefaultListName();
  EXPECT_EQ(cleaner.HostExeFile(), "D:\\t\\tarvolt.exe");
}

TEST_F(CleanerTest, ARegistryValueOfAnotherTypeFailsTheLookup) {
  fake.registry[kHostKey] = {};
  fake.nonTextValues.insert({kHostKey, "DefaultDownloadList"});
  try {
    cleaner.GetDefaultListName();
    ADD_FAILURE() << "no error";
  } catch (const platform::ERegistryException& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'DefaultDownloadList'");
  }
}

TEST_F(CleanerTest, TheCategoriesLieOneFolderAboveTheList) {
  cleaner.LoadCategoriesFor("D:\\l\\my.xml");
  EXPECT_EQ(cleaner.Categories().FileName(), "D:\\l\\..\\nodelist.xml");
  EXPECT_EQ(cleaner.Categories().Count(), 0) << "no category file";

  std::filesystem::create_directories(folder / "lists");
  std::filesystem::copy_file(std::string(BRIMLOW_TEST_DATA) + "/nodes_three_kept.xml",
                             folder / "nodelist.xml");
  cleaner.LoadCategoriesFor((folder / "lists" / "default.xml").string());
  EXPECT_EQ(cleaner.Categories().FileName(), (folder / "lists" / ".." / "nodelist.xml").string());
  EXPECT_EQ(cleaner.Categories().Count(), 3);
}

TEST_F(CleanerTest, AMissingFileLoadsAsAnEmptyList) {
  Fill({100, 200});
  Mark(cleaner.Downloads(), {0});
  cleaner.Copy(false);
  cleaner.LoadList(Path("missing.xml"));
  EXPECT_EQ(cleaner.Downloads().Count(), 0);
  EXPECT_EQ(cleaner.Trash().Count(), 0);
  EXPECT_EQ(cleaner.LoadedCount(), 0);
  EXPECT_TRUE(cleaner.HasListFile());
  EXPECT_EQ(frontEnd.statistics.back(), TStatistics{});
}

// A load that fails, whether the file cannot be opened or its reading
// breaks off halfway, leaves the lists, the marks and the count as they were.
TEST_F(CleanerTest, AFailedLoadLeavesEverythingAsItWas) {
  const std::string locked = Path("locked.xml");
  {
    std::ofstream file(locked, std::ios::binary);
    file << "<DownloadList>";
    for (int id = 1; id <= 2000; ++id)
      file << "<DownloadFile><ID>" << id << "</ID></DownloadFile>";
    file << "</DownloadList>";
  }
  const struct {
    const char* label;
    bool readBreaksOff;
  } rows[] = {
      {"unreadable", false},
#ifndef _WIN32
      {"reading breaks off", true},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    Fill({1024, 2048, 4096});
    Mark(cleaner.Downloads(), {0, 2});
    cleaner.Move();
    Mark(cleaner.Downloads(), {0});
    const TDownloadsList* listBefore = &cleaner.Downloads().List();
    const int32_t loadedBefore = cleaner.LoadedCount();
    fake.unreadableFiles.clear();
    if (!row.readBreaksOff) fake.unreadableFiles.insert(locked);
#ifndef _WIN32
    platform::testing::FileFaults faults;
    faults.pathsContaining = row.readBreaksOff ? "locked.xml" : "no such file";
    faults.readChunk = 1000;
    faults.readFailsAfter = 20'000;
#endif
    EXPECT_THROW(cleaner.LoadList(locked), platform::EFOpenError);
    EXPECT_EQ(&cleaner.Downloads().List(), listBefore);
    EXPECT_EQ(Ids(cleaner.Downloads()), (IdList{2}));
    EXPECT_EQ(Ids(cleaner.Trash()), (IdList{1, 3}));
    EXPECT_TRUE(cleaner.Downloads().IsChecked(0)) << "the marks stay";
    EXPECT_EQ(cleaner.LoadedCount(), loadedBefore);
    EXPECT_EQ(cleaner.Downloads().List().FileName(), Path("filled.xml"))
        << "an execution would write it";
  }
}

TEST_F(CleanerTest, MovingKeepsEveryFieldOfTheRecord) {
  Fill({10});
  Tdownload& original = cleaner.Downloads().List()[0];
  original.URL = "http://h/a";
  original.Comment = "note";
  original.ExtraElements = {"Foo;bar"};
  original.Date = 39508.25;
  const Tdownload copy = original;
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  Mark(cleaner.Trash(), {0});
  cleaner.MoveBack();
  ASSERT_EQ(cleaner.Downloads().Count(), 1);
  EXPECT_EQ(cleaner.Downloads().List()[0], copy);
}

TEST_F(CleanerTest, TheFilterReplacesTheMarksAndLeavesTheTrashAlone) {
  Fill({1024, 4096, 2048, 100});
  Mark(cleaner.Downloads(), {0, 3});
  cleaner.Copy(false);
  Mark(cleaner.Trash(), {1});
  std::vector<std::pair<int, int>> progress;
  TFilterInputs inputs;
  inputs.sizeFrom = "2";
  cleaner.RunFilter(inputs, [&](int done, int total) { progress.emplace_back(done, total); });
  EXPECT_EQ(cleaner.Downloads().CheckedRows(), (std::vector<int>{1, 2}))
      << "the earlier marks are replaced";
  EXPECT_EQ(frontEnd.statistics.back().markedSize, 6144);
  EXPECT_EQ(progress.back(), (std::pair<int, int>{4, 4})) << "the run ends complete";
  EXPECT_EQ(cleaner.Trash().CheckedRows(), (std::vector<int>{1}));

  cleaner.ClearMarks();
  EXPECT_EQ(cleaner.Downloads().CheckedCount(), 0);
  EXPECT_EQ(frontEnd.statistics.back().markedCount, 0);
  EXPECT_TRUE(cleaner.Trash().IsChecked(1)) << "the trash keeps its marks";
}

TEST_F(CleanerTest, TheFilterReportsItsProgressInBlocks) {
  cleaner.LoadList(Path("empty.xml"));
  frontEnd.statistics.clear();
  cleaner.RunFilter({});
  EXPECT_EQ(frontEnd.statistics.size(), 1u) << "an empty list still refreshes the statistics";

  TDownloadsList& list = cleaner.Downloads().List();
  for (int i = 0; i < 600; ++i)
    list.Add().Size = 1;
  cleaner.Downloads().Reset();
  std::vector<int> done;
  cleaner.RunFilter({}, [&](int count, int total) {
    EXPECT_EQ(total, 600);
    done.push_back(count);
  });
  ASSERT_GT(done.size(), 2u) << "reported on the way, not only at the end";
  EXPECT_EQ(done.front(), 0);
  EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
  EXPECT_EQ(done.back(), 600);
  EXPECT_EQ(cleaner.Downloads().CheckedCount(), 600);
}

TEST(StatisticsTexts, CountsInDecimalSizesAsSizeText) {
  const TStatistics statistics{3, 2, 3072, 1'572'864, 12345, 0, 7, 17};
  EXPECT_EQ(statistics.Texts(), (TStatisticsTexts{"3", "2", SizeToText(3072), SizeToText(1'572'864),
                                                  "12345", SizeToText(0), "7", "17"}));
}

// Each move, copy and change of the marks, in turn: what the list and the
// trash hold afterwards, and the statistics handed to the front-end, in which
// only the list's marks count as marked.
TEST_F(CleanerTest, TransfersAndMarksHandOnNewStatistics) {
  const struct {
    const char* label;
    void (*change)(TCleaner&);
    IdList list;
    IdList trash;
    TStatistics after;
  } steps[] = {
      {"nothing marked: a move moves nothing",
       [](TCleaner& c) { c.Move(); },
       {1, 2, 3},
       {},
       {3, 0, 0, 3584, 0, 0}},
      {"a copy keeps the list and the marks",
       [](TCleaner& c) {
         Mark(c.Downloads(), {0, 1});
         c.Copy(false);
       },
       {1, 2, 3},
       {1, 2},
       {3, 2, 3072, 3584, 2, 3072}},
      {"a second copy, clearing the marks",
       [](TCleaner& c) { c.Copy(true); },
       {1, 2, 3},
       {1, 2, 1, 2},
       {3, 0, 0, 3584, 4, 6144}},
      {"a move takes the marked ones in order",
       [](TCleaner& c) {
         Mark(c.Downloads(), {0, 2});
         c.Move();
       },
       {2},
       {1, 2, 1, 2, 1, 3},
       {1, 0, 0, 2048, 6, 7680}},
      {"marks in the trash",
       [](TCleaner& c) {
         Mark(c.Trash(), {0, 5});
         c.UpdateStatistics();
       },
       {2},
       {1, 2, 1, 2, 1, 3},
       {1, 0, 0, 2048, 6, 7680}},
      {"a move back appends after the last of the list",
       [](TCleaner& c) { c.MoveBack(); },
       {2, 1, 3},
       {2, 1, 2, 1},
       {3, 0, 0, 3584, 4, 6144}},
      {"a filter run",
       [](TCleaner& c) { c.RunFilter({}); },
       {2, 1, 3},
       {2, 1, 2, 1},
       {3, 3, 3584, 3584, 4, 6144}},
      {"marks cleared",
       [](TCleaner& c) { c.ClearMarks(); },
       {2, 1, 3},
       {2, 1, 2, 1},
       {3, 0, 0, 3584, 4, 6144}},
  };
  Fill({1024, 2048, 512});
  EXPECT_EQ(frontEnd.statistics.back(), (TStatistics{3, 0, 0, 3584, 0, 0})) << "a load";
  for (const auto& step : steps) {
    SCOPED_TRACE(step.label);
    const size_t before = frontEnd.statistics.size();
    step.change(cleaner);
    EXPECT_EQ(Ids(cleaner.Downloads()), step.list);
    EXPECT_EQ(Ids(cleaner.Trash()), step.trash);
    ASSERT_GT(frontEnd.statistics.size(), before);
    EXPECT_EQ(frontEnd.statistics.back(), step.after);
    EXPECT_EQ(cleaner.Statistics(), step.after);
  }
}

#ifndef _WIN32
// The cleaner on the system's own platform, with a Wine prefix of its own.
class RealPrefixTest : public ::testing::Test {
 protected:
  RealPrefixTest() {
    // A prefix as Wine lays it out: drive C: is dosdevices/c:, a link.
    temp.makeFolder("prefix/drive_c/lists");
    temp.makeFolder("prefix/dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", temp.path("prefix/dosdevices/c:"));
    temp.makeFolder("AppData/Tarvolt/lists");
  }
  void CopyData(const char* name, const char* to) const {
    std::filesystem::copy_file(std::string(BRIMLOW_TEST_DATA) + "/" + name, temp.path(to));
  }
  // The start-up's steps that locate and load the list.
  static void StartUp(TCleaner& cleaner) {
    cleaner.LoadCategoriesFor(cleaner.GetDefaultListName());
    cleaner.OpenDefault();
  }

  platform::testing::TempFolder temp;
  platform::testing::ScopedEnvironment prefix{"WINEPREFIX", temp.path("prefix")};
  platform::testing::ScopedEnvironment appData{"APPDATA", temp.path("AppData")};
};

TEST_F(RealPrefixTest, TheListNamedInTheRegistryIsLoaded) {
  CopyData("list_two_downloads.xml", "prefix/drive_c/lists/my.xml");
  CopyData("nodes_three_kept.xml", "prefix/drive_c/nodelist.xml");
  std::ofstream(temp.path("prefix/user.reg"))
      << "WINE REGISTRY Version 2\n\n[Software\\\\Kelvane\\\\Tarvolt] 1700000001\n"
      << "\"DefaultDownloadList\"=\"C:\\\\lists\\\\my.xml\"\n"
      << "\"ExeFile\"=\"C:\\\\t\\\\tarvolt.exe\"\n";
  TCleaner cleaner;
  StartUp(cleaner);
  EXPECT_EQ(cleaner.Downloads().List().FileName(), "C:\\lists\\my.xml") << "the text is kept";
  EXPECT_EQ(cleaner.HostExeFile(), "C:\\t\\tarvolt.exe");
  EXPECT_EQ(cleaner.Downloads().Count(), 2);
  EXPECT_EQ(cleaner.Categories().Count(), 3);
}

TEST_F(RealPrefixTest, WithoutTheKeyTheListComesFromAppData) {
  CopyData("list_two_downloads.xml", "AppData/Tarvolt/lists/default.xml");
  TCleaner cleaner;
  StartUp(cleaner);
  EXPECT_EQ(cleaner.Downloads().List().FileName(), temp.path("AppData/Tarvolt/lists/default.xml"));
  EXPECT_EQ(cleaner.Downloads().Count(), 2);
  EXPECT_EQ(cleaner.Categories().Count(), 0) << "no category file";
  EXPECT_EQ(cleaner.HostExeFile(), "");
}

TEST_F(RealPrefixTest, AListThatFailsToReadLoadsNothing) {
  std::ofstream(temp.path("AppData/Tarvolt/lists/default.xml"))
      << "<DownloadList><DownloadFile><Size>many</Size></DownloadFile></DownloadList>";
  TCleaner cleaner;
  try {
    StartUp(cleaner);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "'many' is not a valid integer value");
  }
  EXPECT_FALSE(cleaner.HasListFile()) << "an execution must not overwrite the file";
}
#endif

}  // namespace
}  // namespace brimlow

namespace brimlow {
namespace {

// "Только повторы" marks all but one download of each group, together with
// the other criteria; the count of groups follows the list, not the marks.
TEST_F(CleanerTest, TheRepeatsFilterAndTheirCountFollowTheList) {
  Fill({100, 200, 300, 400});
  TDownloadsList& list = cleaner.Downloads().List();
  for (int i = 0; i < list.Count(); ++i)
    list[i].URL = i < 3 ? "http://a.org/same" : "http://b.org/other";
  list[2].Date = 5;  // the newest: kept
  cleaner.Downloads().Reset();
  cleaner.UpdateStatistics();
  EXPECT_EQ(frontEnd.statistics.back().repeatGroups, 1);

  TFilterInputs inputs;
  inputs.duplicatesOnly = true;
  EXPECT_TRUE(TestsAnything(MakeCriteria(inputs))) << "alone it is a filter";
  cleaner.RunFilter(inputs);
  EXPECT_EQ(cleaner.Downloads().CheckedRows(), (std::vector<int>{0, 1}));
  inputs.sizeFrom = "0";
  inputs.sizeTo = "0";  // at most 0 KB: none passes
  cleaner.RunFilter(inputs);
  EXPECT_EQ(cleaner.Downloads().CheckedCount(), 0) << "combined by AND";

  const uint64_t revision = cleaner.Downloads().Revision();
  Mark(cleaner.Downloads(), {0});
  EXPECT_EQ(cleaner.Downloads().Revision(), revision) << "marks leave the records as they are";
  cleaner.Move();
  EXPECT_EQ(frontEnd.statistics.back().repeatGroups, 1) << "two of three still repeat";
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  EXPECT_EQ(frontEnd.statistics.back().repeatGroups, 0);
  cleaner.Trash().SetChecked(0, true);
  cleaner.MoveBack();
  EXPECT_EQ(frontEnd.statistics.back().repeatGroups, 1) << "moved back, it repeats again";
}

}  // namespace
}  // namespace brimlow
