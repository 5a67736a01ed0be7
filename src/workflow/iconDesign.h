#pragma once

// The images of the download trees as data, drawn by each window's painter:
// 55 category icons of 16 by 16 pixels, chosen by a category's ImageIndex,
// and 29 state icons of 12 by 12, chosen by a download's State.  A design is
// a list of shapes painted in order.
//
// Coordinates are in pixels from the image's top left corner, pixel (x, y)
// covering x to x + 1: a line through 4.5 lights column 4.  A stroked
// shape's box or corners are the middle of its outline.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimlow {

inline constexpr int kCategoryIconCount = 55;
inline constexpr int kCategoryIconSize = 16;
inline constexpr int kStateIconCount = 29;
inline constexpr int kStateIconSize = 12;

struct TIconColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const TIconColour&) const = default;
};

struct TIconPoint {
  double x = 0;
  double y = 0;
};

enum class TIconShapeKind {
  Polygon,      // closed, through `points`
  Polyline,     // open, through `points`
  Ellipse,      // in the box from points[0] to points[1]
  RoundedRect,  // the box from points[0] to points[1], corners of `radius`
  Text,         // `text` centred in that box, bold, `textPixels` high
};

struct TIconShape {
  TIconShapeKind kind = TIconShapeKind::Polygon;
  std::vector<TIconPoint> points;
  std::optional<TIconColour> fill;
  // The outline or line, or the text's colour; none: no outline.
  std::optional<TIconColour> pen;
  double penWidth = 1;
  double radius = 0;
  std::string text;
  int textPixels = 0;
};

struct TIconDesign {
  int size = 0;
  std::vector<TIconShape> shapes;
};

// Indices outside 0..count-1 have no design (an empty one).
TIconDesign CategoryIconDesign(int index);
TIconDesign StateIconDesign(int state);

}  // namespace brimlow
