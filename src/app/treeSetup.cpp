#include "app/treeSetup.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "app/downloadsModel.h"

namespace brimlow {

namespace {

constexpr int kHeaderHeight = 24;

// The state column is 20 pixels wide: a state with an icon shows the icon
// alone (its code is in the tool tip), one without an icon shows its code.
class TStateColumnDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->features & QStyleOptionViewItem::HasDecoration) {
      option->text.clear();
      option->features &= ~QStyleOptionViewItem::HasDisplay;
      option->decorationAlignment = Qt::AlignCenter;
      option->decorationPosition = QStyleOptionViewItem::Top;
    } else {
      option->textElideMode = Qt::ElideNone;
    }
  }
};

}  // namespace

void ConfigureDownloadsTree(QTreeView& tree, TTreeKind kind) {
  tree.setRootIsDecorated(false);
  tree.setItemsExpandable(false);
  tree.setUniformRowHeights(true);
  tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
  tree.setSelectionBehavior(QAbstractItemView::SelectRows);
  tree.setAllColumnsShowFocus(true);
  tree.setItemDelegateForColumn(TDownloadsModel::ColumnState, new TStateColumnDelegate(&tree));

  QHeaderView& header = *tree.header();
  header.setFixedHeight(kHeaderHeight);
  header.setSectionsMovable(true);
  header.setStretchLastSection(false);
  header.setMinimumSectionSize(1);
  const TDownloadColumns& columns = DownloadColumns(kind);
  for (int column = 0; column < TDownloadsModel::ColumnCount; ++column)
    header.resizeSection(column, columns[static_cast<size_t>(column)].width);
  header.setSectionResizeMode(TDownloadsModel::ColumnState, QHeaderView::Fixed);

  // The header has one minimum for all columns; each column's own is kept
  // here.
  QObject::connect(&header, &QHeaderView::sectionResized, &tree,
                   [&header, columns](int column, int, int size) {
                     if (column < 0 || column >= TDownloadsModel::ColumnCount) return;
                     const int minimum = columns[static_cast<size_t>(column)].minimum;
                     if (size < minimum) header.resizeSection(column, minimum);
                   });
}

}  // namespace brimlow
