// TForm2: the list's overview, the filter controls set from one of its rows,
// and the export of the list and of the trash as CSV.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include "app/ansiText.h"
#include "app/application.h"
#include "app/main.h"
#include "app/optionalDateEdit.h"
#include "app/overviewForm.h"
#include "workflow/csvWriter.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

std::optional<QDate> DateOfDay(const std::optional<int64_t>& day) {
  if (!day) return std::nullopt;
  return QDate(1899, 12, 30).addDays(*day);
}

}  // namespace

void TForm2::listOverviewExecute() {
  if (!FOverview) {
    FOverview = new TOverviewForm(
        this, [this](TOverviewAxis axis) { return FCleaner.Overview(axis); },
        [this](const TFilterInputs& inputs) { Guarded([&] { ApplyFilterInputs(inputs); }); });
  }
  FOverviewRevision = FCleaner.Downloads().Revision();
  FOverview->Refresh();
  FOverview->show();
  FOverview->raise();
  FOverview->activateWindow();
}

void TForm2::ApplyFilterInputs(const TFilterInputs& inputs) {
  ui.fileCheckBox->setCurrentIndex(ChoiceIndex(FileChoices(), inputs.file));
  ui.stateBox->setCurrentIndex(ChoiceIndex(StateChoices(), inputs.state));
  const int category =
      inputs.categoryId ? ui.catBox->findData(QVariant::fromValue(*inputs.categoryId)) : 0;
  ui.catBox->setCurrentIndex(std::max(category, 0));
  ui.size1->setText(FromAnsi(inputs.sizeFrom));
  ui.size2->setText(FromAnsi(inputs.sizeTo));
  ui.date1->SetValue(DateOfDay(inputs.dayFrom));
  ui.date2->SetValue(DateOfDay(inputs.dayTo));
  ui.searchText->setText(FromAnsi(inputs.searchText));
  ui.searchBox->setCurrentIndex(ChoiceIndex(SearchChoices(), inputs.searchIn));
  ui.duplicatesOnly->setChecked(inputs.duplicatesOnly);
  doSelectExecute();
}

void TForm2::exportCsvExecute() {
  ExportCsv(FCleaner.Downloads().List());
}

void TForm2::exportTrashCsvExecute() {
  ExportCsv(FCleaner.Trash().List());
}

void TForm2::ExportCsv(const TDownloadsList& list) {
  QFileDialog& dialog = *ui.csvDialog;
  dialog.selectFile(QString());
  if (!FDialogRunner(dialog)) return;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty() || QFileInfo(chosen.front()).isDir()) return;
  SaveDownloadsCsv(list, ToAnsi(QDir::toNativeSeparators(chosen.front())));
}

void TForm2::RefreshOverview() {
  if (!FOverview || !FOverview->isVisible()) return;
  if (FOverviewRevision == FCleaner.Downloads().Revision()) return;
  FOverviewRevision = FCleaner.Downloads().Revision();
  FOverview->Refresh();
}

}  // namespace brimlow
