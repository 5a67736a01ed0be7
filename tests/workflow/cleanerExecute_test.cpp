// "Выполнить" in the cleaner: what is on disk afterwards, the report's values,
// what a failure or a declined name leaves behind, and the list file that
// changed since it was loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cleanerTestSupport.h"
#include "workflow/workflowErrors.h"
#ifndef _WIN32
#include "../platform/fileFaults.h"
#endif

namespace brimlow {
namespace {

using test::CleanerTest;
using IdList = std::vector<uint32_t>;

// Each action with the trash it is given; the preview beforehand promises
// what the execution then reports, and writes nothing.
TEST_F(CleanerTest, WhatEachActionLeaves) {
  const struct {
    const char* label;
    int count;
    std::function<void(TCleaner&)> gather;
    TTrashAction action;
    int removed;
    int trashCount;
    IdList onDisk;
    std::vector<int> filesGone;
    IdList separate;  // in "old.xml"
  } cases[] = {
      {"an empty trash", 3, [](TCleaner&) {}, TTrashAction::Delete, 0, 0, {1, 2, 3}, {}, {}},
      {"moved, then deleted",
       5,
       [](TCleaner& c) {
         Mark(c.Downloads(), {0, 2, 4});
         c.Move();
       },
       TTrashAction::Delete,
       3,
       3,
       {2, 4},
       {},
       {}},
      {"copied, then deleted with their files",
       3,
       [](TCleaner& c) {
         Mark(c.Downloads(), {0, 1});
         c.Copy(false);
       },
       TTrashAction::DeleteWithFiles,
       0,
       2,
       {1, 2, 3},
       {1, 2},
       {}},
      {"moved, then saved separately",
       4,
       [](TCleaner& c) {
         Mark(c.Downloads(), {1, 3});
         c.Move();
       },
       TTrashAction::SaveSeparately,
       2,
       2,
       {1, 3},
       {},
       {2, 4}},
      // Moved entries return at the end in trash order, the copy not twice.
      {"moved and copied, then only the files",
       4,
       [](TCleaner& c) {
         Mark(c.Downloads(), {0, 2});
         c.Move();
         Mark(c.Downloads(), {1});
         c.Copy(false);
       },
       TTrashAction::DeleteFilesOnly,
       0,
       3,
       {2, 4, 1, 3},
       {1, 3, 4},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    cleaner.InitBackups();
    Load(c.count);
    c.gather(cleaner);
    frontEnd.separateListName = Path("old.xml");
    const TExecutionRequest request{c.action, true, std::nullopt, false};

    const TExecutionReport preview = cleaner.PreviewExecution(request);
    EXPECT_EQ(Bytes(listFile), listText) << "the preview writes nothing";
    EXPECT_TRUE(cleaner.BackupNames().empty()) << "and reserves no name";
    const std::optional<TExecutionReport> report = cleaner.Execute(request);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, c.removed);
    EXPECT_EQ(report->trashCount, c.trashCount);
    EXPECT_EQ(report->undeletedFiles, 0);
    EXPECT_EQ(preview.removed, report->removed);
    EXPECT_EQ(preview.trashCount, report->trashCount);
    EXPECT_EQ(preview.backupPath, report->backupPath);
    EXPECT_EQ(IdsOnDisk(listFile), c.onDisk);
    EXPECT_EQ(Ids(cleaner.Downloads()), c.onDisk);
    EXPECT_EQ(cleaner.LoadedCount(), static_cast<int>(c.onDisk.size()));
    EXPECT_EQ(cleaner.Trash().Count(), 0);
    EXPECT_EQ(frontEnd.statistics.back(), cleaner.Statistics());
    for (int id = 1; id <= c.count; ++id) {
      const bool gone = std::find(c.filesGone.begin(), c.filesGone.end(), id) != c.filesGone.end();
      EXPECT_NE(std::filesystem::exists(FileOf(id)), gone) << "file " << id;
    }
    EXPECT_EQ(frontEnd.namesAsked, c.action == TTrashAction::SaveSeparately ? 1 : 0);
    if (!c.separate.empty()) {
      EXPECT_EQ(IdsOnDisk(Path("old.xml")), c.separate);
    }
    EXPECT_EQ(report->backupPath, BackupPath("default_2009_03_07.xml"));
    EXPECT_EQ(Bytes(report->backupPath), WithCrLf(listText))
        << "the copy holds the list as loaded, not as edited, with CR LF";
    std::filesystem::remove_all(folder / "bin" / "backup");
    frontEnd.namesAsked = 0;
  }
}

// The list keeps its text with CR LF line ends; the file it came from passes
// as unchanged whatever its own form.
TEST_F(CleanerTest, AnUnchangedListFilePassesWhateverItsForm) {
  const std::string body =
      "<DownloadList>\n<DownloadFile><ID>4</ID></DownloadFile>\n</DownloadList>";
  const struct {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"LF", body + "\n"},
      {"CR LF", WithCrLf(body + "\n")},
      {"CR", "<DownloadList>\r<DownloadFile><ID>4</ID></DownloadFile>\r</DownloadList>\r"},
      {"no line end at the end", body},
      {"a byte-order mark", "\xEF\xBB\xBF" + body + "\n"},
      {"CR CR LF",
       "<DownloadList>\r\r\n<DownloadFile><ID>4</ID></DownloadFile>\r\n</DownloadList>"},
      {"text after a NUL byte", body + "\n" + std::string(1, '\0') + "rest\n"},
      {"an empty file", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    listFile = Path("form.xml");
    std::ofstream(listFile, std::ios::binary) << c.bytes;
    cleaner.LoadList(listFile);
    EXPECT_NO_THROW(cleaner.Execute({TTrashAction::Delete, false, {}}));
  }
}

TEST_F(CleanerTest, FilesThatStayAreCounted) {
  Load(4);
  Mark(cleaner.Downloads(), {0, 1, 2, 3});
  cleaner.Move();
  std::filesystem::remove(FileOf(2));       // missing: counts as deleted
  fake.undeletableFiles.insert(FileOf(3));  // locked: stays
  const auto report = cleaner.Execute({TTrashAction::DeleteWithFiles, false, {}});
  ASSERT_TRUE(report);
  EXPECT_EQ(report->trashCount, 4);
  EXPECT_EQ(report->undeletedFiles, 1);
  EXPECT_EQ(fake.deletedFiles,
            (std::vector<std::string>{FileOf(1), FileOf(2), FileOf(3), FileOf(4)}))
      << "a failed deletion does not stop the others";
  EXPECT_TRUE(std::filesystem::exists(FileOf(3)));
  EXPECT_EQ(cleaner.Trash().Count(), 0);
}

#ifndef _WIN32
TEST_F(CleanerTest, AFileTheSystemRefusesToDeleteIsCountedAndStays) {
  Load(3);
  Mark(cleaner.Downloads(), {0, 1, 2});
  cleaner.Move();
  std::optional<TExecutionReport> report;
  {
    platform::testing::FileFaults faults;
    faults.pathsContaining = "file2.bin";
    faults.unlinkError = EBUSY;
    report = cleaner.Execute({TTrashAction::DeleteWithFiles, false, {}});
  }
  ASSERT_TRUE(report);
  EXPECT_EQ(report->undeletedFiles, 1);
  EXPECT_TRUE(std::filesystem::exists(FileOf(2)));
  EXPECT_FALSE(std::filesystem::exists(FileOf(1)));
  EXPECT_TRUE(IdsOnDisk(listFile).empty()) << "the list was written before the deletions";
}
#endif

TEST_F(CleanerTest, ADeclinedSeparateListNameChangesNothing) {
  cleaner.InitBackups();
  Load(3);
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
  cleaner.GetDefaultListName();
  fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}, std::vector<std::string>{}};
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  EXPECT_FALSE(cleaner.Execute({TTrashAction::SaveSeparately, true, {}}).has_value());
  EXPECT_EQ(frontEnd.namesAsked, 1);
  EXPECT_TRUE(fake.startedCommands.empty()) << "the host is not asked to exit";
  EXPECT_EQ(Bytes(listFile), listText);
  EXPECT_TRUE(cleaner.BackupNames().empty());
  EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07.xml")));
  EXPECT_EQ(Ids(cleaner.Trash()), (IdList{1}));
  EXPECT_EQ(cleaner.LoadedCount(), 3);
}

