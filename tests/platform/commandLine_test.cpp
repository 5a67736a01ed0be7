#include "platform/commandLine.h"

#include <gtest/gtest.h>

#include <set>

using namespace brimlow::platform;

namespace {

using Strings = std::vector<std::string>;

struct ArgumentsCase {
  const char* label;
  const char* text;
  Strings arguments;
};

class WindowsArgumentsTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(WindowsArgumentsTest, Splits) {
  EXPECT_EQ(splitWindowsArguments(GetParam().text), GetParam().arguments) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsArgumentsTest,
    ::testing::Values(
        ArgumentsCase{"nothing", "", {}}, ArgumentsCase{"blanks only", " \t ", {}},
        ArgumentsCase{"blanks separate", " -exit  /x\tlast ", {"-exit", "/x", "last"}},
        ArgumentsCase{"quotes group blanks", "\"a b\" c", {"a b", "c"}},
        ArgumentsCase{"quotes inside an argument", "a\"b c\"d", {"ab cd"}},
        ArgumentsCase{"empty quotes give an empty argument", "\"\" x", {"", "x"}},
        ArgumentsCase{"backslashes not before a quote are literal", "C:\\a\\b\\", {"C:\\a\\b\\"}},
        ArgumentsCase{"two backslashes and a quote", "\"a\\\\\" b", {"a\\", "b"}},
        ArgumentsCase{"three backslashes and a quote", "a\\\\\\\"b", {"a\\\"b"}},
        ArgumentsCase{"one backslash and a quote", "\\\"x\\\"", {"\"x\""}},
        ArgumentsCase{"doubled quote inside quotes", "\"a\"\"b\" c", {"a\"b", "c"}},
        ArgumentsCase{"an unclosed quote runs to the end", "\"a b", {"a b"}}));

struct ProgramCase {
  const char* label;
  const char* commandLine;
  const char* program;
  Strings arguments;
};

class SplitCommandLineTest : public ::testing::TestWithParam<ProgramCase> {};

const std::set<std::string> kFiles = {
    "C:\\Program Files\\Tarvolt\\tarvolt.exe",
    "D:\\t\\tarvolt.exe",
    "C:\\Tools\\run.exe",
    "C:\\Program",  // a file that shadows "Program Files", as on Windows
    "/opt/my tools/run",
};

TEST_P(SplitCommandLineTest, FindsTheProgram) {
  const SplitCommandLine split = splitCommandLine(
      GetParam().commandLine, [](const std::string& name) { return kFiles.count(name) > 0; });
  EXPECT_EQ(split.program, GetParam().program) << GetParam().label;
  EXPECT_EQ(split.arguments, GetParam().arguments) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        ProgramCase{"quoted program",
                    "\"C:\\Program Files\\Tarvolt\\tarvolt.exe\" -exit",
                    "C:\\Program Files\\Tarvolt\\tarvolt.exe",
                    {"-exit"}},
        ProgramCase{"quoted program that does not exist",
                    "\"C:\\No Such\\x.exe\" a b",
                    "C:\\No Such\\x.exe",
                    {"a", "b"}},
        ProgramCase{
            "host's exit request", "D:\\t\\tarvolt.exe -exit", "D:\\t\\tarvolt.exe", {"-exit"}},
        ProgramCase{"shortest existing prefix wins",
                    "C:\\Program Files\\Tarvolt\\tarvolt.exe -exit",
                    "C:\\Program",
                    {"Files\\Tarvolt\\tarvolt.exe", "-exit"}},
        ProgramCase{
            ".exe is tried appended", "C:\\Tools\\run -exit", "C:\\Tools\\run.exe", {"-exit"}},
        ProgramCase{"a path with blanks found at a later blank",
                    "/opt/my tools/run -v",
                    "/opt/my tools/run",
                    {"-v"}},
        ProgramCase{
            "the whole line names the program", "/opt/my tools/run", "/opt/my tools/run", {}},
        ProgramCase{"nothing exists: the first token",
                    "E:\\gone\\x.exe -exit",
                    "E:\\gone\\x.exe",
                    {"-exit"}},
        ProgramCase{"no blank at all", "E:\\gone\\x.exe", "E:\\gone\\x.exe", {}},
        ProgramCase{"leading blanks are skipped", "  D:\\t\\tarvolt.exe", "D:\\t\\tarvolt.exe", {}},
        ProgramCase{"empty line", "", "", {}}));

TEST(ExecutableFileNamePart, TakesWhatFollowsTheLastSeparator) {
  EXPECT_EQ(executableFileNamePart("C:\\Program Files\\Tarvolt\\tarvolt.exe"), "tarvolt.exe");
  EXPECT_EQ(executableFileNamePart("/usr/lib/wine/wine64-preloader"), "wine64-preloader");
  EXPECT_EQ(executableFileNamePart("Z:/mixed\\x.exe"), "x.exe");
  EXPECT_EQ(executableFileNamePart("tarvolt.exe"), "tarvolt.exe");
  EXPECT_EQ(executableFileNamePart("C:\\dir\\"), "");
}

}  // namespace
