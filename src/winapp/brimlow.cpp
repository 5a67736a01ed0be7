// The program entry: the main window with its two hidden dialogs, shown at
// once; the start-up sequence runs while it paints, then the message loop.
//
// BRIMLOW_SCREENSHOT=<file.bmp> in the environment saves a picture of the
// window shortly after start-up to that file and closes the window; the
// screenshot script uses it.  With BRIMLOW_SCREENSHOT_OF=overview the picture
// is of the list's overview, opened for it.

#include <windows.h>

#include "platform/platform.h"
#include "winapp/main.h"
#include "winapp/overviewForm.h"
#include "winapp/screenshot.h"

namespace {

constexpr UINT kScreenshotDelayMs = 1500;

void ScheduleScreenshot(brimlow::TForm2& window) {
  static std::string file;
  const std::optional<std::string> asked =
      brimlow::platform::current().environmentVariable("BRIMLOW_SCREENSHOT");
  if (!asked || asked->empty()) return;
  file = *asked;
  static brimlow::TForm2* form = nullptr;
  if (brimlow::platform::current().environmentVariable("BRIMLOW_SCREENSHOT_OF") ==
      std::optional<std::string>("overview")) {
    form = &window;
    window.listOverviewExecute();
    // Below the main window, so that nothing of it shows in the picture.
    RECT main{};
    GetWindowRect(window.Handle(), &main);
    SetWindowPos(window.Overview()->Handle(), nullptr, main.left, main.bottom + 16, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  }
  SetTimer(window.Handle(), 1, kScreenshotDelayMs, [](HWND handle, UINT, UINT_PTR id, DWORD) {
    KillTimer(handle, id);
    const HWND shown = form && form->Overview() ? form->Overview()->Handle() : handle;
    brimlow::Guarded(
        [shown] { brimlow::platform::replaceFileContents(file, brimlow::WindowPicture(shown)); });
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
