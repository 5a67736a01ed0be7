// "Выполнить" in the window: the click reaches the cleaner with the controls'
// choices, and the report, the save dialog and an error show what it answered.
#include <gtest/gtest.h>

#include <fstream>

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "app/ansiText.h"
#include "app/reportUnit.h"
#include "windowTestSupport.h"

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

  // A list file of `count` downloads of 1000 bytes, loaded.
  void Load(int count, const std::string& name = "list.xml") {
    ShowDownloads(std::vector<int64_t>(static_cast<size_t>(count), 1000), name);
    window->Downloads().Save();
    listFile = Path(name);
    window->LoadList(listFile);
  }
  void Choose(const char* action) { Find<QRadioButton>(action)->setChecked(true); }
  void Execute() { Find<QPushButton>("Button2")->click(); }

  std::string BackupPath(const char* name) const {
    return (folder / "bin" / "backup" / name).string();
  }
  QStringList BackupMenu() const {
    QStringList captions;
    for (const QAction* item : Find<QMenu>("N7")->actions())
      captions << item->text();
    return captions;
  }

  std::string listFile;
  std::string separateName;  // what the save dialog answers; empty: cancel
  QStringList dialogs;
  std::vector<ShownReport> reports;
};

TEST_F(ExecuteTest, TheReportShowsWhatLeftTheListAndTheTrash) {
  Load(5);
  Mark(window->LeftModel(), {0, 2, 4});
  Find<QPushButton>("BitBtn1")->click();
  Execute();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].list, "удалено 3 закачек");
  EXPECT_EQ(reports[0].selected, "удалено 3 закачек");
  EXPECT_EQ(reports[0].files, "");
  EXPECT_EQ(reports[0].backup, FromAnsi(BackupPath("default_2009_03_07.xml")));
  EXPECT_TRUE(reports[0].backupSelected);
  EXPECT_EQ(BackupMenu(), QStringList({"default_2009_03_07.xml"}));
  EXPECT_EQ(window->RightModel().rowCount(), 0);
  EXPECT_EQ(Label("labSelCount"), "0");
  EXPECT_EQ(Label("labZak"), "2");
}

TEST_F(ExecuteTest, TheChosenActionIsTheOneReported) {
  const struct {
    const char* button;
    QString selected;
  } cases[] = {
      {"deleteSel", "удалено 1 закачек"},
      {"delSelWithFiles", "удалено вместе с файлами 1 закачек"},
      {"delSelFiles", "удалены только файлы 1 закачек"},
      {"saveSel", "cохранено в отдельный список 1 закачек"},
  };
  separateName = Path("old");
  for (const auto& c : cases) {
    Load(2, std::string(c.button) + ".xml");
    Mark(window->LeftModel(), {0});
    window->doCopyExecute();
    Choose(c.button);
    Execute();
    ASSERT_FALSE(reports.empty()) << c.button;
    EXPECT_EQ(reports.back().selected, c.selected) << c.button;
    EXPECT_EQ(reports.back().list, "удалено 0 закачек") << c.button;
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_TRUE(std::filesystem::exists(Path("old.xml"))) << "the dialog's extension is added";
  EXPECT_EQ(dialogs.count("saveDialog"), 1);
}

TEST_F(ExecuteTest, FilesThatStayAreReportedOnALineOfTheirOwn) {
  Load(2);
  Mark(window->LeftModel(), {0, 1});
  window->moveExecute();
  const std::string locked = window->Trash()[1].FileName;
  fake.existingFiles.insert(locked);
  fake.undeletableFiles.insert(locked);
  Choose("delSelWithFiles");
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].selected, "удалено вместе с файлами 1 закачек") << "the one deleted";
  EXPECT_EQ(reports[0].files, "не удалось удалить файлы 1 закачек");
}

TEST_F(ExecuteTest, TheRecycleBoxSendsFilesToTheBinAndUndoBringsThemBack) {
  std::filesystem::create_directories(folder / "recycled");
  fake.recycleBin = folder / "recycled";
  ShowDownloads({1000, 2000});
  std::vector<std::string> files;
  for (int i = 0; i < 2; ++i) {
    files.push_back(Path("file" + std::to_string(i) + ".bin"));
    std::ofstream(files.back()) << "content";
    window->Downloads()[i].FileName = files.back();
  }
  window->Downloads().Save();
  listFile = Path("list.xml");
  window->LoadList(listFile);
  QAction* undo = Find<QAction>("undoExecution");
  QCheckBox* recycle = Find<QCheckBox>("recycleFiles");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(recycle->isChecked()) << "erasing stays the default";
  EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));

  Mark(window->LeftModel(), {0, 1});
  window->moveExecute();
  recycle->setChecked(true);
  Choose("delSelWithFiles");
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].files, QStringLiteral("2 файлов, ") + FromAnsi(SizeToText(3000)));
  EXPECT_FALSE(std::filesystem::exists(files[0]));
  EXPECT_TRUE(undo->isEnabled());

  undo->trigger();
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].list, "возвращён из резервной копии");
  EXPECT_EQ(reports[1].files, "2 файлов");
  EXPECT_TRUE(std::filesystem::exists(files[0]) && std::filesystem::exists(files[1]));
  EXPECT_EQ(window->Downloads().Count(), 2);
  EXPECT_FALSE(undo->isEnabled());
}

TEST_F(ExecuteTest, ACancelledSaveDialogShowsNoReport) {
  Load(3);
  Mark(window->LeftModel(), {0});
  window->moveExecute();
  Choose("saveSel");
  Execute();
  EXPECT_EQ(dialogs, QStringList({"saveDialog"}));
  EXPECT_EQ(window->RightModel().rowCount(), 1);
  EXPECT_TRUE(BackupMenu().isEmpty());
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ExecuteTest, OnlyTheFilesGoAndTheRowsFollowTheList) {
  Load(3);
  Mark(window->LeftModel(), {0});
  window->moveExecute();
  Choose("delSelFiles");
  Execute();
  EXPECT_EQ(Ids(window->Downloads()), (std::vector<uint32_t>{2, 3, 1}));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeLeft"), window->Downloads()));
  EXPECT_EQ(window->RightModel().rowCount(), 0);
  EXPECT_EQ(Label("labZak"), "3");
}

TEST_F(ExecuteTest, WithoutTheBackupBoxNoCopyIsMade) {
  Load(2);
  Find<QCheckBox>("CheckBox2")->setChecked(false);
  Execute();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].backup, "");
  EXPECT_TRUE(BackupMenu().isEmpty());
}

TEST_F(ExecuteTest, AFailedStepIsShownAndTheWindowKeepsItsRows) {
  Load(3);
  Mark(window->LeftModel(), {1});
  window->moveExecute();
  fake.unwritableFiles = {listFile};
  Execute();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Cannot create file \"" + FromAnsi(listFile) +
                           "\". There is not enough space on the disk.");
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(window->RightModel().rowCount(), 1);
  EXPECT_EQ(Label("labSelCount"), "1");
  EXPECT_EQ(BackupMenu(), QStringList({"default_2009_03_07.xml"})) << "the copy's item stays";
  EXPECT_TRUE(window->isEnabled());
}

}  // namespace
}  // namespace brimlow
