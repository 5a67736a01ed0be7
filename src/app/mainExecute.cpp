// TForm2: "Выполнить": the chosen action handed to the workflow, and its
// report shown.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRadioButton>

#include "app/ansiText.h"
#include "app/main.h"
#include "app/reportUnit.h"

namespace brimlow {

TTrashAction TForm2::ChosenAction() const {
  if (ui.saveSel->isChecked()) return TTrashAction::SaveSeparately;
  if (ui.delSelWithFiles->isChecked()) return TTrashAction::DeleteWithFiles;
  if (ui.delSelFiles->isChecked()) return TTrashAction::DeleteFilesOnly;
  return TTrashAction::Delete;
}

void TForm2::Button2Click() {
  TExecutionRequest request;
  request.action = ChosenAction();
  request.makeBackup = ui.CheckBox2->isChecked();
  request.recycle = ui.recycleFiles->isChecked();
  if (const std::optional<TExecutionReport> report = FCleaner.Execute(request))
    ShowReportTexts(report->Texts());
}

void TForm2::undoExecutionClick() {
  if (!FCleaner.CanUndo()) return;
  const TRestoreReport report = FCleaner.UndoLastExecution();
  ShowReportTexts(report.Texts());
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

void TForm2::ShowReportTexts(const TExecutionReportTexts& texts) {
  if (!FReport) FReport = new TreportForm(this);
  FReport->ShowReport(texts);
  FDialogRunner(*FReport);
}

}  // namespace brimlow
