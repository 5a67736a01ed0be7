#pragma once

// What became of a download's file on disk: there, not there, or on a drive
// or share that cannot be reached now.  One TFileStates serves one pass over
// a list (a filter run, a count), so that what it learns of the system
// during the pass is asked once.

#include <string>

namespace brimlow {

enum class TFileState { Present, Absent, Unreachable };

class TFileStates {
 public:
  // The state of the file that `fileName` names; an empty name names none.
  TFileState Of(const std::string& fileName);
};

}  // namespace brimlow
