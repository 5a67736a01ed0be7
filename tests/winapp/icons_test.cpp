// The Windows painter draws every icon of the design table into the lists'
// image list, each in the colours of its design.
#include "winapp/icons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace brimlow {
namespace {

constexpr int kSide = 16;
const COLORREF kBackground = RGB(255, 255, 255);

// The image at `index` drawn on white, row by row.
std::vector<COLORREF> Drawn(HIMAGELIST images, int index) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, kSide, kSide);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  const RECT all{0, 0, kSide, kSide};
  const HBRUSH white = CreateSolidBrush(kBackground);
  FillRect(dc, &all, white);
  DeleteObject(white);
  ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

COLORREF Colour(const TIconShape& shape) {
  return RGB(shape.fill->red, shape.fill->green, shape.fill->blue);
}

TEST(Icons, EveryDesignIsPaintedInItsColours) {
  const HIMAGELIST images = DownloadImages();
  ASSERT_EQ(ImageList_GetImageCount(images), kCategoryIconCount + kStateIconCount);
  std::set<std::vector<COLORREF>> seen;
  for (int index = 0; index < kCategoryIconCount + kStateIconCount; ++index) {
    const bool category = index < kCategoryIconCount;
    const TIconDesign design =
        category ? CategoryIconDesign(index) : StateIconDesign(index - kCategoryIconCount);
    const std::vector<COLORREF> pixels = Drawn(images, index);
    seen.insert(pixels);
    // A fifth of the image at least is the first shape's fill.
    EXPECT_GE(std::count(pixels.begin(), pixels.end(), Colour(design.shapes[0])),
              design.size * design.size / 5)
        << index;
    if (category) {
      EXPECT_EQ(pixels[9 * kSide + 8], Colour(design.shapes[1])) << "the light spot " << index;
    }
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kCategoryIconCount + kStateIconCount))
      << "every image differs";
}

}  // namespace
}  // namespace brimlow
