#include "app/main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>

#include "app/ansiText.h"
#include "app/application.h"
#include "app/downloadsModel.h"
#include "app/icons.h"
#include "app/sortedDownloads.h"
#include "app/treeSetup.h"
#include "data/categories.h"
#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

constexpr int kDesignWidth = 793;
constexpr int kDesignHeight = 597;
constexpr int kFontPoints = 8;

}  // namespace

QString TitleAfterLoad(const QString& caption, const QString& fileName) {
  // The rule works on any text that keeps ASCII as it is; UTF-8 loses nothing.
  return QString::fromStdString(
      brimlow::TitleAfterLoad(caption.toStdString(), fileName.toStdString()));
}

TForm2::TForm2(QWidget* parent) : QMainWindow(parent), FCleaner(this), FDialogRunner(RunModal) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Tarvolt Brimlow - "));
  setWindowIcon(ProgramIcon());
  // Where Tahoma is missing, a narrow face keeps the designed column widths
  // readable.
  QFont font(QStringLiteral("Tahoma"), kFontPoints);
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial")});
  setFont(font);
  BuildForm2Ui(*this, ui);

  FLeftModel = new TDownloadsModel(this);
  FLeftModel->setObjectName(QStringLiteral("treeLeftModel"));
  FRightModel = new TDownloadsModel(this);
  FRightModel->setObjectName(QStringLiteral("treeRightModel"));
  FLeftModel->SetList(&FCleaner.Downloads());
  FRightModel->SetList(&FCleaner.Trash());
  FLeftModel->SetCategories(&FCleaner.Categories());
  FRightModel->SetCategories(&FCleaner.Categories());
  ShowSorted(*ui.treeLeft, *FLeftModel);
  ShowSorted(*ui.treeRight, *FRightModel);
  ConfigureDownloadsTree(*ui.treeLeft, TTreeKind::List);
  ConfigureDownloadsTree(*ui.treeRight, TTreeKind::Trash);

  ConnectHandlers();
  resize(kDesignWidth, kDesignHeight);
}

TForm2::~TForm2() {
  // The views may still ask their models while the children are destroyed;
  // the lists go first.
  FLeftModel->SetList(nullptr);
  FRightModel->SetList(nullptr);
  FLeftModel->SetCategories(nullptr);
  FRightModel->SetCategories(nullptr);
  FCleaner.SetFrontEnd(nullptr);
}

template <typename Handler>
void TForm2::OnTriggered(QAction* action, Handler handler) {
  connect(action, &QAction::triggered, this,
          [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TForm2::ConnectHandlers() {
  OnTriggered(ui.openDefault, &TForm2::openDefaultExecute);
  OnTriggered(ui.OpenWithDialog, &TForm2::OpenWithDialogExecute);
  OnTriggered(ui.N6, &TForm2::N6Click);
  OnTriggered(ui.move, &TForm2::moveExecute);
  OnTriggered(ui.doCopy, &TForm2::doCopyExecute);
  OnTriggered(ui.moveBack, &TForm2::moveBackExecute);
  OnTriggered(ui.doSelect, &TForm2::doSelectExecute);
  OnTriggered(ui.noSelection, &TForm2::noSelectionExecute);
  OnTriggered(ui.N10, &TForm2::N10Click);
  OnTriggered(ui.N11, &TForm2::N11Click);
  OnTriggered(ui.online1, &TForm2::online1Click);
  OnTriggered(ui.N13, &TForm2::N13Click);
  OnTriggered(ui.N14, &TForm2::N14Click);
  OnTriggered(ui.N16, &TForm2::N16Click);
  OnTriggered(ui.undoExecution, &TForm2::undoExecutionClick);
  ui.undoExecution->setEnabled(false);
  OnTriggered(ui.listOverview, &TForm2::listOverviewExecute);
  OnTriggered(ui.exportCsv, &TForm2::exportCsvExecute);
  OnTriggered(ui.exportTrashCsv, &TForm2::exportTrashCsvExecute);
  connect(ui.Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
  // The splitters report a drag once it is released.
  connect(ui.panes, &QSplitter::splitterMoved, this, [this](int, int handle) {
    Guarded([this, handle] { handle == 1 ? Splitter1Moved() : Splitter2Moved(); });
  });
  connect(FLeftModel, &TDownloadsModel::checkChanged, this,
          [this] { Guarded([this] { treeLeftChecked(); }); });
}

void TForm2::FormCreate() {
  FCleaner.StartUp();
}

void TForm2::ListLocated(const std::string& listName) {
  // The dialogs show this system's folders; a host path is mapped onto them.
  ui.saveDialog->setDirectory(FromAnsi(platform::localPathOf(platform::ExtractFileDir(listName))));
}

void TForm2::CategoriesChanged() {
  const TCategoryList& categories = FCleaner.Categories();
  FLeftModel->SetCategories(&categories);
  FRightModel->SetCategories(&categories);
  ui.catBox->clear();
  ui.catBox->addItem(FromUtf8(kAnyCategoryCaption));
  ui.catBox->setCurrentIndex(0);
  // Each category's item carries its ID, which the filter compares.
  for (int index = 0; index < categories.Count(); ++index)
    ui.catBox->addItem(FromAnsi(categories[index].Name).left(kMaxShownNameLength),
                       QVariant::fromValue(categories[index].ID));
}

void TForm2::ListLoaded(const std::string& fileName) {
  setWindowTitle(TitleAfterLoad(windowTitle(), FromAnsi(platform::ExtractFileName(fileName))));
}

void TForm2::openDefaultExecute() {
  FCleaner.OpenDefault();
}

void TForm2::OpenWithDialogExecute() {
  // The dialog starts in the current list's folder with the list chosen.
  ui.openDialog->selectFile(FromAnsi(platform::localPathOf(FCleaner.GetDefaultListName())));
  if (!FDialogRunner(*ui.openDialog)) return;
  const QStringList chosen = ui.openDialog->selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return;
  LoadList(ToAnsi(QDir::toNativeSeparators(chosen.front())));
}

void TForm2::N6Click() {
  close();
}

void TForm2::closeEvent(QCloseEvent* event) {
  // The filter processes window messages while it runs; closing then would
  // pull the list from under it.
  if (FBusy) {
    event->ignore();
    return;
  }
  Guarded([this] { FormClose(); });
  event->accept();
}

void TForm2::FormClose() {
  FCleaner.ControlHost(true);
}

void TForm2::SetDialogRunner(TModalRunner runner) {
  FDialogRunner = runner ? std::move(runner) : TModalRunner(RunModal);
}

void TForm2::UseDialogs(TreportForm* report, TaboutForm* about) {
  FReport = report;
  FAbout = about;
}

}  // namespace brimlow