// Fault: naming the list itself for the separate list put the trash in place
// of the list just written.
TEST_F(CleanerTest, TheSeparateListIsNeverTheListFileItself) {
  cleaner.InitBackups();
  Load(3);
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  std::string sameInOtherCase = listFile;
  sameInOtherCase.back() = 'L';  // "list.xmL"
  for (const std::string& name : {listFile, sameInOtherCase}) {
    EXPECT_THROW(cleaner.Execute({TTrashAction::SaveSeparately, true, name}),
                 ESeparateListIsTheList)
        << name;
    EXPECT_EQ(Bytes(listFile), listText);
    EXPECT_TRUE(cleaner.BackupNames().empty()) << "nothing was begun";
    EXPECT_EQ(Ids(cleaner.Trash()), (IdList{1}));
  }
}

TEST_F(CleanerTest, TwoExecutionsInOneRun) {
  cleaner.InitBackups();
  Load(5);
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  ASSERT_TRUE(cleaner.Execute({}));
  Mark(cleaner.Downloads(), {0, 1});
  cleaner.Move();
  const auto second = cleaner.Execute({});
  ASSERT_TRUE(second) << "the program's own write is known";
  EXPECT_EQ(second->removed, 2) << "only what left after the first";
  EXPECT_EQ(second->backupPath, BackupPath("default_2009_03_07[1].xml"));
  EXPECT_EQ(Bytes(second->backupPath), WithCrLf(listText)) << "again the text as loaded";
  EXPECT_EQ(IdsOnDisk(listFile), (IdList{4, 5}));
}

