// The submenu "Резервные": the copies the cleaner knows of, and opening one.
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

TEST_F(BackupTest, TheSubmenuListsEveryXmlFileOfTheFolder) {
  PutInBackupFolder({"default_2009_03_06.xml", "old.XML", "notes.txt", "a&b.xml"});
  ASSERT_EQ(MenuCaptions(), QStringList({" "})) << "the design's placeholder";
  window->InitBackups();
  EXPECT_EQ(MenuCaptions(), QStringList({"a&&b.xml", "default_2009_03_06.xml", "old.XML"}))
      << "the placeholder is gone; an \"&\" is shown as such, not as a shortcut mark";
}

TEST_F(BackupTest, EachNewNameIsInTheMenuAtOnce) {
  window->InitBackups();
  window->MakeBackupName();
  window->MakeBackupName();
  EXPECT_EQ(MenuCaptions(), QStringList({"default_2009_03_07.xml", "default_2009_03_07[1].xml"}));
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
