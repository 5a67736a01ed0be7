// "Выполнить": what is on disk afterwards, what the report says, and what a
// failure or a cancellation leaves behind.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>
#include <functional>
#include <sstream>

#include "../platform/fileFaults.h"
#include "app/ansiText.h"
#include "app/reportUnit.h"
#include "windowTestSupport.h"
#include "workflow/workflowErrors.h"

namespace brimlow {
namespace {

struct ShownReport {
  QString list;
  QString selected;
  QString files;  // empty when the line is hidden
  QString backup;
  bool backupSelected = false;
};

class ExecuteTest : public test::WindowTest {
 protected:
  ExecuteTest() {
    window->InitBackups();
    window->SetDialogRunner([this](QDialog& dialog) {
      dialogs << dialog.objectName();
      if (auto* report = qobject_cast<TreportForm*>(&dialog)) {
        reports.push_back({report->listLabel->text(), report->selLabel->text(),
                           report->filesLabel->isHidden() ? QString() : report->filesLabel->text(),
                           report->Edit1->text(),
                           report->Edit1->selectedText() == report->Edit1->text()});
        return true;
      }
      if (auto* save = qobject_cast<QFileDialog*>(&dialog)) {
        if (separateName.empty()) return false;
        save->selectFile(QString::fromStdString(separateName));
        return true;
      }
      return false;
    });
  }

  // A list file of `count` downloads with IDs 1, 2, ..., each with a file of
  // its own under files/, written with LF line ends.
  std::string WriteList(int count, const std::string& name = "list.xml") {
    std::filesystem::create_directories(folder / "files");
    std::ostringstream text;
    text << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DownloadList Version=\"4\" "
            "NextID=\""
         << count + 1 << "\">\n";
    for (int id = 1; id <= count; ++id) {
      const std::string file = FileOf(id);
      std::ofstream(file) << "content " << id;
      text << "  <DownloadFile>\n    <ID>" << id << "</ID>\n    <FileName>" << file
           << "</FileName>\n    <Size>" << id * 1000 << "</Size>\n  </DownloadFile>\n";
    }
    text << "</DownloadList>\n";
    listText = text.str();
    std::ofstream(Path(name), std::ios::binary) << listText;
    return Path(name);
  }
  std::string FileOf(int id) const {
    return (folder / "files" / ("file" + std::to_string(id) + ".bin")).string();
  }

  void Load(int count) {
    listFile = WriteList(count);
    window->LoadList(listFile);
    ASSERT_EQ(window->Downloads().Count(), count);
  }
  void Choose(const char* action) { Find<QRadioButton>(action)->setChecked(true); }
  void Execute() { Find<QPushButton>("Button2")->click(); }

  // The IDs in a list file as it lies on disk.
  static std::vector<uint32_t> IdsOnDisk(const std::string& file) {
    return Ids(TDownloadsList(file));
  }
  static std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string BackupPath(const char* name) const {
    return (folder / "bin" / "backup" / name).string();
  }
  QStringList BackupMenu() const {
    QStringList captions;
    for (const QAction* item : Find<QMenu>("N7")->actions())
      captions << item->text();
    return captions;
  }
  static std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
      if (c == '\n') result += '\r';
      result += c;
    }
    return result;
  }

  std::string listFile;
  std::string listText;
  std::string separateName;  // what the save dialog answers; empty: cancel
  QStringList dialogs;
  std::vector<ShownReport> reports;
};

TEST_F(ExecuteTest, EmptyTrashWithABackupCopy) {
  Load(3);
  Execute();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 0 закачек");
  EXPECT_EQ(reports[0].selected, "удалено 0 закачек");
  EXPECT_EQ(reports[0].files, "");
  const std::string backup = BackupPath("default_2009_03_07.xml");
  EXPECT_EQ(reports[0].backup, FromAnsi(backup));
  EXPECT_TRUE(reports[0].backupSelected);
  EXPECT_EQ(Bytes(backup), WithCrLf(listText)) << "the text as loaded, with CR LF";
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{1, 2, 3})) << "rewritten, unchanged";
  EXPECT_EQ(BackupMenu(), QStringList({"default_2009_03_07.xml"}));
}