TEST_F(CleanerTest, WithoutABackupNoCopyIsMade) {
  cleaner.InitBackups();
  Load(2);
  const auto report = cleaner.Execute({TTrashAction::Delete, false, {}});
  ASSERT_TRUE(report);
  EXPECT_EQ(report->backupPath, "");
  EXPECT_TRUE(cleaner.BackupNames().empty());
  EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07.xml")));
}

TEST_F(CleanerTest, AListLoadedFromAMissingFileIsWrittenAnew) {
  cleaner.InitBackups();
  listFile = Path("new.xml");
  cleaner.LoadList(listFile);
  ASSERT_TRUE(cleaner.Execute({}));
  EXPECT_TRUE(std::filesystem::exists(listFile));
  EXPECT_EQ(Bytes(BackupPath("default_2009_03_07.xml")), "") << "an empty copy";
  EXPECT_TRUE(cleaner.Execute({})) << "the file written by the first is this program's own";
}

TEST_F(CleanerTest, AListFileThatAppearedSinceAnEmptyLoadIsNotReplaced) {
  cleaner.InitBackups();
  listFile = Path("late.xml");
  cleaner.LoadList(listFile);
  WriteList(2, "late.xml");  // the host writes its list meanwhile
  EXPECT_THROW(cleaner.Execute({}), EListFileAppeared);
  EXPECT_THROW(cleaner.PreviewExecution({}), EListFileAppeared);
  EXPECT_EQ(Bytes(listFile), listText);
  EXPECT_TRUE(cleaner.BackupNames().empty()) << "nothing was begun";

  cleaner.LoadList(listFile);
  ASSERT_TRUE(cleaner.Execute({})) << "once opened again, it is written";
  EXPECT_EQ(IdsOnDisk(listFile), (IdList{1, 2}));
}

TEST_F(CleanerTest, AListWithCharactersTheCodePageLacksIsNotRewritten) {
  cleaner.InitBackups();
  fake.codePage = 20127;
  fake.asciiOnly = true;
  listFile = Path("list.xml");
  listText =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DownloadList Version=\"4\" NextID=\"3\">\n"
      "<DownloadFile><ID>1</ID><FileName>a.zip</FileName></DownloadFile>\n"
      "<DownloadFile><ID>2</ID><FileName>\xE4\xB8\xAD.zip</FileName></DownloadFile>\n"
      "</DownloadList>\n";
  std::ofstream(listFile, std::ios::binary) << listText;
  cleaner.LoadList(listFile);
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  EXPECT_THROW(cleaner.PreviewExecution({}), ECharactersLost);
  EXPECT_THROW(cleaner.Execute({}), ECharactersLost);
  EXPECT_EQ(Bytes(listFile), listText);
  EXPECT_TRUE(cleaner.BackupNames().empty()) << "nothing was begun";
  EXPECT_EQ(Ids(cleaner.Trash()), (IdList{1}));

  Load(2);
  EXPECT_TRUE(cleaner.Execute({})) << "a list the code page holds whole is written";
}

