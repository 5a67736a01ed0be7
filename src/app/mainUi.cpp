#include "app/mainUi.h"

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>

#include "app/mainPanes.h"

namespace brimlow {

namespace {

// Design widths of the three panes.
constexpr int kListPaneWidth = 294;
constexpr int kMiddlePaneWidth = 148;
constexpr int kTrashPaneWidth = 345;

QAction* NamedAction(QObject* owner, const char* name, const QString& caption) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

QMenu* NamedMenu(const char* name, const QString& title, QWidget* parent) {
  auto* menu = new QMenu(title, parent);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

void BuildActions(QMainWindow& window, TForm2Ui& ui) {
  auto* actions = new QObject(&window);
  actions->setObjectName(QStringLiteral("ActionManager1"));
  ui.openDefault = NamedAction(actions, "openDefault", QStringLiteral("Открыть текущий"));
  ui.OpenWithDialog = NamedAction(actions, "OpenWithDialog", QStringLiteral("Открыть..."));
  ui.move = NamedAction(actions, "move", QStringLiteral("Перенести"));
  ui.doCopy = NamedAction(actions, "doCopy", QStringLiteral("Скопировать"));
  ui.moveBack = NamedAction(actions, "moveBack", QStringLiteral("Перенести обратно"));
  ui.doSelect = NamedAction(actions, "doSelect", QStringLiteral("Выделить"));
  ui.noSelection = NamedAction(actions, "noSelection", QStringLiteral("Снять выделение"));
}

void BuildMenu(QMainWindow& window, TForm2Ui& ui) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  QMenu* file = NamedMenu("fileMenu", QStringLiteral("Файл"), bar);
  file->addAction(ui.openDefault);
  file->addAction(ui.OpenWithDialog);
  ui.N7 = NamedMenu("N7", QStringLiteral("Резервные"), file);
  // The placeholder goes when the backup copies fill the submenu.
  ui.N7->addAction(NamedAction(ui.N7, "backupPlaceholder", QStringLiteral(" ")));
  file->addMenu(ui.N7);
  ui.N6 = NamedAction(file, "N6", QStringLiteral("Выход"));
  file->addAction(ui.N6);
  bar->addMenu(file);

  QMenu* edit = NamedMenu("editMenu", QStringLiteral("Правка"), bar);
  QMenu* filter = NamedMenu("filterMenu", QStringLiteral("Фильтр"), edit);
  filter->addAction(ui.doSelect);
  filter->addAction(ui.noSelection);
  edit->addMenu(filter);
  QMenu* selected = NamedMenu("selectedMenu", QStringLiteral("Выделенные"), edit);
  selected->addAction(ui.move);
  selected->addAction(ui.doCopy);
  selected->addAction(ui.moveBack);
  edit->addMenu(selected);
  bar->addMenu(edit);

  QMenu* help = NamedMenu("helpMenu", QStringLiteral("Справка"), bar);
  ui.N10 = NamedAction(help, "N10", QStringLiteral("Содержание"));
  ui.N11 = NamedAction(help, "N11", QStringLiteral("Домашнаяя страница"));
  ui.online1 = NamedAction(help, "online1", QStringLiteral("Поддержка online"));
  ui.N13 = NamedAction(help, "N13", QStringLiteral("Сообщить об ошибке"));
  ui.N14 = NamedAction(help, "N14", QStringLiteral("Форум"));
  ui.N16 = NamedAction(help, "N16", QStringLiteral("О программе"));
  help->addActions({ui.N10, ui.N11, ui.online1});
  help->addSeparator();
  help->addActions({ui.N13, ui.N14});
  help->addSeparator();
  help->addAction(ui.N16);
  bar->addMenu(help);
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
}

}  // namespace

void BuildForm2Ui(QMainWindow& window, TForm2Ui& ui) {
  BuildActions(window, ui);
  BuildMenu(window, ui);
  BuildPanes(window, ui);
  BuildStatusBar(window, ui);
  BuildDialogs(window, ui);
}

}  // namespace brimlow
