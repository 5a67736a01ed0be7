#include "platform/platform.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "testSupport.h"

extern char** environ;

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;

namespace {

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(RunningProcesses, IncludeThisProgramByItsNames) {
  const auto texts = system().runningProcessTexts();
  ASSERT_TRUE(texts.has_value());
  EXPECT_TRUE(contains(*texts, "posixProcesses_test")) << "the executable's file name";
  EXPECT_TRUE(contains(*texts, "posixProcesses_")) << "the command name, cut to 15 characters";
}

TEST(RunningProcesses, IncludeTheFirstArgumentWhole) {
  // A program started the way Wine starts the host: its first argument is a
  // Windows path and its command name is the executable's file name.
  TempFolder folder;
  const std::string program = folder.path("tarvolt.exe");
  std::filesystem::copy_file("/bin/sleep", program);
  const std::string windowsPath = "C:\\Program Files\\Tarvolt\\tarvolt.exe";
  std::vector<char*> argv = {const_cast<char*>(windowsPath.c_str()), const_cast<char*>("30"),
                             nullptr};
  pid_t child = 0;
  ASSERT_EQ(::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);

  std::vector<std::string> texts;
  for (int tries = 0; tries < 100 && !contains(texts, windowsPath); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    texts = system().runningProcessTexts().value_or(std::vector<std::string>{});
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(contains(texts, windowsPath));
  EXPECT_TRUE(contains(texts, "tarvolt.exe"));
}

// Waits up to ten seconds for a file that a started program writes.
std::string waitForFile(const std::string& path) {
  for (int tries = 0; tries < 500; ++tries) {
    if (std::filesystem::exists(path)) {
      std::ifstream in(path);
      std::ostringstream text;
      text << in.rdbuf();
      return text.str();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "(never written)";
}

// A folder holding a fake `wine` and a POSIX program, each of which writes its
// arguments, its session and its standard input into $RECORD, one a line.
class StartedPrograms : public ::testing::Test {
 protected:
  StartedPrograms()
      : path_("PATH", bin_.path() + ":/usr/bin:/bin"),
        record_("RECORD", bin_.path("record.txt")),
        prefix_("WINEPREFIX", bin_.path("prefix")) {
    const std::string script =
        "#!/bin/sh\n"
        "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
        "  printf 'session %s\\n' \"$(cut -d' ' -f6 /proc/$$/stat)\"\n"
        "  printf 'stdin %s\\n' \"$(readlink /proc/$$/fd/0)\"\n"
        "} > \"$RECORD.part\" && mv \"$RECORD.part\" \"$RECORD\"\n";
    for (const char* name : {"wine", "my tools/record", "xdg-open"}) {
      bin_.write(name, script);
      std::filesystem::permissions(bin_.path(name), std::filesystem::perms::owner_all);
    }
  }
  ~StartedPrograms() override {
    // The started program is not our child; nothing to reap.
  }

  std::string record() { return waitForFile(bin_.path("record.txt")); }
  std::string expected(const std::string& arguments) {
    return arguments + "session " + std::to_string(::getsid(0)) + "\n";
  }

  TempFolder bin_;
  ScopedEnvironment path_;
  ScopedEnvironment record_;
  ScopedEnvironment prefix_;
};

std::string argumentsOf(const std::string& record) {
  return record.substr(0, record.find("session "));
}

TEST_F(StartedPrograms, AQuotedWindowsProgramRunsUnderWine) {
  system().startCommandLine("\"C:\\Program Files\\Tarvolt\\tarvolt.exe\" -exit");
  EXPECT_EQ(argumentsOf(record()), "C:\\Program Files\\Tarvolt\\tarvolt.exe\n-exit\n");
}

TEST_F(StartedPrograms, AnUnquotedProgramIsFoundOnTheWineDrive) {
  bin_.write("prefix/dosdevices/c:/Program Files/Tarvolt/tarvolt.exe", "");
  system().startCommandLine("C:\\Program Files\\Tarvolt\\tarvolt.exe -exit");
  EXPECT_EQ(argumentsOf(record()), "C:\\Program Files\\Tarvolt\\tarvolt.exe\n-exit\n");
}

TEST_F(StartedPrograms, AnUnquotedProgramThatIsNotThereEndsAtTheFirstBlank) {
  system().startCommandLine("C:\\Program Files\\Tarvolt\\tarvolt.exe");
  EXPECT_EQ(argumentsOf(record()), "C:\\Program\nFiles\\Tarvolt\\tarvolt.exe\n");
}

TEST_F(StartedPrograms, APosixProgramRunsItselfWithWindowsArguments) {
  system().startCommandLine(bin_.path("my tools/record") + " a \"b c\" d\\\"e");
  EXPECT_EQ(argumentsOf(record()), "a\nb c\nd\"e\n");
}

TEST_F(StartedPrograms, RunDetachedWithoutStandardInputAndLeaveNoChild) {
  system().startCommandLine("D:\\t\\tarvolt.exe");
  const std::string text = record();
  const std::string session = "session " + std::to_string(::getsid(0)) + "\n";
  EXPECT_NE(text.find("session "), std::string::npos) << text;
  EXPECT_EQ(text.find(session), std::string::npos) << "ran in our own session";
  EXPECT_NE(text.find("stdin /dev/null\n"), std::string::npos) << text;
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child was left to reap";
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(StartedPrograms, NothingToStartIsNotAnError) {
  const ScopedEnvironment noWine("PATH", bin_.path("empty"));
  EXPECT_NO_THROW(system().startCommandLine("D:\\t\\tarvolt.exe -exit"));
  EXPECT_NO_THROW(system().startCommandLine(""));
  EXPECT_NO_THROW(system().startCommandLine("/no/such/program"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(std::filesystem::exists(bin_.path("record.txt")));
}

struct OpenCase {
  const char* label;
  std::string target;
  std::string opened;  // relative to the test folder when it begins with "prefix/"
};

TEST_F(StartedPrograms, TheDesktopsOpenerOpensDocumentsAndAddresses) {
  const OpenCase cases[] = {
      {"a web address, as it is", "http://example.com/index.phtml?page=support&os=Windows XP SP3",
       "http://example.com/index.phtml?page=support&os=Windows XP SP3"},
      {"a Windows path, on the Wine drive", "C:\\Program Files\\Brimlow\\brimlow.chm",
       "prefix/dosdevices/c:/Program Files/Brimlow/brimlow.chm"},
      {"a POSIX path, as it is", "/opt/brimlow/brimlow.chm", "/opt/brimlow/brimlow.chm"},
  };
  for (const OpenCase& c : cases) {
    system().shellOpen(c.target);
    const std::string opened = c.opened.starts_with("prefix/") ? bin_.path(c.opened) : c.opened;
    EXPECT_EQ(argumentsOf(record()), opened + "\n") << c.label;
    std::filesystem::remove(bin_.path("record.txt"));
  }
}

TEST_F(StartedPrograms, NothingToOpenIsNotAnError) {
  EXPECT_NO_THROW(system().shellOpen(""));
  const ScopedEnvironment noOpener("PATH", bin_.path("empty"));
  EXPECT_NO_THROW(system().shellOpen("http://example.com/"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(std::filesystem::exists(bin_.path("record.txt")));
}

TEST(OsVersion, NamesNoWindowsVersion) {
  EXPECT_EQ(system().osVersion().platformId, 0u);
}

}  // namespace
