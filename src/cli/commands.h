#pragma once

// The commands of brimlow-cli.  Each takes its own arguments (after the
// command name) and writes its output to `out`; a failure is thrown and main
// prints its message.  A usage error is thrown as UsageError; asked for
// --help, a command writes its help to `out` and does nothing else.

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace brimlow::cli {

using Arguments = std::vector<std::string>;

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Command {
  const char* name;
  const char* usage;    // the arguments, for the usage lines
  const char* summary;  // one line, for the list of commands
  void (*run)(const Arguments& arguments, std::ostream& out);
};

// Every command, in the order the usage text lists them.
const std::vector<Command>& commands();

}  // namespace brimlow::cli
