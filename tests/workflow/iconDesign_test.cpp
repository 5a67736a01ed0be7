#include "workflow/iconDesign.h"

#include <gtest/gtest.h>

namespace brimlow {
namespace {

// Every shape of every design stands inside its image with the points its
// kind needs: a painter would cut off or drop anything else.
TEST(IconDesign, EveryShapeFitsItsImage) {
  const struct {
    const char* label;
    int count;
    int size;
    TIconDesign (*design)(int);
  } tables[] = {
      {"category", kCategoryIconCount, kCategoryIconSize, CategoryIconDesign},
      {"state", kStateIconCount, kStateIconSize, StateIconDesign},
  };
  for (const auto& table : tables) {
    for (int index = 0; index < table.count; ++index) {
      const TIconDesign design = table.design(index);
      EXPECT_EQ(design.size, table.size) << table.label << " " << index;
      ASSERT_FALSE(design.shapes.empty()) << table.label << " " << index;
      EXPECT_TRUE(design.shapes[0].fill) << "the first shape is the body";
      for (const TIconShape& shape : design.shapes) {
        const bool boxed =
            shape.kind != TIconShapeKind::Polygon && shape.kind != TIconShapeKind::Polyline;
        EXPECT_TRUE(boxed ? shape.points.size() == 2 : shape.points.size() >= 2)
            << table.label << " " << index;
        EXPECT_TRUE(shape.fill || shape.pen) << "a shape that shows nothing";
        const double reach =
            shape.pen && shape.kind != TIconShapeKind::Text ? shape.penWidth / 2 : 0;
        for (const TIconPoint& point : shape.points) {
          EXPECT_GE(point.x - reach, 0) << table.label << " " << index;
          EXPECT_GE(point.y - reach, 0) << table.label << " " << index;
          EXPECT_LE(point.x + reach, table.size) << table.label << " " << index;
          EXPECT_LE(point.y + reach, table.size) << table.label << " " << index;
        }
      }
    }
    EXPECT_TRUE(table.design(table.count).shapes.empty()) << table.label << ": past the table";
    EXPECT_TRUE(table.design(-1).shapes.empty()) << table.label;
  }
}

}  // namespace
}  // namespace brimlow
