#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cliTestSupport.h"
#include "data/convert.h"

using namespace brimlow;
using brimlow::cli::Arguments;
using namespace brimlow::test;

namespace {

class CleanCommand : public test::ProfileTest {
 protected:
  CleanCommand() { WriteStandardList(); }

  std::string Clean(Arguments arguments) {
    arguments.insert(arguments.begin(), List());
    return Run(cli::runClean, arguments);
  }
  // The report line the command ends with.
  static std::string Report(int matched, int removed, int trash, const std::string& action,
                            const std::string& backup, int undeleted, bool dryRun) {
    return "{\"matched\":" + std::to_string(matched) + ",\"removed\":" + std::to_string(removed) +
           ",\"trash\":" + std::to_string(trash) + ",\"action\":\"" + action + "\",\"backup\":\"" +
           backup + "\",\"undeletedFiles\":" + std::to_string(undeleted) +
           ",\"dryRun\":" + (dryRun ? "true" : "false") + "}\n";
  }
  static std::string LastLine(const std::string& output) {
    const size_t start = output.rfind('\n', output.size() - 2);
    return start == std::string::npos ? output : output.substr(start + 1);
  }
};

struct ActionCase {
  const char* label;
  Arguments arguments;  // besides --state downloaded, which matches 1 and 3
  std::vector<uint32_t> listAfter;
  int removed;
  const char* word;
  bool filesDeleted;
};

const ActionCase kActionCases[] = {
    {"delete", {}, {2}, 2, "delete", false},
    {"delete with files", {"--action", "delete-with-files"}, {2}, 2, "delete-with-files", true},
    // The entries come back to the end of the list; only their files go.
    {"delete files only", {"--action=delete-files-only"}, {2, 1, 3}, 0, "delete-files-only", true},
    {"copy, then delete", {"--copy"}, {1, 2, 3}, 0, "delete", false},
};

TEST_F(CleanCommand, EachActionAsTheWindowExecutesIt) {
  for (const ActionCase& row : kActionCases) {
    SCOPED_TRACE(row.label);
    WriteStandardList();
    WriteBytes(folder / "a.bin", "a");
    fs::remove_all(BackupDir());
    Arguments arguments = row.arguments;
    arguments.insert(arguments.end(), {"--state", "downloaded"});
    const std::string output = Clean(arguments);

    const std::string backup = Backup("default_2009_03_07.xml");
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 3) << output;
    EXPECT_EQ(output.find("{\"ID\":1,"), 0u) << output;
    EXPECT_NE(output.find("\n{\"ID\":3,"), std::string::npos) << output;
    EXPECT_EQ(LastLine(output), Report(2, row.removed, 2, row.word, backup, 0, false));
    EXPECT_EQ(Ids(List()), row.listAfter);
    EXPECT_EQ(FileBytes(backup), listText) << "the copy is the list as loaded";
    EXPECT_EQ(fs::exists(folder / "a.bin"), !row.filesDeleted);
    EXPECT_TRUE(fs::exists(folder / "b.bin"));
  }
}

TEST_F(CleanCommand, SaveSeparatelyWritesTheTrashToItsFile) {
  const std::string separate = Path("old.xml");
  const std::string output =
      Clean({"--state", "error", "--no-backup", "--action", "save-separately=" + separate});
  EXPECT_EQ(LastLine(output), Report(1, 1, 1, "save-separately", "", 0, false));
  EXPECT_EQ(Ids(separate), std::vector<uint32_t>{2});
  EXPECT_EQ(Ids(List()), (std::vector<uint32_t>{1, 3}));
  EXPECT_FALSE(fs::exists(BackupDir() / "default_2009_03_07.xml"));
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

TEST_F(CleanCommand, ADryRunChangesNothing) {
  fs::create_directories(BackupDir());
  WriteBytes(BackupDir() / "default_2009_03_07.xml", "older copy");
  fake.registry["Software\\Kelvane\\Tarvolt"]["ExeFile"] = "tarvolt.exe";
  fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}};
  for (const char* action : {"delete", "delete-with-files", "delete-files-only"}) {
    SCOPED_TRACE(action);
    const std::string output = Clean({"--state", "downloaded", "--action", action, "--dry-run"});
    const int removed = std::string(action) == "delete-files-only" ? 0 : 2;
    EXPECT_EQ(LastLine(output),
              Report(2, removed, 2, action, Backup("default_2009_03_07[1].xml"), 0, true));
  }
  EXPECT_EQ(FileBytes(List()), listText);
  EXPECT_EQ(FileBytes(folder / "a.bin"), "a.bin");
  EXPECT_EQ(std::distance(fs::directory_iterator(BackupDir()), fs::directory_iterator()), 1);
  EXPECT_EQ(FileBytes(BackupDir() / "default_2009_03_07.xml"), "older copy");
  EXPECT_TRUE(fake.startedCommands.empty());
}

TEST_F(CleanCommand, TheHostsCurrentListAndTheHostAskedToExit) {
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", List()},
                                                 {"ExeFile", "/opt/t/tarvolt.exe"}};
  fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}, std::vector<std::string>{}};
  Run(cli::runClean, {"--state", "error"});
  EXPECT_EQ(Ids(List()), (std::vector<uint32_t>{1, 3}));
  EXPECT_EQ(fake.startedCommands, std::vector<std::string>{"/opt/t/tarvolt.exe -exit"});

  fake.startedCommands.clear();
  fake.snapshotsTaken = 0;
  Run(cli::runClean, {"--state", "downloaded", "--no-host-control"});
  EXPECT_EQ(Ids(List()), std::vector<uint32_t>{});
  EXPECT_TRUE(fake.startedCommands.empty());
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
      {list, "--all", "--copy", "--copy"},
      {list, list, "--all"},
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

TEST_F(CleanCommand, AListThatCannotBeWrittenKeepsItsFileAndTheTrashFiles) {
  fake.unwritableFiles.insert(List());
  EXPECT_THROW(Clean({"--all", "--action", "delete-with-files"}), platform::EFCreateError);
  EXPECT_EQ(FileBytes(List()), listText);
  EXPECT_TRUE(fs::exists(folder / "a.bin"));
}

}  // namespace
