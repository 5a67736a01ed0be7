#include "winapp/icons.h"

#include <array>
#include <cmath>
#include <string>

namespace brimlow {

namespace {

constexpr int kIconSize = 16;
constexpr int kStateSize = 12;
constexpr int kOutlineCount = 5;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

COLORREF FromHsv(int hue, int saturation, int value) {
  const double s = saturation / 255.0;
  const double v = value / 255.0;
  const double c = v * s;
  const double h = (hue % 360) / 60.0;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  std::array<double, 3> rgb{};
  switch (static_cast<int>(h)) {
    case 0: rgb = {c, x, 0}; break;
    case 1: rgb = {x, c, 0}; break;
    case 2: rgb = {0, c, x}; break;
    case 3: rgb = {0, x, c}; break;
    case 4: rgb = {x, 0, c}; break;
    default: rgb = {c, 0, x}; break;
  }
  const double m = v - c;
  auto channel = [m](double part) { return static_cast<BYTE>(std::lround((part + m) * 255)); };
  return RGB(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}

COLORREF Darker(COLORREF colour, int percent) {
  auto channel = [percent](BYTE part) { return static_cast<BYTE>(part * 100 / percent); };
  return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// Draws on a 16 by 16 bitmap cleared to the transparent colour and adds it to
// the list.
template <typename Draw>
void AddDrawn(HIMAGELIST images, Draw draw) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  const RECT all{0, 0, kIconSize, kIconSize};
  const HBRUSH clear = CreateSolidBrush(kTransparent);
  FillRect(dc, &all, clear);
  DeleteObject(clear);
  draw(dc);
  SelectObject(dc, previous);
  ImageList_AddMasked(images, bitmap, kTransparent);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// Selects a pen and a brush for the shape drawn in `draw`.
template <typename Draw>
void Filled(HDC dc, COLORREF fill, COLORREF outline, Draw draw) {
  const HPEN pen = CreatePen(PS_SOLID, 1, outline);
  const HBRUSH brush = CreateSolidBrush(fill);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, brush);
  draw();
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// Five outlines in eleven colours, so that all 55 differ at 16 pixels.
void DrawCategory(HDC dc, int index) {
  const COLORREF colour = FromHsv((index / kOutlineCount) * 360 / 11, 190, 215);
  Filled(dc, colour, Darker(colour, 170), [&] {
    switch (index % kOutlineCount) {
      case 0: {
        const POINT folder[] = {{1, 3}, {6, 3}, {8, 5}, {14, 5}, {14, 13}, {1, 13}};
        Polygon(dc, folder, 6);
        break;
      }
      case 1: Ellipse(dc, 1, 1, 15, 15); break;
      case 2: RoundRect(dc, 1, 1, 15, 15, 5, 5); break;
      case 3: {
        const POINT diamond[] = {{8, 0}, {15, 8}, {8, 15}, {0, 8}};
        Polygon(dc, diamond, 4);
        break;
      }
      default: {
        const POINT triangle[] = {{8, 1}, {15, 14}, {1, 14}};
        Polygon(dc, triangle, 3);
        break;
      }
    }
  });
  // A light spot keeps the shape readable on the sky blue of marked rows.
  Filled(dc, RGB(240, 240, 240), RGB(240, 240, 240), [&] { Ellipse(dc, 6, 7, 10, 11); });
}

COLORREF StateColour(int state) {
  switch (state) {
    case 0: return RGB(230, 145, 20);
    case 2: return RGB(40, 160, 60);
    case 3: return RGB(30, 110, 220);
    case 4: return RGB(210, 40, 40);
    case 6: return RGB(130, 70, 190);
    default: return FromHsv((state * 47) % 360, 60, 120);
  }
}

bool IsNamedState(int state) {
  return state == 0 || state == 2 || state == 3 || state == 4 || state == 6;
}

void Lines(HDC dc, std::initializer_list<POINT> points) {
  const HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 255, 255));
  const HGDIOBJ old = SelectObject(dc, pen);
  Polyline(dc, points.begin(), static_cast<int>(points.size()));
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawGlyph(HDC dc, int state, int x, int y) {
  switch (state) {
    case 0:  // paused: two bars
      Lines(dc, {{x + 4, y + 3}, {x + 4, y + 9}});
      Lines(dc, {{x + 7, y + 3}, {x + 7, y + 9}});
      return;
    case 2: Lines(dc, {{x + 3, y + 6}, {x + 5, y + 8}, {x + 9, y + 4}}); return;  // a tick
    case 3:                                                                       // an arrow down
      Lines(dc, {{x + 6, y + 2}, {x + 6, y + 9}});
      Lines(dc, {{x + 3, y + 6}, {x + 6, y + 9}, {x + 9, y + 6}});
      return;
    case 4:  // a cross
      Lines(dc, {{x + 4, y + 4}, {x + 8, y + 8}});
      Lines(dc, {{x + 8, y + 4}, {x + 4, y + 8}});
      return;
    case 6: Lines(dc, {{x + 6, y + 3}, {x + 6, y + 6}, {x + 9, y + 7}}); return;  // clock hands
    default: {
      // Codes without a meaning of their own show their number.
      const HFONT font = CreateFontW(state >= 10 ? -7 : -9, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma");
      const HGDIOBJ old = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      RECT box{x, y, x + kStateSize, y + kStateSize};
      const std::wstring number = std::to_wstring(state);
      DrawTextW(dc, number.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
      DeleteObject(font);
      return;
    }
  }
}

void DrawState(HDC dc, int state) {
  constexpr int x = (kIconSize - kStateSize) / 2;
  constexpr int y = x;
  const COLORREF colour = StateColour(state);
  Filled(dc, colour, Darker(colour, 150), [&] {
    if (IsNamedState(state))
      Ellipse(dc, x, y, x + kStateSize, y + kStateSize);
    else
      RoundRect(dc, x, y, x + kStateSize, y + kStateSize, 4, 4);
  });
  DrawGlyph(dc, state, x, y);
}

HIMAGELIST MakeDownloadImages() {
  const HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK,
                                             kCategoryIconCount + kStateIconCount, 0);
  for (int index = 0; index < kCategoryIconCount; ++index)
    AddDrawn(images, [index](HDC dc) { DrawCategory(dc, index); });
  for (int state = 0; state < kStateIconCount; ++state)
    AddDrawn(images, [state](HDC dc) { DrawState(dc, state); });
  return images;
}

HIMAGELIST MakeCheckBoxImages() {
  const HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 2, 0);
  for (const UINT state : {0u, static_cast<UINT>(DFCS_CHECKED)}) {
    AddDrawn(images, [state](HDC dc) {
      RECT box{1, 1, 14, 14};
      DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | state);
    });
  }
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

HIMAGELIST CheckBoxImages() {
  static const HIMAGELIST images = MakeCheckBoxImages();
  return images;
}

}  // namespace brimlow
