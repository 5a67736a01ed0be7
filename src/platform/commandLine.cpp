#include "platform/commandLine.h"

namespace brimlow::platform {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

SplitCommandLine splitCommandLine(std::string_view commandLine,
                                  const std::function<bool(const std::string&)>& fileExists) {
  SplitCommandLine split;
  size_t start = 0;
  while (start < commandLine.size() && isBlank(commandLine[start]))
    ++start;
  std::string_view line = commandLine.substr(start);
  size_t restAt = line.size();

  if (line.starts_with('"')) {
    const size_t close = line.find('"', 1);
    split.program =
        std::string(line.substr(1, close == std::string_view::npos ? close : close - 1));
    restAt = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    const size_t firstBlank = line.find_first_of(" \t");
    bool found = false;
    // Each prefix that ends at a blank is tried, and at last the whole line.
    for (size_t blank = firstBlank; !found && !line.empty();
         blank = line.find_first_of(" \t", blank + 1)) {
      if (blank == std::string_view::npos) blank = line.size();
      const std::string candidate(line.substr(0, blank));
      for (const std::string& name : {candidate, candidate + ".exe"}) {
        if (!fileExists(name)) continue;
        split.program = name;
        restAt = blank;
        found = true;
        break;
      }
      if (blank == line.size()) break;
    }
    if (!found) {
      split.program = std::string(line.substr(0, firstBlank));
      restAt = firstBlank == std::string_view::npos ? line.size() : firstBlank;
    }
  }
  split.arguments = splitWindowsArguments(line.substr(restAt));
  return split;
}

std::vector<std::string> splitWindowsArguments(std::string_view text) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (true) {
    while (i < text.size() && isBlank(text[i]))
      ++i;
    if (i >= text.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < text.size() && (quoted || !isBlank(text[i]))) {
      if (text[i] == '\\') {
        size_t backslashes = 0;
        while (i < text.size() && text[i] == '\\')
          ++backslashes, ++i;
        if (i < text.size() && text[i] == '"') {
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
          // An even count leaves the quote to the step below.
        } else {
          argument.append(backslashes, '\\');
        }
        continue;
      }
      if (text[i] == '"') {
        if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
          argument += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      argument += text[i++];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string executableFileNamePart(std::string_view text) {
  const size_t last = text.find_last_of("/\\");
  return std::string(last == std::string_view::npos ? text : text.substr(last + 1));
}

}  // namespace brimlow::platform
