#include "workflow/paneLayout.h"

#include <algorithm>

namespace brimlow {

namespace {
constexpr int kMiddleAfterResize = 170;
constexpr int kMiddleAfterDrag = 165;
}  // namespace

TPaneWidths WidthsAfterResize(int outerWidth) {
  // Integer division truncates toward zero, also for a window narrower than
  // the middle pane.
  const int side = (outerWidth - kMiddleAfterResize) / 2;
  return {side, kMiddleAfterResize, side};
}

TPaneWidths WidthsAfterLeftSplitter(int outerWidth, int leftWidth) {
  return {leftWidth, kMiddleAfterDrag, outerWidth - leftWidth - kMiddleAfterDrag};
}

TPaneWidths WidthsAfterRightSplitter(int outerWidth, int rightWidth) {
  return {outerWidth - rightWidth - kMiddleAfterDrag, kMiddleAfterDrag, rightWidth};
}

std::array<int, 3> FitPanes(const TPaneWidths& asked, TPaneAnchor anchor, int room) {
  room = std::max(room, 0);
  const int middle = std::clamp(asked.middle, 0, room);
  const int rest = room - middle;
  int left = 0;
  switch (anchor) {
    case TPaneAnchor::Both: left = rest / 2; break;
    case TPaneAnchor::Left: left = std::clamp(asked.left, 0, rest); break;
    case TPaneAnchor::Right: left = rest - std::clamp(asked.right, 0, rest); break;
  }
  return {left, middle, rest - left};
}

}  // namespace brimlow
