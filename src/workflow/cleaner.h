#pragma once

// The cleaning workflow of the main window, without any toolkit: the opened
// list and the trash with their marks, the categories, the filter run, the
// moves between the two lists with their statistics, the execution of the
// trash action with its backup copy and report, the backup copies, and the
// control of the host.  A front-end (a window, or the command line) shows
// what it answers and forwards what the user does; what only a front-end can
// do reaches it through TCleanerFrontEnd.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "workflow/executionReport.h"
#include "workflow/filter.h"
#include "workflow/listFileWitness.h"
#include "workflow/markedList.h"
#include "workflow/overview.h"
#include "workflow/repeatGroups.h"
#include "workflow/statistics.h"

namespace brimlow {

class TCategoryList;

struct TExecutionRequest {
  TTrashAction action = TTrashAction::Delete;
  bool makeBackup = true;
  // The separate list's file for SaveSeparately; when none is given the
  // front-end is asked for it.
  std::optional<std::string> separateListName;
  // The file actions move each file to the system's recycle bin instead of
  // erasing it; a file no bin takes stays where it is.
  bool recycle = false;
};

// What putting a backup copy back did: the copy that now holds the list's
// text from before, and what became of the files the copy's execution had
// moved to the recycle bin.
struct TRestoreReport {
  std::string list;
  std::string restored;  // the backup copy put back
  std::string backup;    // the list's text from before, as a new copy; empty without one
  int restoredFiles = 0;
  int placeTakenFiles = 0;  // another file lies where it was: it stays in the bin
  int goneFiles = 0;        // the bin no longer holds it
  int failedFiles = 0;
  // What the report dialog shows of it: the list put back, the files, and
  // the copy that holds the list from before.
  TExecutionReportTexts Texts() const;
};

// Two names of one file as far as the names tell: the same path on this
// system, letter case ignored (as Windows and the host's paths under Wine do).
bool SameFileName(const std::string& a, const std::string& b);

// What a window shows while the host is asked to exit and awaited, in the
// active code page.
std::string HostWaitText();

// The window title after loading `fileName`: the caption up to its first
// " -", then " - " and the file's name.
std::string TitleAfterLoad(const std::string& caption, const std::string& fileName);

// Reports how far the filter has come, before each block of downloads and at
// the end; a window keeps painting in it.
using TFilterProgress = std::function<void(int done, int total)>;

// What only a front-end can do.  Every answer has a default that needs no
// user: no file name, no waiting but the clock.
class TCleanerFrontEnd {
 public:
  virtual ~TCleanerFrontEnd() = default;
  // The file for the trash's separate list; none when the user declines.
  virtual std::optional<std::string> AskSeparateListName() { return std::nullopt; }
  // After every change of the lists or of the marks.
  virtual void ShowStatistics(const TStatistics& /*statistics*/) {}
  // The host's list was located at start-up, before anything is loaded.
  virtual void ListLocated(const std::string& /*listName*/) {}
  // A list was loaded in place of the last (the title shows its name).
  virtual void ListLoaded(const std::string& /*fileName*/) {}
  // Other categories were read.
  virtual void CategoriesChanged() {}
  // The known backup names changed (the folder was listed, a name was taken).
  virtual void BackupNamesChanged() {}
  // Runs the reading of a list file, which takes seconds for a large one; a
  // window keeps painting meanwhile.  What `load` throws comes out of here.
  virtual void WhileLoading(const std::function<void()>& load) { load(); }
  // The wait for the host to end: its start, each pause, its end.
  virtual void HostWaitStarted() {}
  virtual void HostWaitPause(std::chrono::milliseconds pause);
  virtual void HostWaitEnded() {}
};

class TCleaner {
 public:
  explicit TCleaner(TCleanerFrontEnd* frontEnd = nullptr);
  ~TCleaner();
  TCleaner(const TCleaner&) = delete;
  TCleaner& operator=(const TCleaner&) = delete;

  void SetFrontEnd(TCleanerFrontEnd* frontEnd);

  // The start-up sequence: the backup folder and its copies, the host's
  // list located and its categories read, a running host asked to exit, the
  // list loaded, the statistics.  A failure ends it at the failing step.
  void StartUp();
  // The path of the host's current list: the registry's, or else the default
  // under APPDATA; refreshes HostExeFile.
  std::string GetDefaultListName();
  // The categories of the category file that belongs to the list.
  void LoadCategoriesFor(const std::string& listName);
  // Replaces the loaded list and empties the trash.  A list that fails to
  // load leaves everything as it was.
  void LoadList(const std::string& fileName);
  void OpenDefault();

  TMarkedList& Downloads() { return FDownloads; }
  const TMarkedList& Downloads() const { return FDownloads; }
  TMarkedList& Trash() { return FTrash; }
  const TMarkedList& Trash() const { return FTrash; }
  const TCategoryList& Categories() const { return *FCategories; }
  const std::string& HostExeFile() const { return FHostExeFile; }
  int32_t LoadedCount() const { return FLoadedCount; }

