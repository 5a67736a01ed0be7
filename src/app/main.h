#pragma once

// The main window: the list of the host's downloads on the left with the
// filter, the transfer buttons and statistics in the middle, the trash and
// what to do with it on the right.  The workflow itself is the cleaner's; the
// window shows what it answers and forwards what the user does.

#include <QMainWindow>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/mainUi.h"
#include "app/modal.h"
#include "workflow/cleaner.h"
#include "workflow/paneLayout.h"

namespace brimlow {

class TDownloadsModel;
class TOverviewForm;
class TaboutForm;
class TreportForm;

// The window title after loading `fileName`: the caption up to its first
// " -", then " - " and the file's name.
QString TitleAfterLoad(const QString& caption, const QString& fileName);

class TForm2 final : public QMainWindow, private TCleanerFrontEnd {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm2)

 public:
  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  // The start-up sequence; a failure ends it at the failing step.
  void FormCreate();

  // The path of the host's current list; refreshes the host's executable.
  std::string GetDefaultListName() { return FCleaner.GetDefaultListName(); }
  // Replaces the loaded list and empties the trash.  A list that fails to
  // load leaves the window as it was.
  void LoadList(const std::string& fileName) { FCleaner.LoadList(fileName); }

  void openDefaultExecute();
  void OpenWithDialogExecute();
  void N6Click();

  void moveExecute();
  void doCopyExecute();
  void moveBackExecute();
  void UpdateStatistics() { FCleaner.UpdateStatistics(); }
  void treeLeftChecked();

  void doSelectExecute();
  void noSelectionExecute();
  // "Обзор списка": opens the overview, or brings it up to date.
  void listOverviewExecute();
  // A row of the overview chosen: the filter controls take its setting and
  // the filter runs.
  void ApplyFilterInputs(const TFilterInputs& inputs);
  TOverviewForm* Overview() const { return FOverview; }
  // "Экспорт в CSV" of the list, and of the trash.
  void exportCsvExecute();
  void exportTrashCsvExecute();
  // The filter criteria as the controls stand.
  TFilterInputs ReadFilterInputs() const;

  // The backup copies and their submenu "Резервные".
  void InitBackups() { FCleaner.InitBackups(); }
  void FillBackupMenu() { FCleaner.FillBackupMenu(); }
  // The full path of a new, free backup name; its item is added to the
  // submenu and the name is reserved at once.
  std::string MakeBackupName() { return FCleaner.MakeBackupName(); }
  void BackupMenuClick(const QAction& item);

  // Asks a running host to exit (and waits a while for it to end), or starts
  // it again.
  void ControlHost(bool restart) { FCleaner.ControlHost(restart); }
  void SetHostExitWait(std::chrono::milliseconds timeout, std::chrono::milliseconds poll) {
    FCleaner.SetHostExitWait(timeout, poll);
  }

  void Button2Click();
  void undoExecutionClick();
  TTrashAction ChosenAction() const;
  bool HasListFile() const { return FCleaner.HasListFile(); }

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

  // The workflow the window shows.
  TCleaner& Cleaner() { return FCleaner; }
  TDownloadsList& Downloads() { return FCleaner.Downloads().List(); }
  TDownloadsList& Trash() { return FCleaner.Trash().List(); }
  const TCategoryList& Categories() const { return FCleaner.Categories(); }
  TDownloadsModel& LeftModel() const { return *FLeftModel; }
  TDownloadsModel& RightModel() const { return *FRightModel; }
  const std::string& HostExeFile() const { return FCleaner.HostExeFile(); }
  int32_t LoadedCount() const { return FCleaner.LoadedCount(); }
  const TForm2Ui& Ui() const { return ui; }
  const std::string& BackupDir() const { return FCleaner.BackupDir(); }
  const std::vector<std::string>& BackupNames() const { return FCleaner.BackupNames(); }

  // Runs a dialog (file dialogs, the report, the about dialog) modally and
  // answers whether the user accepted it; tests answer in the user's place.
  void SetDialogRunner(TModalRunner runner);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormClose();
  void ConnectHandlers();
  template <typename Handler>
  void OnTriggered(QAction* action, Handler handler);
  void ShowReportTexts(const TExecutionReportTexts& texts);
  void ApplyPaneWidths(const TPaneWidths& asked, TPaneAnchor anchor);
  void ExportCsv(const TDownloadsList& list);
  // An open overview follows the changes of the list's records.
  void RefreshOverview();

  // What the workflow asks of the window.
  std::optional<std::string> AskSeparateListName() override;
  void ListLocated(const std::string& listName) override;
  void CategoriesChanged() override;
  void ListLoaded(const std::string& fileName) override;
  void ShowStatistics(const TStatistics& statistics) override;
  void WhileLoading(const std::function<void()>& load) override;
  void BackupNamesChanged() override;
  void HostWaitStarted() override;
  void HostWaitPause(std::chrono::milliseconds pause) override;
  void HostWaitEnded() override;

  TForm2Ui ui;
  TCleaner FCleaner;
  TDownloadsModel* FLeftModel = nullptr;
  TDownloadsModel* FRightModel = nullptr;

  TModalRunner FDialogRunner;
  TreportForm* FReport = nullptr;
  TaboutForm* FAbout = nullptr;
  bool FBusy = false;  // the filter runs, or the window waits for the host
  TOverviewForm* FOverview = nullptr;
  uint64_t FOverviewRevision = 0;  // of the list the overview shows
};

}  // namespace brimlow
