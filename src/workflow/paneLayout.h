#pragma once

// How the three panes of the main window share its width: the middle pane
// keeps a constant width and the two side panes take the rest.  The widths
// asked for follow from the window's outer width W (frame included); the
// splitter then fits them into the room it really has.

#include <array>

namespace brimlow {

struct TPaneWidths {
  int left = 0;
  int middle = 0;
  int right = 0;
  bool operator==(const TPaneWidths&) const = default;
};

// Which side pane keeps the width asked for when the room is smaller than W.
enum class TPaneAnchor { Both, Left, Right };

// After the window is resized: middle 170, each side (W - 170) / 2.
TPaneWidths WidthsAfterResize(int outerWidth);
// After the left splitter was dragged: middle 165, the right pane the rest.
TPaneWidths WidthsAfterLeftSplitter(int outerWidth, int leftWidth);
// After the right splitter was dragged: middle 165, the left pane the rest.
TPaneWidths WidthsAfterRightSplitter(int outerWidth, int rightWidth);

// The sizes of the three panes in a splitter with `room` pixels for them:
// the middle gets its width (at most the room), the anchored side its width
// (at most what is left), the other side the rest; with both anchored the
// rest is halved.  No size is negative.
std::array<int, 3> FitPanes(const TPaneWidths& asked, TPaneAnchor anchor, int room);

}  // namespace brimlow
