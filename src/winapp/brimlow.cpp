// The program entry: the main window with its two hidden dialogs, shown at
// once; the start-up sequence runs while it paints, then the message loop.
//
// BRIMLOW_SCREENSHOT=<file.bmp> in the environment saves a picture of the
// window shortly after start-up to that file and closes the window; the
// screenshot script uses it.

#include <windows.h>

#include "platform/platform.h"
#include "winapp/main.h"
#include "winapp/screenshot.h"

namespace {

constexpr UINT kScreenshotDelayMs = 1500;

void ScheduleScreenshot(brimlow::TForm2& window) {
  static std::string file;
  const std::optional<std::string> asked =
      brimlow::platform::current().environmentVariable("BRIMLOW_SCREENSHOT");
  if (!asked || asked->empty()) return;
  file = *asked;
  SetTimer(window.Handle(), 1, kScreenshotDelayMs, [](HWND handle, UINT, UINT_PTR id, DWORD) {
    KillTimer(handle, id);
    brimlow::Guarded(
        [handle] { brimlow::platform::replaceFileContents(file, brimlow::WindowPicture(handle)); });
    SendMessageW(handle, WM_CLOSE, 0, 0);
  });
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int show) {
  brimlow::TForm2 window;
  window.QuitOnDestroy();
  ShowWindow(window.Handle(), show);
  UpdateWindow(window.Handle());
  brimlow::Guarded([&window] { window.FormCreate(); });
  ScheduleScreenshot(window);
  return brimlow::RunMessageLoop(window.Handle(), window.Ui().accelerators);
}
