#include "platform/win32/win32FileWatch.h"

#include "platform/win32/win32Shell.h"

namespace brimlow::platform {

HRESULT FileOperationWatch::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IFileOperationProgressSink)) {
    *object = static_cast<IFileOperationProgressSink*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// Counted as COM wants; the owner's scope, not the count, ends the object.
ULONG FileOperationWatch::AddRef() {
  return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

ULONG FileOperationWatch::Release() {
  return static_cast<ULONG>(::InterlockedDecrement(&references_));
}

HRESULT FileOperationWatch::PreDeleteItem(DWORD flags, IShellItem*) {
  // Without this flag the shell erases the item (its volume has no bin, the
  // bin is full or refuses it): the file must stay.
  if ((flags & TSF_DELETE_RECYCLE_IF_POSSIBLE) == 0) {
    stoppedErasing = true;
    return E_ABORT;
  }
  return S_OK;
}

HRESULT FileOperationWatch::PostDeleteItem(DWORD, IShellItem*, HRESULT result,
                                           IShellItem* created) {
  itemDone = result;
  newItem = shellNameOf(created, SIGDN_DESKTOPABSOLUTEPARSING);
  return S_OK;
}

HRESULT FileOperationWatch::PreMoveItem(DWORD, IShellItem*, IShellItem* folder, LPCWSTR newName) {
  // Looked at again here, as late as it can be: nothing is replaced.
  const std::wstring target =
      shellNameOf(folder, SIGDN_FILESYSPATH) + L"\\" + (newName != nullptr ? newName : L"");
  if (newName != nullptr && pathExists(target)) {
    stoppedReplacing = true;
    return E_ABORT;
  }
  return S_OK;
}

HRESULT FileOperationWatch::PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT result,
                                         IShellItem* created) {
  itemDone = result;
  newItem = shellNameOf(created, SIGDN_DESKTOPABSOLUTEPARSING);
  return S_OK;
}

}  // namespace brimlow::platform
