#include "workflow/helpTargets.h"

#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/makerSite.h"
#include "workflow/osDescription.h"

namespace brimlow {

namespace {

constexpr const char* kGuidePage = "brimlow.html";
constexpr const char* kInstalledGuideFolder = "..\\share\\doc\\brimlow";

}  // namespace

std::string HelpFilePath() {
  platform::Platform& os = platform::current();
  const std::string programFolder = platform::ExtractFileDir(os.programFilePath());
  // The compiled help where there is one (Windows), else the page any browser
  // shows, beside the program or where an installation puts it.
  const std::string candidates[] = {
#ifdef _WIN32
      platform::JoinPath(programFolder, "brimlow.chm"),
#endif
      platform::JoinPath(programFolder, kGuidePage),
      platform::JoinPath(platform::JoinPath(programFolder, kInstalledGuideFolder), kGuidePage),
  };
  for (const std::string& candidate : candidates)
    if (os.fileExists(candidate)) return candidate;
  return candidates[0];
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

std::string HelpTargetOf(TCommand command) {
  switch (command) {
    case TCommand::N10: return HelpFilePath();
    case TCommand::N11: return HomePageAddress();
    case TCommand::online1:
    case TCommand::N13: return SupportPageAddress();
    case TCommand::N14: return ForumAddress();
    default: return {};
  }
}

void OpenHelp(TCommand command) {
  ShellOpen(HelpTargetOf(command));
}

}  // namespace brimlow
