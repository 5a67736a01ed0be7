#include "winapp/about.h"

#include "winapp/application.h"
#include "winapp/dialogWindow.h"

namespace brimlow {

namespace {

constexpr int kClientWidth = 290;
constexpr int kClientHeight = 171;
constexpr int kIconSize = 33;
constexpr int kTitlePixels = 22;
constexpr int kTextPixels = 13;

void Text(HWND dialog, const wchar_t* text, RECT box, int pixels, bool bold) {
  const HWND label = DialogControl(dialog, L"STATIC", text, SS_LEFT | SS_NOPREFIX, 0, box);
  SendMessageW(label, WM_SETFONT,
               reinterpret_cast<WPARAM>(PixelFont(Scaled(pixels, DpiOf(dialog)), bold)), FALSE);
}

}  // namespace

TaboutForm::TaboutForm(HWND owner)
    : FHandle(CreateDialogWindow(owner, L"О программе", kClientWidth, kClientHeight)) {
  const HWND icon = DialogControl(FHandle, L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, 0,
                                  {12, 8, 12 + kIconSize, 8 + kIconSize});
  const int size = Scaled(kIconSize, DpiOf(FHandle));
  if (const HANDLE image =
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0))
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
  Text(FHandle, L"Brimlow", {52, 10, 280, 38}, kTitlePixels, true);
  Text(FHandle, L"для Tarvolt", {12, 46, 280, 62}, kTextPixels, true);
  Text(FHandle, L"Brimlow 1.0", {12, 64, 280, 80}, kTextPixels, false);
  Text(FHandle, L"Tarvolt © Kelvane", {12, 82, 280, 98}, kTextPixels, false);
  Text(FHandle, L"Brimlow © авторы Brimlow.", {12, 100, 280, 116}, kTextPixels, false);
  Button1 = DialogControl(FHandle, L"BUTTON", L"Закрыть", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                          {107, 136, 182, 161});
}

TaboutForm::~TaboutForm() {
  if (IsWindow(FHandle)) DestroyWindow(FHandle);
}

}  // namespace brimlow
