#include "winapp/screenshot.h"

#include <cstdint>
#include <cstring>

namespace brimlow {

namespace {

template <typename Value>
void Put(std::string& bytes, Value value) {
  char raw[sizeof value];
  std::memcpy(raw, &value, sizeof value);
  bytes.append(raw, sizeof value);
}

}  // namespace

std::string WindowPicture(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT frame;
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  // The screen where the window lies: it is in front when the picture is
  // taken, and every child control has drawn itself there.
  BitBlt(dc, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const auto stride = static_cast<uint32_t>((width * 3 + 3) & ~3);
  const uint32_t imageSize = stride * static_cast<uint32_t>(height);
  std::string bytes;
  Put<uint16_t>(bytes, 0x4D42);  // "BM"
  Put<uint32_t>(bytes, 54 + imageSize);
  Put<uint32_t>(bytes, 0);
  Put<uint32_t>(bytes, 54);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  bytes.append(static_cast<const char*>(pixels), imageSize);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bytes;
}

}  // namespace brimlow
