#include "workflow/helpTargets.h"

#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/makerSite.h"
#include "workflow/osDescription.h"

namespace brimlow {

namespace {

// The compiled help on Windows, a page any browser shows elsewhere.
#ifdef _WIN32
constexpr const char* kHelpFile = "brimlow.chm";
#else
constexpr const char* kHelpFile = "brimlow.html";
#endif
constexpr const char* kInstalledGuideFolder = "..\\share\\doc\\brimlow";

}  // namespace

std::string HelpFilePath() {
  platform::Platform& os = platform::current();
  const std::string programFolder = platform::ExtractFileDir(os.programFilePath());
  const std::string beside = platform::JoinPath(programFolder, kHelpFile);
  if (os.fileExists(beside)) return beside;
  const std::string installed =
      platform::JoinPath(platform::JoinPath(programFolder, kInstalledGuideFolder), kHelpFile);
  return os.fileExists(installed) ? installed : beside;
}

std::string HomePageAddress() {
  return std::string(kMakerSite) + kHomePagePath;
}

std::string SupportPageAddress() {
  return SupportAddress(OsDescription());
}

std::string ForumAddress() {
  return std::string(kForumSite) + kForumPath;
}

void ShellOpen(const std::string& target) {
  platform::current().shellOpen(target);
}

}  // namespace brimlow
