#include "winapp/about.h"

#include "winapp/application.h"
#include "winapp/dialogWindow.h"
#include "winapp/winText.h"
#include "workflow/aboutDesign.h"

namespace brimlow {

namespace {

const TAboutDesign& kDesign = kAboutDesign;

void Text(HWND dialog, const TAboutLine& line) {
  const RECT box{line.left, line.top, kDesign.textRight, line.top + line.height};
  const HWND label = DialogControl(dialog, L"STATIC", WideFromUtf8(line.text).c_str(),
                                   SS_LEFT | SS_NOPREFIX, 0, box);
  SendMessageW(label, WM_SETFONT,
               reinterpret_cast<WPARAM>(PixelFont(Scaled(line.pixels, DpiOf(dialog)), line.bold)),
               FALSE);
}

}  // namespace

TaboutForm::TaboutForm(HWND owner)
    : FHandle(CreateDialogWindow(owner, WideFromUtf8(kDesign.caption).c_str(), kDesign.clientWidth,
                                 kDesign.clientHeight)) {
  const int iconRight = kDesign.iconLeft + kDesign.iconSize;
  const HWND icon = DialogControl(
      FHandle, L"STATIC", L"", SS_ICON | SS_REALSIZEIMAGE, 0,
      {kDesign.iconLeft, kDesign.iconTop, iconRight, kDesign.iconTop + kDesign.iconSize});
  const int size = Scaled(kDesign.iconSize, DpiOf(FHandle));
  if (const HANDLE image =
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0))
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
  for (const TAboutLine& line : kDesign.lines)
    Text(FHandle, line);
  const int buttonLeft = (kDesign.clientWidth - kDesign.buttonWidth) / 2;
  Button1 = DialogControl(FHandle, L"BUTTON", WideFromUtf8(kDesign.closeCaption).c_str(),
                          WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                          {buttonLeft, kDesign.buttonTop, buttonLeft + kDesign.buttonWidth,
                           kDesign.buttonTop + kDesign.buttonHeight});
}

TaboutForm::~TaboutForm() {
  if (IsWindow(FHandle)) DestroyWindow(FHandle);
}

}  // namespace brimlow
