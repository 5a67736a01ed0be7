#pragma once

// Helpers the platform tests share: a real temporary folder that removes
// itself, an environment variable set for one test, and byte comparisons that
// print hexadecimal.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace brimlow::platform::testing {

class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test != nullptr ? std::string(test->name()) : "folder";
    std::string safe;
    for (const char c : name)
      safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    root_ =
        std::filesystem::temp_directory_path() /
        ("brimlow-" + safe + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path(std::string_view relative = {}) const {
    return relative.empty() ? root_.string() : (root_ / relative).string();
  }
  void write(std::string_view relative, std::string_view bytes) const {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string read(std::string_view relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void makeFolder(std::string_view relative) const {
    std::filesystem::create_directories(root_ / relative);
  }
  // Every name in the folder, for checks that nothing was left behind.
  std::size_t entryCount(std::string_view relative = {}) const {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(relative.empty() ? root_ : root_ / relative)) {
      ++count;
    }
    return count;
  }

 private:
  std::filesystem::path root_;
};

// Sets (or, with none, removes) an environment variable until the end of the
// scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    apply(value);
  }
  ~ScopedEnvironment() { apply(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void apply(const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable there; the process environment
    // that started programs inherit follows.
    ::_putenv_s(name_, value ? value->c_str() : "");
#else
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
#endif
  }
  const char* name_;
  std::optional<std::string> old_;
};

inline std::string hex(std::string_view bytes) {
  std::string out;
  char buffer[4];
  for (const char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
    out += buffer;
  }
  return out.empty() ? "(empty)" : out;
}

inline std::string hex(std::u16string_view units) {
  std::string out;
  char buffer[8];
  for (const char16_t c : units) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
    out += buffer;
  }
  return out.empty() ? "(empty)" : out;
}

template <typename Text>
::testing::AssertionResult sameBytes(const Text& expected, const Text& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected " << hex(expected) << "\n  actual   " << hex(actual);
}

}  // namespace brimlow::platform::testing
