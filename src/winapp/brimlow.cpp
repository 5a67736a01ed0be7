// The program entry: the main window with its two hidden dialogs, shown at
// once; the start-up sequence runs while it paints, then the message loop.

#include <windows.h>

#include "winapp/main.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int show) {
  brimlow::TForm2 window;
  window.QuitOnDestroy();
  ShowWindow(window.Handle(), show);
  UpdateWindow(window.Handle());
  brimlow::Guarded([&window] { window.FormCreate(); });
  return brimlow::RunMessageLoop(window.Handle(), window.Ui().accelerators);
}
