#pragma once

// The main window: the list of the host's downloads on the left with the
// filter, the transfer buttons and statistics in the middle, the trash and
// what to do with it on the right.

#include <QMainWindow>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/filter.h"
#include "app/mainUi.h"
#include "app/modal.h"
#include "app/paneLayout.h"

class QFileDialog;

namespace brimlow {

class TCategoryList;
class TDownloadsList;
class TDownloadsModel;
class TaboutForm;
class TreportForm;
struct TReport;

// True when a running process's executable is `exeName`: the file name part
// of one of its texts, or the whole text, compared with a to z upper-cased.
// False when no snapshot of the processes can be taken.
bool IsProcessRunning(const std::string& exeName);

// Asks the desktop shell to open a document or a web address; the outcome is
// not looked at.
void ShellOpen(const std::string& target);

// What "Выполнить" does with the trash.
enum class TTrashAction { SaveSeparately, Delete, DeleteWithFiles, DeleteFilesOnly };

// An execution was asked for while no list file is loaded (the start-up or
// the first load failed): nothing may be written.
class ENoListFile : public std::runtime_error {
 public:
  ENoListFile();
};

// The list was opened from a file that did not exist, and a file of that
// name has appeared since: writing the (empty) list would replace it.
class EListFileAppeared : public std::runtime_error {
 public:
  explicit EListFileAppeared(const std::string& fileName);
};

// The window title after loading `fileName`: the caption up to its first
// " -", then " - " and the file's name.
QString TitleAfterLoad(const QString& caption, const QString& fileName);

class TForm2 final : public QMainWindow {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm2)

 public:
  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  // The start-up sequence; a failure ends it at the failing step.
  void FormCreate();

  // The path of the host's current list; refreshes FHostExeFile.
  std::string GetDefaultListName();
  // Replaces the loaded list and empties the trash.  A list that fails to
  // load leaves the window as it was.
  void LoadList(const std::string& fileName);

  void openDefaultExecute();
  void OpenWithDialogExecute();
  void N6Click();

  void moveExecute();
  void doCopyExecute();
  void moveBackExecute();
  void TransferChecked(TDownloadsModel& source, TDownloadsModel& target, bool unmark, bool remove);
  void UpdateStatistics();
  void treeLeftChecked();

  void doSelectExecute();
  void noSelectionExecute();
  // The filter criteria as the controls stand.
  TFilterInputs ReadFilterInputs() const;

  // The backup copies and their submenu "Резервные".
  void InitBackups();
  void FillBackupMenu();
  void AddBackupMenuItem(const std::string& path);
  // The full path of a new, free backup name; its item is added to the
  // submenu and the name is reserved at once.
  std::string MakeBackupName();
  void BackupMenuClick(const QAction& item);

  // Asks a running host to exit (and waits a while for it to end), or starts
  // it again.
  void ControlHost(bool restart);
  // How long an exit request waits for the host to end, polling the process
  // list; tests shorten it.
  void SetHostExitWait(std::chrono::milliseconds timeout, std::chrono::milliseconds poll);

  void Button2Click();
  TTrashAction ChosenAction() const;
  // Throws ENoListFile unless a list file is loaded, and EListFileAppeared
  // when it was loaded as missing and exists now; an execution calls it
  // before it writes anything.
  void RequireListFile() const;
  bool HasListFile() const;

  // The help menu.
  void N10Click();
  void N11Click();
  void online1Click();
  void N13Click();
  void N14Click();
  void N16Click();

  // The pane layout.
  void FormResize();
  void Splitter1Moved();
  void Splitter2Moved();

  // The dialogs the program entry creates beside the window (not owned).
  void UseDialogs(TreportForm* report, TaboutForm* about);

  TDownloadsList& Downloads() const { return *FDownloads; }
  TDownloadsList& Trash() const { return *FTrash; }
  const TCategoryList& Categories() const { return *FCategories; }
  TDownloadsModel& LeftModel() const { return *FLeftModel; }
  TDownloadsModel& RightModel() const { return *FRightModel; }
  const std::string& HostExeFile() const { return FHostExeFile; }
  int32_t LoadedCount() const { return FLoadedCount; }
  const TForm2Ui& Ui() const { return ui; }
  const std::string& BackupDir() const { return FBackupDir; }
  const std::vector<std::string>& BackupNames() const { return FBackupNames; }

  // Runs a dialog (file dialogs, the report, the about dialog) modally and
  // answers whether the user accepted it; tests answer in the user's place.
  void SetDialogRunner(TModalRunner runner);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormClose();
  void ConnectHandlers();
  void FillCategoryBox();
  template <typename Handler>
  void OnTriggered(QAction* action, Handler handler);

  // The execution's steps.
  std::optional<std::string> AskSeparateListName();
  void WaitForHostToEnd();
  void SaveList();
  int DeleteTrashFiles();
  std::vector<int> TrashRowsMissingFromList() const;
  void SaveWithTrashPutBack();
  void ShowExecutionReport(const TReport& report);

  void ApplyPaneWidths(const TPaneWidths& asked, TPaneAnchor anchor);
  std::string ProgramFolder() const;

  TForm2Ui ui;
  TDownloadsModel* FLeftModel = nullptr;
  TDownloadsModel* FRightModel = nullptr;

  std::unique_ptr<TDownloadsList> FDownloads;
  std::unique_ptr<TDownloadsList> FTrash;
  std::unique_ptr<TCategoryList> FCategories;
  std::string FHostExeFile;
  int32_t FLoadedCount = 0;
  bool FListFileExisted = false;  // when it was loaded, or since written
  std::string FBackupDir;
  std::vector<std::string> FBackupNames;

  TModalRunner FDialogRunner;
  TreportForm* FReport = nullptr;
  TaboutForm* FAbout = nullptr;
  std::chrono::milliseconds FHostExitTimeout{10000};
  std::chrono::milliseconds FHostExitPoll{100};
  bool FBusy = false;  // the filter runs, or the window waits for the host
};

}  // namespace brimlow
