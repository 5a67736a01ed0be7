#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cliTestSupport.h"
#include "data/convert.h"

using namespace brimlow;
using namespace brimlow::test;

namespace {

class RestoreCommand : public test::ProfileTest {
 protected:
  RestoreCommand() {
    // Line ends of every kind: the restore copies bytes, it does not rewrite.
    WriteBytes(List(), current);
    fs::create_directories(BackupDir());
    WriteBytes(BackupDir() / "default_2009_03_01.xml", saved);
  }

  const std::string current = ListText({{7, 2, 1, 0, "a.bin"}}) + "\n";
  const std::string saved = ListText({{1, 2, 1, 0, "a.bin"}, {2, 4, 2, 0, "b.bin"}}) + "\r";
};

TEST_F(RestoreCommand, TheListBecomesTheCopyAndTheOldListANewCopy) {
  for (const std::string& given :
       {Backup("default_2009_03_01.xml"), std::string("default_2009_03_01.xml")}) {
    SCOPED_TRACE(given);
    WriteBytes(List(), current);
    fs::remove(BackupDir() / "default_2009_03_07.xml");
    const std::string output = Run(cli::runRestore, {given, List()});
    EXPECT_EQ(FileBytes(List()), saved);
    EXPECT_EQ(FileBytes(BackupDir() / "default_2009_03_07.xml"), current);
    EXPECT_EQ(output, "{\"list\":\"" + List() + "\",\"restored\":\"" +
                          Backup("default_2009_03_01.xml") + "\",\"backup\":\"" +
                          Backup("default_2009_03_07.xml") + "\"}\n");
  }
}

TEST_F(RestoreCommand, TheHostIsAskedToExitBeforeAnythingIsWritten) {
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", List()},
                                                 {"ExeFile", "/opt/t/tarvolt.exe"}};
  fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}, std::vector<std::string>{}};
  Run(cli::runRestore, {"default_2009_03_01.xml"});
  EXPECT_EQ(FileBytes(List()), saved);
  const auto start = std::find(fake.log.begin(), fake.log.end(), "start /opt/t/tarvolt.exe -exit");
  const auto write = std::find(fake.log.begin(), fake.log.end(), "write " + List());
  EXPECT_LT(start, write);
  EXPECT_NE(write, fake.log.end());
}

TEST_F(RestoreCommand, AFailureLeavesTheListAsItWas) {
  std::string broken = saved;
  broken.replace(broken.find("<State>2"), 8, "<State>x");
  WriteBytes(folder / "broken.xml", broken);
  const struct {
    const char* label;
    std::string backup;
    bool unwritableList;
  } cases[] = {
      {"a copy that is not there", Path("none.xml"), false},
      {"a copy that is no list", Path("broken.xml"), false},
      {"a list that cannot be written", Backup("default_2009_03_01.xml"), true},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.label);
    if (row.unwritableList) fake.unwritableFiles.insert(List());
    EXPECT_THROW(Run(cli::runRestore, {row.backup, List()}), std::exception);
    EXPECT_EQ(FileBytes(List()), current);
  }
}

}  // namespace
