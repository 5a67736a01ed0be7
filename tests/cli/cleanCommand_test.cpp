#include <gtest/gtest.h>

#include "cliTestSupport.h"
#include "data/convert.h"

using namespace brimlow;
using namespace brimlow::test;
using brimlow::cli::Arguments;

namespace {

class CleanCommand : public ProfileTest {
 protected:
  std::string Clean(Arguments arguments) {
    arguments.insert(arguments.begin(), List());
    return Run(cli::runClean, arguments);
  }
  static std::string Report(int removed, const std::string& action, const std::string& backup,
                            bool dryRun) {
    return "{\"matched\":2,\"removed\":" + std::to_string(removed) + ",\"trash\":2,\"action\":\"" +
           action + "\",\"backup\":" + Json(backup) +
           ",\"undeletedFiles\":0,\"recycledFiles\":0,\"sharedFilesKept\":0,\"dryRun\":" +
           (dryRun ? "true" : "false") + "}\n";
  }
  // The matched downloads, then the report.
  static std::string LastLine(const std::string& output) {
    EXPECT_EQ(output.find("{\"ID\":1,"), 0u) << output;
    EXPECT_NE(output.find("\n{\"ID\":3,"), std::string::npos) << output;
    return output.substr(output.rfind('\n', output.size() - 2) + 1);
  }
};

TEST_F(CleanCommand, EachActionAsTheWindowExecutesIt) {
  const struct {
    Arguments arguments;  // besides --state downloaded, which matches 1 and 3
    std::vector<uint32_t> listAfter;
    int removed;
    const char* word;
    bool filesDeleted;
  } cases[] = {
      {{}, {2}, 2, "delete", false},
      {{"--action", "delete-with-files"}, {2}, 2, "delete-with-files", true},
      // The entries come back to the end of the list; only their files go.
      {{"--action=delete-files-only"}, {2, 1, 3}, 0, "delete-files-only", true},
      {{"--copy"}, {1, 2, 3}, 0, "delete", false},
      {{"--action", "save-separately=" + Path("old.xml")}, {2}, 2, "save-separately", false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.word);
    WriteStandardList();
    fs::remove_all(BackupDir());
    Arguments arguments = row.arguments;
    arguments.insert(arguments.end(), {"--state", "downloaded"});
    const std::string backup = Backup("default_2009_03_07.xml");
    EXPECT_EQ(LastLine(Clean(arguments)), Report(row.removed, row.word, backup, false));
    EXPECT_EQ(Ids(List()), row.listAfter);
    EXPECT_EQ(FileBytes(backup), listText) << "the copy is the list as loaded";
    EXPECT_EQ(fs::exists(folder / "a.bin"), !row.filesDeleted);
    EXPECT_TRUE(fs::exists(folder / "b.bin"));
  }
  EXPECT_EQ(Ids(Path("old.xml")), (std::vector<uint32_t>{1, 3}));
}

TEST_F(CleanCommand, TheFilterOptionsAreTheWindowsControls) {
  const struct {
    Arguments arguments;
    std::vector<uint32_t> listAfter;
  } cases[] = {
      {{"--file", "missing"}, {1, 2}},
      {{"--category", "Programs"}, {2, 3}},
      {{"--size-from", "4"}, {1}},  // 4 KB = 4096 bytes, inclusive
      {{"--size-to", "1"}, {2, 3}},
      {{"--date-from", "2008-03-02"}, {1, 2, 3}},
      {{"--date-to", "2008-03-01"}, {}},
      {{"--contains", "EXAMPLE.COM/2", "--in", "url"}, {1, 3}},
      {{"--all"}, {}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(::testing::PrintToString(row.arguments));
    WriteStandardList();
    Arguments arguments = row.arguments;
    arguments.push_back("--no-backup");
    Clean(arguments);
    EXPECT_EQ(Ids(List()), row.listAfter);
  }
}

TEST_F(CleanCommand, ADryRunChangesNothingAndStartsNothing) {
  fs::create_directories(BackupDir());
  WriteBytes(BackupDir() / "default_2009_03_07.xml", "older copy");
  HostRunning();
  for (const char* action : {"delete", "delete-with-files", "delete-files-only"}) {
    SCOPED_TRACE(action);
    const int removed = std::string(action) == "delete-files-only" ? 0 : 2;
    EXPECT_EQ(LastLine(Clean({"--state", "downloaded", "--action", action, "--dry-run"})),
              Report(removed, action, Backup("default_2009_03_07[1].xml"), true));
  }
  EXPECT_EQ(FileBytes(List()), listText);
  EXPECT_EQ(FileBytes(folder / "a.bin"), "a.bin");
  EXPECT_EQ(std::distance(fs::directory_iterator(BackupDir()), fs::directory_iterator()), 1);
  EXPECT_EQ(FileBytes(BackupDir() / "default_2009_03_07.xml"), "older copy");
  EXPECT_TRUE(fake.startedCommands.empty());
}

TEST_F(CleanCommand, ADryRunMakesNoBackupFolder) {
  ASSERT_FALSE(fs::exists(BackupDir()));
  EXPECT_EQ(LastLine(Clean({"--state", "downloaded", "--dry-run"})),
            Report(2, "delete", Backup("default_2009_03_07.xml"), true));
  EXPECT_FALSE(fs::exists(BackupDir()));
}

TEST_F(CleanCommand, TheHostsCurrentListAsTheHostLeftIt) {
  HostRunning();
  fake.onExitRequest = [this] {
    WriteBytes(List(), ListText({{1, 2, 1, 0, ""}, {4, 4, 1, 0, ""}}));
  };
  Run(cli::runClean, {"--state", "error"});
  EXPECT_EQ(Ids(List()), std::vector<uint32_t>{1});
  EXPECT_EQ(fake.startedCommands, std::vector<std::string>{"/opt/t/tarvolt.exe -exit"});

  fake.snapshotsTaken = 0;
  Run(cli::runClean, {"--state", "downloaded", "--no-host-control"});
  EXPECT_EQ(Ids(List()), std::vector<uint32_t>{});
  EXPECT_EQ(fake.startedCommands.size(), 1u);
}

TEST_F(CleanCommand, RefusesBadOptionsBeforeWritingAnything) {
  const std::string list = List();
  const Arguments cases[] = {
      {list},  // no filter: it would empty the list
      {list, "--state", "any"},
      {list, "--all", "--state", "error"},
      {list, "--state", "stopped"},
      {list, "--category", "Games"},
      {list, "--size-from", "10O"},
      {list, "--date-from", "2008-02-30"},
      {list, "--date-to", "1.3.2008"},
      {list, "--in", "url", "--all"},
      {list, "--all", "--action", "save-separately"},
      {list, "--all", "--action", "delete=x.xml"},
      {list, "--all", "--action", "purge"},
      {list, "--all", "--action", "save-separately=" + list},
      {list, "--all", "--copy", "--copy"},
      {list, list, "--all"},
      {list, "--all", "--recycle"},
      {list, "--all", "--recycle", "--action", "save-separately=x.xml"},
      {list, "--file", "unplugged"},
  };
  for (const Arguments& arguments : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_THROW(Run(cli::runClean, arguments), cli::UsageError);
  }
  EXPECT_EQ(FileBytes(List()), listText);
  EXPECT_FALSE(fs::exists(BackupDir()));
}

TEST_F(CleanCommand, AListThatFailsToLoadIsNotWritten) {
  std::string broken = listText;
  broken.replace(broken.find("<State>2"), 8, "<State>x");
  WriteBytes(List(), broken);
  EXPECT_THROW(Clean({"--all"}), EConvertError);
  EXPECT_EQ(FileBytes(List()), broken);
  EXPECT_TRUE(!fs::exists(BackupDir()) || fs::is_empty(BackupDir()));
}

}  // namespace
