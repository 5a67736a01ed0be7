#include "winapp/icons.h"

#include <cmath>
#include <string>
#include <vector>

namespace brimlow {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

COLORREF Colour(TIconColour colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

// GDI lights the pixels whose corner a coordinate falls in.
POINT Pixel(TIconPoint point, POINT origin) {
  return {origin.x + static_cast<LONG>(std::floor(point.x)),
          origin.y + static_cast<LONG>(std::floor(point.y))};
}

// The pixels a box covers with its outline; GDI's right and bottom edges lie
// outside.
RECT Covered(const TIconShape& shape, POINT origin) {
  const double half = shape.pen && shape.kind != TIconShapeKind::Text ? shape.penWidth / 2 : 0;
  auto at = [](double value) { return static_cast<LONG>(std::lround(value)); };
  return {origin.x + at(shape.points[0].x - half), origin.y + at(shape.points[0].y - half),
          origin.x + at(shape.points[1].x + half), origin.y + at(shape.points[1].y + half)};
}

void PaintText(HDC dc, const TIconShape& shape, RECT box) {
  const HFONT font = CreateFontW(-shape.textPixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma");
  const HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, shape.pen ? Colour(*shape.pen) : RGB(0, 0, 0));
  const std::wstring text(shape.text.begin(), shape.text.end());
  DrawTextW(dc, text.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
}

void PaintShape(HDC dc, const TIconShape& shape, POINT origin) {
  // A shape without an outline is outlined in its fill, which GDI's box
  // needs to reach its right and bottom edges.
  const COLORREF line = Colour(shape.pen ? *shape.pen : shape.fill.value_or(TIconColour{}));
  const HPEN pen = CreatePen(PS_SOLID, static_cast<int>(std::lround(shape.penWidth)), line);
  const HGDIOBJ brush = shape.fill ? static_cast<HGDIOBJ>(CreateSolidBrush(Colour(*shape.fill)))
                                   : GetStockObject(NULL_BRUSH);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, brush);
  std::vector<POINT> points;
  for (const TIconPoint& point : shape.points)
    points.push_back(Pixel(point, origin));
  const RECT box = Covered(shape, origin);
  const int corner = static_cast<int>(std::lround(shape.radius * 2));
  switch (shape.kind) {
    case TIconShapeKind::Polygon:
      Polygon(dc, points.data(), static_cast<int>(points.size()));
      break;
    case TIconShapeKind::Polyline:
      Polyline(dc, points.data(), static_cast<int>(points.size()));
      break;
    case TIconShapeKind::Ellipse: Ellipse(dc, box.left, box.top, box.right, box.bottom); break;
    case TIconShapeKind::RoundedRect:
      RoundRect(dc, box.left, box.top, box.right, box.bottom, corner, corner);
      break;
    case TIconShapeKind::Text: PaintText(dc, shape, Covered(shape, origin)); break;
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  if (shape.fill) DeleteObject(brush);
}

// Paints a design's shapes with their top left corner at `origin`.
void PaintIcon(HDC dc, const TIconDesign& design, POINT origin) {
  for (const TIconShape& shape : design.shapes)
    PaintShape(dc, shape, origin);
}

// Paints the design centred on a bitmap of the list's size cleared to the
// transparent colour, and adds it to the list.
void AddPainted(HIMAGELIST images, const TIconDesign& design) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, kCategoryIconSize, kCategoryIconSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  const RECT all{0, 0, kCategoryIconSize, kCategoryIconSize};
  const HBRUSH clear = CreateSolidBrush(kTransparent);
  FillRect(dc, &all, clear);
  DeleteObject(clear);
  PaintIcon(dc, design,
            {(kCategoryIconSize - design.size) / 2, (kCategoryIconSize - design.size) / 2});
  SelectObject(dc, previous);
  ImageList_AddMasked(images, bitmap, kTransparent);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

HIMAGELIST MakeDownloadImages() {
  const HIMAGELIST images =
      ImageList_Create(kCategoryIconSize, kCategoryIconSize, ILC_COLOR24 | ILC_MASK,
                       kCategoryIconCount + kStateIconCount, 0);
  for (int index = 0; index < kCategoryIconCount; ++index)
    AddPainted(images, CategoryIconDesign(index));
  for (int state = 0; state < kStateIconCount; ++state)
    AddPainted(images, StateIconDesign(state));
  return images;
}

}  // namespace

int CategoryImage(int imageIndex) {
  return imageIndex >= 0 && imageIndex < kCategoryIconCount ? imageIndex : -1;
}

int StateImage(int state) {
  return state >= 0 && state < kStateIconCount ? kCategoryIconCount + state : -1;
}

// Kept to the end of the process; every list view shares them.
HIMAGELIST DownloadImages() {
  static const HIMAGELIST images = MakeDownloadImages();
  return images;
}

}  // namespace brimlow
