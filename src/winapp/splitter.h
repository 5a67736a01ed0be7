#pragma once

// The bars between the panes: dragged with the mouse, they show a hatched bar
// while dragged and tell their parent the new position on release.

#include <windows.h>

namespace brimlow {

// Sent to the splitter's parent on release: wParam the splitter's
// identifier, lParam the new left edge of the bar in the parent's client
// coordinates.
constexpr UINT WM_SPLITTER_MOVED = WM_APP + 1;
constexpr int kSplitterWidth = 4;

HWND CreateSplitter(HWND parent, int id);

}  // namespace brimlow
