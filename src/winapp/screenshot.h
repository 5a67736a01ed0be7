#pragma once

// A picture of a window as a BMP file, for the documentation's screenshot.

#include <windows.h>

#include <string>

namespace brimlow {

// The window as it is drawn now, frame included, as the bytes of a 24-bit
// BMP file.
std::string WindowPicture(HWND window);

}  // namespace brimlow
