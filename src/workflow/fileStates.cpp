#include "workflow/fileStates.h"

#include "platform/platform.h"

namespace brimlow {

TFileState TFileStates::Of(const std::string& fileName) {
  if (fileName.empty()) return TFileState::Absent;
  if (!OnReachableDrive(fileName)) return TFileState::Unreachable;
  return platform::current().fileExists(fileName) ? TFileState::Present : TFileState::Absent;
}

bool TFileStates::OnReachableDrive(const std::string& fileName) {
  const std::string root = platform::driveRootOf(fileName);
  if (root.empty()) return true;
  const auto known = FRoots.find(root);
  if (known != FRoots.end()) return known->second;
  const bool reachable = platform::current().driveRootReachable(root);
  FRoots.emplace(root, reachable);
  return reachable;
}

}  // namespace brimlow
