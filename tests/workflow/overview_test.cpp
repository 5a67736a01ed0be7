// The list's overview: the rows of each breakdown with their counts, sizes,
// order and the filter setting each stands for, against a list built here.
#include "workflow/overview.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/categories.h"
#include "data/downloadsList.h"
#include "fakePlatform.h"
#include "platform/unicode.h"
#include "workflow/fileStates.h"
#include "workflow/workflowText.h"

namespace brimlow {
namespace {

struct Row {
  std::string caption;
  int count;
  int64_t size;
  bool hasFilter;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << row.caption << " " << row.count << " " << row.size << " " << row.hasFilter;
}

TDateTime Day(int year, int month, int day, int hour = 0) {
  TDateTimeParts parts;
  parts.Year = year;
  parts.Month = month;
  parts.Day = day;
  parts.Hour = hour;
  return EncodeDateTime(parts);
}

class OverviewTest : public ::testing::Test {
 protected:
  OverviewTest()
      : scoped(fake), categories(std::string(BRIMLOW_TEST_DATA) + "/nodes_three_kept.xml") {
    // Категории: 5 "Программы" (7 "Игры" below it), 9 "Музыка", 11 "Видео".
    const struct {
      int32_t node;
      int64_t size;
      TDateTime date;
      uint8_t state;
      const char* file;
    } downloads[] = {
        {5, 100, Day(2008, 3, 1), StateComplete, "C:\\dl\\present.zip"},
        {7, 300, Day(2008, 12, 31, 23), StateError, "C:\\dl\\b.zip"},
        {9, 50, Day(2009, 1, 1), 5, ""},
        {42, 1000, Day(2007, 6, 1), StateComplete, "C:\\dl\\d.zip"},
    };
    for (const auto& d : downloads) {
      Tdownload& record = list.Add();
      record.NodeID = d.node;
      record.Size = d.size;
      record.Date = d.date;
      record.State = d.state;
      record.FileName = d.file;
    }
    fake.existingFiles.insert("C:\\dl\\present.zip");
  }

  TOverview Make(TOverviewAxis axis) {
    TFileStates files;
    return MakeOverview(list, categories, axis, files);
  }
  static std::vector<Row> Rows(const TOverview& overview) {
    std::vector<Row> rows;
    for (const TOverviewRow& row : overview.rows)
      rows.push_back({row.caption, row.count, row.size, row.filter.has_value()});
    return rows;
  }
  // How many downloads the row's filter setting passes.
  int Passed(const TFilterInputs& inputs) {
    const TFilterCriteria criteria = MakeCriteria(inputs);
    TFileStates files;
    int passed = 0;
    for (int i = 0; i < list.Count(); ++i)
      passed += Matches(criteria, list[i], files) ? 1 : 0;
    return passed;
  }

  test::FakePlatform fake;
  platform::ScopedPlatform scoped;
  TCategoryList categories;
  TDownloadsList list;
};

TEST_F(OverviewTest, EachBreakdownCountsAndSumsBiggestFirst) {
  // The category names come from the file in the active code page.
  if (platform::utf16ToUtf8(fake.ansiToWide(AnsiText("ж"))) != "ж")
    GTEST_SKIP() << "the code page has no Cyrillic letters";
  const struct {
    TOverviewAxis axis;
    std::vector<Row> rows;
  } cases[] = {
      {TOverviewAxis::Category,
       {{"Без категории", 1, 1000, false}, {"Программы", 2, 400, true}, {"Музыка", 1, 50, true}}},
      {TOverviewAxis::Year,
       {{"2007", 1, 1000, true}, {"2008", 2, 400, true}, {"2009", 1, 50, true}}},
      {TOverviewAxis::State,
       {{"Закачано", 2, 1100, true}, {"Ошибка", 1, 300, true}, {"5", 1, 50, false}}},
      {TOverviewAxis::File,
       {{"Отсутствует файл на диске", 3, 1350, true},
        {"Присутствует файл на диске", 1, 100, true}}},
  };
  for (const auto& c : cases) {
    const TOverview overview = Make(c.axis);
    EXPECT_EQ(Rows(overview), c.rows) << static_cast<int>(c.axis);
    EXPECT_EQ(overview.count, 4);
    EXPECT_EQ(overview.size, 1450);
  }
}

TEST_F(OverviewTest, AYearsOrStatesOrFilesRowFilterPassesExactlyItsDownloads) {
  for (const TOverviewAxis axis :
       {TOverviewAxis::Year, TOverviewAxis::State, TOverviewAxis::File}) {
    for (const TOverviewRow& row : Make(axis).rows) {
      if (row.filter) {
        EXPECT_EQ(Passed(*row.filter), row.count) << row.caption;
      }
    }
  }
}

TEST_F(OverviewTest, RowsCarryTheirFilterSettingAndKey) {
  const TOverview byYear = Make(TOverviewAxis::Year);
  ASSERT_EQ(byYear.rows[1].key, "2008");
  EXPECT_EQ(byYear.rows[1].filter->dayFrom, static_cast<int64_t>(Day(2008, 1, 1)));
  EXPECT_EQ(byYear.rows[1].filter->dayTo, static_cast<int64_t>(Day(2008, 12, 31)));

  const TOverview byCategory = Make(TOverviewAxis::Category);
  EXPECT_EQ(byCategory.rows[1].key, AnsiText("Программы")) << "the key is in the code page";
  EXPECT_EQ(byCategory.rows[1].filter->categoryId, 5);
  EXPECT_EQ(byCategory.rows[0].key, "(none)");

  const TOverview byState = Make(TOverviewAxis::State);
  EXPECT_EQ(byState.rows[0].key, "downloaded");
  EXPECT_EQ(byState.rows[2].key, "5");
  EXPECT_EQ(Make(TOverviewAxis::File).rows[0].key, "missing");
}

TEST_F(OverviewTest, AnEmptyListHasNoRows) {
  list.Clear();
  const TOverview overview = Make(TOverviewAxis::Category);
  EXPECT_TRUE(overview.rows.empty());
  EXPECT_EQ(overview.count, 0);
  EXPECT_EQ(overview.size, 0);
}

}  // namespace
}  // namespace brimlow
