// TForm2: the submenu "Резервные" of the backup copies the workflow knows.
#include <QAction>
#include <QMenu>

#include "app/ansiText.h"
#include "app/application.h"
#include "app/main.h"

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

void TForm2::BackupNamesChanged() {
  ui.N7->clear();
  for (const std::string& name : FCleaner.BackupNames()) {
    QAction* item = ui.N7->addAction(MenuCaption(name));
    item->setProperty(kBackupNameProperty, QByteArray::fromStdString(name));
    connect(item, &QAction::triggered, this,
            [this, item] { Guarded([this, item] { BackupMenuClick(*item); }); });
  }
}

void TForm2::BackupMenuClick(const QAction& item) {
  // The name as the folder listed it; the caption may carry shortcut marks.
  const std::string name = item.property(kBackupNameProperty).toByteArray().toStdString();
  FCleaner.OpenBackup(name);
  setWindowTitle(TitleAfterLoad(windowTitle(), FromAnsi(name)));
}

}  // namespace brimlow
