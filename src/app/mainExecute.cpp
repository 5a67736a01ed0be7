// TForm2: "Выполнить": the backup copy, the rewrite of the loaded list and
// the chosen action on the trash, ended by the report.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRadioButton>
#include <QTreeView>
#include <unordered_map>

#include "app/ansiText.h"
#include "app/downloadsModel.h"
#include "app/main.h"
#include "app/reportUnit.h"
#include "data/downloadsList.h"
#include "platform/platform.h"

namespace brimlow {

namespace {

// The words the report puts before the number of trash entries.  The first
// letter of the first is the Latin "c", as the report has always shown it.
const QString kSavedWord = QStringLiteral("cохранено в отдельный список");
const QString kDeletedWord = QStringLiteral("удалено");
const QString kDeletedWithFilesWord = QStringLiteral("удалено вместе с файлами");
const QString kFilesOnlyWord = QStringLiteral("удалены только файлы");

QString WordOf(TTrashAction action) {
  switch (action) {
    case TTrashAction::SaveSeparately: return kSavedWord;
    case TTrashAction::Delete: return kDeletedWord;
    case TTrashAction::DeleteWithFiles: return kDeletedWithFilesWord;
    case TTrashAction::DeleteFilesOnly: return kFilesOnlyWord;
  }
  return {};
}

}  // namespace

TTrashAction TForm2::ChosenAction() const {
  if (ui.saveSel->isChecked()) return TTrashAction::SaveSeparately;
  if (ui.delSelWithFiles->isChecked()) return TTrashAction::DeleteWithFiles;
  if (ui.delSelFiles->isChecked()) return TTrashAction::DeleteFilesOnly;
  return TTrashAction::Delete;
}

void TForm2::Button2Click() {
  RequireListFile();
  const TTrashAction action = ChosenAction();
  // The separate list's name is asked before anything happens, so that a
  // cancelled dialog leaves everything as it was.
  std::string separateList;
  if (action == TTrashAction::SaveSeparately) {
    const std::optional<std::string> name = AskSeparateListName();
    if (!name) return;
    separateList = *name;
  }

  ControlHost(false);
  TReport report;
  report.trashCount = FTrash->Count();
  report.word = WordOf(action);
  if (ui.CheckBox2->isChecked()) {
    const std::string backup = MakeBackupName();
    FDownloads->SaveLoadedText(backup);
    report.backupPath = FromAnsi(backup);
  }

  // A failure from here on leaves the trash as it is: it is emptied only
  // once everything it takes part in is written.
  switch (action) {
    case TTrashAction::SaveSeparately:
      SaveList();
      FTrash->SaveToFile(separateList);
      break;
    case TTrashAction::Delete: SaveList(); break;
    case TTrashAction::DeleteWithFiles:
      SaveList();
      report.undeletedFiles = DeleteTrashFiles();
      break;
    case TTrashAction::DeleteFilesOnly:
      SaveWithTrashPutBack();
      report.undeletedFiles = DeleteTrashFiles();
      break;
  }
  FRightModel->ClearAll();
  ui.treeRight->viewport()->update();
  UpdateStatistics();

  report.removed = FLoadedCount - FDownloads->Count();
  FLoadedCount = FDownloads->Count();
  ShowExecutionReport(report);
}

std::optional<std::string> TForm2::AskSeparateListName() {
  QFileDialog& dialog = *ui.saveDialog;
  dialog.selectFile(QString());
  if (!FDialogRunner(dialog)) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty() || QFileInfo(chosen.front()).isDir())
    return std::nullopt;
  QString name = chosen.front();
  // A name given without an extension gets the dialog's.
  if (QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + dialog.defaultSuffix();
  return ToAnsi(QDir::toNativeSeparators(name));
}

void TForm2::SaveList() {
  FDownloads->Save();
  // The file is this program's own now.
  FListFileExisted = true;
}

int TForm2::DeleteTrashFiles() {
  // Each deletion stands alone: one that fails does not stop the others.  A
  // file that is not there counts as deleted; one that stays is counted.
  platform::Platform& os = platform::current();
  int undeleted = 0;
  for (int i = 0; i < FTrash->Count(); ++i) {
    const std::string& file = (*FTrash)[i].FileName;
    if (file.empty()) continue;
    if (!os.deleteFile(file) && os.fileExists(file)) ++undeleted;
  }
  return undeleted;
}

std::vector<int> TForm2::TrashRowsMissingFromList() const {
  // A trash entry that was copied, not moved, is still in the list; putting
  // it back would list that download twice.
  std::unordered_multimap<uint32_t, const Tdownload*> listed;
  for (int i = 0; i < FDownloads->Count(); ++i)
    listed.emplace((*FDownloads)[i].ID, &(*FDownloads)[i]);
  std::vector<int> rows;
  for (int i = 0; i < FTrash->Count(); ++i) {
    const Tdownload& entry = (*FTrash)[i];
    const auto [first, last] = listed.equal_range(entry.ID);
    const bool present =
        std::any_of(first, last, [&](const auto& item) { return *item.second == entry; });
    if (present) continue;
    rows.push_back(i);
    listed.emplace(entry.ID, &entry);
  }
  return rows;
}

void TForm2::SaveWithTrashPutBack() {
  // Only the files go: the entries return to the end of the list, in trash
  // order, before it is written.  If the list cannot be written they leave
  // it again, and the trash is as it was.
  const int before = FDownloads->Count();
  FLeftModel->AppendCopies(*FTrash, TrashRowsMissingFromList());
  try {
    SaveList();
  } catch (...) {
    std::vector<int> added;
    for (int row = before; row < FDownloads->Count(); ++row)
      added.push_back(row);
    FLeftModel->RemoveRows(added);
    UpdateStatistics();
    throw;
  }
  ui.treeLeft->viewport()->update();
}

void TForm2::ShowExecutionReport(const TReport& report) {
  if (!FReport) FReport = new TreportForm(this);
  FReport->ShowReport(report);
  FDialogRunner(*FReport);
}

}  // namespace brimlow
