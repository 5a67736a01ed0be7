#pragma once

// The main window: the list of the host's downloads on the left with the
// filter, the transfer buttons and statistics in the middle, the trash and
// what to do with it on the right.

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/filter.h"
#include "app/mainUi.h"

class QFileDialog;

namespace brimlow {

class TCategoryList;
class TDownloadsList;
class TDownloadsModel;

// An execution was asked for while no list file is loaded (the start-up or
// the first load failed): nothing may be written.
class ENoListFile : public std::runtime_error {
 public:
  ENoListFile();
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

  void InitBackups();
  void ControlHost(bool restart);
  void Button2Click();
  // Throws ENoListFile unless a list file is loaded; an execution calls it
  // before it writes anything.
  void RequireListFile() const;
  bool HasListFile() const;

  TDownloadsList& Downloads() const { return *FDownloads; }
  TDownloadsList& Trash() const { return *FTrash; }
  const TCategoryList& Categories() const { return *FCategories; }
  TDownloadsModel& LeftModel() const { return *FLeftModel; }
  TDownloadsModel& RightModel() const { return *FRightModel; }
  const std::string& HostExeFile() const { return FHostExeFile; }
  int32_t LoadedCount() const { return FLoadedCount; }
  const TForm2Ui& Ui() const { return ui; }

  // Runs a file dialog modally and answers whether the user accepted it;
  // tests answer in the user's place.
  using TDialogRunner = std::function<bool(QFileDialog& dialog)>;
  void SetDialogRunner(TDialogRunner runner);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormClose();
  void ConnectHandlers();
  void FillCategoryBox();
  template <typename Handler>
  void OnTriggered(QAction* action, Handler handler);

  TForm2Ui ui;
  TDownloadsModel* FLeftModel = nullptr;
  TDownloadsModel* FRightModel = nullptr;

  std::unique_ptr<TDownloadsList> FDownloads;
  std::unique_ptr<TDownloadsList> FTrash;
  std::unique_ptr<TCategoryList> FCategories;
  std::string FHostExeFile;
  int32_t FLoadedCount = 0;
  std::string FBackupDir;
  std::vector<std::string> FBackupNames;

  TDialogRunner FDialogRunner;
  bool FBusy = false;  // the filter runs
};

}  // namespace brimlow
