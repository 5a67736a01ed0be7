#pragma once

// What became of a download's file on disk: there, not there, or on a drive
// or share that cannot be reached now.  One TFileStates serves one pass over
// a list (a filter run, a count), so that each drive or share root is probed
// once in the pass, not once per file.

#include <string>
#include <unordered_map>

namespace brimlow {

enum class TFileState { Present, Absent, Unreachable };

class TFileStates {
 public:
  // The state of the file that `fileName` names; an empty name names none.
  // A file on a root that cannot be reached is not looked for, so that a
  // share that does not answer costs one probe, not one wait per file.
  TFileState Of(const std::string& fileName);
  // True when the root of the drive or share the file lies on answers now.
  bool OnReachableDrive(const std::string& fileName);

 private:
  std::unordered_map<std::string, bool> FRoots;
};

}  // namespace brimlow
