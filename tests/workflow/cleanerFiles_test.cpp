// What becomes of the downloads' files: their three states in the filter and
// the statistics, the file pass of the file actions (recycle bin, shared
// names, drives that are not there), and the undo of an execution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "cleanerTestSupport.h"
#include "workflow/filesRecord.h"
#include "workflow/workflowErrors.h"
#include "workflow/workflowText.h"

namespace brimlow {
namespace {

using test::CleanerTest;
using IdList = std::vector<uint32_t>;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class FileStatesTest : public CleanerTest {
 protected:
  // Present on C:, absent on C:, two on an unplugged E:, one without a file.
  void FillWithDrives() {
    cleaner.LoadList(Path("drives.xml"));
    TDownloadsList& list = cleaner.Downloads().List();
    for (const char* name :
         {"C:\\here\\a.bin", "C:\\gone\\b.bin", "E:\\usb\\c.bin", "e:\\USB\\d.bin", ""}) {
      Tdownload& d = list.Add();
      d.ID = static_cast<uint32_t>(list.Count());
      d.FileName = name;
    }
    cleaner.Downloads().Reset();
    fake.existingFiles.insert("C:\\here\\a.bin");
    fake.unreachableRoots.insert("E:");
  }
};

TEST_F(FileStatesTest, EachFileChoiceMarksItsOwnState) {
  FillWithDrives();
  const struct {
    TFilePresence file;
    IdList marked;
  } cases[] = {
      {TFilePresence::Present, {1}},
      {TFilePresence::Missing, {2, 5}},
      {TFilePresence::Unreachable, {3, 4}},
      {TFilePresence::Any, {1, 2, 3, 4, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.file));
    fake.probedRoots.clear();
    TFilterInputs inputs;
    inputs.file = c.file;
    cleaner.RunFilter(inputs);
    IdList marked;
    for (const int row : cleaner.Downloads().CheckedRows())
      marked.push_back(cleaner.Downloads().List()[row].ID);
    EXPECT_EQ(marked, c.marked);
    // Once for the filter (when it tests files) and once for the count.
    std::sort(fake.probedRoots.begin(), fake.probedRoots.end());
    const size_t passes = c.file == TFilePresence::Any ? 1 : 2;
    EXPECT_EQ(std::count(fake.probedRoots.begin(), fake.probedRoots.end(), "E:"), passes);
    EXPECT_EQ(std::count(fake.probedRoots.begin(), fake.probedRoots.end(), "C:"), passes);
    EXPECT_EQ(frontEnd.statistics.back().unreachableCount, 2);
  }
}

TEST_F(FileStatesTest, TheUnreachableCountFollowsTheList) {
  FillWithDrives();
  cleaner.RunFilter({});
  EXPECT_EQ(cleaner.Statistics().unreachableCount, 2);
  cleaner.ClearMarks();
  Mark(cleaner.Downloads(), {2});
  cleaner.Move();
  EXPECT_EQ(cleaner.Statistics().unreachableCount, 1) << "the trash does not count";
  fake.unreachableRoots.clear();
  cleaner.MoveBack();
  EXPECT_EQ(cleaner.Statistics().unreachableCount, 0) << "the drive is back";
}

// Five downloads: 1 and 3 name file 1, 5 names file 2 in other letter case;
// 1, 2 and 3 go to the trash, 4 and 5 stay.
class FilePassTest : public CleanerTest {
 protected:
  void Gather() {
    Load(5);
    TDownloadsList& list = cleaner.Downloads().List();
    list[2].FileName = FileOf(1);
    list[4].FileName = Upper(FileOf(2));
    Mark(cleaner.Downloads(), {0, 1, 2});
    cleaner.Move();
  }
  static bool Exists(const std::string& file) { return std::filesystem::exists(file); }
};

TEST_F(FilePassTest, EachFileOnceAndNoneThatAnotherDownloadNames) {
  for (const bool recycle : {false, true}) {
    SCOPED_TRACE(recycle ? "recycled" : "erased");
    fake.deletedFiles.clear();
    std::filesystem::create_directories(folder / "recycled");
    fake.recycleBin = folder / "recycled";
    Gather();
    const auto report =
        cleaner.Execute({TTrashAction::DeleteWithFiles, false, std::nullopt, recycle});
    ASSERT_TRUE(report);
    EXPECT_FALSE(Exists(FileOf(1)));
    EXPECT_TRUE(Exists(FileOf(2))) << "download 5 still names it";
    EXPECT_TRUE(Exists(FileOf(3))) << "no entry named it";
    EXPECT_EQ(report->sharedFilesKept, 1);
    EXPECT_EQ(report->recycledFiles, recycle ? 1 : 0);
    EXPECT_EQ(report->recycledSize, recycle ? 1000 : 0);
    EXPECT_EQ(report->erasedFiles, recycle ? 0 : 1);
    EXPECT_EQ(report->undeletedFiles, 0);
    EXPECT_EQ(fake.deletedFiles,
              recycle ? std::vector<std::string>{} : std::vector<std::string>{FileOf(1)});
    if (recycle) {
      EXPECT_TRUE(Exists((folder / "recycled" / std::to_string(fake.binned)).string()));
    }
    const TExecutionReportTexts texts = report->Texts();
    EXPECT_EQ(texts.selLabel,
              ReportWord(TTrashAction::DeleteWithFiles) + " 3" + AnsiText(" закачек"));
    EXPECT_EQ(texts.fileLines.size(), 2u) << "the files done and the one kept";
  }
}

TEST_F(FilePassTest, FilesThatNoBinTakesOrThatCannotBeReachedStay) {
  Load(3);
  TDownloadsList& list = cleaner.Downloads().List();
  list[2].FileName = "E:\\usb\\film.avi";
  fake.unreachableRoots.insert("E:");
  std::filesystem::create_directories(folder / "recycled");
  fake.recycleBin = folder / "recycled";
  fake.lockedFiles.insert(FileOf(2));
  Mark(cleaner.Downloads(), {0, 1, 2});
  cleaner.Move();
  auto report = cleaner.Execute({TTrashAction::DeleteWithFiles, false, std::nullopt, true});
  ASSERT_TRUE(report);
  EXPECT_EQ(report->recycledFiles, 1);
  EXPECT_EQ(report->absentFiles, 0) << "a drive that is not there is not a missing file";
  EXPECT_EQ(report->undeletedFiles, 2);
  EXPECT_TRUE(std::filesystem::exists(FileOf(2)));

  fake.recycleBin.reset();
  Load(2);
  Mark(cleaner.Downloads(), {0, 1});
  cleaner.Move();
  report = cleaner.Execute({TTrashAction::DeleteFilesOnly, false, std::nullopt, true});
  ASSERT_TRUE(report);
  EXPECT_EQ(report->noRecycleBinFiles, 2);
  EXPECT_EQ(report->undeletedFiles, 2);
  EXPECT_TRUE(fake.deletedFiles.empty()) << "nothing is erased instead";
  EXPECT_TRUE(std::filesystem::exists(FileOf(1)) && std::filesystem::exists(FileOf(2)));
  EXPECT_EQ(report->Texts().selLabel,
            ReportWord(TTrashAction::DeleteFilesOnly) + " 0" + AnsiText(" закачек"));
}

class UndoTest : public FilePassTest {
 protected:
  void SetUp() override {
    cleaner.InitBackups();
    std::filesystem::create_directories(folder / "recycled");
    fake.recycleBin = folder / "recycled";
  }
  // The list of three written with CR LF, as the host writes it, and two of
  // its downloads executed.
  TExecutionReport Execute(TTrashAction action, bool recycle) {
    listFile = WriteList(3);
    std::ofstream(listFile, std::ios::binary) << WithCrLf(listText);
    cleaner.LoadList(listFile);
    Mark(cleaner.Downloads(), {0, 2});
    cleaner.Move();
    EXPECT_FALSE(cleaner.CanUndo());
    auto report = cleaner.Execute({action, true, std::nullopt, recycle});
    EXPECT_TRUE(cleaner.CanUndo());
    return *report;
  }
};

TEST_F(UndoTest, TheListAndTheRecycledFilesComeBack) {
  for (const TTrashAction action : {TTrashAction::DeleteWithFiles, TTrashAction::DeleteFilesOnly})
    for (const bool recycle : {false, true}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(action)) + (recycle ? " recycled" : ""));
      const TExecutionReport executed = Execute(action, recycle);
      const TRestoreReport undone = cleaner.UndoLastExecution();
      EXPECT_EQ(Bytes(listFile), WithCrLf(listText));
      EXPECT_EQ(Ids(cleaner.Downloads()), (IdList{1, 2, 3})) << "loaded again";
      EXPECT_EQ(undone.restored, executed.backupPath);
      EXPECT_FALSE(undone.backup.empty()) << "the list as the execution left it is kept";
      EXPECT_EQ(undone.restoredFiles, recycle ? 2 : 0);
      EXPECT_EQ(std::filesystem::exists(FileOf(1)), recycle);
      EXPECT_EQ(std::filesystem::exists(FileOf(3)), recycle);
      EXPECT_FALSE(cleaner.CanUndo()) << "one execution, one undo";
    }
}

