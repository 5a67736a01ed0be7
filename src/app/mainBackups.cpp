// TForm2: the submenu "Резервные" of the backup copies the workflow knows.
#include <QAction>
#include <QMenu>

#include "app/ansiText.h"
#include "app/application.h"
#include "app/main.h"
#include "workflow/menuCommands.h"

namespace brimlow {

namespace {

// The backup file's own name, exactly, travels with its menu item.
constexpr const char* kBackupNameProperty = "backupName";

}  // namespace

void TForm2::BackupNamesChanged() {
  ui.N7->clear();
  for (const std::string& name : FCleaner.BackupNames()) {
    QAction* item = ui.N7->addAction(FromAnsi(EscapeAccessKeys(name)));
    item->setProperty(kBackupNameProperty, QByteArray::fromStdString(name));
    connect(item, &QAction::triggered, this,
            [this, item] { Guarded([this, item] { BackupMenuClick(*item); }); });
  }
}

void TForm2::BackupMenuClick(const QAction& item) {
  // The name as the folder listed it; the caption may carry shortcut marks.
  const std::string name = item.property(kBackupNameProperty).toByteArray().toStdString();
  FCleaner.OpenBackup(name);
}

}  // namespace brimlow
