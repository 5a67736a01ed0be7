#pragma once

// A small dialog window made in code: a fixed frame with only the close
// button, a client area of the design size, "ОК" or Enter accepts, the close
// button or Escape declines.  It is created hidden and shown by RunModal.

#include <windows.h>

namespace brimlow {

HWND CreateDialogWindow(HWND owner, const wchar_t* title, int clientWidth, int clientHeight);
// A child control of the dialog at a design position.
HWND DialogControl(HWND dialog, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                   RECT designBox, DWORD exStyle = 0);
// Moves a child control to another design position.
void PlaceDialogControl(HWND control, RECT designBox);
// Gives the dialog a client area of another design size.
void ResizeDialog(HWND dialog, int clientWidth, int clientHeight);
// Labels marked so are drawn in the colour of captions.
void MarkAsCaption(HWND label);

}  // namespace brimlow