TEST_F(UndoTest, AFileWhosePlaceIsTakenStaysInTheBin) {
  Execute(TTrashAction::DeleteWithFiles, true);
  std::ofstream(FileOf(1)) << "a new file";
  const TRestoreReport undone = cleaner.UndoLastExecution();
  EXPECT_EQ(undone.restoredFiles, 1);
  EXPECT_EQ(undone.placeTakenFiles, 1);
  EXPECT_EQ(Bytes(FileOf(1)), "a new file");
  EXPECT_EQ(undone.Texts().fileLines.size(), 2u);
  EXPECT_EQ(undone.Texts().Edit1, undone.backup);
}

TEST_F(UndoTest, IsRefusedWhenTheHostRewroteTheList) {
  Execute(TTrashAction::Delete, false);
  std::ofstream(listFile, std::ios::binary) << "<DownloadList></DownloadList>";
  EXPECT_THROW(cleaner.UndoLastExecution(), EListFileChanged);
  EXPECT_EQ(Bytes(listFile), "<DownloadList></DownloadList>");
  EXPECT_TRUE(cleaner.CanUndo());
}

TEST_F(UndoTest, NeedsABackupCopyOfThisList) {
  Load(2);
  Mark(cleaner.Downloads(), {0});
  cleaner.Move();
  cleaner.Execute({TTrashAction::Delete, false, std::nullopt, false});
  EXPECT_FALSE(cleaner.CanUndo()) << "no backup copy";
  Execute(TTrashAction::Delete, false);
  cleaner.LoadList(listFile);
  EXPECT_FALSE(cleaner.CanUndo()) << "another load";
}

TEST(FilesRecord, ReadsBackWhatItWroteAndSkipsDamage) {
  const TFilesRecord record{
      {{"C:\\a b\\100%\tx.bin", "/trash/files/x.bin", "/trash/info/x.bin.trashinfo"},
       {"/home/u/line\nend", "::{645FF040}\\x", ""}},
      {"D:\\erased.bin"}};
  const std::string text = FilesRecordText(record);
  EXPECT_EQ(ParseFilesRecord(text), record);
  EXPECT_EQ(ParseFilesRecord("garbage\nrecycled\tonly two\n" + text + "recycled\tbad%G1\ta\tb\n"),
            record);
}

}  // namespace
}  // namespace brimlow
