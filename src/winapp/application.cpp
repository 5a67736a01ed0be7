#include "winapp/application.h"

#include <map>
#include <utility>

#include "winapp/winText.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kModalProperty = L"BrimlowModalState";

TErrorPresenter& presenter() {
  static TErrorPresenter installed;
  return installed;
}

std::wstring MessageOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    // The program's messages are texts of the active code page.
    return Wide(error.what());
  } catch (...) {
    return L"Unknown error";
  }
}

}  // namespace

TErrorPresenter SetErrorPresenter(TErrorPresenter replacement) {
  return std::exchange(presenter(), std::move(replacement));
}

void HandleException(std::exception_ptr failure) {
  if (!failure) return;
  try {
    const std::wstring message = MessageOf(failure);
    if (presenter())
      presenter()(message);
    else
      MessageBoxW(GetActiveWindow(), message.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
  } catch (...) {
    // The message box runs a loop of its own; nothing may escape it.
  }
}

TModalState* ModalStateOf(HWND dialog) {
  return static_cast<TModalState*>(GetPropW(dialog, kModalProperty));
}

void EndModal(HWND dialog, bool accepted) {
  if (TModalState* state = ModalStateOf(dialog)) {
    state->accepted = accepted;
    state->done = true;
  }
  ShowWindow(dialog, SW_HIDE);
}

bool PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

bool RunModal(HWND dialog) {
  TModalState state;
  SetPropW(dialog, kModalProperty, &state);
  const HWND owner = GetWindow(dialog, GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  while (!state.done && IsWindow(dialog)) {
    WaitMessage();
    if (!PumpMessages()) break;
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (IsWindow(dialog)) {
    ShowWindow(dialog, SW_HIDE);
    RemovePropW(dialog, kModalProperty);
  }
  return state.accepted;
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (accelerators && TranslateAcceleratorW(mainWindow, accelerators, &message)) continue;
    const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int Scaled(int pixels, int dpi) {
  return MulDiv(pixels, dpi, USER_DEFAULT_SCREEN_DPI);
}

int DpiOf(HWND window) {
  const UINT dpi = window ? GetDpiForWindow(window) : 0;
  return dpi ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

HFONT PixelFont(int pixels, bool bold) {
  static std::map<std::pair<int, bool>, HFONT> fonts;
  HFONT& font = fonts[{pixels, bold}];
  if (!font)
    font = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  return font;
}

HFONT ProgramFont(int dpi) {
  constexpr int kPoints = 8;
  return PixelFont(MulDiv(kPoints, dpi, 72), false);
}

void SetFontOfChildren(HWND parent, HFONT font) {
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM value) -> BOOL {
        // Controls with a font of their own (bold captions) keep it.
        if (!GetPropW(child, L"BrimlowOwnFont"))
          SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(value), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  RegisterClassExW(&windowClass);
}

}  // namespace brimlow
