#include "data/categories.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/convert.h"
#include "platform/platform.h"

using namespace brimlow;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

std::vector<std::string> Names(const TCategoryList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i)
    names.push_back(list[i].Name);
  return names;
}

std::string Ansi(std::u16string_view text) {
  return platform::current().wideToAnsi(text);
}

TEST(TCategoryList, MissingFileGivesAnEmptyList) {
  const TCategoryList list(DataPath("no_such_nodelist.xml"));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.FileName(), DataPath("no_such_nodelist.xml"));
  for (const int32_t id : {0, 2, 5, -1})
    EXPECT_EQ(list.FindByID(id), nullptr);
}

TEST(TCategoryList, KeepsOnlyTheCategoriesDirectlyBelowTwo) {
  const TCategoryList list(DataPath("nodes_kept_and_dropped.xml"));
  // Category 2 itself, one below 5 (which is below 2) and one without a
  // ParentID are all dropped.
  EXPECT_EQ(Names(list), (std::vector<std::string>{Ansi(u"Программы"), Ansi(u"Музыка")}));
  const Tcategory* programs = list.FindByID(5);
  ASSERT_NE(programs, nullptr);
  EXPECT_EQ(programs->ImageIndex, 12);
  EXPECT_EQ(programs->ParentID, 2);
  ASSERT_NE(list.FindByID(9), nullptr);
  EXPECT_EQ(list.FindByID(9)->ImageIndex, 54);
  for (const int32_t dropped : {2, 7, 8})
    EXPECT_EQ(list.FindByID(dropped), nullptr);
}

TEST(TCategoryList, TheFirstOfTwoEqualIdsIsFoundWhileBothAreListed) {
  const TCategoryList list(DataPath("nodes_duplicate_id.xml"));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"First", "Second"}));
  ASSERT_NE(list.FindByID(4), nullptr);
  EXPECT_EQ(list.FindByID(4)->ImageIndex, 10);
}

TEST(TCategoryList, AnEmptyElementMyNodeCreatesNoRecord) {
  const TCategoryList list(DataPath("nodes_empty_tag.xml"));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0].ID, 4);
}

TEST(TCategoryList, ContentAfterAKeptCategoryStillChangesIt) {
  const TCategoryList list(DataPath("nodes_content_after_end.xml"));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0].Name, "Renamed");
  EXPECT_EQ(list[0].ID, 40);
  // Its map entry stays under the ID it had when it ended; after the dropped
  // category the stray content, the bad number included, goes nowhere.
  EXPECT_EQ(list.FindByID(4), &list[0]);
  EXPECT_EQ(list.FindByID(40), nullptr);
}

TEST(TCategoryList, NestedCategoriesAreEachDecidedOnTheirOwn) {
  const TCategoryList list(DataPath("nodes_nested.xml"));
  EXPECT_EQ(Names(list),
            (std::vector<std::string>{"Outer kept", "Inner kept", "Inner kept too", "Last"}));
  // Content after an inner category's end belongs to the outer one again.
  ASSERT_NE(list.FindByID(10), nullptr);
  EXPECT_EQ(list.FindByID(10)->ImageIndex, 7);
  EXPECT_EQ(list.FindByID(11)->ImageIndex, 0);
  // Dropping an outer category must not shift what the map finds.
  for (const int32_t id : {10, 11, 21, 30}) {
    const Tcategory* found = list.FindByID(id);
    ASSERT_NE(found, nullptr) << id;
    EXPECT_EQ(found->ID, id);
  }
  EXPECT_EQ(list.FindByID(20), nullptr);
  EXPECT_EQ(list.FindByID(22), nullptr);
}

// Regression: an end tag with no category open removed the category kept
// before it.
TEST(TCategoryList, AStrayEndTagRemovesNothing) {
  const TCategoryList list(DataPath("nodes_stray_end_tag.xml"));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Kept", "Also kept"}));
}

TEST(TCategoryList, CategoriesLeftOpenAtTheEndAreDecidedToo) {
  const TCategoryList list(DataPath("nodes_unclosed.xml"));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Whole", "Cut short"}));
  EXPECT_NE(list.FindByID(5), nullptr);
  EXPECT_EQ(list.FindByID(6), nullptr);
}

TEST(TCategoryList, ABadNumberFailsConstruction) {
  try {
    TCategoryList list(DataPath("nodes_bad_number.xml"));
    ADD_FAILURE() << "loaded";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'12a' is not a valid integer value");
  }
}

TEST(TCategoryList, HoldsAndFindsMoreThanAHundred) {
  const std::filesystem::path path =
      std::filesystem::path(testing::TempDir()) / "nodes_many_categories.xml";
  {
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NodeList>\n";
    for (int id = 1000; id < 1250; ++id)
      out << "<MyNode><ID>" << id << "</ID><Name>c" << id << "</Name><ImageIndex>" << id % 55
          << "</ImageIndex><ParentID>" << (id % 5 ? 2 : 3) << "</ParentID></MyNode>\n";
    out << "</NodeList>\n";
  }
  const TCategoryList list(path.string());
  EXPECT_EQ(list.Count(), 200);
  for (int id = 1000; id < 1250; ++id) {
    const Tcategory* found = list.FindByID(id);
    if (id % 5 == 0) {
      EXPECT_EQ(found, nullptr) << id;
    } else {
      ASSERT_NE(found, nullptr) << id;
      EXPECT_EQ(found->Name, "c" + std::to_string(id));
      EXPECT_EQ(found->ImageIndex, id % 55);
    }
  }
  std::filesystem::remove(path);
}

}  // namespace
