#pragma once

// What the recycle bin's code needs of COM and the shell: an owned interface
// pointer, work done in a single-threaded apartment (which the shell's file
// operations require), and the shell's texts for items and paths.

#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <string>
#include <thread>
#include <utility>

namespace brimlow::platform {

// An interface pointer released when it goes.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { reset(); }
  ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the calls that hand out a new reference.
  void** put() {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

// Runs `work` with COM initialised for a single-threaded apartment on this
// thread, balanced; a thread already in the multithreaded apartment cannot
// join one, and the work then runs on a thread of its own.  `otherwise` when
// COM cannot be had at all.
template <typename Result, typename Work>
Result inSingleThreadedApartment(Work&& work, Result otherwise) {
  const auto run = [&] {
    const HRESULT joined =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(joined)) return std::make_pair(joined, otherwise);
    const Result result = work();
    ::CoUninitialize();
    return std::make_pair(joined, result);
  };
  const auto [joined, result] = run();
  if (joined != RPC_E_CHANGED_MODE) return result;
  Result elsewhere = otherwise;
  std::thread helper([&] { elsewhere = run().second; });
  helper.join();
  return elsewhere;
}

// The shell's text for an item: SIGDN_DESKTOPABSOLUTEPARSING for a name that
// finds it again, SIGDN_FILESYSPATH for its file's path; empty when it has
// none.
std::wstring shellNameOf(IShellItem* item, SIGDN form);

// The absolute form of a path, as the system completes it.
std::wstring fullPathOf(const std::wstring& path);

bool pathExists(const std::wstring& path);

}  // namespace brimlow::platform
