#include "app/treeSetup.h"

#include <gtest/gtest.h>

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

INSTANTIATE_TEST_SUITE_P(BothTrees, TreeSetupTest,
                         ::testing::Values(TTreeKind::List, TTreeKind::Trash),
                         [](const auto& info) {
                           return info.param == TTreeKind::List ? "List" : "Trash";
                         });

}  // namespace
}  // namespace brimlow
