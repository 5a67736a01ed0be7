#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"

namespace brimlow::cli {
void runCategories(const Arguments& arguments, std::ostream& out);
}  // namespace brimlow::cli

using namespace brimlow;
using brimlow::cli::Arguments;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

std::string Categories(const Arguments& arguments) {
  std::ostringstream out;
  cli::runCategories(arguments, out);
  return out.str();
}

TEST(CategoriesCommand, PrintsTheKeptCategoriesInCollectionOrder) {
  EXPECT_EQ(Categories({DataPath("nodes_duplicate_id.xml")}),
            R"({"ID":4,"ImageIndex":10,"Name":"First","ParentID":2})"
            "\n"
            R"({"ID":4,"ImageIndex":20,"Name":"Second","ParentID":2})"
            "\n");
}

struct FindCase {
  const char* label;
  Arguments arguments;
  const char* expected;
};

const FindCase kFindCases[] = {
    {"the first of two equal IDs",
     {DataPath("nodes_duplicate_id.xml"), "--find", "4"},
     R"({"ID":4,"ImageIndex":10,"Name":"First","ParentID":2})"
     "\n"},
    {"the option may come first",
     {"--find", "+4", DataPath("nodes_duplicate_id.xml")},
     R"({"ID":4,"ImageIndex":10,"Name":"First","ParentID":2})"
     "\n"},
    {"an ID that is not there", {DataPath("nodes_duplicate_id.xml"), "--find", "5"}, "null\n"},
    {"a missing file finds nothing", {DataPath("no_such_nodelist.xml"), "--find", "2"}, "null\n"},
};

TEST(CategoriesCommand, FindPrintsWhatTheLookupGives) {
  for (const FindCase& row : kFindCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(Categories(row.arguments), row.expected);
  }
}

TEST(CategoriesCommand, RefusesBadArguments) {
  const std::string file = DataPath("nodes_duplicate_id.xml");
  for (const Arguments& arguments :
       {Arguments{}, Arguments{file, file}, Arguments{file, "--find"},
        Arguments{file, "--find", "x"}, Arguments{file, "--find", "1", "--find", "2"}}) {
    std::ostringstream out;
    EXPECT_THROW(cli::runCategories(arguments, out), cli::UsageError);
  }
}

TEST(CategoriesCommand, ABadNumberInTheFileIsThrown) {
  std::ostringstream out;
  EXPECT_THROW(cli::runCategories({DataPath("nodes_bad_number.xml")}, out), std::exception);
}

}  // namespace
