// Putting a file back from the recycle bin: its item is found in the bin's
// shell folder, by the name the bin gave it or else by where it lay, and the
// shell moves it back, which also takes it off the bin's records.
#include <windows.h>

#include <knownfolders.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/unicode.h"
#include "platform/win32/win32FileWatch.h"
#include "platform/win32/win32Platform.h"
#include "platform/win32/win32Shell.h"

namespace brimlow::platform {

namespace {

// The bin's own columns: where an item lay, when it was deleted, its name.
const PROPERTYKEY kLayIn{PSGUID_DISPLACED, PID_DISPLACED_FROM};
const PROPERTYKEY kDeletedAt{PSGUID_DISPLACED, PID_DISPLACED_DATE};
const PROPERTYKEY kItemName{
    {0xB725F130, 0x47EF, 0x101A, {0xA5, 0xF1, 0x02, 0x60, 0x8C, 0x9E, 0xEB, 0xAC}}, 10};

// Never replaces: a file that appeared after the last look keeps its place.
constexpr DWORD kBackQuietly =
    FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOFX_EARLYFAILURE | FOF_RENAMEONCOLLISION;

bool sameText(std::wstring a, std::wstring b) {
  while (a.size() > 3 && a.back() == L'\\')
    a.pop_back();
  while (b.size() > 3 && b.back() == L'\\')
    b.pop_back();
  return !a.empty() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring propertyText(IShellItem2* item, const PROPERTYKEY& key) {
  std::wstring text;
  PWSTR value = nullptr;
  if (SUCCEEDED(item->GetString(key, &value)) && value != nullptr) text = value;
  ::CoTaskMemFree(value);
  return text;
}

struct Place {
  std::wstring folder;
  std::wstring name;
};

Place placeOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {{}, path};
  // The root keeps its separator: "C:\".
  return {path.substr(0, slash == 2 ? 3 : slash), path.substr(slash + 1)};
}

// Looks through the bin for the item named `binName` (either form of its
// name), or, without one, the latest item that lay at `place`.  Fails when
// the bin cannot be looked through.
HRESULT findInBin(const std::wstring& binName, const Place& place, ComRef<IShellItem>& found) {
  ComRef<IShellItem> bin;
  HRESULT result = ::SHGetKnownFolderItem(FOLDERID_RecycleBinFolder, KF_FLAG_DEFAULT, nullptr,
                                          IID_IShellItem, bin.put());
  ComRef<IEnumShellItems> items;
  if (SUCCEEDED(result))
    result = bin->BindToHandler(nullptr, BHID_EnumItems, IID_IEnumShellItems, items.put());
  if (FAILED(result)) return result;
  FILETIME latest{};
  for (;;) {
    ComRef<IShellItem> item;
    ULONG got = 0;
    if (items->Next(1, reinterpret_cast<IShellItem**>(item.put()), &got) != S_OK || got != 1) break;
    if (!binName.empty()) {
      if (sameText(shellNameOf(item.get(), SIGDN_DESKTOPABSOLUTEPARSING), binName) ||
          sameText(shellNameOf(item.get(), SIGDN_FILESYSPATH), binName)) {
        found = std::move(item);
        break;
      }
      continue;
    }
    ComRef<IShellItem2> details;
    if (FAILED(item->QueryInterface(IID_IShellItem2, details.put())) ||
        !sameText(propertyText(details.get(), kLayIn), place.folder) ||
        !sameText(propertyText(details.get(), kItemName), place.name))
      continue;
    FILETIME deleted{};
    details->GetFileTime(kDeletedAt, &deleted);
    if (!found || ::CompareFileTime(&deleted, &latest) > 0) {
      latest = deleted;
      found = std::move(item);
    }
  }
  return S_OK;
}

PutBackOutcome putBackThroughShell(const RecycledFile& file) {
  const std::wstring original = fullPathOf(widenAnsi(file.originalPath));
  const Place place = placeOf(original);
  const std::u16string binName = utf8ToUtf16(file.binPath);
  ComRef<IShellItem> item;
  if (FAILED(findInBin({binName.begin(), binName.end()}, place, item)))
    return PutBackOutcome::Failed;
  if (!item) return PutBackOutcome::NotInBin;
  if (pathExists(original)) return PutBackOutcome::PlaceTaken;
  ComRef<IShellItem> folder;
  ComRef<IFileOperation> operation;
  if (FAILED(::SHCreateItemFromParsingName(place.folder.c_str(), nullptr, IID_IShellItem,
                                           folder.put())) ||
      FAILED(::CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                operation.put())) ||
      FAILED(operation->SetOperationFlags(kBackQuietly)))
    return PutBackOutcome::Failed;
  FileOperationWatch watch;
  if (FAILED(operation->MoveItem(item.get(), folder.get(), place.name.c_str(), &watch)))
    return PutBackOutcome::Failed;
  const HRESULT performed = operation->PerformOperations();
  operation.reset();
  if (watch.stoppedReplacing) return PutBackOutcome::PlaceTaken;
  return SUCCEEDED(performed) && pathExists(original) ? PutBackOutcome::PutBack
                                                      : PutBackOutcome::Failed;
}

}  // namespace

PutBackOutcome Win32Platform::putBackRecycled(const RecycledFile& file) {
  if (file.binPath.empty() && file.originalPath.empty()) return PutBackOutcome::NotInBin;
  return inSingleThreadedApartment([&] { return putBackThroughShell(file); },
                                   PutBackOutcome::Failed);
}

}  // namespace brimlow::platform
