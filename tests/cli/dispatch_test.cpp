#include "cli/dispatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace brimlow;
using brimlow::cli::Arguments;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunCli(const Arguments& arguments) {
  std::ostringstream out, err;
  const int status = cli::runCommandLine(arguments, out, err);
  return {status, out.str(), err.str()};
}

// Usage errors are one line on standard error, nothing on standard output.
void ExpectUsageError(const Outcome& outcome, const std::string& mentioned) {
  EXPECT_EQ(outcome.status, cli::kUsageError);
  EXPECT_EQ(outcome.out, "");
  EXPECT_NE(outcome.err.find(mentioned), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
}

TEST(CommandLine, EveryCommandHasHelp) {
  // Without a command the same text is a usage error.
  const Outcome top = RunCli({"--help"}), bare = RunCli({});
  EXPECT_EQ(top.status, cli::kDone);
  EXPECT_EQ(bare.status, cli::kUsageError);
  EXPECT_EQ(bare.err, top.out);
  for (const cli::Command& command : cli::commands()) {
    EXPECT_NE(top.out.find(std::string("brimlow-cli ") + command.name + ' ' + command.usage),
              std::string::npos);
    SCOPED_TRACE(command.name);
    const Outcome outcome = RunCli({command.name, "--help"});
    EXPECT_EQ(outcome.status, cli::kDone);
    EXPECT_NE(outcome.out.find(std::string("Usage: brimlow-cli ") + command.name),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.err, "");
  }
}

TEST(CommandLine, HelpDoesNoWork) {
  const std::string output =
      (std::filesystem::temp_directory_path() / "brimlow-help-out.xml").string();
  std::filesystem::remove(output);
  EXPECT_EQ(RunCli({"save", DataPath("list_crlf.xml"), output, "--help"}).status, cli::kDone);
  EXPECT_FALSE(std::filesystem::exists(output));
}

struct UsageCase {
  const char* label;
  Arguments arguments;
  const char* mentioned;  // in the message
};

const UsageCase kUsageCases[] = {
    {"no command", {"--bogus"}, "unknown command --bogus"},
    {"an unknown command", {"clear", "x.xml"}, "unknown command clear"},
    {"dump: an unknown option", {"dump", "--pretty", "x.xml"}, "--pretty"},
    {"dump: no list", {"dump"}, "LIST is required"},
    {"dump: two lists", {"dump", "a.xml", "b.xml"}, "b.xml"},
    {"categories: --find without its ID", {"categories", "n.xml", "--find"}, "--find"},
    {"categories: --find with a word", {"categories", "n.xml", "--find", "x"}, "x is not a"},
    {"categories: --find twice", {"categories", "n.xml", "--find", "1", "--find", "2"}, "--find"},
    {"save: no output", {"save", "a.xml"}, "OUT is required"},
    {"backup: an unknown option", {"backup", "a.xml", "b.xml", "-x"}, "-x"},
    {"events: no file", {"events", "--raw"}, "FILE is required"},
    {"events: --raw twice", {"events", "--raw", "--raw", "a.xml"}, "--raw"},
    {"clean: --all with a filter", {"clean", "--all", "--file", "missing"}, "--all"},
    {"restore: no backup", {"restore", "--no-host-control"}, "BACKUP is required"},
};

TEST(CommandLine, AUsageErrorIsOneLineAndStatusTwo) {
  for (const UsageCase& row : kUsageCases) {
    SCOPED_TRACE(row.label);
    ExpectUsageError(RunCli(row.arguments), row.mentioned);
  }
}

TEST(CommandLine, ACommandErrorsMessageAndStatusOne) {
  const Outcome outcome = RunCli({"dump", DataPath("list_state_invalid.xml")});
  EXPECT_EQ(outcome.status, cli::kFailed);
  EXPECT_EQ(outcome.out, "");
  EXPECT_NE(outcome.err.find("is not a valid integer value"), std::string::npos) << outcome.err;
}

}  // namespace
