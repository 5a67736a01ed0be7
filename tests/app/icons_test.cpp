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

}  // namespace
}  // namespace brimlow
