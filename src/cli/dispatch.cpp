#include "cli/dispatch.h"

#include <CLI/CLI.hpp>
#include <exception>

namespace brimlow::cli {

namespace {

// Only the first argument, the command's name, is parsed here; the command
// parses the rest itself.
class TopParser final : public CLI::App {
 public:
  TopParser()
      : CLI::App("The command-line companion of Brimlow. Every command has --help.",
                 "brimlow-cli") {
    require_subcommand(1);
    get_formatter()->label("SUBCOMMAND", "COMMAND");
    get_formatter()->label("Subcommands", "Commands");
    std::string usage = "\nUsage of each command:\n";
    for (const Command& command : commands()) {
      add_subcommand(command.name, command.summary);
      usage += std::string("  brimlow-cli ") + command.name + ' ' + command.usage + '\n';
    }
    footer(usage);
  }
};

int run(const Command& command, const Arguments& arguments, std::ostream& out, std::ostream& err) {
  try {
    command.run(arguments, out);
    out.flush();
    return kDone;
  } catch (const UsageError& error) {
    out.flush();
    err << "brimlow-cli " << command.name << ": " << error.what() << " (see brimlow-cli "
        << command.name << " --help)\n";
    return kUsageError;
  } catch (const std::exception& error) {
    // What was printed before the failure stays printed, ahead of the message.
    out.flush();
    err << error.what() << '\n';
    return kFailed;
  }
}

}  // namespace

int runCommandLine(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  TopParser parser;
  if (arguments.empty()) {
    err << parser.help();
    return kUsageError;
  }
  try {
    parser.parse(std::vector<std::string>{arguments[0]});
  } catch (const CLI::CallForHelp&) {
    out << parser.help();
    return kDone;
  } catch (const CLI::ParseError&) {
    err << "brimlow-cli: unknown command " << arguments[0] << " (see brimlow-cli --help)\n";
    return kUsageError;
  }
  for (const Command& command : commands()) {
    if (parser.got_subcommand(command.name))
      return run(command, Arguments(arguments.begin() + 1, arguments.end()), out, err);
  }
  return kUsageError;
}

}  // namespace brimlow::cli