TEST_F(ExecuteTest, MovedDownloadsLeaveTheListFile) {
  Load(5);
  Mark(window->LeftModel(), {0, 2, 4});
  window->moveExecute();
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 3 закачек");
  EXPECT_EQ(reports[0].selected, "удалено 3 закачек");
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{2, 4}));
  EXPECT_EQ(window->Trash().Count(), 0);
  EXPECT_EQ(window->RightModel().rowCount(), 0);
  EXPECT_EQ(Label("labSelCount"), "0");
  EXPECT_EQ(Label("labZak"), "2");
  EXPECT_EQ(window->LoadedCount(), 2);
  for (int id : {1, 3, 5})
    EXPECT_TRUE(std::filesystem::exists(FileOf(id))) << "\"Удалить\" keeps the files";
  EXPECT_NE(Bytes(BackupPath("default_2009_03_07.xml")).find("<ID>5</ID>"), std::string::npos)
      << "the copy holds the list as loaded, not as edited";
}

TEST_F(ExecuteTest, CopiedDownloadsStayButTheirFilesGo) {
  Load(3);
  Mark(window->LeftModel(), {0, 1});
  window->doCopyExecute();
  Choose("delSelWithFiles");
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 0 закачек");
  EXPECT_EQ(reports[0].selected, "удалено вместе с файлами 2 закачек");
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_FALSE(std::filesystem::exists(FileOf(1)));
  EXPECT_FALSE(std::filesystem::exists(FileOf(2)));
  EXPECT_TRUE(std::filesystem::exists(FileOf(3)));
}

TEST_F(ExecuteTest, FilesThatStayAreReportedOnALineOfTheirOwn) {
  Load(4);
  Mark(window->LeftModel(), {0, 1, 2, 3});
  window->moveExecute();
  std::filesystem::remove(FileOf(2));       // missing: counts as deleted
  fake.undeletableFiles.insert(FileOf(3));  // locked: stays
  Choose("delSelWithFiles");
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].selected, "удалено вместе с файлами 3 закачек");
  EXPECT_EQ(reports[0].files, "не удалось удалить файлы 1 закачек");
  EXPECT_EQ(fake.deletedFiles,
            (std::vector<std::string>{FileOf(1), FileOf(2), FileOf(3), FileOf(4)}))
      << "a failed deletion does not stop the others";
  EXPECT_TRUE(std::filesystem::exists(FileOf(3)));
  EXPECT_EQ(window->Trash().Count(), 0);
}

TEST_F(ExecuteTest, AFileTheSystemRefusesToDeleteIsCountedAndStays) {
  Load(3);
  Mark(window->LeftModel(), {0, 1, 2});
  window->moveExecute();
  Choose("delSelWithFiles");
  {
    platform::testing::FileFaults faults;
    faults.pathsContaining = "file2.bin";
    faults.unlinkError = EBUSY;
    Execute();
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].files, "не удалось удалить файлы 1 закачек");
  EXPECT_TRUE(std::filesystem::exists(FileOf(2)));
  EXPECT_FALSE(std::filesystem::exists(FileOf(1)));
  EXPECT_FALSE(std::filesystem::exists(FileOf(3)));
  EXPECT_TRUE(IdsOnDisk(listFile).empty()) << "the list was written before the deletions";
  EXPECT_EQ(window->Trash().Count(), 0);
  EXPECT_EQ(window->RightModel().rowCount(), 0);
}

TEST_F(ExecuteTest, TheTrashSavedAsASeparateList) {
  Load(4);
  Mark(window->LeftModel(), {1, 3});
  window->moveExecute();
  Choose("saveSel");
  separateName = Path("old");
  Execute();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(dialogs, QStringList({"saveDialog", "reportForm"}));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 2 закачек");
  EXPECT_EQ(reports[0].selected, "cохранено в отдельный список 2 закачек");
  EXPECT_EQ(IdsOnDisk(Path("old.xml")), (std::vector<uint32_t>{2, 4}))
      << "the dialog's extension is added";
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{1, 3}));
  EXPECT_EQ(window->Trash().Count(), 0);
}

