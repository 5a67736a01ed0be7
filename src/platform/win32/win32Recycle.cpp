// The recycle bin: files go into it through the shell's file operation, with
// no dialog, and come back from its folder the same way.  A file is never
// erased: a volume the bin does not serve is refused before anything
// happens, and the operation is watched so that the shell cannot erase a
// file it finds it cannot recycle (FileOperationWatch).
//
// `binPath` is the bin item's parsing name in UTF-8, so that no character of
// it is lost; `info` stays empty.
#include <windows.h>

#include <shellapi.h>
#include <sherrors.h>
#include <shlobj.h>

#include "platform/unicode.h"
#include "platform/win32/win32FileWatch.h"
#include "platform/win32/win32Platform.h"
#include "platform/win32/win32Shell.h"

namespace brimlow::platform {

namespace {

constexpr DWORD kQuietly = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOFX_EARLYFAILURE;
// FOF_ALLOWUNDO is what recycles before Windows 8.
constexpr DWORD kIntoTheBin = kQuietly | FOF_ALLOWUNDO | FOFX_RECYCLEONDELETE;

// The shell keeps deleted files only on a local fixed volume whose bin it can
// answer for; on a share, a removable medium or a RAM disk it erases them.
bool volumeHasBin(const std::wstring& path) {
  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH + 1)) return false;
  if (::GetDriveTypeW(root) != DRIVE_FIXED) return false;
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  return SUCCEEDED(::SHQueryRecycleBinW(root, &info));
}

bool binRefuses(HRESULT result) {
  return result == COPYENGINE_E_RECYCLE_UNKNOWN_ERROR ||
         result == COPYENGINE_E_RECYCLE_FORCE_NUKE || result == COPYENGINE_E_RECYCLE_SIZE_TOO_BIG ||
         result == COPYENGINE_E_RECYCLE_PATH_TOO_LONG ||
         result == COPYENGINE_E_RECYCLE_BIN_NOT_FOUND;
}

ComRef<IFileOperation> newOperation(DWORD flags) {
  ComRef<IFileOperation> operation;
  if (FAILED(::CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                operation.put())) ||
      FAILED(operation->SetOperationFlags(flags)))
    operation.reset();
  return operation;
}

ComRef<IShellItem> itemOf(const std::wstring& path) {
  ComRef<IShellItem> item;
  ::SHCreateItemFromParsingName(path.c_str(), nullptr, IID_IShellItem, item.put());
  return item;
}

RecycleOutcome recycleThroughShell(const std::wstring& path, std::string& binPath) {
  FileOperationWatch watch;
  ComRef<IFileOperation> operation = newOperation(kIntoTheBin);
  // A shell without the operation (Wine's, for one) has no bin to offer.
  if (!operation) return RecycleOutcome::NoRecycleBin;
  const ComRef<IShellItem> item = itemOf(path);
  if (!item) return RecycleOutcome::Failed;
  if (FAILED(operation->DeleteItem(item.get(), &watch))) return RecycleOutcome::NoRecycleBin;
  const HRESULT performed = operation->PerformOperations();
  operation.reset();
  if (watch.stoppedErasing) return RecycleOutcome::NoRecycleBin;
  const bool moved = watch.itemDone && SUCCEEDED(*watch.itemDone);
  if (!pathExists(path)) {
    if (!moved && watch.newItem.empty()) return RecycleOutcome::Failed;  // gone by other hands
    binPath = utf16ToUtf8(asUtf16(watch.newItem));
    return RecycleOutcome::Recycled;
  }
  // Still there: the bin refused it, or the shell had nothing to do it
  // with; otherwise the file itself could not be moved (locked, no right).
  const HRESULT outcome = watch.itemDone ? *watch.itemDone : performed;
  return SUCCEEDED(outcome) || binRefuses(outcome) || outcome == E_NOTIMPL
             ? RecycleOutcome::NoRecycleBin
             : RecycleOutcome::Failed;
}

}  // namespace

RecycleResult Win32Platform::recycleFile(const std::string& path) {
  RecycleResult result{RecycleOutcome::Failed, {path, {}, {}}};
  if (path.empty()) return result;
  const std::wstring full = fullPathOf(widenAnsi(path));
  const DWORD attributes = ::GetFileAttributesW(full.c_str());
  // Only files go to the bin here, as only files are ever deleted.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return result;
  if (!volumeHasBin(full)) {
    result.outcome = RecycleOutcome::NoRecycleBin;
    return result;
  }
  result.outcome = inSingleThreadedApartment(
      [&] { return recycleThroughShell(full, result.file.binPath); }, RecycleOutcome::NoRecycleBin);
  return result;
}

}  // namespace brimlow::platform
