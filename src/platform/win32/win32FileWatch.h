#pragma once

// Watches a shell file operation on one item through its progress reports,
// and guards it: a deletion that would not go into the recycle bin, and a
// move onto an existing file, are stopped before they happen.  The object
// lives on the stack of the code that runs the operation, which lets go of
// the operation before the watch ends.

#include <windows.h>

#include <shobjidl.h>

#include <optional>
#include <string>

namespace brimlow::platform {

class FileOperationWatch final : public IFileOperationProgressSink {
 public:
  bool stoppedErasing = false;      // the shell was about to erase the file for good
  bool stoppedReplacing = false;    // a file lay where the item was to be moved
  std::optional<HRESULT> itemDone;  // the item's own outcome, once the shell tried it
  std::wstring newItem;             // the parsing name of the item the operation made

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD flags, IShellItem* item) override;
  HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD flags, IShellItem* item, HRESULT result,
                                           IShellItem* created) override;
  HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD flags, IShellItem* item, IShellItem* folder,
                                        LPCWSTR newName) override;
  HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD flags, IShellItem* item, IShellItem* folder,
                                         LPCWSTR newName, HRESULT result,
                                         IShellItem* created) override;

  // The rest is reported and needs no answer.
  HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT,
                                           IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                         IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT,
                                        IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }

 private:
  LONG references_ = 1;
};

}  // namespace brimlow::platform
