#include "platform/win32/win32Platform.h"

#include <windows.h>

#include <climits>
#include <cstdio>

namespace brimlow::platform {

Platform& system() {
  static Win32Platform instance;
  return instance;
}

std::string systemMessage(uint32_t error) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message;
  if (length != 0 && text != nullptr) message.assign(text, length);
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  if (message.empty()) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "System error %lu.", static_cast<unsigned long>(error));
    message = buffer;
  }
  return message;
}

std::wstring widenAnsi(std::string_view text) {
  std::wstring wide;
  if (text.empty()) return wide;
  // Paths, key and variable names are far below the limit of one call.
  const int size = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
  const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (units <= 0) return wide;
  wide.resize(static_cast<size_t>(units));
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), units);
  return wide;
}

}  // namespace brimlow::platform
