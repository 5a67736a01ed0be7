#pragma once

// A platform whose one file is the fuzzer's input: any path that is asked for
// reads those bytes, so the readers run exactly as on a real file without
// touching the disk.

#include <string>

#include "../tests/platform/delegatingPlatform.h"

namespace brimlow::fuzz {

class MemoryPlatform final : public platform::testing::DelegatingPlatform {
 public:
  explicit MemoryPlatform(std::string bytes) : FBytes(std::move(bytes)) {}

  std::string readFile(const std::string&) override { return FBytes; }
  bool fileExists(const std::string&) override { return true; }

 private:
  std::string FBytes;
};

}  // namespace brimlow::fuzz
