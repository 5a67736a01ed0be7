// Processes are read from /proc.  Started programs run detached: in a session
// of their own, with Brimlow's environment and current folder, and reaped so
// that no zombie is left behind.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/commandLine.h"
#include "platform/path.h"
#include "platform/posix/posixPlatform.h"

extern char** environ;

namespace brimlow::platform {

namespace {

bool allDigits(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

std::string linkTarget(const std::string& link) {
  std::string buffer(4096, '\0');
  const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
  if (n <= 0) return {};
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

// The executable texts of one process: the file name of its executable, its
// command name, and its first argument whole (under Wine that is the Windows
// path of the program).
void addProcessTexts(const std::string& folder, std::vector<std::string>& texts) {
  std::string exe = linkTarget(folder + "/exe");
  constexpr std::string_view kDeleted = " (deleted)";
  if (exe.ends_with(kDeleted)) exe.resize(exe.size() - kDeleted.size());
  if (!exe.empty()) texts.push_back(executableFileNamePart(exe));

  if (std::optional<std::string> comm = readPosixFile(folder + "/comm")) {
    while (!comm->empty() && comm->back() == '\n')
      comm->pop_back();
    if (!comm->empty()) texts.push_back(std::move(*comm));
  }
  if (const std::optional<std::string> arguments = readPosixFile(folder + "/cmdline")) {
    const std::string first = arguments->substr(0, arguments->find('\0'));
    if (!first.empty()) texts.push_back(first);
  }
}

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// A program name without "/" is looked for in the folders of PATH.
std::string findProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = folders.find(':');
    // An empty entry of PATH is the current folder.
    const std::string_view folder = colon == 0 || folders.empty() ? "." : folders.substr(0, colon);
    const std::string candidate = std::string(folder) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    folders.remove_prefix(colon + 1);
  }
}

bool endsWithExe(std::string_view program) {
  if (program.size() < 4) return false;
  std::string tail(program.substr(program.size() - 4));
  std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  return tail == ".exe";
}

// Starts `executable` with `arguments` (the first being its own name) and
// returns at once.  Everything the children need is made before the fork:
// between fork and exec only async-signal-safe calls are made, since the
// window's process has other threads.
void spawnDetached(const std::string& executable, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t middle = ::fork();
  if (middle < 0) return;
  if (middle == 0) {
    ::setsid();
    if (::fork() == 0) {
      const int nothing = ::open("/dev/null", O_RDONLY);
      if (nothing >= 0 && nothing != STDIN_FILENO) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
      }
      ::close_range(3, ~0U, 0);
      ::execve(executable.c_str(), argv.data(), environ);
      ::_exit(127);
    }
    // The program is now an orphan, which init reaps when it ends.
    ::_exit(0);
  }
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

std::optional<std::vector<std::string>> PosixPlatform::runningProcessTexts() {
  DIR* processes = ::opendir("/proc");
  if (processes == nullptr) return std::nullopt;
  std::vector<std::string> texts;
  while (const dirent* entry = ::readdir(processes)) {
    // A process that ends meanwhile, or that may not be read, gives fewer
    // texts or none.
    if (allDigits(entry->d_name)) addProcessTexts(std::string("/proc/") + entry->d_name, texts);
  }
  ::closedir(processes);
  return texts;
}

void PosixPlatform::startCommandLine(const std::string& commandLine) {
  const SplitCommandLine split =
      splitCommandLine(commandLine, [this](const std::string& name) { return fileExists(name); });
  if (split.program.empty()) return;

  std::vector<std::string> arguments;
  std::string executable;
  if (isWindowsPath(split.program) || endsWithExe(split.program)) {
    // A Windows program runs under Wine, which takes its Windows path as is.
    executable = findProgram("wine");
    arguments = {"wine", split.program};
  } else {
    executable = findProgram(mapToPosixPath(split.program));
    arguments = {split.program};
  }
  if (executable.empty()) return;
  arguments.insert(arguments.end(), split.arguments.begin(), split.arguments.end());
  spawnDetached(executable, arguments);
}

void PosixPlatform::shellOpen(const std::string& target) {
  if (target.empty()) return;
  const std::string opener = findProgram("xdg-open");
  if (opener.empty()) return;
  spawnDetached(opener, {"xdg-open", isWindowsPath(target) ? mapToPosixPath(target) : target});
}

OsVersionInfo PosixPlatform::osVersion() {
  // Not Windows: platform 0, which names no Windows version.
  return {};
}

}  // namespace brimlow::platform