TEST_F(ExecuteTest, ACancelledSaveDialogChangesNothing) {
  Load(3);
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
  window->GetDefaultListName();
  fake.processSnapshots = {std::vector<std::string>{"C:\\t\\tarvolt.exe"},
                           std::vector<std::string>{}};
  Mark(window->LeftModel(), {0});
  window->moveExecute();
  Choose("saveSel");
  Execute();
  EXPECT_EQ(dialogs, QStringList({"saveDialog"})) << "no report";
  EXPECT_TRUE(fake.startedCommands.empty()) << "the host is not asked to exit";
  EXPECT_EQ(Bytes(listFile), listText);
  EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07.xml")));
  EXPECT_TRUE(BackupMenu().isEmpty());
  EXPECT_EQ(Ids(window->Trash()), (std::vector<uint32_t>{1}));
  EXPECT_EQ(window->LoadedCount(), 3);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ExecuteTest, OnlyTheFilesGoAndTheEntriesReturn) {
  Load(4);
  Mark(window->LeftModel(), {0, 2});
  window->moveExecute();  // trash: 1, 3
  Mark(window->LeftModel(), {1});
  window->doCopyExecute();  // trash: 1, 3, 4 (a copy of one still listed)
  Choose("delSelFiles");
  Execute();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 0 закачек");
  EXPECT_EQ(reports[0].selected, "удалены только файлы 3 закачек");
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{2, 4, 1, 3}))
      << "moved entries back at the end in trash order, the copy not twice";
  EXPECT_EQ(Ids(window->Downloads()), (std::vector<uint32_t>{2, 4, 1, 3}));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeLeft"), window->Downloads()));
  EXPECT_EQ(window->Trash().Count(), 0);
  for (int id : {1, 3, 4})
    EXPECT_FALSE(std::filesystem::exists(FileOf(id))) << id;
  EXPECT_TRUE(std::filesystem::exists(FileOf(2)));
  EXPECT_EQ(Label("labZak"), "4");
}

TEST_F(ExecuteTest, TwoExecutionsInOneRun) {
  Load(5);
  Mark(window->LeftModel(), {0});
  window->moveExecute();
  Execute();
  Mark(window->LeftModel(), {0, 1});
  window->moveExecute();
  Execute();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].list, "удалено 2 закачек") << "only what left after the first";
  EXPECT_EQ(reports[1].backup, FromAnsi(BackupPath("default_2009_03_07[1].xml")));
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{4, 5}));
  EXPECT_EQ(Bytes(BackupPath("default_2009_03_07[1].xml")), WithCrLf(listText))
      << "again the text as it was loaded";
}

TEST_F(ExecuteTest, WithoutTheBackupBoxNoCopyIsMade) {
  Load(2);
  Find<QCheckBox>("CheckBox2")->setChecked(false);
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].backup, "");
  EXPECT_TRUE(BackupMenu().isEmpty());
  EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07.xml")));
}

TEST_F(ExecuteTest, AListLoadedFromAMissingFileIsWrittenAnew) {
  listFile = Path("new.xml");
  window->LoadList(listFile);
  Execute();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_TRUE(std::filesystem::exists(listFile));
  EXPECT_EQ(Bytes(BackupPath("default_2009_03_07.xml")), "") << "an empty copy";
  Execute();
  EXPECT_TRUE(errors.isEmpty()) << "the file written by the first is this program's own";
  EXPECT_EQ(reports.size(), 2u);
}

TEST_F(ExecuteTest, AListFileThatAppearedSinceAnEmptyLoadIsNotReplaced) {
  listFile = Path("late.xml");
  window->LoadList(listFile);
  WriteList(2, "late.xml");  // the host writes its list meanwhile
  Execute();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], FromAnsi(EListFileAppeared(listFile).what()));
  EXPECT_EQ(Bytes(listFile), listText);
  EXPECT_TRUE(BackupMenu().isEmpty()) << "nothing was begun";
  EXPECT_TRUE(reports.empty());

  window->LoadList(listFile);
  Execute();
  EXPECT_EQ(errors.size(), 1) << "once opened again, it is written";
  EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{1, 2}));
}

