#pragma once

// The order a download tree shows its rows in: the list's own, or sorted by
// one column either way.  Only the view's order changes: the rows are the
// model's, so marks, moves, the filter and the statistics act on the same
// records whatever is shown, and a list is written in its own order.

#include <QSortFilterProxyModel>

class QTreeView;

namespace brimlow {

class TSortedDownloads final : public QSortFilterProxyModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSortedDownloads)

 public:
  explicit TSortedDownloads(QObject* parent = nullptr);

  // A click on a column's header: sorted up, then down, then the list's own
  // order again.
  void HeaderClicked(int column);
  // Back to the list's own order.
  void Unsort();

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// Puts a sorting proxy between the tree and its model and lets the tree's
// header choose the order.  The proxy belongs to the tree.
TSortedDownloads& ShowSorted(QTreeView& tree, QAbstractItemModel& model);

}  // namespace brimlow
