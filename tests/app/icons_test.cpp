#include "app/icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <set>

#include "appTestSupport.h"

namespace brimlow {
namespace {

QImage Image(const QIcon& icon, int size) {
  return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(Icons, FiftyFiveDistinctCategoryImagesOf16Pixels) {
  test::App();
  std::set<QByteArray> seen;
  for (int index = 0; index < kCategoryIconCount; ++index) {
    const QImage image = Image(CategoryIcon(index), kCategoryIconSize);
    ASSERT_EQ(image.size(), QSize(16, 16)) << index;
    seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kCategoryIconCount)) << "every image differs";
  EXPECT_TRUE(CategoryIcon(kCategoryIconCount).isNull());
  EXPECT_TRUE(CategoryIcon(-1).isNull());
}

TEST(Icons, TwentyNineDistinctStateImagesOf12Pixels) {
  test::App();
  std::set<QByteArray> seen;
  for (int index = 0; index < kStateIconCount; ++index) {
    const QIcon& icon = StateIcon(index);
    EXPECT_EQ(icon.availableSizes().value(0), QSize(12, 12)) << index;
    const QImage image = Image(icon, kStateIconSize);
    seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kStateIconCount));
  EXPECT_TRUE(StateIcon(kStateIconCount).isNull()) << "state 29 has no icon";
}

TEST(Icons, ImagesAreNotBlank) {
  test::App();
  // Enough opaque pixels to be seen: a third of the area at least.
  const auto opaque = [](const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        count += qAlpha(image.pixel(x, y)) > 128;
    return count;
  };
  for (int index = 0; index < kCategoryIconCount; ++index)
    EXPECT_GT(opaque(Image(CategoryIcon(index), 16)), 16 * 16 / 3) << index;
  for (int index = 0; index < kStateIconCount; ++index)
    EXPECT_GT(opaque(Image(StateIcon(index), 12)), 12 * 12 / 3) << index;
}

// The picture is the design's, for every icon of the table: many pixels show
// the first shape's fill as it is (smoothing changes only the edges), and a
// category's light spot shows its own.
TEST(Icons, TheImagesShowTheColoursOfTheirDesigns) {
  test::App();
  const auto rgb = [](TIconColour colour) { return qRgb(colour.red, colour.green, colour.blue); };
  const auto count = [](const QImage& image, QRgb colour) {
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        found += image.pixel(x, y) == colour;
    return found;
  };
  for (int index = 0; index < kCategoryIconCount; ++index) {
    const TIconDesign design = CategoryIconDesign(index);
    const QImage image = Image(CategoryIcon(index), design.size);
    EXPECT_GE(count(image, rgb(*design.shapes[0].fill)), 40) << index;
    EXPECT_EQ(image.pixel(8, 9), rgb(*design.shapes[1].fill)) << index;
  }
  for (int state = 0; state < kStateIconCount; ++state) {
    const TIconDesign design = StateIconDesign(state);
    EXPECT_GE(count(Image(StateIcon(state), design.size), rgb(*design.shapes[0].fill)), 8) << state;
  }
}

}  // namespace
}  // namespace brimlow
