// The file dialogs start in the list's folder as this system sees it: a host
// path of a Wine prefix is mapped onto the prefix's drives.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QFileDialog>

#include "windowTestSupport.h"

namespace brimlow {
namespace {

#ifndef _WIN32
class DialogFolderTest : public test::WindowTest {
 protected:
  DialogFolderTest() {
    std::filesystem::create_directories(folder / "prefix" / "dosdevices" / "c:" / "Lists");
    if (const char* prefix = getenv("WINEPREFIX")) previousPrefix = prefix;
    setenv("WINEPREFIX", (folder / "prefix").c_str(), 1);
    fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", "C:\\lists\\my.xml"}};
  }
  ~DialogFolderTest() override {
    if (previousPrefix)
      setenv("WINEPREFIX", previousPrefix->c_str(), 1);
    else
      unsetenv("WINEPREFIX");
  }
  // The list's folder, found whatever the letter case of the host's path.
  QString MappedFolder() const {
    return QString::fromStdString((folder / "prefix" / "dosdevices" / "c:" / "Lists").string());
  }
  std::optional<std::string> previousPrefix;
};

TEST_F(DialogFolderTest, BothDialogsStartInTheMappedFolderOfTheList) {
  window->FormCreate();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  auto* save = window->findChild<QFileDialog*>("saveDialog");
  EXPECT_EQ(save->directory().absolutePath(), MappedFolder());

  auto* open = window->findChild<QFileDialog*>("openDialog");
  window->SetDialogRunner([&](QDialog& dialog) {
    EXPECT_EQ(&dialog, open);
    EXPECT_EQ(open->directory().absolutePath(), MappedFolder());
    return false;
  });
  window->OpenWithDialogExecute();
}
#endif

}  // namespace
}  // namespace brimlow
