// Files, folders, the program's own path and the clock.
#include <windows.h>

#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

constexpr DWORD kReadChunk = 1u << 20;

DWORD attributesOf(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
}

bool separator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

}  // namespace

std::string Win32Platform::readFile(const std::string& path) {
  return readFileWithRoom(path, 0);
}

std::string Win32Platform::readFileWithRoom(const std::string& path, double growth) {
  // Shared for reading, writing and deletion: the host may go on using the
  // file while it is read.
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EFOpenError(path, systemMessage(::GetLastError()));
  std::string bytes;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    const auto bytesOfFile = static_cast<size_t>(size.QuadPart);
    bytes.reserve(bytesOfFile + static_cast<size_t>(static_cast<double>(bytesOfFile) * growth));
  }
  std::string buffer(kReadChunk, '\0');
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer.data(), kReadChunk, &got, nullptr)) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(file);
      throw EFOpenError(path, systemMessage(error));
    }
    if (got == 0) break;
    bytes.append(buffer.data(), got);
  }
  ::CloseHandle(file);
  return bytes;
}

bool Win32Platform::fileExists(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::directoryExists(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Platform::createDirectory(const std::string& path) {
  return !path.empty() && ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::vector<std::string> Win32Platform::listDirectory(const std::string& path) {
  std::vector<std::string> names;
  if (path.empty()) return names;
  std::wstring pattern = widenAnsi(path);
  if (!separator(pattern.back())) pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  const HANDLE listing = ::FindFirstFileW(pattern.c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring_view name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    names.push_back(wideToAnsi(asUtf16(name)));
  } while (::FindNextFileW(listing, &entry));
  ::FindClose(listing);
  return names;
}

bool Win32Platform::deleteFile(const std::string& path) {
  // The deletion is final, not into the recycle bin; a folder is never
  // deleted by this call.
  return !path.empty() && ::DeleteFileA(path.c_str()) != 0;
}

std::string Win32Platform::programFilePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return wideToAnsi(asUtf16(buffer));
    }
    buffer.resize(buffer.size() * 2);  // cut short: try a longer buffer
  }
}

LocalDate Win32Platform::localDate() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace brimlow::platform
