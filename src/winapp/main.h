#pragma once

// The main window: the list of the host's downloads on the left with the
// filter, the transfer buttons and statistics in the middle, the trash and
// what to do with it on the right.  The workflow itself is the cleaner's; the
// window shows what it answers and forwards what the user does.

#include <windows.h>
// After the system header it needs.
#include <commdlg.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "winapp/application.h"
#include "winapp/mainUi.h"
#include "workflow/cleaner.h"
#include "workflow/paneLayout.h"

namespace brimlow {

class TDownloadsView;
class TOverviewForm;
class TreportForm;
class TaboutForm;

// Runs the system's open or save dialog on a prepared structure and answers
// whether the user chose a file; tests answer in the user's place.
using TFileDialogRunner = std::function<bool(OPENFILENAMEW& dialog, bool save)>;
bool RunFileDialog(OPENFILENAMEW& dialog, bool save);

class TForm2 final : private TCleanerFrontEnd {
 public:
  TForm2();
  ~TForm2() override;
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  HWND Handle() const { return FHandle; }
  // The program ends when the window is destroyed.
  void QuitOnDestroy() { FQuitOnDestroy = true; }

  // The start-up sequence; a failure ends it at the failing step.
  void FormCreate();

  void LoadList(const std::string& fileName);
  void openDefaultExecute();
  void OpenWithDialogExecute();
  void N6Click();

  void moveExecute();
  void doCopyExecute();
  void moveBackExecute();
  void treeLeftChecked();
  void doSelectExecute();
  void noSelectionExecute();
  TFilterInputs ReadFilterInputs() const;
  // "Обзор списка": opens the overview, or brings it up to date.
  void listOverviewExecute();
  // A row of the overview chosen: the filter controls take its setting and
  // the filter runs.
  void ApplyFilterInputs(const TFilterInputs& inputs);
  TOverviewForm* Overview() const { return FOverview.get(); }
  // "Экспорт в CSV" of the list, and of the trash.
  void exportCsvExecute();
  void exportTrashCsvExecute();

  void Button2Click();
  void undoExecutionClick();
  TTrashAction ChosenAction() const;
  void BackupMenuClick(int index);

  void N10Click();
  void N11Click();
  void online1Click();
  void N13Click();
  void N14Click();
  void N16Click();

  void FormResize();
  void Splitter1Moved(int left);
  void Splitter2Moved(int left);
  // The widths the panes have now: left, middle, right.
  std::array<int, 3> PaneWidths() const;

  TCleaner& Cleaner() { return FCleaner; }
  const TForm2Ui& Ui() const { return ui; }
  TDownloadsView& LeftView() const { return *FLeftView; }
  TDownloadsView& RightView() const { return *FRightView; }
  TreportForm& Report() const { return *FReport; }
  TaboutForm& About() const { return *FAbout; }
  const std::string& Caption() const { return FCaption; }

  void SetDialogRunner(TModalRunner runner);
  void SetFileDialogRunner(TFileDialogRunner runner);

 private:
  template <typename Form>
  friend LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // True once the controls exist, so that messages reach Dispatch.
  bool Ready() const;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Command(int id);
  // A key that only the lists read: the commands bound to it in that list.
  void ListKey(TShortcutScope list);
  LRESULT Notify(const NMHDR& header);
  void FormClose();
  void FillCategoryBox();
  void SetCaption(const std::string& fileName);
  void ShowReportTexts(const TExecutionReportTexts& texts);
  void ApplyPaneWidths(const TPaneWidths& asked, TPaneAnchor anchor);
  void LayoutPanes();
  int OuterWidth() const;
  void SetBusy(bool busy, const wchar_t* status);
  void ExportCsv(const TDownloadsList& list);
  // An open overview follows the changes of the list's records.
  void RefreshOverview();

  std::optional<std::string> AskSeparateListName() override;
  void ShowStatistics(const TStatistics& statistics) override;
  void WhileLoading(const std::function<void()>& load) override;
  void BackupNamesChanged() override;
  void ListLocated(const std::string& listName) override;
  void CategoriesChanged() override;
  void ListLoaded(const std::string& fileName) override;
  void HostWaitStarted() override;
  void HostWaitPause(std::chrono::milliseconds pause) override;
  void HostWaitEnded() override;

  HWND FHandle = nullptr;
  TForm2Ui ui;
  TCleaner FCleaner;
  std::unique_ptr<TDownloadsView> FLeftView;
  std::unique_ptr<TDownloadsView> FRightView;
  std::unique_ptr<TreportForm> FReport;
  std::unique_ptr<TaboutForm> FAbout;
  std::unique_ptr<TOverviewForm> FOverview;
  uint64_t FOverviewRevision = 0;  // of the list the overview shows
  TModalRunner FDialogRunner = RunModal;
  TFileDialogRunner FFileDialogRunner = RunFileDialog;
  std::string FCaption = "Tarvolt Brimlow - ";
  std::string FSaveFolder;  // the save dialog's folder, set at start-up only
  std::array<int, 3> FPaneWidths{294, 170, 345};
  bool FBusy = false;  // a list loads, the filter runs, or the window waits for the host
  bool FQuitOnDestroy = false;
};

}  // namespace brimlow
