// Looks at the running main window from outside, as a user sees it:
// "windowProbe title" prints its title, "windowProbe close" closes it as its
// close button does, "windowProbe wait" waits up to 60 seconds for it.

#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = FindWindowW(L"TForm2", nullptr);
  if (std::strcmp(argv[1], "wait") == 0) {
    for (int tries = 0; !window && tries < 600; ++tries) {
      Sleep(100);
      window = FindWindowW(L"TForm2", nullptr);
    }
    return window ? 0 : 1;
  }
  if (!window) return 1;
  if (std::strcmp(argv[1], "title") == 0) {
    wchar_t title[512]{};
    GetWindowTextW(window, title, 512);
    char utf8[2048]{};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}
