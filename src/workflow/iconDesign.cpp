#include "workflow/iconDesign.h"

#include <array>
#include <cmath>

namespace brimlow {

namespace {

// Category icons combine one of five outlines with one of eleven colours, so
// that all 55 differ in shape or colour and stay apart at 16 pixels.
constexpr int kOutlineCount = 5;
constexpr int kHueCount = 11;
const TIconColour kWhite{255, 255, 255};
// A light spot keeps a category's shape readable on the sky blue of marked
// rows.
const TIconColour kSpot{240, 240, 240};

TIconColour FromHsv(int hue, int saturation, int value) {
  const double c = value / 255.0 * (saturation / 255.0);
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
  const double m = value / 255.0 - c;
  auto channel = [m](double part) { return static_cast<uint8_t>(std::lround((part + m) * 255)); };
  return {channel(rgb[0]), channel(rgb[1]), channel(rgb[2])};
}

// The colour with every channel divided by percent / 100.
TIconColour Darker(TIconColour colour, int percent) {
  auto channel = [percent](uint8_t part) { return static_cast<uint8_t>(part * 100 / percent); };
  return {channel(colour.red), channel(colour.green), channel(colour.blue)};
}

TIconShape Shape(TIconShapeKind kind, std::vector<TIconPoint> points) {
  TIconShape shape;
  shape.kind = kind;
  shape.points = std::move(points);
  return shape;
}

TIconShape Outlined(TIconShapeKind kind, std::vector<TIconPoint> points, TIconColour fill,
                    int darkerPercent) {
  TIconShape shape = Shape(kind, std::move(points));
  shape.fill = fill;
  shape.pen = Darker(fill, darkerPercent);
  return shape;
}

TIconShape CategoryOutline(int outline, TIconColour colour) {
  using enum TIconShapeKind;
  switch (outline) {
    case 0:  // a folder
      return Outlined(Polygon,
                      {{1.5, 3.5}, {6.5, 3.5}, {8.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}},
                      colour, 170);
    case 1: return Outlined(Ellipse, {{1.5, 1.5}, {14.5, 14.5}}, colour, 170);
    case 2: {
      TIconShape tile = Outlined(RoundedRect, {{1.5, 1.5}, {14.5, 14.5}}, colour, 170);
      tile.radius = 3;
      return tile;
    }
    case 3:
      return Outlined(Polygon, {{8.5, 0.5}, {15.5, 8.5}, {8.5, 15.5}, {0.5, 8.5}}, colour, 170);
    default: return Outlined(Polygon, {{8.5, 1.5}, {15.5, 14.5}, {1.5, 14.5}}, colour, 170);
  }
}

TIconShape Line(std::vector<TIconPoint> points) {
  TIconShape line = Shape(TIconShapeKind::Polyline, std::move(points));
  line.pen = kWhite;
  line.penWidth = 1.6;
  return line;
}

// The mark inside a state icon: a picture for the five named states, the
// number for the other codes.
std::vector<TIconShape> StateGlyph(int state) {
  switch (state) {
    case 0: return {Line({{4.5, 3.5}, {4.5, 8.5}}), Line({{7.5, 3.5}, {7.5, 8.5}})};  // paused
    case 2: return {Line({{3, 6.2}, {5.2, 8.4}, {9, 3.8}})};                          // complete
    case 3:  // downloading: an arrow down
      return {Line({{6, 2.5}, {6, 9}}), Line({{3.3, 6.3}, {6, 9}, {8.7, 6.3}})};
    case 4:  // error: a cross
      return {Line({{3.8, 3.8}, {8.2, 8.2}}), Line({{8.2, 3.8}, {3.8, 8.2}})};
    case 6: return {Line({{6, 3}, {6, 6}, {8.5, 7}})};  // scheduled: clock hands
    default: {
      TIconShape number = Shape(TIconShapeKind::Text, {{0, 0}, {kStateIconSize, kStateIconSize}});
      number.pen = kWhite;
      number.text = std::to_string(state);
      number.textPixels = state >= 10 ? 7 : 9;
      return {number};
    }
  }
}

bool IsNamedState(int state) {
  return state == 0 || state == 2 || state == 3 || state == 4 || state == 6;
}

TIconColour StateColour(int state) {
  switch (state) {
    case 0: return {230, 145, 20};
    case 2: return {40, 160, 60};
    case 3: return {30, 110, 220};
    case 4: return {210, 40, 40};
    case 6: return {130, 70, 190};
    default: return FromHsv((state * 47) % 360, 60, 120);
  }
}

}  // namespace

TIconDesign CategoryIconDesign(int index) {
  if (index < 0 || index >= kCategoryIconCount) return {};
  const TIconColour colour = FromHsv((index / kOutlineCount) * 360 / kHueCount, 190, 215);
  TIconShape spot = Shape(TIconShapeKind::Ellipse, {{6, 7}, {10, 11}});
  spot.fill = kSpot;
  return {kCategoryIconSize, {CategoryOutline(index % kOutlineCount, colour), spot}};
}

TIconDesign StateIconDesign(int state) {
  if (state < 0 || state >= kStateIconCount) return {};
  // The five named states are round; the other codes are square.
  TIconShape frame =
      Outlined(IsNamedState(state) ? TIconShapeKind::Ellipse : TIconShapeKind::RoundedRect,
               {{0.5, 0.5}, {kStateIconSize - 0.5, kStateIconSize - 0.5}}, StateColour(state), 150);
  frame.radius = 2;
  TIconDesign design{kStateIconSize, {frame}};
  for (TIconShape& glyph : StateGlyph(state))
    design.shapes.push_back(std::move(glyph));
  return design;
}

}  // namespace brimlow
