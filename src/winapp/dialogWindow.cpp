#include "winapp/dialogWindow.h"

#include "winapp/application.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kClassName = L"BrimlowDialog";
constexpr const wchar_t* kCaptionProperty = L"BrimlowCaption";

LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        EndModal(dialog, LOWORD(wParam) == IDOK);
      return 0;
    case WM_CLOSE: EndModal(dialog, false); return 0;
    case WM_CTLCOLORSTATIC:
      if (GetPropW(reinterpret_cast<HWND>(lParam), kCaptionProperty)) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return DefWindowProcW(dialog, message, wParam, lParam);
    default: return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateDialogWindow(HWND owner, const wchar_t* title, int clientWidth, int clientHeight) {
  RegisterWindowClass(kClassName, DialogProc, GetSysColorBrush(COLOR_BTNFACE));
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  const int dpi = DpiOf(owner);
  RECT frame{0, 0, Scaled(clientWidth, dpi), Scaled(clientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
  return CreateWindowExW(exStyle, kClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

HWND DialogControl(HWND dialog, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                   RECT box, DWORD exStyle) {
  const int dpi = DpiOf(dialog);
  const HWND control = CreateWindowExW(
      exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Scaled(box.left, dpi),
      Scaled(box.top, dpi), Scaled(box.right - box.left, dpi), Scaled(box.bottom - box.top, dpi),
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
      nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(dpi)), FALSE);
  return control;
}

void PlaceDialogControl(HWND control, RECT box) {
  const int dpi = DpiOf(GetParent(control));
  MoveWindow(control, Scaled(box.left, dpi), Scaled(box.top, dpi),
             Scaled(box.right - box.left, dpi), Scaled(box.bottom - box.top, dpi), FALSE);
}

void ResizeDialog(HWND dialog, int clientWidth, int clientHeight) {
  const int dpi = DpiOf(dialog);
  RECT frame{0, 0, Scaled(clientWidth, dpi), Scaled(clientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MarkAsCaption(HWND label) {
  SetPropW(label, kCaptionProperty, reinterpret_cast<HANDLE>(1));
}

}  // namespace brimlow