// A step that cannot write ends the execution there: what was done stays
// done, and the trash, the statistics and the report are not touched.
class StepFailureTest : public ExecuteTest {
 protected:
  enum Step { Backup, List, Separate, ListWithEntriesPutBack };
  struct StepCase {
    const char* label;
    Step failing;
    const char* action;
  };
  static constexpr StepCase kSteps[] = {
      {"the backup copy", Backup, "deleteSel"},
      {"the list", List, "delSelWithFiles"},
      {"the separate list", Separate, "saveSel"},
      {"the list with the entries put back", ListWithEntriesPutBack, "delSelFiles"},
  };
  const std::string backup = BackupPath("default_2009_03_07.xml");

  // Runs the step's action with `executeFailing`, which is given the file
  // the failing step writes and must press "Выполнить" while that write is
  // made to fail; `reason` is how the failure is worded.
  void ExpectTheExecutionEndsAtTheStep(
      const StepCase& c, const std::function<void(const std::string&)>& executeFailing,
      const std::string& reason) {
    std::filesystem::remove_all(folder / "bin" / "backup");
    std::filesystem::remove(Path("separate.xml"));
    window = std::make_unique<TForm2>();
    window->InitBackups();
    window->SetDialogRunner([this](QDialog& dialog) {
      dialogs << dialog.objectName();
      if (auto* save = qobject_cast<QFileDialog*>(&dialog))
        save->selectFile(QString::fromStdString(Path("separate.xml")));
      return true;
    });
    dialogs.clear();
    errors.clear();
    fake.deletedFiles.clear();

    Load(3);
    Mark(window->LeftModel(), {1});
    window->moveExecute();
    const QString statistics = Label("labSelCount");
    const std::string failed = c.failing == Backup     ? backup
                               : c.failing == Separate ? Path("separate.xml")
                                                       : listFile;
    Choose(c.action);
    executeFailing(failed);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0],
              "Cannot create file \"" + FromAnsi(failed) + "\". " + QString::fromStdString(reason));
    EXPECT_FALSE(dialogs.contains("reportForm"));
    EXPECT_EQ(Ids(window->Trash()), (std::vector<uint32_t>{2})) << "the trash is untouched";
    EXPECT_EQ(window->RightModel().rowCount(), 1);
    EXPECT_EQ(Ids(window->Downloads()), (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(window->LeftModel().rowCount(), 2) << "the tree shows the list";
    EXPECT_EQ(Label("labSelCount"), statistics);
    EXPECT_EQ(window->LoadedCount(), 3);
    EXPECT_TRUE(fake.deletedFiles.empty()) << "no file deleted";
    EXPECT_TRUE(BackupMenu().contains("default_2009_03_07.xml"))
        << "the copy's item stays, written or not";
    EXPECT_EQ(std::filesystem::exists(backup), c.failing != Backup);
    if (c.failing == Backup || c.failing == List || c.failing == ListWithEntriesPutBack)
      EXPECT_EQ(Bytes(listFile), listText) << "the list file is as it was";
    else
      EXPECT_EQ(IdsOnDisk(listFile), (std::vector<uint32_t>{1, 3})) << "the rewrite stays";
    EXPECT_FALSE(std::filesystem::exists(Path("separate.xml")));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      EXPECT_NE(entry.path().extension(), ".tmp") << "a temporary stays: " << entry.path();
  }
};

TEST_F(StepFailureTest, AFileThatCannotBeCreatedEndsTheExecution) {
  for (const StepCase& c : kSteps) {
    SCOPED_TRACE(c.label);
    ExpectTheExecutionEndsAtTheStep(
        c,
        [this](const std::string& failed) {
          fake.unwritableFiles = {failed};
          Execute();
          fake.unwritableFiles.clear();
        },
        "There is not enough space on the disk.");
  }
}

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
            Execute();
          },
          fault.reason);
    }
  }
}

TEST_F(ExecuteTest, WithoutAListFileNothingIsWritten) {
  // Nothing loaded: the window holds an empty list without a file.
  Execute();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], FromAnsi(ENoListFile().what()));
  EXPECT_TRUE(dialogs.isEmpty());
  EXPECT_TRUE(BackupMenu().isEmpty());
}

}  // namespace
}  // namespace brimlow