  // Marking: the filter over the list's marks, and every mark cleared.
  void RunFilter(const TFilterInputs& inputs, const TFilterProgress& progress = {});
  void ClearMarks();

  // The marked records of `source` are appended to `target` in order; a move
  // deletes them from the source, a copy may clear their marks.
  void TransferChecked(TMarkedList& source, TMarkedList& target, bool unmark, bool remove);
  void Move() { TransferChecked(FDownloads, FTrash, true, true); }
  void Copy(bool unmark) { TransferChecked(FDownloads, FTrash, unmark, false); }
  void MoveBack() { TransferChecked(FTrash, FDownloads, true, true); }

  // The groups of repeated downloads in the list, found again after each
  // change of its records (never after a change of the marks alone).
  const TRepeatGroups& Repeats() const;
  // The list broken down one way.
  TOverview Overview(TOverviewAxis axis) const;

  TStatistics Statistics() const;
  // Hands the statistics to the front-end.
  void UpdateStatistics();

  // "Выполнить": a running host is asked to exit, the list file must still
  // hold what was loaded, the backup copy, the rewrite of the list and the
  // action on the trash.  None when the separate list's name was declined:
  // nothing happened then.  A failure ends it at the failing step; the trash
  // stays as it was.
  std::optional<TExecutionReport> Execute(const TExecutionRequest& request);
  // What Execute would report, changing nothing and reserving no name.
  TExecutionReport PreviewExecution(const TExecutionRequest& request) const;
  // Throws ENoListFile unless a list file is loaded, and EListFileAppeared
  // when it was loaded as missing and exists now.
  void RequireListFile() const;
  bool HasListFile() const;

  // Puts the backup copy back in place of the list file, byte for byte and
  // all or nothing, after a running host was asked to exit and the list's
  // current text was saved as a new backup copy; then, unless `listOnly`,
  // the files that the copy's execution moved to the recycle bin go back.
  // The copy must be a list.  The loaded list is not touched.
  TRestoreReport RestoreBackup(const std::string& backupPath, const std::string& listFile,
                               bool listOnly = false);
  // True after an execution of this run that made a backup copy, while its
  // list is still the one loaded.
  bool CanUndo() const { return !FUndoBackup.empty(); }
  // Undoes the last such execution: the list file must still hold what it
  // wrote (EListFileChanged otherwise), the backup copy and the recycled
  // files go back as RestoreBackup does, and the list is loaded again.
  TRestoreReport UndoLastExecution();

  // The backup copies: the folder, the names found in it, and new names.
  // Without `makeFolder` the folder is chosen as it would be, but nothing is
  // made (a dry run).
  void InitBackups(bool makeFolder = true);
  // Lists the backup folder's copies anew.
  void FillBackupMenu();
  // The full path of a new, free backup name; the name is reserved at once.
  std::string MakeBackupName();
  // Opens the copy of that name in the backup folder.
  void OpenBackup(const std::string& name);
  const std::string& BackupDir() const { return FBackupDir; }
  const std::vector<std::string>& BackupNames() const { return FBackupNames; }

  // Asks a running host to exit and waits a while for it to end, or starts
  // it again.
  void ControlHost(bool restart);
  // Without host control nothing is asked of the host or started (a script's
  // choice); on by default.
  void SetHostControl(bool enabled) { FHostControl = enabled; }
  // How long an exit request waits, polling the process list.
  void SetHostExitWait(std::chrono::milliseconds timeout, std::chrono::milliseconds poll);

 private:
  std::string FreeBackupNameNow() const;
  void SaveList();
  void RemoveFiles(bool recycle, TExecutionReport& report);
  TRestoreReport PutBackCopy(const std::string& backupPath, const std::string& listFile,
                             const std::string& restored, bool listOnly);
  // The downloads of the list whose drive or share cannot be reached now,
  // counted anew when the list's downloads change.
  void RecountUnreachable();
  std::vector<int> TrashRowsMissingFromList() const;
  void SaveWithTrashPutBack();
  void WaitForHostToEnd();

  TCleanerFrontEnd* FFrontEnd;
  TMarkedList FDownloads;
  TMarkedList FTrash;
  std::unique_ptr<TCategoryList> FCategories;
  std::string FHostExeFile;
  int32_t FLoadedCount = 0;
  // What the list file held when loaded or last written here; none before a
  // list file was loaded.
  std::optional<TListFileWitness> FListFile;
  // The backup copy of the last execution, while it can be undone.
  std::string FUndoBackup;
  int FUnreachableCount = 0;
  std::string FBackupDir;
  std::vector<std::string> FBackupNames;
  bool FHostControl = true;
  std::chrono::milliseconds FHostExitTimeout{10000};
  std::chrono::milliseconds FHostExitPoll{100};
  mutable TRepeatGroups FRepeats;
  mutable std::optional<uint64_t> FRepeatsRevision;  // of FDownloads, when found
};

}  // namespace brimlow
