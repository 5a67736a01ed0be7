#pragma once

// Windows command lines, which the host's registry values hold: how the
// program is found at their start and how the rest splits into arguments.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow::platform {

struct SplitCommandLine {
  std::string program;  // as written in the command line (quotes removed)
  std::vector<std::string> arguments;
};

// The program at the start of a command line, found as Windows does when no
// separate program name is given:
// - a first token in double quotes is the program, the quotes removed;
// - otherwise, trying the blanks (spaces and tabs) from left to right, the
//   first prefix that names an existing file, as written or with ".exe"
//   appended (then the program is written with it), is the program;
// - otherwise the text up to the first blank.
// The rest is split by splitWindowsArguments.
SplitCommandLine splitCommandLine(std::string_view commandLine,
                                  const std::function<bool(const std::string&)>& fileExists);

// The arguments of a command line by the usual Windows rules: blanks separate
// arguments except inside double quotes; 2n backslashes before a quote give n
// backslashes and the quote opens or closes a quoted run, 2n+1 give n and a
// literal quote; backslashes not before a quote are literal; inside a quoted
// run "" is a literal quote.  "" alone is an empty argument.
std::vector<std::string> splitWindowsArguments(std::string_view text);

// What follows the last "/" or "\" of a program text: "C:\Program
// Files\Tarvolt\tarvolt.exe" and "/usr/bin/tarvolt.exe" give "tarvolt.exe".
std::string executableFileNamePart(std::string_view text);

}  // namespace brimlow::platform
