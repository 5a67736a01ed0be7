#pragma once

// Helpers the Windows platform tests share: whether the tests run under Wine,
// a registry key of their own that removes itself, and the started helper
// program's record.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace brimlow::platform::testing {

inline bool underWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A key under a hive, named after the test, made empty at the start and
// deleted with everything under it at the end.
class ScopedRegistryKey {
 public:
  explicit ScopedRegistryKey(HKEY hive) : hive_(hive) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    name_ = std::string("Software\\Brimlow tests\\") + test->test_suite_name() + "." +
            test->name() + "." + std::to_string(::GetCurrentProcessId());
    ::RegDeleteTreeA(hive_, name_.c_str());
    status_ = ::RegCreateKeyExA(hive_, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                nullptr);
  }
  ~ScopedRegistryKey() {
    if (status_ == ERROR_SUCCESS) ::RegCloseKey(key_);
    ::RegDeleteTreeA(hive_, name_.c_str());
  }
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

  bool created() const { return status_ == ERROR_SUCCESS; }
  const std::string& name() const { return name_; }

  // Writes a value with the system's 8-bit call; `bytes` as stored (the
  // terminating zero of a text included by the caller).
  LONG set(const char* valueName, DWORD type, const std::string& bytes) const {
    return ::RegSetValueExA(key_, valueName, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
  }
  LONG setText(const char* valueName, const std::string& text, DWORD type = REG_SZ) const {
    return set(valueName, type, std::string(text.c_str(), text.size() + 1));
  }
  LONG setInteger(const char* valueName, DWORD value) const {
    return set(valueName, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
  }

 private:
  HKEY hive_;
  HKEY key_ = nullptr;
  LONG status_ = ERROR_INVALID_HANDLE;
  std::string name_;
};

// Waits up to twenty seconds for a file that a started program writes.
inline std::string waitForFile(const std::string& path) {
  for (int tries = 0; tries < 400; ++tries) {
    if (std::filesystem::exists(path)) {
      // The writer may still hold the file for a moment after renaming it
      // into place: an open that fails is tried again.
      std::ifstream in(path, std::ios::binary);
      if (in.is_open()) {
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return "(never written)";
}

}  // namespace brimlow::platform::testing
