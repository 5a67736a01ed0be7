#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

TEST(DriveRootReachable, WhenTheWineDriveOrShareLeadsToAFolder) {
  TempFolder prefix;
  prefix.makeFolder("drive_c");
  prefix.write("a file", "x");
  prefix.makeFolder("dosdevices/unc/Big/Films");
  fs::create_directory_symlink(prefix.path("drive_c"), prefix.path("dosdevices/c:"));
  fs::create_directory_symlink(prefix.path("media/usb"), prefix.path("dosdevices/e:"));
  fs::create_symlink(prefix.path("a file"), prefix.path("dosdevices/f:"));
  ScopedEnvironment wine("WINEPREFIX", prefix.path());
  const struct {
    const char* root;
    bool reachable;
  } cases[] = {
      {"C:", true},
      {"c:", true},
      {"E:", false},  // its medium is not mounted
      {"F:", false},  // not a folder
      {"Q:", false},  // no such drive
      {"\\\\big\\films", true},
      {"\\\\big\\music", false},
      {"\\\\small\\films", false},
      {"", true},  // no root: never asked, never kept from
  };
  for (const auto& c : cases)
    EXPECT_EQ(system().driveRootReachable(c.root), c.reachable) << c.root;
  fs::remove_all(prefix.path("dosdevices"));
  EXPECT_FALSE(system().driveRootReachable("C:")) << "a prefix without drives";
}

}  // namespace
