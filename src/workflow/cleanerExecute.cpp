// TCleaner: "Выполнить": the backup copy, the rewrite of the loaded list and
// the chosen action on the trash, ended by the report's values.
#include <algorithm>
#include <unordered_map>

#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/cleaner.h"
#include "workflow/trashFiles.h"
#include "workflow/workflowErrors.h"

namespace brimlow {

bool SameFileName(const std::string& a, const std::string& b) {
  platform::Platform& os = platform::current();
  return os.lowerCase(platform::localPathOf(a)) == os.lowerCase(platform::localPathOf(b));
}

bool TCleaner::HasListFile() const {
  return !FDownloads.List().FileName().empty();
}

void TCleaner::RequireListFile() const {
  if (!HasListFile() || !FListFile) throw ENoListFile();
  const std::string& fileName = FDownloads.List().FileName();
  if (*FListFile == TListFileWitness::Missing() && platform::current().fileExists(fileName))
    throw EListFileAppeared(fileName);
  // Every action rewrites the list.
  if (FDownloads.List().CharactersLost()) throw ECharactersLost(fileName);
}

std::optional<TExecutionReport> TCleaner::Execute(const TExecutionRequest& request) {
  RequireListFile();
  // The separate list's name is asked before anything happens, so that a
  // declined name leaves everything as it was.
  std::string separateList;
  if (request.action == TTrashAction::SaveSeparately) {
    const std::optional<std::string> name =
        request.separateListName ? request.separateListName : FFrontEnd->AskSeparateListName();
    if (!name || name->empty()) return std::nullopt;
    separateList = *name;
    if (SameFileName(separateList, FDownloads.List().FileName()))
      throw ESeparateListIsTheList(separateList);
  }

  ControlHost(false);
  // The host writes its list as it ends; nothing is written over what it
  // wrote.
  FListFile->RequireUnchanged(FDownloads.List().FileName());

  TExecutionReport report;
  report.action = request.action;
  report.trashCount = FTrash.Count();
  if (request.makeBackup) {
    report.backupPath = MakeBackupName();
    FDownloads.List().SaveLoadedText(report.backupPath);
  }

  // A failure from here on leaves the trash as it is: it is emptied only
  // once everything it takes part in is written.
  switch (request.action) {
    case TTrashAction::SaveSeparately:
      SaveList();
      FTrash.List().SaveToFile(separateList);
      break;
    case TTrashAction::Delete: SaveList(); break;
    case TTrashAction::DeleteWithFiles:
      SaveList();
      RemoveFiles(request.recycle, report);
      break;
    case TTrashAction::DeleteFilesOnly:
      SaveWithTrashPutBack();
      RemoveFiles(request.recycle, report);
      break;
  }
  FTrash.ClearAll();
  if (request.makeBackup) FUndoBackup = report.backupPath;
  RecountUnreachable();
  UpdateStatistics();

  report.removed = FLoadedCount - FDownloads.Count();
  FLoadedCount = FDownloads.Count();
  return report;
}

TExecutionReport TCleaner::PreviewExecution(const TExecutionRequest& request) const {
  RequireListFile();
  TExecutionReport report;
  report.action = request.action;
  report.trashCount = FTrash.Count();
  if (request.makeBackup) report.backupPath = platform::JoinPath(FBackupDir, FreeBackupNameNow());
  int listCount = FDownloads.Count();
  if (request.action == TTrashAction::DeleteFilesOnly)
    listCount += static_cast<int>(TrashRowsMissingFromList().size());
  report.removed = FLoadedCount - listCount;
  return report;
}

void TCleaner::SaveList() {
  const TDownloadsList& list = FDownloads.List();
  list.Save();
  // The file is this program's own now; it is read back, so that what a
  // later execution expects is what reached the disk.
  FListFile = TListFileWitness::OfFile(list.FileName());
}

void TCleaner::RemoveFiles(bool recycle, TExecutionReport& report) {
  const TFilePassOutcome outcome = RemoveTrashFiles(FTrash.List(), FDownloads.List(), recycle);
  report.recycledFiles = outcome.recycled;
  report.recycledSize = outcome.recycledSize;
  report.erasedFiles = outcome.erased;
  report.absentFiles = outcome.absent;
  report.sharedFilesKept = outcome.shared;
  report.noRecycleBinFiles = outcome.noBin;
  report.undeletedFiles = outcome.failed + outcome.noBin;
  if (report.backupPath.empty()) return;
  // The list is written already: a record that cannot be written costs only
  // the way back for the recycled files, and the report says so.
  try {
    platform::replaceFileContents(FilesRecordPath(report.backupPath),
                                  FilesRecordText(outcome.record));
  } catch (const platform::EPlatformError&) {
    report.filesRecordLost = !outcome.record.recycled.empty();
  }
}

std::vector<int> TCleaner::TrashRowsMissingFromList() const {
  // A trash entry that was copied, not moved, is still in the list; putting
  // it back would list that download twice.
  const TDownloadsList& list = FDownloads.List();
  const TDownloadsList& trash = FTrash.List();
  std::unordered_multimap<uint32_t, const Tdownload*> listed;
  for (int i = 0; i < list.Count(); ++i)
    listed.emplace(list[i].ID, &list[i]);
  std::vector<int> rows;
  for (int i = 0; i < trash.Count(); ++i) {
    const Tdownload& entry = trash[i];
    const auto [first, last] = listed.equal_range(entry.ID);
    const bool present =
        std::any_of(first, last, [&](const auto& item) { return *item.second == entry; });
    if (present) continue;
    rows.push_back(i);
    listed.emplace(entry.ID, &entry);
  }
  return rows;
}

void TCleaner::SaveWithTrashPutBack() {
  // Only the files go: the entries return to the end of the list, in trash
  // order, before it is written.  If the list cannot be written they leave
  // it again, and the trash is as it was.
  const int before = FDownloads.Count();
  FDownloads.AppendCopies(FTrash.List(), TrashRowsMissingFromList());
  try {
    SaveList();
  } catch (...) {
    std::vector<int> added;
    for (int row = before; row < FDownloads.Count(); ++row)
      added.push_back(row);
    FDownloads.RemoveRows(added);
    UpdateStatistics();
    throw;
  }
}

}  // namespace brimlow
