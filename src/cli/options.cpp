#include "cli/options.h"

#include <vector>

namespace brimlow::cli {

CommandParser::CommandParser(const std::string& name, const std::string& description)
    : CLI::App(description, "brimlow-cli " + name) {
  // An option given twice is a mistake of the caller, not a choice of the last.
  option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  // A path such as "/data/list.xml" is an argument, not an option, on Windows
  // too.
  allow_windows_style_options(false);
}

CLI::Option* CommandParser::addFlagOnce(const std::string& name, bool& value,
                                        const std::string& description) {
  return add_flag(name, value, description)->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

bool CommandParser::parseArguments(const Arguments& arguments, std::ostream& out) {
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << help();
    return false;
  } catch (const CLI::ParseError& error) {
    // Some of CLI11's messages begin with the parser's name, some do not;
    // the caller names the command once for all of them.
    std::string message = error.what();
    const std::string prefix = get_name() + ": ";
    if (message.starts_with(prefix)) message.erase(0, prefix.size());
    throw UsageError(message);
  }
  return true;
}

}  // namespace brimlow::cli
