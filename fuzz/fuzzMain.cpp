// The libFuzzer entry point of one target; BRIMLOW_FUZZ_TARGET names the
// function of targets.h that it feeds.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  brimlow::fuzz::BRIMLOW_FUZZ_TARGET(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
