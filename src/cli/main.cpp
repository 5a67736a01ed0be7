// brimlow-cli: the command-line companion of Brimlow, for inspecting list and
// category files and for scripted use.

#include <exception>
#include <iostream>

#include "cli/commands.h"

namespace {

int usage() {
  std::cerr << "usage: brimlow-cli COMMAND ARGUMENTS\n";
  for (const auto& command : brimlow::cli::commands())
    std::cerr << "  brimlow-cli " << command.name << ' ' << command.usage << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string name = argv[1];
  for (const auto& command : brimlow::cli::commands()) {
    if (name != command.name) continue;
    try {
      command.run(brimlow::cli::Arguments(argv + 2, argv + argc), std::cout);
      std::cout.flush();
      return 0;
    } catch (const brimlow::cli::UsageError&) {
      return usage();
    } catch (const std::exception& error) {
      std::cout.flush();
      std::cerr << error.what() << '\n';
      return 1;
    }
  }
  return usage();
}
