#include "winapp/winText.h"

#include <windows.h>

#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow {

std::wstring Wide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const std::u16string wide = platform::current().ansiToWide(ansi);
  return {wide.begin(), wide.end()};
}

std::string Ansi(std::wstring_view wide) {
  if (wide.empty()) return {};
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return platform::current().wideToAnsi(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::wstring WideFromUtf8(std::string_view utf8) {
  const std::u16string wide = platform::utf8ToUtf16(utf8);
  return {wide.begin(), wide.end()};
}

std::wstring WideWindowText(void* window) {
  const HWND handle = static_cast<HWND>(window);
  const int length = GetWindowTextLengthW(handle);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(handle, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string WindowTextOf(void* window) {
  return Ansi(WideWindowText(window));
}

}  // namespace brimlow
