// TForm2: the backup copies of the list in the folder "backup" next to the
// program file, and the submenu "Резервные" that opens them.
#include <QAction>
#include <QMenu>

#include "app/ansiText.h"
#include "app/application.h"
#include "app/backupNames.h"
#include "app/main.h"
#include "platform/path.h"
#include "platform/platform.h"

namespace brimlow {

namespace {

// The backup file's own name, exactly, travels with its menu item.
constexpr const char* kBackupNameProperty = "backupName";

// Menus read "&" as the mark of a shortcut letter; "&&" shows one "&".
QString MenuCaption(const std::string& name) {
  QString caption = FromAnsi(name);
  caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return caption;
}

}  // namespace

std::string TForm2::ProgramFolder() const {
  return platform::ExtractFileDir(platform::current().programFilePath());
}

void TForm2::InitBackups() {
  FBackupDir = platform::JoinPath(ProgramFolder(), "backup");
  platform::Platform& os = platform::current();
  // A folder that cannot be made leaves the submenu empty; writing a copy
  // into it fails later with the file's own error.
  if (!os.directoryExists(FBackupDir)) os.createDirectory(FBackupDir);
  FillBackupMenu();
}

void TForm2::FillBackupMenu() {
  ui.N7->clear();
  FBackupNames.clear();
  for (std::string& name : platform::current().listDirectory(FBackupDir))
    if (IsBackupFileName(name)) FBackupNames.push_back(std::move(name));
  for (const std::string& name : FBackupNames)
    AddBackupMenuItem(name);
}

void TForm2::AddBackupMenuItem(const std::string& path) {
  const std::string name = platform::ExtractFileName(path);
  QAction* item = ui.N7->addAction(MenuCaption(name));
  item->setProperty(kBackupNameProperty, QByteArray::fromStdString(name));
  connect(item, &QAction::triggered, this,
          [this, item] { Guarded([this, item] { BackupMenuClick(*item); }); });
}

std::string TForm2::MakeBackupName() {
  const std::string name =
      FreeBackupName(BackupStem(platform::current().localDate()), FBackupNames);
  const std::string path = platform::JoinPath(FBackupDir, name);
  AddBackupMenuItem(path);
  FBackupNames.push_back(name);
  return path;
}

void TForm2::BackupMenuClick(const QAction& item) {
  // The name as the folder listed it; the caption may carry shortcut marks.
  const std::string name = item.property(kBackupNameProperty).toByteArray().toStdString();
  LoadList(platform::JoinPath(FBackupDir, name));
}

}  // namespace brimlow
