// A stand-in for the host program, started by brimlow.exe as "tarvolt.exe".
// Each start appends its arguments (the command line after the program) as
// one line to the file named by BRIMLOW_STANDIN_LOG.  Asked with "-exit" it
// ends the running stand-in and ends itself; otherwise it runs until a later
// start asks it to exit.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr const wchar_t* kExitEvent = L"BrimlowHostStandInExit";

std::wstring Arguments() {
  const wchar_t* line = GetCommandLineW();
  // The program's name, quoted or not, then blanks.
  bool quoted = false;
  for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
    if (*line == L'"') quoted = !quoted;
  return line;
}

void Record(const std::wstring& arguments) {
  wchar_t log[MAX_PATH]{};
  if (!GetEnvironmentVariableW(L"BRIMLOW_STANDIN_LOG", log, MAX_PATH)) return;
  const HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string line(arguments.begin(), arguments.end());  // ASCII arguments only
  line = "[" + line + "]\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  const std::wstring arguments = Arguments();
  Record(arguments);
  const HANDLE exitEvent = CreateEventW(nullptr, TRUE, FALSE, kExitEvent);
  if (arguments.find(L"-exit") != std::wstring::npos) {
    SetEvent(exitEvent);
    return 0;
  }
  // The running host: it ends when asked.
  ResetEvent(exitEvent);
  WaitForSingleObject(exitEvent, INFINITE);
  return 0;
}
