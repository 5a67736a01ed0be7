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
#include "app/treeSetup.h"
#include "data/categories.h"
#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"

namespace brimlow {

namespace {

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";
const std::string kListValue = "DefaultDownloadList";
const std::string kExeValue = "ExeFile";
const std::string kDefaultListPart = "Tarvolt\\lists\\default.xml";
const std::string kCategoryFilePart = "..\\nodelist.xml";

constexpr int kDesignWidth = 793;
constexpr int kDesignHeight = 597;
constexpr int kFontPoints = 8;

}  // namespace

ENoListFile::ENoListFile()
    : std::runtime_error(
          ToAnsi(QStringLiteral("Список закачек не загружен: откройте список, прежде чем "
                                "выполнять действие."))) {}

EListFileAppeared::EListFileAppeared(const std::string& fileName)
    : std::runtime_error(ToAnsi(QStringLiteral("Файл списка \"%1\" появился после того, как "
                                               "список был открыт пустым: откройте его заново.")
                                    .arg(FromAnsi(fileName)))) {}

QString TitleAfterLoad(const QString& caption, const QString& fileName) {
  const qsizetype dash = caption.indexOf(QStringLiteral(" -"));
  return (dash < 0 ? caption : caption.left(dash)) + QStringLiteral(" - ") + fileName;
}

TForm2::TForm2(QWidget* parent)
    : QMainWindow(parent),
      FDownloads(std::make_unique<TDownloadsList>()),
      FTrash(std::make_unique<TDownloadsList>()),
      FCategories(std::make_unique<TCategoryList>(std::string())),
      FDialogRunner(RunModal) {
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
  FLeftModel->SetList(FDownloads.get());
  FRightModel->SetList(FTrash.get());
  FLeftModel->SetCategories(FCategories.get());
  FRightModel->SetCategories(FCategories.get());
  ui.treeLeft->setModel(FLeftModel);
  ui.treeRight->setModel(FRightModel);
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
  connect(ui.Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
  // The splitters report a drag once it is released.
  connect(ui.panes, &QSplitter::splitterMoved, this, [this](int, int handle) {
    Guarded([this, handle] { handle == 1 ? Splitter1Moved() : Splitter2Moved(); });
  });
  connect(FLeftModel, &TDownloadsModel::checkChanged, this,
          [this] { Guarded([this] { treeLeftChecked(); }); });
}

void TForm2::FormCreate() {
  InitBackups();

  const std::string listName = GetDefaultListName();
  auto categories = std::make_unique<TCategoryList>(
      platform::JoinPath(platform::ExtractFileDir(listName), kCategoryFilePart));
  FLeftModel->SetCategories(categories.get());
  FRightModel->SetCategories(categories.get());
  FCategories = std::move(categories);

  ui.saveDialog->setDirectory(FromAnsi(platform::ExtractFileDir(GetDefaultListName())));

  ControlHost(false);
  FillCategoryBox();
  openDefaultExecute();
  UpdateStatistics();
}

void TForm2::FillCategoryBox() {
  ui.catBox->clear();
  ui.catBox->addItem(QStringLiteral("Любая"));
  ui.catBox->setCurrentIndex(0);
  for (int index = 0; index < FCategories->Count(); ++index)
    ui.catBox->addItem(FromAnsi((*FCategories)[index].Name).left(kMaxShownNameLength));
}

std::string TForm2::GetDefaultListName() {
  platform::Platform& os = platform::current();
  std::string result;
  if (os.registryKeyExists(kHostKey)) {
    if (std::optional<std::string> list = os.readRegistryText(kHostKey, kListValue)) result = *list;
    if (std::optional<std::string> exe = os.readRegistryText(kHostKey, kExeValue))
      FHostExeFile = *exe;
  }
  if (result.empty())
    result = platform::JoinPath(os.environmentVariable("APPDATA").value_or(std::string()),
                                kDefaultListPart);
  return result;
}

void TForm2::LoadList(const std::string& fileName) {
  // The new lists are complete before the old ones go, so a list that cannot
  // be read leaves the window, its marks and its title as they were.
  const bool existed = platform::current().fileExists(fileName);
  auto downloads = std::make_unique<TDownloadsList>(fileName);
  auto trash = std::make_unique<TDownloadsList>();
  FLeftModel->SetList(downloads.get());
  FRightModel->SetList(trash.get());
  FDownloads = std::move(downloads);
  FTrash = std::move(trash);
  FListFileExisted = existed;
  FLoadedCount = FDownloads->Count();
  UpdateStatistics();
  setWindowTitle(TitleAfterLoad(windowTitle(), FromAnsi(platform::ExtractFileName(fileName))));
}

void TForm2::openDefaultExecute() {
  LoadList(GetDefaultListName());
}

void TForm2::OpenWithDialogExecute() {
  const std::string current = GetDefaultListName();
  // The dialog starts in the current list's folder with the list chosen.  A
  // host path that this system cannot show (a Windows path under POSIX) is
  // left out, and the dialog starts where it last was.
#ifndef Q_OS_WIN
  if (!platform::isWindowsPath(current))
#endif
    ui.openDialog->selectFile(FromAnsi(current));
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
  ControlHost(true);
}

void TForm2::SetDialogRunner(TModalRunner runner) {
  FDialogRunner = runner ? std::move(runner) : TModalRunner(RunModal);
}

void TForm2::UseDialogs(TreportForm* report, TaboutForm* about) {
  FReport = report;
  FAbout = about;
}

bool TForm2::HasListFile() const {
  return !FDownloads->FileName().empty();
}

void TForm2::RequireListFile() const {
  if (!HasListFile()) throw ENoListFile();
  if (!FListFileExisted && platform::current().fileExists(FDownloads->FileName()))
    throw EListFileAppeared(FDownloads->FileName());
}

}  // namespace brimlow
