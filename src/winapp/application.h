#pragma once

// The window program's frame: the one top-level error handler, the modal run
// of a dialog window, the message loop and the program's fonts.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace brimlow {

constexpr const wchar_t* kApplicationTitle = L"Tarvolt Brimlow";

// Shows the message of a failure; by default in a message box over the
// active window.  Tests collect the messages instead.
using TErrorPresenter = std::function<void(const std::wstring& message)>;
TErrorPresenter SetErrorPresenter(TErrorPresenter presenter);
void HandleException(std::exception_ptr failure);

// Runs a handler; what it throws ends the user's action and is shown by the
// top-level handler, and the window stays usable.
template <typename Handler>
void Guarded(Handler&& handler) {
  try {
    handler();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

// The window procedure of a window that an object of `Form` makes, handing
// itself over as CreateWindowExW's last argument: the object is kept in the
// window's user data from WM_NCCREATE on, and its Dispatch answers once its
// Ready() says its controls exist; until then the system's default handling
// serves.  What Dispatch throws is shown by Guarded and answers 0.
template <typename Form>
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->FHandle = window;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form || !form->Ready()) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  Guarded([&] { result = form->Dispatch(message, wParam, lParam); });
  return result;
}

// Shows a dialog window modally over its owner and answers whether the user
// accepted it.  Tests answer in the user's place with a runner of their own.
using TModalRunner = std::function<bool(HWND dialog)>;
bool RunModal(HWND dialog);

// Where a dialog window keeps whether it was accepted and whether it is done.
struct TModalState {
  bool done = false;
  bool accepted = false;
};
void EndModal(HWND dialog, bool accepted);
TModalState* ModalStateOf(HWND dialog);

// Dispatches one waiting message, if any; keyboard navigation of dialogs and
// the main window included.  False when the queue asks the program to end.
bool PumpMessages();
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);

// The program's font (Tahoma 8 point at the given resolution), kept to the
// end of the process; sizes in pixels for the dialogs' larger type.
HFONT ProgramFont(int dpi);
HFONT PixelFont(int pixels, bool bold);
void SetFontOfChildren(HWND parent, HFONT font);

// A design size in pixels at 96 dots per inch, for the window's resolution.
int Scaled(int pixels, int dpi);
int DpiOf(HWND window);

// Registers the window classes of the program once.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);

}  // namespace brimlow
