#pragma once

// "Обзор списка": the list broken down four ways, one tab each, every row
// with its count, its size and a bar in proportion to the size.  Clicking a
// row hands its filter setting to the main window; the dialog stays open.

#include <QDialog>
#include <functional>

#include "workflow/overview.h"

class QTabWidget;
class QTreeWidget;

namespace brimlow {

// The overview of the list as it is now, one breakdown at a time.
using TOverviewSource = std::function<TOverview(TOverviewAxis axis)>;
using TOverviewChoice = std::function<void(const TFilterInputs& inputs)>;

class TOverviewForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOverviewForm)

 public:
  TOverviewForm(QWidget* parent, TOverviewSource source, TOverviewChoice choose);

  // Computes the shown breakdown anew and marks the others as out of date.
  void Refresh();
  // The breakdown shown now, and the rows of a tab as last computed.
  TOverviewAxis ShownAxis() const;
  QTreeWidget& Table(TOverviewAxis axis) const;
  // Clicking row `row` of the shown tab.
  void ChooseRow(int row);

 private:
  void Fill(int tab);

  TOverviewSource FSource;
  TOverviewChoice FChoose;
  QTabWidget* FTabs = nullptr;
  std::vector<QTreeWidget*> FTables;
  std::vector<TOverview> FShown;
  std::vector<bool> FCurrent;
};

}  // namespace brimlow