TEST_F(CleanerTest, WithoutAListFileNothingIsWritten) {
  EXPECT_FALSE(cleaner.HasListFile());
  EXPECT_THROW(cleaner.Execute({}), ENoListFile);
  EXPECT_THROW(cleaner.PreviewExecution({}), ENoListFile);
  EXPECT_TRUE(fake.log.empty());
}

// The host saves its list as it exits; what it saved must not be written
// over with the copy loaded before.
class HostThatSaves : public test::FakePlatform {
 public:
  std::function<void()> onExit;
  void startCommandLine(const std::string& commandLine) override {
    FakePlatform::startCommandLine(commandLine);
    if (commandLine.ends_with(" -exit") && onExit) onExit();
  }
};

class ListChangeTest : public test::CleanerTestWith<HostThatSaves> {
 protected:
  ListChangeTest() {
    fake.registry["Software\\Kelvane\\Tarvolt"] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
    cleaner.GetDefaultListName();
    cleaner.SetHostExitWait(std::chrono::milliseconds(1000), std::chrono::milliseconds(1));
    cleaner.InitBackups();
  }
};

TEST_F(ListChangeTest, WhatTheHostSavedAsItExitedIsKept) {
  const struct {
    const char* label;
    std::function<void()> hostOnExit;
    bool changed;
    bool listStays;
  } cases[] = {
      {"the host exits without touching the list", nullptr, false, true},
      {"the host saves its list with one more download", [this] { WriteList(4); }, true, true},
      {"the host deletes its list", [this] { std::filesystem::remove(listFile); }, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(folder / "bin" / "backup");
    cleaner.InitBackups();
    Load(3);  // with LF line ends: the list keeps CR LF, the file is the same
    Mark(cleaner.Downloads(), {0, 1});
    cleaner.Move();
    fake.onExit = c.hostOnExit;
    fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}, std::vector<std::string>{}};
    fake.snapshotsTaken = 0;
    fake.deletedFiles.clear();

    if (!c.changed) {
      ASSERT_TRUE(cleaner.Execute({TTrashAction::DeleteWithFiles, true, {}}));
      EXPECT_EQ(IdsOnDisk(listFile), (IdList{3}));
      continue;
    }
    EXPECT_THROW(cleaner.Execute({TTrashAction::DeleteWithFiles, true, {}}), EListFileChanged);
    EXPECT_EQ(fake.startedCommands.back(), "D:\\t\\tarvolt.exe -exit");
    EXPECT_EQ(std::filesystem::exists(listFile), c.listStays);
    if (c.listStays) {
      EXPECT_EQ(Bytes(listFile), listText) << "the host's bytes";
    }
    EXPECT_TRUE(cleaner.BackupNames().empty()) << "no backup copy";
    EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07.xml")));
    EXPECT_EQ(Ids(cleaner.Trash()), (IdList{1, 2})) << "the trash is intact";
    EXPECT_TRUE(fake.deletedFiles.empty()) << "no file deleted";
    EXPECT_EQ(cleaner.LoadedCount(), 3);
  }
}

// A step that cannot write ends the execution there: what was done stays
// done, and the trash, the statistics and the loaded count are not touched.
class StepFailureTest : public CleanerTest {
 protected:
  enum Step { Backup, List, Separate, ListWithEntriesPutBack };
  struct StepCase {
    const char* label;
    Step failing;
    TTrashAction action;
  };
  static constexpr StepCase kSteps[] = {
      {"the backup copy", Backup, TTrashAction::Delete},
      {"the list", List, TTrashAction::DeleteWithFiles},
      {"the separate list", Separate, TTrashAction::SaveSeparately},
      {"the list with the entries put back", ListWithEntriesPutBack, TTrashAction::DeleteFilesOnly},
  };

