// brimlow-cli: the command-line companion of Brimlow, for inspecting list and
// category files and for scripted use.

#include <iostream>

#include "cli/dispatch.h"

int main(int argc, char** argv) {
  return brimlow::cli::runCommandLine(brimlow::cli::Arguments(argv + 1, argv + argc), std::cout,
                                      std::cerr);
}
