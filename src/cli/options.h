#pragma once

// Parsing a command's arguments with CLI11.  Every command describes its
// options on a parser of its own and hands it its arguments, so that each has
// --help and reports a wrong option in one sentence.

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

#include "cli/commands.h"

namespace brimlow::cli {

class CommandParser final : public CLI::App {
 public:
  // "brimlow-cli NAME" in the usage line.
  CommandParser(const std::string& name, const std::string& description);

  // Parses `arguments`.  A wrong option, a missing argument or a value that
  // fails its check is thrown as UsageError with the parser's message.
  // --help writes the command's help to `out` and answers false: the command
  // then does nothing else.
  bool parseArguments(const Arguments& arguments, std::ostream& out);

  // A flag that may be given once; CLI11's flags take repeats by default.
  CLI::Option* addFlagOnce(const std::string& name, bool& value, const std::string& description);
};

}  // namespace brimlow::cli
