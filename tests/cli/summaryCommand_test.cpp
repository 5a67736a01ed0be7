#include <gtest/gtest.h>

#include "cliTestSupport.h"

using namespace brimlow;
using namespace brimlow::test;
using brimlow::cli::Arguments;

namespace brimlow::cli {
void runSummary(const Arguments& arguments, std::ostream& out);
void runDump(const Arguments& arguments, std::ostream& out);
}  // namespace brimlow::cli

namespace {

class SummaryCommand : public ProfileTest {};

// The standard list: 1 (Programs, downloaded, 1024), 2 (category 9, which
// the file does not keep, error, 4096), 3 (category 9, downloaded, 100000,
// its file missing), all of 2008.
TEST_F(SummaryCommand, EachBreakdownBiggestFirstThenTheTotal) {
  const std::string total = "{\"total\":3,\"size\":105120}\n";
  const struct {
    const char* by;
    std::string rows;
  } cases[] = {
      {"category",
       "{\"key\":\"(none)\",\"count\":2,\"size\":104096}\n"
       "{\"key\":\"Programs\",\"count\":1,\"size\":1024}\n"},
      {"year", "{\"key\":\"2008\",\"count\":3,\"size\":105120}\n"},
      {"state",
       "{\"key\":\"downloaded\",\"count\":2,\"size\":101024}\n"
       "{\"key\":\"error\",\"count\":1,\"size\":4096}\n"},
      {"file",
       "{\"key\":\"missing\",\"count\":1,\"size\":100000}\n"
       "{\"key\":\"present\",\"count\":2,\"size\":5120}\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Run(cli::runSummary, {List(), "--by", c.by}), c.rows + total) << c.by;
  EXPECT_EQ(Run(cli::runSummary, {List(), "--by", "state", "--csv"}),
            "\xEF\xBB\xBFkey,count,size\r\ndownloaded,2,101024\r\nerror,1,4096\r\n"
            "(total),3,105120\r\n");
}

TEST_F(SummaryCommand, TheHostsCurrentListWithoutAName) {
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", List()}};
  EXPECT_EQ(Run(cli::runSummary, {"--by", "year"}),
            "{\"key\":\"2008\",\"count\":3,\"size\":105120}\n{\"total\":3,\"size\":105120}\n");
}

TEST_F(SummaryCommand, BadOptionsAreUsageErrors) {
  const std::string list = List();
  const Arguments cases[] = {
      {list},
      {list, "--by"},
      {list, "--by", "month"},
      {list, "--by", "year", "--by", "state"},
      {list, "--by", "year", "--csv", "--csv"},
      {list, list, "--by", "year"},
      {list, "--by", "year", "--json"},
  };
  for (const Arguments& arguments : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_THROW(Run(cli::runSummary, arguments), cli::UsageError);
  }
  EXPECT_THROW(Run(cli::runDump, {list, "--csv", "--csv"}), cli::UsageError);
}

TEST_F(SummaryCommand, CleanDuplicatesMarksTheRepeatsAlone) {
  // 1 and 2 share an address; 3 and 4 a file name in other letter case, 4's
  // file being present; 5 repeats none.
  std::string text = "<?xml version=\"1.0\"?>\r\n<DownloadList Version=\"4\">\r\n";
  const struct {
    int id;
    const char* url;
    std::string file;
  } entries[] = {
      {1, "http://Example.com/a/", Path("one.bin")}, {2, "HTTP://example.com/a", Path("two.bin")},
      {3, "http://example.com/c", Path("SAME.bin")}, {4, "http://example.com/d", Path("same.bin")},
      {5, "http://example.com/e", Path("five.bin")},
  };
  for (const auto& e : entries)
    text += "<DownloadFile><ID>" + std::to_string(e.id) + "</ID><URL>" + e.url +
            "</URL><FileName>" + e.file + "</FileName><Size>1</Size></DownloadFile>\r\n";
  WriteBytes(List(), text + "</DownloadList>\r\n");
  WriteBytes(folder / "same.bin", "x");
  const std::string output =
      Run(cli::runClean, {List(), "--duplicates", "--dry-run", "--no-host-control"});
  EXPECT_EQ(output.find("{\"ID\":1,"), 0u) << output;
  EXPECT_NE(output.find("\n{\"ID\":3,"), std::string::npos) << output;
  EXPECT_NE(output.find("\"matched\":2,"), std::string::npos) << output;
  EXPECT_THROW(Run(cli::runClean, {List(), "--duplicates", "--all"}), cli::UsageError);
}

}  // namespace
