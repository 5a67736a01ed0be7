#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "data/convert.h"

namespace brimlow::cli {
void runDump(const Arguments& arguments, std::ostream& out);
}  // namespace brimlow::cli

using namespace brimlow;
using brimlow::cli::Arguments;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

std::string Dump(const Arguments& arguments) {
  std::ostringstream out;
  cli::runDump(arguments, out);
  return out.str();
}

TEST(DumpCommand, PrintsTheHeaderThenOneLinePerRecordInFileOrder) {
  EXPECT_EQ(Dump({DataPath("list_crlf.xml")}),
            R"({"Version":"5","NextID":"12","Count":2})"
            "\n"
            R"({"ID":11,"URL":"http://example.com/files/a.zip?x=1&y=2",)"
            R"("FileName":"C:\\Downloads\\a.zip","State":2,"Size":5368709120,)"
            R"("SaveDir":"C:\\Downloads","DownloadedSize":5368709120,)"
            R"("LastModified":"Tue, 04 Mar 2008 10:00:00 GMT","ResumeMode":1,)"
            R"("Date":"03/07/2008 14:05:09","DownloadTime":3600,"NodeID":5,)"
            R"("Comment":"first <one>","ContentType":"application/zip",)"
            R"("ExtraElements":["Foo;bar"]})"
            "\n"
            R"({"ID":12,"URL":"http://example.com/b.txt","FileName":"/home/u/b.txt",)"
            R"("State":5,"Size":-1,"SaveDir":"","DownloadedSize":0,"LastModified":"",)"
            R"("ResumeMode":0,"Date":"12/30/1899 00:00:00","DownloadTime":-7,"NodeID":0,)"
            R"("Comment":"","ContentType":"","ExtraElements":[]})"
            "\n");
}

TEST(DumpCommand, IdsAboveTheSignedRangeAreUnsignedNumbers) {
  const std::string output = Dump({DataPath("list_id_range.xml")});
  EXPECT_NE(output.find(R"({"ID":4294967295,)"), std::string::npos) << output;
  EXPECT_EQ(output.find("\"ID\":-"), std::string::npos) << output;
}

TEST(DumpCommand, AMissingListIsEmpty) {
  EXPECT_EQ(Dump({DataPath("no_such_list.xml")}), R"({"Version":"","NextID":"","Count":0})"
                                                  "\n");
}

TEST(DumpCommand, ALoadFailureIsThrownWithItsMessage) {
  std::ostringstream out;
  EXPECT_THROW(cli::runDump({DataPath("list_state_invalid.xml")}, out), EConvertError);
  EXPECT_TRUE(out.str().empty()) << "nothing of a list that failed to load is printed";
}

TEST(DumpCommand, WantsExactlyOneList) {
  std::ostringstream out;
  EXPECT_THROW(cli::runDump({}, out), cli::UsageError);
  EXPECT_THROW(cli::runDump({"a.xml", "b.xml"}, out), cli::UsageError);
}

}  // namespace
