#pragma once

// brimlow-cli's entry: picks the command named by the first argument and runs
// it with the rest.

#include <ostream>

#include "cli/commands.h"

namespace brimlow::cli {

// Exit statuses of brimlow-cli.
constexpr int kDone = 0;
constexpr int kFailed = 1;  // the work failed; its message went to `err`
constexpr int kUsageError = 2;

// Runs brimlow-cli with `arguments` (the program's name excluded) and answers
// its exit status.  Output goes to `out`, messages to `err`.
int runCommandLine(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace brimlow::cli
