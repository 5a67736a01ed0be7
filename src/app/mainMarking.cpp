// TForm2: marking with the filter, moving between the list and the trash,
// and the statistics.
#include "app/main.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeView>
#include <algorithm>

#include "app/ansiText.h"
#include "app/downloadsModel.h"
#include "app/optionalDateEdit.h"
#include "data/categories.h"
#include "data/downloadsList.h"

namespace brimlow {

namespace {

// The filter lets the window repaint after every so many downloads.
constexpr int kFilterChunk = 256;

std::optional<int64_t> DayNumber(const TOptionalDateEdit& field) {
  const std::optional<QDate> day = field.Value();
  if (!day) return std::nullopt;
  return QDate(1899, 12, 30).daysTo(*day);
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
  inputs.fileChoice = ui.fileCheckBox->currentIndex();
  inputs.stateChoice = ui.stateBox->currentIndex();
  inputs.categoryChoice = ui.catBox->currentIndex();
  inputs.sizeFrom = ToAnsi(ui.size1->text());
  inputs.sizeTo = ToAnsi(ui.size2->text());
  inputs.dayFrom = DayNumber(*ui.date1);
  inputs.dayTo = DayNumber(*ui.date2);
  inputs.searchText = ToAnsi(ui.searchText->text());
  inputs.searchChoice = ui.searchBox->currentIndex();
  return inputs;
}

void TForm2::doSelectExecute() {
  if (FBusy) return;
  const TFilterCriteria criteria = MakeCriteria(ReadFilterInputs(), *FCategories);
  const int count = FDownloads->Count();
  {
    TBusyScope busy(*this, *ui.filterProgress, FBusy, count);
    std::vector<uint8_t> marks(kFilterChunk);
    for (int first = 0; first < count; first += kFilterChunk) {
      QApplication::processEvents();
      const int size = std::min(kFilterChunk, count - first);
      for (int i = 0; i < size; ++i)
        marks[static_cast<size_t>(i)] = Matches(criteria, (*FDownloads)[first + i]) ? 1 : 0;
      FLeftModel->SetChecks(first,
                            std::span<const uint8_t>(marks.data(), static_cast<size_t>(size)));
      ui.filterProgress->setValue(first + size);
    }
  }
  ui.treeLeft->viewport()->update();
  UpdateStatistics();
}

void TForm2::noSelectionExecute() {
  FLeftModel->UncheckAll();
  ui.treeLeft->viewport()->update();
  UpdateStatistics();
}

void TForm2::moveExecute() {
  TransferChecked(*FLeftModel, *FRightModel, true, true);
}

void TForm2::doCopyExecute() {
  TransferChecked(*FLeftModel, *FRightModel, ui.cleanSel->isChecked(), false);
}

void TForm2::moveBackExecute() {
  TransferChecked(*FRightModel, *FLeftModel, true, true);
}

void TForm2::TransferChecked(TDownloadsModel& source, TDownloadsModel& target, bool unmark,
                             bool remove) {
  // The marked records are appended to the target in the source's order; a
  // move then deletes them from the source in one pass, so that row i still
  // shows record i in both trees.
  const std::vector<int> rows = source.CheckedRows();
  if (source.List() && target.List()) {
    target.AppendCopies(*source.List(), rows);
    if (remove)
      source.RemoveRows(rows);
    else if (unmark)
      source.UncheckRows(rows);
  }
  ui.treeLeft->viewport()->update();
  ui.treeRight->viewport()->update();
  UpdateStatistics();
}

void TForm2::treeLeftChecked() {
  UpdateStatistics();
}

void TForm2::UpdateStatistics() {
  ui.labZak->setText(QString::number(FDownloads ? FDownloads->Count() : 0));
  ui.labSel->setText(QString::number(FLeftModel->CheckedCount()));
  ui.labSizeSel->setText(FromAnsi(SizeToText(FLeftModel->CheckedSize())));
  ui.labSize->setText(FromAnsi(SizeToText(FLeftModel->TotalSize())));
  ui.labSelCount->setText(QString::number(FTrash ? FTrash->Count() : 0));
  ui.labSelTotal->setText(FromAnsi(SizeToText(FRightModel->TotalSize())));
}

}  // namespace brimlow
