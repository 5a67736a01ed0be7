#include "winapp/splitter.h"

#include <algorithm>

#include "winapp/application.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kClassName = L"BrimlowSplitter";

struct TDrag {
  bool active = false;
  int grabOffset = 0;  // where in the bar the mouse took it
  int shownAt = -1;    // the left edge of the hatched bar, in the parent
};

TDrag& DragOf(HWND splitter) {
  static TDrag drags[2];
  return drags[GetDlgCtrlID(splitter) & 1];
}

// Draws or removes (the same call twice) the hatched bar over the parent and
// its children.
void InvertBar(HWND splitter, int left) {
  const HWND parent = GetParent(splitter);
  RECT bar;
  GetWindowRect(splitter, &bar);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
  const HDC dc = GetDCEx(parent, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE | DCX_PARENTCLIP);
  static const WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  const HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, pattern);
  const HBRUSH brush = CreatePatternBrush(bitmap);
  const HGDIOBJ old = SelectObject(dc, brush);
  PatBlt(dc, left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteObject(bitmap);
  ReleaseDC(parent, dc);
}

int ParentX(HWND splitter, LPARAM point) {
  POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  MapWindowPoints(splitter, GetParent(splitter), &at, 1);
  return at.x;
}

LRESULT CALLBACK SplitterProc(HWND splitter, UINT message, WPARAM wParam, LPARAM lParam) {
  TDrag& drag = DragOf(splitter);
  switch (message) {
    case WM_LBUTTONDOWN: {
      RECT bar;
      GetWindowRect(splitter, &bar);
      MapWindowPoints(nullptr, GetParent(splitter), reinterpret_cast<POINT*>(&bar), 2);
      drag = {true, ParentX(splitter, lParam) - bar.left, bar.left};
      SetCapture(splitter);
      InvertBar(splitter, drag.shownAt);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (drag.active) {
        RECT client;
        GetClientRect(GetParent(splitter), &client);
        const int width = Scaled(kSplitterWidth, DpiOf(splitter));
        const int left = std::clamp(ParentX(splitter, lParam) - drag.grabOffset, 0,
                                    std::max(0, static_cast<int>(client.right) - width));
        InvertBar(splitter, drag.shownAt);
        drag.shownAt = left;
        InvertBar(splitter, drag.shownAt);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (drag.active) {
        drag.active = false;
        InvertBar(splitter, drag.shownAt);
        if (GetCapture() == splitter) ReleaseCapture();
        SendMessageW(GetParent(splitter), WM_SPLITTER_MOVED,
                     static_cast<WPARAM>(GetDlgCtrlID(splitter)), drag.shownAt);
      }
      return 0;
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_SIZEWE)); return TRUE;
    default: return DefWindowProcW(splitter, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateSplitter(HWND parent, int id) {
  RegisterWindowClass(kClassName, SplitterProc, GetSysColorBrush(COLOR_BTNFACE));
  return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace brimlow
