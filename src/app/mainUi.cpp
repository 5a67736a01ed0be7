#include "app/mainUi.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>

#include "app/mainPanes.h"
#include "workflow/menuCommands.h"

namespace brimlow {

namespace {

// Design widths of the three panes.
constexpr int kListPaneWidth = 294;
constexpr int kMiddlePaneWidth = 148;
constexpr int kTrashPaneWidth = 345;

QMenu* NamedMenu(std::string_view name, std::string_view caption, QWidget* parent) {
  auto* menu = new QMenu(QString::fromUtf8(PlainCaption(caption)), parent);
  menu->setObjectName(QString::fromUtf8(name));
  return menu;
}

QAction*& CommandSlot(TForm2Ui& ui, TCommand command) {
  static constexpr QAction* TForm2Ui::*kSlots[kCommandCount] = {
      &TForm2Ui::openDefault,   &TForm2Ui::OpenWithDialog,
      &TForm2Ui::move,          &TForm2Ui::doCopy,
      &TForm2Ui::moveBack,      &TForm2Ui::doSelect,
      &TForm2Ui::noSelection,   &TForm2Ui::N6,
      &TForm2Ui::N10,           &TForm2Ui::N11,
      &TForm2Ui::online1,       &TForm2Ui::N13,
      &TForm2Ui::N14,           &TForm2Ui::N16,
      &TForm2Ui::undoExecution, &TForm2Ui::listOverview,
      &TForm2Ui::exportCsv,     &TForm2Ui::exportTrashCsv};
  return ui.*kSlots[static_cast<int>(command)];
}

// A list-scoped shortcut works only while that list has the focus, so that
// Delete still edits the filter's fields.
void ApplyShortcut(QAction& action, const TMenuEntry& entry, TForm2Ui& ui) {
  if (entry.shortcut.empty()) return;
  QList<QKeySequence> keys{QKeySequence(QString::fromUtf8(entry.shortcut))};
  if (!entry.alternateShortcut.empty())
    keys.append(QKeySequence(QString::fromUtf8(entry.alternateShortcut)));
  action.setShortcuts(keys);
  if (entry.scope == TShortcutScope::Window) return;
  action.setShortcutContext(Qt::WidgetShortcut);
  (entry.scope == TShortcutScope::DownloadsList ? ui.treeLeft : ui.treeRight)->addAction(&action);
}

void BuildActions(QMainWindow& window, TForm2Ui& ui) {
  auto* actions = new QObject(&window);
  actions->setObjectName(QStringLiteral("ActionManager1"));
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    auto* action = new QAction(QString::fromUtf8(PlainCaption(entry.caption)), actions);
    action->setObjectName(QString::fromUtf8(entry.name));
    CommandSlot(ui, entry.command) = action;
  }
}

void FillMenu(QMenu& menu, std::span<const TMenuEntry> entries, TForm2Ui& ui) {
  for (const TMenuEntry& entry : entries) {
    switch (entry.kind) {
      case TMenuEntryKind::Command: menu.addAction(CommandSlot(ui, entry.command)); break;
      case TMenuEntryKind::Separator: menu.addSeparator(); break;
      case TMenuEntryKind::Submenu: {
        QMenu* submenu = NamedMenu(entry.name, entry.caption, &menu);
        FillMenu(*submenu, entry.entries, ui);
        menu.addMenu(submenu);
        break;
      }
      case TMenuEntryKind::BackupCopies:
        ui.N7 = NamedMenu(entry.name, entry.caption, &menu);
        // The placeholder goes when the backup copies fill the submenu.
        ui.N7->addAction(QStringLiteral(" "))->setObjectName(QStringLiteral("backupPlaceholder"));
        menu.addMenu(ui.N7);
        break;
    }
  }
}

void BuildMenu(QMainWindow& window, TForm2Ui& ui) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  for (const TMenuEntry& entry : MainMenu()) {
    QMenu* menu = NamedMenu(entry.name, entry.caption, bar);
    FillMenu(*menu, entry.entries, ui);
    bar->addMenu(menu);
  }
}

// The shortcuts go on once the lists exist.
void BindShortcuts(TForm2Ui& ui) {
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    ApplyShortcut(*CommandSlot(ui, entry.command), entry, ui);
  }
}

void BuildPanes(QMainWindow& window, TForm2Ui& ui) {
  ui.panes = new QSplitter(Qt::Horizontal, &window);
  ui.panes->setObjectName(QStringLiteral("panes"));
  ui.panes->setChildrenCollapsible(false);
  // The splitters show a bar while dragged and apply the position on release.
  ui.panes->setOpaqueResize(false);
  ui.Panel1 = BuildListPane(ui);
  ui.Panel2 = BuildMiddlePane(ui);
  ui.Panel3 = BuildTrashPane(ui);
  ui.panes->addWidget(ui.Panel1);
  ui.panes->addWidget(ui.Panel2);
  ui.panes->addWidget(ui.Panel3);
  ui.panes->handle(1)->setObjectName(QStringLiteral("Splitter1"));
  ui.panes->handle(2)->setObjectName(QStringLiteral("Splitter2"));
  ui.panes->setStretchFactor(0, 1);
  ui.panes->setStretchFactor(1, 0);
  ui.panes->setStretchFactor(2, 1);
  ui.panes->setSizes({kListPaneWidth, kMiddlePaneWidth, kTrashPaneWidth});
  window.setCentralWidget(ui.panes);
}

void BuildStatusBar(QMainWindow& window, TForm2Ui& ui) {
  ui.filterProgress = new QProgressBar;
  ui.filterProgress->setObjectName(QStringLiteral("filterProgress"));
  ui.filterProgress->setTextVisible(true);
  ui.filterProgress->hide();
  window.statusBar()->addPermanentWidget(ui.filterProgress, 1);
}

void BuildDialogs(QMainWindow& window, TForm2Ui& ui) {
  ui.openDialog = new QFileDialog(&window);
  ui.openDialog->setObjectName(QStringLiteral("openDialog"));
  ui.openDialog->setNameFilter(QStringLiteral("XML (*.xml)"));
  ui.openDialog->setFileMode(QFileDialog::ExistingFile);
  ui.openDialog->setAcceptMode(QFileDialog::AcceptOpen);

  ui.saveDialog = new QFileDialog(&window);
  ui.saveDialog->setObjectName(QStringLiteral("saveDialog"));
  ui.saveDialog->setNameFilter(QStringLiteral("*.xml (*.xml)"));
  ui.saveDialog->setDefaultSuffix(QStringLiteral("xml"));
  ui.saveDialog->setAcceptMode(QFileDialog::AcceptSave);
  ui.saveDialog->setFileMode(QFileDialog::AnyFile);

  ui.csvDialog = new QFileDialog(&window);
  ui.csvDialog->setObjectName(QStringLiteral("csvDialog"));
  ui.csvDialog->setNameFilter(QStringLiteral("CSV (*.csv)"));
  ui.csvDialog->setDefaultSuffix(QStringLiteral("csv"));
  ui.csvDialog->setAcceptMode(QFileDialog::AcceptSave);
  ui.csvDialog->setFileMode(QFileDialog::AnyFile);
}

}  // namespace

void BuildForm2Ui(QMainWindow& window, TForm2Ui& ui) {
  BuildActions(window, ui);
  BuildMenu(window, ui);
  BuildPanes(window, ui);
  BindShortcuts(ui);
  BuildStatusBar(window, ui);
  BuildDialogs(window, ui);
}

}  // namespace brimlow
