// The user's own folder for the program's data, from the environment.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "delegatingPlatform.h"
#include "platform/platform.h"

namespace brimlow::platform {
namespace {

class EnvironmentOnly : public testing::DelegatingPlatform {
 public:
  std::map<std::string, std::string> environment;
  std::optional<std::string> environmentVariable(const std::string& name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }
};

using Environment = std::map<std::string, std::string>;

TEST(UserDataFolder, FromTheEnvironment) {
  const struct {
    const char* label;
    Environment environment;
    std::optional<std::string> folder;
  } cases[] = {
#ifdef _WIN32
      {"LOCALAPPDATA", {{"LOCALAPPDATA", "C:\\u\\Local"}}, "C:\\u\\Local\\Brimlow"},
      {"roaming APPDATA alone does not count", {{"APPDATA", "C:\\u\\Roaming"}}, std::nullopt},
      {"LOCALAPPDATA empty", {{"LOCALAPPDATA", ""}}, std::nullopt},
#else
      {"XDG_DATA_HOME absolute", {{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/h"}}, "/x/data/brimlow"},
      {"XDG_DATA_HOME relative is ignored",
       {{"XDG_DATA_HOME", "x/data"}, {"HOME", "/h"}},
       "/h/.local/share/brimlow"},
      {"XDG_DATA_HOME empty", {{"XDG_DATA_HOME", ""}, {"HOME", "/h"}}, "/h/.local/share/brimlow"},
      {"XDG_DATA_HOME unset", {{"HOME", "/h"}}, "/h/.local/share/brimlow"},
      {"HOME with a trailing slash", {{"HOME", "/h/"}}, "/h/.local/share/brimlow"},
      {"XDG_DATA_HOME alone", {{"XDG_DATA_HOME", "/x"}}, "/x/brimlow"},
      {"HOME unset", {}, std::nullopt},
      {"HOME empty", {{"HOME", ""}}, std::nullopt},
      {"HOME unset, XDG_DATA_HOME relative", {{"XDG_DATA_HOME", "x"}}, std::nullopt},
#endif
  };
  for (const auto& c : cases) {
    EnvironmentOnly fake;
    ScopedPlatform scoped(fake);
    fake.environment = c.environment;
    EXPECT_EQ(userDataFolder("Brimlow", "brimlow"), c.folder) << c.label;
  }
}

}  // namespace
}  // namespace brimlow::platform
