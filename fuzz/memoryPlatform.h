#pragma once

// A platform whose files live in memory: the fuzzer's input is the answer for
// every path not written since, and what the writers write is kept by path.
// The readers and writers run exactly as on real files without the disk.

#include <map>
#include <string>
#include <vector>

#include "../tests/platform/delegatingPlatform.h"

namespace brimlow::fuzz {

class MemoryPlatform final : public platform::testing::DelegatingPlatform {
 public:
  explicit MemoryPlatform(std::string bytes) : FInput(std::move(bytes)) {}

  std::string readFile(const std::string& path) override {
    const auto written = FFiles.find(path);
    return written == FFiles.end() ? FInput : written->second;
  }
  bool fileExists(const std::string&) override { return true; }

  platform::WriteHandle createTemporaryBeside(const std::string& target) override {
    FPending.emplace_back();
    return {static_cast<intptr_t>(FPending.size() - 1), target + ".tmp"};
  }
  void writeAll(platform::WriteHandle& file, std::string_view bytes, const std::string&) override {
    FPending.at(static_cast<size_t>(file.value)).append(bytes);
  }
  void commitAndClose(platform::WriteHandle&, const std::string&) override {}
  void replaceWith(platform::WriteHandle& file, const std::string& target) override {
    FFiles[target] = std::move(FPending.at(static_cast<size_t>(file.value)));
  }
  void discard(platform::WriteHandle&) noexcept override {}

  const std::string& written(const std::string& path) const { return FFiles.at(path); }

 private:
  std::string FInput;
  std::vector<std::string> FPending;
  std::map<std::string, std::string> FFiles;
};

}  // namespace brimlow::fuzz
