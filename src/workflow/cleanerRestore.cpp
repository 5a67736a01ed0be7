// TCleaner: a backup copy put back in place of the list, with the files its
// execution moved to the recycle bin, for brimlow-cli restore and for the
// undo of the window's last execution alike.
#include <stdexcept>

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "workflow/cleaner.h"
#include "workflow/filesRecord.h"
#include "workflow/workflowText.h"

namespace brimlow {

namespace {

// Saves the list file's text, as it is, under a new backup name; answers
// the path, or nothing when there is no list file.
std::string SaveCurrentText(const std::string& listFile, const TListFileWitness& witness,
                            const std::function<std::string()>& newBackupName) {
  if (witness == TListFileWitness::Missing()) return {};
  const std::string text = platform::current().readFile(listFile);
  const std::string path = newBackupName();
  platform::replaceFileContents(path, text);
  return path;
}

void PutBackFiles(const TFilesRecord& record, TRestoreReport& report) {
  platform::Platform& os = platform::current();
  for (const platform::RecycledFile& file : record.recycled) {
    switch (os.putBackRecycled(file)) {
      case platform::PutBackOutcome::PutBack: ++report.restoredFiles; break;
      case platform::PutBackOutcome::PlaceTaken: ++report.placeTakenFiles; break;
      case platform::PutBackOutcome::NotInBin: ++report.goneFiles; break;
      case platform::PutBackOutcome::Failed: ++report.failedFiles; break;
    }
  }
}

}  // namespace

TExecutionReportTexts TRestoreReport::Texts() const {
  TExecutionReportTexts texts;
  texts.listLabel = AnsiText("возвращён из резервной копии");
  const auto add = [&](int count, const char* caption) {
    if (count > 0) texts.fileLines.push_back({AnsiText(caption), FileCountText(count)});
  };
  add(restoredFiles, "Файлы возвращены:");
  add(placeTakenFiles, "Остались в корзине, их место занято:");
  add(goneFiles, "Нет в корзине:");
  add(failedFiles, "Не удалось вернуть:");
  texts.Edit1 = backup;
  return texts;
}

TRestoreReport TCleaner::RestoreBackup(const std::string& backupPath, const std::string& listFile,
                                       bool listOnly) {
  const std::string restored = platform::current().readFile(backupPath);
  // A file that is no list at all is not put in the host's way.
  (void)TDownloadsList(backupPath);
  // The host saves its list as it exits: the text saved as a copy is the one
  // it left, and nothing it writes after that is written over.
  ControlHost(false);
  return PutBackCopy(backupPath, listFile, restored, listOnly);
}

TRestoreReport TCleaner::PutBackCopy(const std::string& backupPath, const std::string& listFile,
                                     const std::string& restored, bool listOnly) {
  TRestoreReport report;
  report.list = listFile;
  report.restored = backupPath;
  const TListFileWitness witness = TListFileWitness::OfFile(listFile);
  report.backup = SaveCurrentText(listFile, witness, [this] { return MakeBackupName(); });
  witness.RequireUnchanged(listFile);
  platform::replaceFileContents(listFile, restored);
  if (!listOnly)
    if (const std::optional<TFilesRecord> record = ReadFilesRecord(backupPath))
      PutBackFiles(*record, report);
  return report;
}

TRestoreReport TCleaner::UndoLastExecution() {
  if (!CanUndo()) throw std::logic_error("no execution to undo");
  const std::string backupPath = FUndoBackup;
  const std::string listFile = FDownloads.List().FileName();
  const std::string restored = platform::current().readFile(backupPath);
  ControlHost(false);
  // What the host wrote since the execution is not written over.
  FListFile->RequireUnchanged(listFile);
  TRestoreReport report = PutBackCopy(backupPath, listFile, restored, false);
  LoadList(listFile);
  return report;
}

}  // namespace brimlow
