// Sorting a tree by a column's header: only the view's order changes.
#include "app/sortedDownloads.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "app/ansiText.h"
#include "windowTestSupport.h"

namespace brimlow {
namespace {

class SortedViewTest : public test::WindowTest {
 protected:
  QTreeView& Tree() const { return *Find<QTreeView>("treeLeft"); }
  void ClickHeader(int column) {
    QHeaderView& header = *Tree().header();
    const QPoint at(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                    header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, at);
  }
  // The IDs in the order the tree shows them.
  std::vector<uint32_t> ShownIds() const {
    const QAbstractItemModel& shown = *Tree().model();
    std::vector<uint32_t> ids;
    for (int row = 0; row < shown.rowCount(); ++row) {
      const QString name = shown.index(row, 0).data().toString();  // "fileN.bin"
      ids.push_back(name.mid(4, name.size() - 8).toUInt());
    }
    return ids;
  }
};

TEST_F(SortedViewTest, HeaderClicksSortUpDownAndBackToTheListsOrder) {
  ShowDownloads({3000, 1000, 5000, 2000});
  window->show();
  const std::vector<uint32_t> listOrder = {1, 2, 3, 4};
  EXPECT_EQ(ShownIds(), listOrder);
  ClickHeader(TDownloadsModel::ColumnSize);
  EXPECT_EQ(ShownIds(), (std::vector<uint32_t>{2, 4, 1, 3}));
  ClickHeader(TDownloadsModel::ColumnSize);
  EXPECT_EQ(ShownIds(), (std::vector<uint32_t>{3, 1, 4, 2}));
  EXPECT_EQ(Ids(window->Downloads()), listOrder) << "the list itself keeps its order";
  ClickHeader(TDownloadsModel::ColumnSize);
  EXPECT_EQ(ShownIds(), listOrder);
  EXPECT_FALSE(Tree().header()->isSortIndicatorShown());
}

TEST_F(SortedViewTest, AMoveInASortedViewMovesExactlyTheMarkedDownloads) {
  ShowDownloads({3000, 1000, 5000, 2000, 4000});
  window->show();
  ClickHeader(TDownloadsModel::ColumnSize);
  ClickHeader(TDownloadsModel::ColumnSize);  // biggest first: 3, 5, 1, 4, 2
  // The user ticks the first two rows shown: the two biggest downloads.
  QAbstractItemModel& shown = *Tree().model();
  for (int row : {0, 1})
    shown.setData(shown.index(row, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(Label("labSel"), "2");
  EXPECT_EQ(Label("labSizeSel"), FromAnsi(SizeToText(9000)));
  window->moveExecute();
  EXPECT_EQ(Ids(window->Trash()), (std::vector<uint32_t>{3, 5})) << "in the list's order";
  EXPECT_EQ(Ids(window->Downloads()), (std::vector<uint32_t>{1, 2, 4}));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeRight"), window->Trash()));
  EXPECT_EQ(shown.rowCount(), 3);
}

}  // namespace
}  // namespace brimlow
