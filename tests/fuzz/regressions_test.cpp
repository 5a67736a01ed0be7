// Replays, through each fuzz target's own code, every input a fuzzer once
// broke on (fuzz/regressions/<target>/) and every seed of its corpus (the
// small files of tests/data).  Each must run to its end under the
// sanitizers of the build; a crash or a stray exception fails the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../../fuzz/targets.h"

namespace fs = std::filesystem;

namespace {

struct Replay {
  std::string target;
  fs::path input;
};

std::vector<Replay> Inputs() {
  std::vector<Replay> all;
  for (const char* target : {"scanner_fuzz", "list_fuzz", "roundtrip_fuzz", "serializer_fuzz"}) {
    for (const fs::path& folder :
         {fs::path(BRIMLOW_FUZZ_REGRESSIONS) / target, fs::path(BRIMLOW_TEST_DATA)}) {
      if (!fs::is_directory(folder)) continue;
      for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.' &&
            entry.path().extension() != ".cpp" && entry.path().extension() != ".h" &&
            entry.path().filename() != "CMakeLists.txt")
          all.push_back({target, entry.path()});
    }
  }
  return all;
}

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

class FuzzRegression : public testing::TestWithParam<Replay> {};

TEST_P(FuzzRegression, RunsToTheEnd) {
  const std::string bytes = Read(GetParam().input);
  const std::string& target = GetParam().target;
  const std::function<void(std::string_view)> run =
      target == "scanner_fuzz"     ? brimlow::fuzz::ScanAnyBytes
      : target == "list_fuzz"      ? brimlow::fuzz::ReadAnyList
      : target == "roundtrip_fuzz" ? brimlow::fuzz::RoundTripAnyList
                                   : brimlow::fuzz::SerializeAnyTree;
  EXPECT_NO_THROW(run(bytes));
  // The scanner target takes its first byte as a flag: replay the other
  // setting too.
  if (GetParam().target == "scanner_fuzz" && !bytes.empty()) {
    std::string flipped = bytes;
    flipped[0] = static_cast<char>(flipped[0] ^ 1);
    EXPECT_NO_THROW(run(flipped));
  }
}

std::string NameOf(const testing::TestParamInfo<Replay>& info) {
  std::string name = info.param.target + "_" + std::to_string(info.index);
  return name;
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegression, testing::ValuesIn(Inputs()), NameOf);

TEST(FuzzRegressionInputs, SeedsAreFound) {
  EXPECT_GT(Inputs().size(), 20u);
}

}  // namespace
