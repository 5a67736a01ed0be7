// All-or-nothing replacement of a file: a temporary file beside the target,
// written and flushed, then put in the target's place by the system's replace
// call, which keeps the old file's attributes and security.  A target that
// does not exist yet gets the temporary file by a rename.
//
// The old file is moved aside under a backup name while it is replaced, so
// that every failure of the replace call can leave the old file in place; the
// backup is removed once the new file is there.
//
// A writer that is killed halfway leaves its temporary file behind.  Before
// it writes, a replacement removes the temporaries of its target that were
// written by processes that no longer exist: it goes by Brimlow's own naming
// (temporaryName.h) and by the process number in the name, never by age, so
// a save still running in another process keeps its file.  Backup names are
// left alone: a replacement killed inside the replace call may have left the
// only copy of the old file under one.
#include <windows.h>

#include <atomic>
#include <optional>
#include <string_view>

#include "platform/temporaryName.h"
#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

constexpr DWORD kWriteChunk = 1u << 30;

size_t lastSeparator(std::string_view path) {
  const size_t at = path.find_last_of("\\/");
  // "C:name" lies in the current folder of drive C.
  if (at == std::string_view::npos && path.size() >= 2 && path[1] == ':') return 1;
  return at;
}

std::string folderOf(const std::string& target) {
  const size_t at = lastSeparator(target);
  return at == std::string::npos ? std::string() : target.substr(0, at + 1);
}

std::string nameOf(const std::string& target) {
  const size_t at = lastSeparator(target);
  return at == std::string::npos ? target : target.substr(at + 1);
}

// A name beside the target that no file has yet: ".<name>.<process>-<n><ending>".
std::string besideName(const std::string& target, std::string_view ending) {
  static std::atomic<unsigned> counter{0};
  return folderOf(target) +
         temporaryName(nameOf(target), ::GetCurrentProcessId(), counter++, ending);
}

// Only a process that certainly does not exist, or has ended, counts as gone:
// one the system will not open for us is alive.
bool processIsGone(uint64_t process) {
  if (process == 0 || process > MAXDWORD || process == ::GetCurrentProcessId()) return false;
  const HANDLE handle = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
  if (handle == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
  ::CloseHandle(handle);
  return ended;
}

// The rest of a found name after the prefix, when it is plain ASCII.
std::optional<std::string> asciiRest(std::wstring_view name, size_t prefixLength) {
  std::string rest;
  for (const wchar_t c : name.substr(prefixLength)) {
    if (c > 0x7F) return std::nullopt;
    rest += static_cast<char>(c);
  }
  return rest;
}

// Removes the temporaries of `target` whose writers are gone; what cannot be
// removed stays, as it did before.  The system matches the pattern without
// regard to letter case, as it names files; folders and links are skipped.
void removeStaleTemporaries(const std::string& target) {
  const std::wstring folder = widenAnsi(folderOf(target));
  const std::wstring prefix = widenAnsi(temporaryPrefix(nameOf(target)));
  const std::wstring pattern = folder + prefix + L"*" + widenAnsi(std::string(kTemporaryEnding));
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring_view name = found.cFileName;
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        name.size() <= prefix.size() ||
        ::CompareStringOrdinal(name.data(), static_cast<int>(prefix.size()), prefix.data(),
                               static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
      continue;
    const std::optional<std::string> rest = asciiRest(name, prefix.size());
    if (!rest) continue;
    const std::optional<uint64_t> owner = temporaryOwner(*rest);
    if (owner && processIsGone(*owner)) ::DeleteFileW((folder + std::wstring(name)).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

[[noreturn]] void fail(const std::string& target, DWORD error) {
  throw EFCreateError(target, systemMessage(error));
}

// Puts the temporary in place of an existing target; answers false when the
// target has gone meanwhile, so that the caller renames instead.
bool replaceExisting(const std::wstring& wideTarget, const std::wstring& temporary,
                     const std::string& target) {
  std::wstring backup;
  for (int attempt = 0; attempt < 100 && backup.empty(); ++attempt) {
    backup = widenAnsi(besideName(target, ".old"));
    if (::GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES) backup.clear();
  }
  // The replace call carries the attributes over itself; setting them first
  // as well keeps them where a system's replace call does not.
  const DWORD attributes = ::GetFileAttributesW(wideTarget.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesW(
        temporary.c_str(),
        attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  }
  if (::ReplaceFileW(wideTarget.c_str(), temporary.c_str(),
                     backup.empty() ? nullptr : backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
    if (!backup.empty()) ::DeleteFileW(backup.c_str());
    return true;
  }
  const DWORD error = ::GetLastError();
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      if (::GetFileAttributesW(wideTarget.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
      break;
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
      // The old file was moved to the backup name and the new one could not
      // follow it: the old one goes back.
      if (!backup.empty())
        ::MoveFileExW(backup.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH);
      break;
    default: break;
  }
  fail(target, error);
}

}  // namespace

WriteHandle Win32Platform::createTemporaryBeside(const std::string& target) {
  if (target.empty()) fail(target, ERROR_INVALID_NAME);
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    fail(target, ERROR_ACCESS_DENIED);  // what the system answers for writing a folder
  removeStaleTemporaries(target);

  for (int attempt = 0; attempt < 100; ++attempt) {
    WriteHandle file;
    file.path = besideName(target, kTemporaryEnding);
    const HANDLE handle = ::CreateFileW(widenAnsi(file.path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      file.value = reinterpret_cast<intptr_t>(handle);
      return file;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) fail(target, error);
  }
  fail(target, ERROR_FILE_EXISTS);
}

void Win32Platform::writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) {
  const auto handle = reinterpret_cast<HANDLE>(file.value);
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() < kWriteChunk ? static_cast<DWORD>(bytes.size()) : kWriteChunk;
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr))
      fail(target, ::GetLastError());
    if (written == 0) fail(target, ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

void Win32Platform::commitAndClose(WriteHandle& file, const std::string& target) {
  const auto handle = reinterpret_cast<HANDLE>(file.value);
  file.value = -1;
  const BOOL flushed = ::FlushFileBuffers(handle);
  const DWORD flushError = ::GetLastError();
  if (!::CloseHandle(handle) && flushed) fail(target, ::GetLastError());
  if (!flushed) fail(target, flushError);
}

void Win32Platform::replaceWith(WriteHandle& file, const std::string& target) {
  const std::wstring wideTarget = widenAnsi(target);
  const std::wstring temporary = widenAnsi(file.path);
  const bool exists = ::GetFileAttributesW(wideTarget.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!exists || !replaceExisting(wideTarget, temporary, target)) {
    if (!::MoveFileExW(temporary.c_str(), wideTarget.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      fail(target, ::GetLastError());
  }
  file.path.clear();
}

void Win32Platform::discard(WriteHandle& file) noexcept {
  if (file.value != -1) ::CloseHandle(reinterpret_cast<HANDLE>(file.value));
  file.value = -1;
  if (!file.path.empty()) ::DeleteFileW(widenAnsi(file.path).c_str());
  file.path.clear();
}

}  // namespace brimlow::platform
