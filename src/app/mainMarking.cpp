// TForm2: marking with the filter, moving between the list and the trash,
// and the statistics.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>

#include "app/ansiText.h"
#include "app/main.h"
#include "app/optionalDateEdit.h"
#include "workflow/downloadColumns.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

std::optional<int64_t> DayNumber(const TOptionalDateEdit& field) {
  const std::optional<QDate> day = field.Value();
  if (!day) return std::nullopt;
  return DayNumberOf(
      {day->year(), static_cast<unsigned>(day->month()), static_cast<unsigned>(day->day())});
}

// While the filter runs: the hourglass, a disabled window and the progress
// bar; everything returns as it was however the run ends.
class TBusyScope {
 public:
  TBusyScope(QWidget& window, QProgressBar& progress, bool& busy, int total)
      : FWindow(window), FProgress(progress), FBusy(busy) {
    FBusy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FWindow.setEnabled(false);
    FProgress.setRange(0, std::max(total, 1));
    FProgress.setValue(0);
    FProgress.show();
  }
  ~TBusyScope() {
    FProgress.hide();
    FWindow.setEnabled(true);
    QApplication::restoreOverrideCursor();
    FBusy = false;
  }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  QWidget& FWindow;
  QProgressBar& FProgress;
  bool& FBusy;
};

}  // namespace

TFilterInputs TForm2::ReadFilterInputs() const {
  TFilterInputs inputs;
  inputs.file = ChoiceValue(FileChoices(), ui.fileCheckBox->currentIndex());
  inputs.state = ChoiceValue(StateChoices(), ui.stateBox->currentIndex());
  if (const QVariant id = ui.catBox->currentData(); id.isValid())
    inputs.categoryId = id.value<int32_t>();
  inputs.sizeFrom = ToAnsi(ui.size1->text());
  inputs.sizeTo = ToAnsi(ui.size2->text());
  inputs.dayFrom = DayNumber(*ui.date1);
  inputs.dayTo = DayNumber(*ui.date2);
  inputs.searchText = ToAnsi(ui.searchText->text());
  inputs.searchIn = ChoiceValue(SearchChoices(), ui.searchBox->currentIndex());
  inputs.duplicatesOnly = ui.duplicatesOnly->isChecked();
  return inputs;
}

void TForm2::doSelectExecute() {
  if (FBusy) return;
  const TFilterInputs inputs = ReadFilterInputs();
  TBusyScope busy(*this, *ui.filterProgress, FBusy, FCleaner.Downloads().Count());
  // The window keeps painting between blocks; clicks cannot reach it.
  FCleaner.RunFilter(inputs, [this](int done, int) {
    ui.filterProgress->setValue(done);
    QApplication::processEvents();
  });
}

void TForm2::noSelectionExecute() {
  FCleaner.ClearMarks();
}

void TForm2::moveExecute() {
  FCleaner.Move();
}

void TForm2::doCopyExecute() {
  FCleaner.Copy(ui.cleanSel->isChecked());
}

void TForm2::moveBackExecute() {
  FCleaner.MoveBack();
}

void TForm2::treeLeftChecked() {
  FCleaner.UpdateStatistics();
}

void TForm2::ShowStatistics(const TStatistics& statistics) {
  const TStatisticsTexts texts = statistics.Texts();
  ui.labZak->setText(FromAnsi(texts.labZak));
  ui.labSel->setText(FromAnsi(texts.labSel));
  ui.labSizeSel->setText(FromAnsi(texts.labSizeSel));
  ui.labSize->setText(FromAnsi(texts.labSize));
  ui.labSelCount->setText(FromAnsi(texts.labSelCount));
  ui.labSelTotal->setText(FromAnsi(texts.labSelTotal));
  ui.labUnreachable->setText(FromAnsi(texts.labUnreachable));
  // The statistics follow every load and execution, and so does what can
  // be undone.
  ui.undoExecution->setEnabled(FCleaner.CanUndo());
  ui.labRepeats->setText(FromAnsi(texts.labRepeats));
  RefreshOverview();
}

}  // namespace brimlow
