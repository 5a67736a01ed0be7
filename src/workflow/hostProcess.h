#pragma once

// The host process: recognised by its executable's name, asked to exit by
// starting its executable once more with " -exit", and started again when the
// program closes.

#include <string>

namespace brimlow {

inline constexpr const char* kHostProcess = "tarvolt.exe";
inline constexpr const char* kHostExitArgument = " -exit";

// True when a running process's executable is `exeName`: the file name part
// of one of its texts, or the whole text, compared with a to z upper-cased.
// False when no snapshot of the processes can be taken.
bool IsProcessRunning(const std::string& exeName);

}  // namespace brimlow
