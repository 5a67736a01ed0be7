#include "platform/win32/win32Shell.h"

namespace brimlow::platform {

std::wstring shellNameOf(IShellItem* item, SIGDN form) {
  std::wstring name;
  PWSTR text = nullptr;
  if (item != nullptr && SUCCEEDED(item->GetDisplayName(form, &text)) && text != nullptr)
    name = text;
  ::CoTaskMemFree(text);
  return name;
}

std::wstring fullPathOf(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return path;
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.resize(n);  // the size asked for, its terminating zero included
  }
}

bool pathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace brimlow::platform
