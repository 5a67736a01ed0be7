// The process snapshot, starting a command line and the desktop shell.
#include <windows.h>
// After windows.h:
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

// The 8-bit process entry: 296 bytes in a 32-bit build, 304 in a 64-bit one
// (its module and process identifiers are pointer-sized there).
using ProcessEntry = PROCESSENTRY32;
static_assert(sizeof(void*) == 8 ? sizeof(ProcessEntry) == 304 : sizeof(ProcessEntry) == 296);

using SnapshotFunction = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using WalkFunction = BOOL(WINAPI*)(HANDLE snapshot, ProcessEntry* entry);

template <typename Function>
Function kernelFunction(const char* name) {
  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  // The cast through a generic function pointer is how an export found by
  // name is given its type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(kernel, name)));
}

}  // namespace

std::optional<std::vector<std::string>> Win32Platform::runningProcessTexts() {
  // Looked up at run time: systems without these functions have no snapshot.
  static const auto createSnapshot = kernelFunction<SnapshotFunction>("CreateToolhelp32Snapshot");
  static const auto first = kernelFunction<WalkFunction>("Process32First");
  static const auto next = kernelFunction<WalkFunction>("Process32Next");
  if (createSnapshot == nullptr || first == nullptr || next == nullptr) return std::nullopt;

  const HANDLE snapshot = createSnapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<std::string> texts;
  ProcessEntry entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    // The name is at most MAX_PATH characters and need not end with a zero.
    const char* name = entry.szExeFile;
    size_t length = 0;
    while (length < MAX_PATH && name[length] != '\0')
      ++length;
    // A process still being set up may have no name yet: it names nothing.
    if (length != 0) texts.emplace_back(name, length);
    entry.dwSize = sizeof entry;
  }
  ::CloseHandle(snapshot);
  return texts;
}

void Win32Platform::startCommandLine(const std::string& commandLine) {
  // The program's own start-up information, shown normally.  The standard
  // handles and the runtime's handle table in it belong to this process and
  // are not inherited, so they are not passed on.
  STARTUPINFOA startup{};
  ::GetStartupInfoA(&startup);
  startup.cb = sizeof startup;
  startup.lpReserved = nullptr;
  startup.cbReserved2 = 0;
  startup.lpReserved2 = nullptr;
  startup.dwFlags &= ~static_cast<DWORD>(STARTF_USESTDHANDLES);
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nullptr;
  startup.dwFlags |= STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;

  // The system may write into the command line it is given.
  std::string writable = commandLine;
  writable.push_back('\0');
  PROCESS_INFORMATION started{};
  if (::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &started)) {
    // Nothing waits for the program: its handles are let go at once.
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
  }
}

void Win32Platform::shellOpen(const std::string& target) {
  // The outcome is not looked at: a missing document opens nothing.
  ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace brimlow::platform
