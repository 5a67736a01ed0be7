#include "app/sortedDownloads.h"

#include <QHeaderView>
#include <QTreeView>

#include "app/downloadsModel.h"
#include "data/downloadsList.h"

namespace brimlow {

TSortedDownloads::TSortedDownloads(QObject* parent) : QSortFilterProxyModel(parent) {
  // Marks change often and never the order; only a new sort reorders.
  setDynamicSortFilter(false);
}

void TSortedDownloads::HeaderClicked(int column) {
  if (column != sortColumn())
    sort(column, Qt::AscendingOrder);
  else if (sortOrder() == Qt::AscendingOrder)
    sort(column, Qt::DescendingOrder);
  else
    Unsort();
}

void TSortedDownloads::Unsort() {
  sort(-1);
}

bool TSortedDownloads::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const auto* model = qobject_cast<const TDownloadsModel*>(sourceModel());
  if (!model || !model->List()) return QSortFilterProxyModel::lessThan(left, right);
  const TDownloadsList& list = model->List()->List();
  const Tdownload& a = list[left.row()];
  const Tdownload& b = list[right.row()];
  switch (left.column()) {
    case TDownloadsModel::ColumnName:
      return DisplayName(a).compare(DisplayName(b), Qt::CaseInsensitive) < 0;
    case TDownloadsModel::ColumnState: return a.State < b.State;
    case TDownloadsModel::ColumnSize: return a.Size < b.Size;
    case TDownloadsModel::ColumnDate: return a.Date < b.Date;
  }
  return false;
}

TSortedDownloads& ShowSorted(QTreeView& tree, QAbstractItemModel& model) {
  auto* sorted = new TSortedDownloads(&tree);
  sorted->setObjectName(tree.objectName() + QStringLiteral("Sorted"));
  sorted->setSourceModel(&model);
  tree.setModel(sorted);
  QHeaderView& header = *tree.header();
  header.setSectionsClickable(true);
  QObject::connect(&header, &QHeaderView::sectionClicked, sorted, [sorted, &header](int column) {
    sorted->HeaderClicked(column);
    header.setSortIndicatorShown(sorted->sortColumn() >= 0);
    if (sorted->sortColumn() >= 0)
      header.setSortIndicator(sorted->sortColumn(), sorted->sortOrder());
  });
  return *sorted;
}

}  // namespace brimlow