  // Runs the step's action with `executeFailing`, which is given the file
  // the failing step writes and must execute while that write fails;
  // `reason` is how the failure is worded.
  void ExpectTheExecutionEndsAtTheStep(
      const StepCase& c, const std::function<void(const std::string&)>& executeFailing,
      const std::string& reason) {
    std::filesystem::remove_all(folder / "bin" / "backup");
    std::filesystem::remove(Path("separate.xml"));
    cleaner.InitBackups();
    fake.deletedFiles.clear();
    Load(3);
    Mark(cleaner.Downloads(), {1});
    cleaner.Move();
    const TStatistics statistics = cleaner.Statistics();
    const size_t shown = frontEnd.statistics.size();
    const std::string backup = BackupPath("default_2009_03_07.xml");
    const std::string failed = c.failing == Backup     ? backup
                               : c.failing == Separate ? Path("separate.xml")
                                                       : listFile;
    frontEnd.separateListName = Path("separate.xml");
    message.clear();
    executeFailing(failed);

    EXPECT_EQ(message, "Cannot create file \"" + failed + "\". " + reason);
    EXPECT_EQ(Ids(cleaner.Trash()), (IdList{2})) << "the trash is untouched";
    EXPECT_EQ(Ids(cleaner.Downloads()), (IdList{1, 3}));
    EXPECT_EQ(cleaner.Statistics(), statistics);
    if (frontEnd.statistics.size() > shown) {
      EXPECT_EQ(frontEnd.statistics.back(), statistics);
    }
    EXPECT_EQ(cleaner.LoadedCount(), 3);
    EXPECT_TRUE(fake.deletedFiles.empty()) << "no file deleted";
    EXPECT_EQ(cleaner.BackupNames(), (std::vector<std::string>{"default_2009_03_07.xml"}))
        << "the copy's name stays taken, written or not";
    EXPECT_EQ(std::filesystem::exists(backup), c.failing != Backup);
    if (c.failing == Separate)
      EXPECT_EQ(IdsOnDisk(listFile), (IdList{1, 3})) << "the rewrite stays";
    else
      EXPECT_EQ(Bytes(listFile), listText) << "the list file is as it was";
    EXPECT_FALSE(std::filesystem::exists(Path("separate.xml")));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      EXPECT_NE(entry.path().extension(), ".tmp") << "a temporary stays: " << entry.path();
  }
  void ExecuteCatching(TTrashAction action) {
    try {
      cleaner.Execute({action, true, {}});
    } catch (const platform::EFCreateError& error) {
      message = error.what();
    }
  }

  std::string message;
};

TEST_F(StepFailureTest, AFileThatCannotBeCreatedEndsTheExecution) {
  for (const StepCase& c : kSteps) {
    SCOPED_TRACE(c.label);
    ExpectTheExecutionEndsAtTheStep(
        c,
        [&](const std::string& failed) {
          fake.unwritableFiles = {failed};
          ExecuteCatching(c.action);
          fake.unwritableFiles.clear();
        },
        "There is not enough space on the disk.");
  }
}

#ifndef _WIN32
// The same steps failing inside the system's calls: the disk filling up
// halfway through the file, the flush, the rename into place.
TEST_F(StepFailureTest, AWriteThatFailsHalfwayEndsTheExecution) {
  const struct {
    const char* label;
    void (*arrange)(platform::testing::FileFaults&);
    const char* reason;
  } faults[] = {
      {"a full disk after 100 bytes",
       [](platform::testing::FileFaults& f) {
         f.writeChunk = 7;
         f.diskFullAfter = 100;
       },
       "No space left on device"},
      {"the flush", [](platform::testing::FileFaults& f) { f.fsyncError = EIO; },
       "Input/output error"},
      {"the rename", [](platform::testing::FileFaults& f) { f.renameError = EACCES; },
       "Permission denied"},
  };
  for (const StepCase& c : kSteps) {
    for (const auto& fault : faults) {
      SCOPED_TRACE(std::string(c.label) + ", " + fault.label);
      ExpectTheExecutionEndsAtTheStep(
          c,
          [&](const std::string& failed) {
            platform::testing::FileFaults injected;
            // The failing step's file and its temporary, nothing else.
            injected.pathsContaining = std::filesystem::path(failed).filename().string();
            fault.arrange(injected);
            ExecuteCatching(c.action);
          },
          fault.reason);
    }
  }
}
#endif

}  // namespace
}  // namespace brimlow
