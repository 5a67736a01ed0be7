// The backup copies in the cleaner: the folder and where it goes when the
// program's own cannot be written, the names found and made, and opening a
// copy.
#include <gtest/gtest.h>

#include <algorithm>

#include "cleanerTestSupport.h"
#include "platform/path.h"

namespace brimlow {
namespace {

class BackupTest : public test::CleanerTest {
 protected:
  std::filesystem::path ProgramBackups() const { return folder / "bin" / "backup"; }
  void PutInBackupFolder(std::initializer_list<const char*> names) {
    std::filesystem::create_directories(ProgramBackups());
    for (const char* name : names)
      std::ofstream(ProgramBackups() / name) << "<DownloadList/>";
  }
  static std::string Probe(const std::string& backupFolder) {
    return platform::JoinPath(backupFolder, "probe");
  }
};

TEST_F(BackupTest, TheFolderIsMadeNextToTheProgramFile) {
  cleaner.InitBackups();
  EXPECT_EQ(cleaner.BackupDir(), ProgramBackups().string());
  EXPECT_TRUE(std::filesystem::is_directory(ProgramBackups()));
  EXPECT_TRUE(cleaner.BackupNames().empty());
  EXPECT_EQ(frontEnd.backupNamesChanges, 1);
  for (const auto& entry : std::filesystem::directory_iterator(ProgramBackups()))
    ADD_FAILURE() << "the probe stays: " << entry.path();
}

// Where the program's folder cannot take the copies, the user's data folder
// does, made with every missing level; where neither can, the program's
// stays and no error is raised.
TEST_F(BackupTest, TheUsersFolderWhenTheProgramsCannotBeWritten) {
  const std::filesystem::path data = folder / "data" / "deep";
  fake.environment = {{"XDG_DATA_HOME", data.string()}, {"LOCALAPPDATA", data.string()}};
  const std::string own = ProgramBackups().string();
  const std::string user =
      platform::JoinPath(*platform::userDataFolder("Brimlow", "brimlow"), "backup");
  const struct {
    const char* label;
    bool fileInTheWay;   // a file where the program's folder should be
    bool ownUnwritable;  // the program's folder exists but takes no file
    bool userUnwritable;
    bool noUserFolder;
    std::string chosen;
  } cases[] = {
      {"the program's folder can be written", false, false, false, false, own},
      {"a file is in the way", true, false, false, false, user},
      {"the program's folder exists but cannot be written", false, true, false, false, user},
      {"neither can be written", false, true, true, false, own},
      {"no user folder is named", true, false, false, true, own},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(ProgramBackups());
    std::filesystem::remove_all(folder / "data");
    if (c.fileInTheWay) std::ofstream(ProgramBackups()) << "in the way";
    fake.unwritableFiles.clear();
    if (c.ownUnwritable) fake.unwritableFiles.insert(Probe(own));
    if (c.userUnwritable) fake.unwritableFiles.insert(Probe(user));
    const auto environment = fake.environment;
    if (c.noUserFolder) fake.environment.clear();

    EXPECT_NO_THROW(cleaner.InitBackups());
    fake.environment = environment;
    EXPECT_EQ(cleaner.BackupDir(), c.chosen);
    if (c.chosen == user) {
      EXPECT_TRUE(std::filesystem::is_directory(user));
    }
    EXPECT_TRUE(cleaner.BackupNames().empty());
  }
}

TEST_F(BackupTest, TheNamesListedAreTheXmlFilesOfTheFolder) {
  PutInBackupFolder({"default_2009_03_06.xml", "old.XML", "notes.txt", "a&b.xml"});
  std::filesystem::create_directory(ProgramBackups() / "folder.xml");
  cleaner.InitBackups();
  std::vector<std::string> names = cleaner.BackupNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a&b.xml", "default_2009_03_06.xml", "folder.xml",
                                             "old.XML"}));
}

TEST_F(BackupTest, NewNamesTakeThoseFoundAndMadeButNotThoseAddedLater) {
  PutInBackupFolder({"DEFAULT_2009_03_07.XML"});
  cleaner.InitBackups();
  PutInBackupFolder({"default_2009_03_07[1].xml"});  // not noticed during the run
  EXPECT_EQ(cleaner.MakeBackupName(), BackupPath("default_2009_03_07[1].xml"));
  EXPECT_EQ(cleaner.MakeBackupName(), BackupPath("default_2009_03_07[2].xml"));
  EXPECT_EQ(frontEnd.backupNamesChanges, 3) << "each name is handed on at once";
  EXPECT_EQ(cleaner.BackupNames().back(), "default_2009_03_07[2].xml");
  EXPECT_FALSE(std::filesystem::exists(BackupPath("default_2009_03_07[2].xml")))
      << "the caller writes the file";
}

TEST_F(BackupTest, OpeningACopyLoadsItAsTheList) {
  std::filesystem::create_directories(ProgramBackups());
  std::ofstream(ProgramBackups() / "a&b.xml")
      << "<DownloadList><DownloadFile><ID>7</ID></DownloadFile></DownloadList>";
  PutInBackupFolder({"gone.xml"});
  cleaner.InitBackups();
  cleaner.OpenBackup("a&b.xml");
  EXPECT_EQ(cleaner.Downloads().List().FileName(), BackupPath("a&b.xml"));
  EXPECT_EQ(Ids(cleaner.Downloads()), (std::vector<uint32_t>{7}));

  std::filesystem::remove(ProgramBackups() / "gone.xml");
  cleaner.OpenBackup("gone.xml");
  EXPECT_EQ(cleaner.Downloads().Count(), 0) << "a copy that is gone opens as an empty list";
  EXPECT_TRUE(cleaner.HasListFile());
}

}  // namespace
}  // namespace brimlow
