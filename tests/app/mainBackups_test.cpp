// The backup copies: the folder next to the program file, the names, the
// submenu and opening a copy from it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <fstream>

#include "windowTestSupport.h"

namespace brimlow {
namespace {

class BackupTest : public test::WindowTest {
 protected:
  std::filesystem::path BackupFolder() const { return folder / "bin" / "backup"; }

  void PutInBackupFolder(std::initializer_list<const char*> names) {
    std::filesystem::create_directories(BackupFolder());
    for (const char* name : names)
      std::ofstream(BackupFolder() / name) << "<DownloadList/>";
  }

  QStringList MenuCaptions() const {
    QStringList captions;
    for (const QAction* item : Find<QMenu>("N7")->actions())
      captions << item->text();
    captions.sort();
    return captions;
  }

  QAction* MenuItem(const QString& caption) const {
    for (QAction* item : Find<QMenu>("N7")->actions())
      if (item->text() == caption) return item;
    return nullptr;
  }
};

TEST_F(BackupTest, TheFolderIsMadeNextToTheProgramFile) {
  ASSERT_EQ(MenuCaptions(), QStringList({" "})) << "the design's placeholder";
  window->InitBackups();
  EXPECT_EQ(window->BackupDir(), BackupFolder().string());
  EXPECT_TRUE(std::filesystem::is_directory(BackupFolder()));
  EXPECT_TRUE(MenuCaptions().isEmpty()) << "the placeholder is gone";
  EXPECT_TRUE(window->BackupNames().empty());
}

TEST_F(BackupTest, AFolderThatCannotBeMadeIsNoError) {
  // A file where the folder should be.
  std::ofstream(BackupFolder()) << "in the way";
  window->InitBackups();
  EXPECT_TRUE(MenuCaptions().isEmpty());
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(BackupTest, TheSubmenuListsEveryXmlFileOfTheFolder) {
  PutInBackupFolder({"default_2009_03_06.xml", "old.XML", "notes.txt", "a&b.xml"});
  std::filesystem::create_directory(BackupFolder() / "folder.xml");
  window->InitBackups();
  EXPECT_EQ(MenuCaptions(),
            QStringList({"a&&b.xml", "default_2009_03_06.xml", "folder.xml", "old.XML"}))
      << "an \"&\" is shown as such, not as a shortcut mark";
  EXPECT_EQ(window->BackupNames().size(), 4u);
}

TEST_F(BackupTest, NewNamesOfTheDayNumberOnWithinTheRun) {
  window->InitBackups();
  const std::string first = window->MakeBackupName();
  EXPECT_EQ(first, (BackupFolder() / "default_2009_03_07.xml").string());
  EXPECT_EQ(window->MakeBackupName(), (BackupFolder() / "default_2009_03_07[1].xml").string());
  EXPECT_EQ(window->MakeBackupName(), (BackupFolder() / "default_2009_03_07[2].xml").string());
  EXPECT_EQ(MenuCaptions(), QStringList({"default_2009_03_07.xml", "default_2009_03_07[1].xml",
                                         "default_2009_03_07[2].xml"}))
      << "each name is in the menu at once, before any file is written";
  EXPECT_FALSE(std::filesystem::exists(first)) << "the caller writes the file";
}

TEST_F(BackupTest, NamesFoundAtStartUpAreTaken) {
  PutInBackupFolder({"DEFAULT_2009_03_07.XML", "default_2009_03_07[2].xml"});
  window->InitBackups();
  EXPECT_EQ(window->MakeBackupName(), (BackupFolder() / "default_2009_03_07[1].xml").string());
  EXPECT_EQ(window->MakeBackupName(), (BackupFolder() / "default_2009_03_07[3].xml").string());
}

TEST_F(BackupTest, FilesAddedDuringTheRunAreNotNoticed) {
  window->InitBackups();
  PutInBackupFolder({"default_2009_03_07.xml"});
  EXPECT_EQ(window->MakeBackupName(), (BackupFolder() / "default_2009_03_07.xml").string());
}

TEST_F(BackupTest, ChoosingACopyLoadsItAsTheList) {
  PutInBackupFolder({"default_2009_03_06.xml"});
  std::ofstream(BackupFolder() / "a&b.xml")
      << "<DownloadList><DownloadFile><ID>7</ID></DownloadFile></DownloadList>";
  window->InitBackups();
  MenuItem("a&&b.xml")->trigger();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(window->Downloads().FileName(), (BackupFolder() / "a&b.xml").string())
      << "the copy's own name, \"&\" and all";
  EXPECT_EQ(Ids(window->Downloads()), (std::vector<uint32_t>{7}));
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - a&b.xml");
}

TEST_F(BackupTest, ACopyThatIsGoneOpensAsAnEmptyList) {
  PutInBackupFolder({"default_2009_03_06.xml"});
  window->InitBackups();
  std::filesystem::remove(BackupFolder() / "default_2009_03_06.xml");
  MenuItem("default_2009_03_06.xml")->trigger();
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(window->Downloads().Count(), 0);
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - default_2009_03_06.xml");
}

TEST_F(BackupTest, StartUpFillsTheSubmenuFirst) {
  PutInBackupFolder({"old.xml"});
  // The start-up ends early, after the backups.
  fake.registry["Software\\Kelvane\\Tarvolt"] = {};
  fake.nonTextValues.insert({"Software\\Kelvane\\Tarvolt", "DefaultDownloadList"});
  Guarded([this] { window->FormCreate(); });
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(MenuCaptions(), QStringList({"old.xml"}));
}

}  // namespace
}  // namespace brimlow
