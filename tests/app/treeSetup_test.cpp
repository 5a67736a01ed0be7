#include "app/treeSetup.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHeaderView>
#include <QTreeView>

#include "app/downloadsModel.h"
#include "appTestSupport.h"
#include "data/downloadsList.h"

namespace brimlow {
namespace {

class TreeSetupTest : public test::WithApplication, public ::testing::TestWithParam<TTreeKind> {
 protected:
  TreeSetupTest() {
    model.SetList(&list);
    tree.setModel(&model);
    ConfigureDownloadsTree(tree, GetParam());
  }
  int Width(int column) const { return tree.header()->sectionSize(column); }

  TMarkedList list{std::make_unique<TDownloadsList>()};
  TDownloadsModel model;
  QTreeView tree;
};

TEST_P(TreeSetupTest, ColumnsHaveTheirWidthsAndMinimums) {
  const bool trash = GetParam() == TTreeKind::Trash;
  const int dateWidth = trash ? 60 : 65;
  EXPECT_EQ(Width(0), 140);
  EXPECT_EQ(Width(1), 20);
  EXPECT_EQ(Width(2), 60);
  EXPECT_EQ(Width(3), dateWidth);
  EXPECT_EQ(tree.header()->height(), 24);
  EXPECT_EQ(tree.header()->sectionResizeMode(1), QHeaderView::Fixed);
  EXPECT_EQ(tree.header()->sectionResizeMode(0), QHeaderView::Interactive);
  EXPECT_TRUE(tree.header()->sectionsMovable());
  EXPECT_EQ(tree.selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_FALSE(tree.rootIsDecorated());

  tree.header()->resizeSection(0, 30);
  tree.header()->resizeSection(2, 10);
  tree.header()->resizeSection(3, 5);
  EXPECT_EQ(Width(0), 100) << "column 0 stops at its minimum";
  EXPECT_EQ(Width(2), 60);
  EXPECT_EQ(Width(3), dateWidth);
  tree.header()->resizeSection(0, 300);
  EXPECT_EQ(Width(0), 300);
}

TEST_P(TreeSetupTest, ANewListKeepsTheColumnWidths) {
  tree.header()->resizeSection(0, 222);
  TMarkedList other(std::make_unique<TDownloadsList>());
  other.List().Add();
  model.SetList(&other);
  EXPECT_EQ(Width(0), 222);
  EXPECT_EQ(Width(1), 20);
  model.SetList(nullptr);  // `other` goes before the model
}

// A screen reader reads a row's mark as the checked state of the row's first
// cell, at the moment it asks.
TEST_P(TreeSetupTest, AccessibilityReadsTheMarkOfEachRow) {
  for (int i = 0; i < 3; ++i)
    list.List().Add().Size = 100;
  list.Reset();
  list.SetChecked(1, true);
  QAccessible::setActive(true);
  tree.show();
  QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&tree);
  ASSERT_NE(view, nullptr);
  QAccessibleTableInterface* table = view->tableInterface();
  ASSERT_NE(table, nullptr);
  const auto cellState = [&](int row, int column) {
    QAccessibleInterface* cell = table->cellAt(row, column);
    return cell ? cell->state() : QAccessible::State{};
  };
  for (int row = 0; row < 3; ++row) {
    EXPECT_TRUE(cellState(row, 0).checkable) << row;
    EXPECT_EQ(cellState(row, 0).checked, row == 1) << row;
    EXPECT_FALSE(cellState(row, 2).checkable) << "only the name column has a check box";
  }
  list.SetChecked(1, false);
  list.SetChecked(2, true);
  EXPECT_FALSE(cellState(1, 0).checked);
  EXPECT_TRUE(cellState(2, 0).checked);
  QAccessible::setActive(false);
}

INSTANTIATE_TEST_SUITE_P(BothTrees, TreeSetupTest,
                         ::testing::Values(TTreeKind::List, TTreeKind::Trash),
                         [](const auto& info) {
                           return info.param == TTreeKind::List ? "List" : "Trash";
                         });

}  // namespace
}  // namespace brimlow
