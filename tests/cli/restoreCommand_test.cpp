#include <gtest/gtest.h>

#include "cliTestSupport.h"

using namespace brimlow;
using namespace brimlow::test;

namespace {

class RestoreCommand : public ProfileTest {
 protected:
  RestoreCommand() {
    // Odd line ends: the restore copies bytes, it does not rewrite.
    WriteBytes(List(), current);
    fs::create_directories(BackupDir());
    WriteBytes(BackupDir() / "default_2009_03_01.xml", saved);
  }

  const std::string current = ListText({{7, 2, 1, 0, "a.bin"}}) + "\n";
  const std::string saved = ListText({{1, 2, 1, 0, "a.bin"}}) + "\r";
};

TEST_F(RestoreCommand, TheListBecomesTheCopyAndTheOldListANewCopy) {
  HostRunning();
  // A path, or a bare name in the backup folder; the list from the registry.
  for (const std::string& given :
       {Backup("default_2009_03_01.xml"), std::string("default_2009_03_01.xml")}) {
    WriteBytes(List(), current);
    fs::remove(BackupDir() / "default_2009_03_07.xml");
    EXPECT_EQ(Run(cli::runRestore, {given}),
              "{\"list\":" + Json(List()) +
                  ",\"restored\":" + Json(Backup("default_2009_03_01.xml")) +
                  ",\"backup\":" + Json(Backup("default_2009_03_07.xml")) +
                  ",\"restoredFiles\":0,\"filesLeftInBin\":0,\"filesNotInBin\":0}\n");
    EXPECT_EQ(FileBytes(List()), saved);
    EXPECT_EQ(FileBytes(BackupDir() / "default_2009_03_07.xml"), current);
  }
  // The host was asked to exit before anything was written.
  const auto at = [this](const std::string& entry) {
    return std::find(fake.log.begin(), fake.log.end(), entry) - fake.log.begin();
  };
  EXPECT_LT(at("start /opt/t/tarvolt.exe -exit"), at("write " + List()));
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
