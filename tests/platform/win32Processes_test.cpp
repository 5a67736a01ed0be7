#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/commandLine.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "testSupport.h"
#include "win32TestSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::ScopedRegistryKey;
using brimlow::platform::testing::TempFolder;
using brimlow::platform::testing::underWine;
using brimlow::platform::testing::waitForFile;

namespace {

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  return text;
}

TEST(Win32RunningProcesses, IncludeThisProgramByItsFileName) {
  const std::string self = ExtractFileName(system().programFilePath());
  ASSERT_EQ(upper(self), "WIN32PROCESSES_TEST.EXE");
  const auto texts = system().runningProcessTexts();
  ASSERT_TRUE(texts.has_value());
  size_t matches = 0;
  for (const std::string& text : *texts) {
    EXPECT_FALSE(text.empty());
    EXPECT_LE(text.size(), static_cast<size_t>(MAX_PATH));
    if (upper(executableFileNamePart(text)) == upper(self)) ++matches;
  }
  // Found whatever the letter case; a run of this program under another
  // locale may be there as well.
  EXPECT_GE(matches, 1u) << "this program";
  EXPECT_GE(texts->size(), 2u) << "the system runs more than this one program";
}

TEST(Win32RunningProcesses, ANewProgramShowsUpUnderItsOwnName) {
  // Started suspended, the copy stays in the snapshot until it is ended.
  TempFolder folder;
  const std::string copy = folder.path("Tarvolt.EXE");
  const std::string recorder =
      JoinPath(ExtractFileDir(system().programFilePath()), "win32Recorder.exe");
  ASSERT_TRUE(::CopyFileA(recorder.c_str(), copy.c_str(), TRUE));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::string line = "\"" + copy + "\"";
  ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &startup, &started));
  const auto texts = system().runningProcessTexts().value_or(std::vector<std::string>{});
  ::TerminateProcess(started.hProcess, 0);
  ::WaitForSingleObject(started.hProcess, 5000);
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Tarvolt.EXE"), texts.end());
}

// Copies of the recorder, started through the platform; each records its
// command line into the file BRIMLOW_RECORD names.
class Win32Started : public ::testing::Test {
 protected:
  Win32Started() : record_("BRIMLOW_RECORD", folder_.path("record.txt")) {
    const std::string recorder =
        JoinPath(ExtractFileDir(system().programFilePath()), "win32Recorder.exe");
    folder_.makeFolder("my tools");
    program_ = folder_.path("my tools\\tarvolt.exe");
    copied_ = ::CopyFileA(recorder.c_str(), program_.c_str(), TRUE) != 0;
  }

  std::string recorded() {
    const std::string text = waitForFile(folder_.path("record.txt"));
    std::filesystem::remove(folder_.path("record.txt"));
    return text;
  }

  TempFolder folder_;
  ScopedEnvironment record_;
  std::string program_;
  bool copied_ = false;
};

struct CommandCase {
  const char* label;
  std::string program;    // as written in the command line
  std::string arguments;  // what follows it
  bool quoted;
};

TEST_F(Win32Started, CommandLinesReachTheProgramAsWritten) {
  ASSERT_TRUE(copied_);
  const CommandCase cases[] = {
      {"quoted, with the exit argument", program_, " -exit", true},
      {"quoted, alone", program_, "", true},
      // Unquoted with a blank in the path: the system tries the blanks.
      {"unquoted, with the exit argument", program_, " -exit", false},
      {"unquoted, alone", program_, "", false},
      {"without \".exe\"", folder_.path("my tools\\tarvolt"), " -exit", false},
  };
  for (const CommandCase& c : cases) {
    const std::string line = (c.quoted ? "\"" + c.program + "\"" : c.program) + c.arguments;
    system().startCommandLine(line);
    const std::string text = recorded();
    // Windows hands the line over as written; Wine puts quotes around a
    // program that it found by trying the blanks.
    const std::string requoted = "\"" + c.program + "\"" + c.arguments;
    EXPECT_TRUE(text == line || (underWine() && text == requoted)) << c.label << ": " << text;
  }
}

TEST_F(Win32Started, NothingToStartIsNotAnError) {
  EXPECT_NO_THROW(system().startCommandLine(""));
  EXPECT_NO_THROW(system().startCommandLine(folder_.path("missing\\tarvolt.exe") + " -exit"));
  EXPECT_NO_THROW(system().shellOpen(folder_.path("missing.chm")));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(std::filesystem::exists(folder_.path("record.txt")));
}

TEST_F(Win32Started, TheShellOpensAProgram) {
  ASSERT_TRUE(copied_);
  system().shellOpen(program_);
  EXPECT_NE(upper(recorded()).find("TARVOLT.EXE"), std::string::npos);
}

TEST(Win32OsVersion, DescribesAnNtSystem) {
  const OsVersionInfo info = system().osVersion();
  EXPECT_EQ(info.platformId, 2u);
  EXPECT_GE(info.majorVersion, 5u);
  EXPECT_TRUE(info.hasExtendedInfo);
  EXPECT_NE(info.productType, 0u);
  EXPECT_FALSE(info.nativeArchitectureIsX86) << "a 64-bit program runs on a 64-bit system";
  EXPECT_GE(info.kernel32Major, 5u) << "kernel32.dll's product version";
  EXPECT_EQ(info.serviceText.find('\0'), std::string::npos);
}

struct WineVersionCase {
  const char* setting;      // Wine's name for the version it pretends to be
  const char* fields;       // what the platform reports, kernel32.dll's version aside
  const char* description;  // the operating-system description, or its start
};

// Wine can pretend to be another Windows for one program; each copy of the
// recorder reports the version it sees and the description made of it.
class Win32WineVersion : public ::testing::TestWithParam<WineVersionCase> {};

TEST_P(Win32WineVersion, IsReportedAndDescribedAsThatWindows) {
  if (!underWine()) GTEST_SKIP() << "only Wine can pretend";
  TempFolder folder;
  const ScopedEnvironment record("BRIMLOW_RECORD", folder.path("record.txt"));
  // Named for this process too: the settings of a run beside this one stay
  // apart.
  const std::string name = std::string("brimlow-") + GetParam().setting + "-" +
                           std::to_string(::GetCurrentProcessId()) + ".exe";
  const std::string copy = folder.path(name);
  const std::string recorder =
      JoinPath(ExtractFileDir(system().programFilePath()), "win32Recorder.exe");
  ASSERT_TRUE(::CopyFileA(recorder.c_str(), copy.c_str(), TRUE));
  const std::string key = "Software\\Wine\\AppDefaults\\" + name;
  HKEY settings = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &settings, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(settings, "Version", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(GetParam().setting),
                   static_cast<DWORD>(std::strlen(GetParam().setting) + 1));
  ::RegCloseKey(settings);

  system().startCommandLine("\"" + copy + "\" version");
  const std::string text = waitForFile(folder.path("record.txt"));
  ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  const size_t kernel = text.find("kernel32 ");
  const size_t description = text.find("description [");
  ASSERT_NE(kernel, std::string::npos) << text;
  ASSERT_NE(description, std::string::npos) << text;
  EXPECT_EQ(text.substr(0, kernel), GetParam().fields);
  EXPECT_EQ(text.substr(description + 13).rfind(GetParam().description, 0), 0u)
      << text.substr(description);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, Win32WineVersion,
    ::testing::Values(
        WineVersionCase{"win2k",
                        "platform 2\nversion 5.0\nservice Service Pack 4\nextended 1\n"
                        "service pack 4\nproduct type 1\nx86 0\nr2 0\n",
                        "Windows 2000 SP4]"},
        WineVersionCase{"winxp",
                        "platform 2\nversion 5.1\nservice Service Pack 3\nextended 1\n"
                        "service pack 3\nproduct type 1\nx86 0\nr2 0\n",
                        "Windows XP SP3]"},
        WineVersionCase{"winxp64",
                        "platform 2\nversion 5.2\nservice Service Pack 2\nextended 1\n"
                        "service pack 2\nproduct type 1\nx86 0\nr2 0\n",
                        "Windows XP x64 SP2]"},
        WineVersionCase{"win2003",
                        "platform 2\nversion 5.2\nservice Service Pack 2\nextended 1\n"
                        "service pack 2\nproduct type 3\nx86 0\nr2 0\n",
                        "Windows Server 2003 SP2]"},
        WineVersionCase{"vista",
                        "platform 2\nversion 6.0\nservice Service Pack 2\nextended 1\n"
                        "service pack 2\nproduct type 1\nx86 0\nr2 0\n",
                        "Windows Vista SP2]"},
        WineVersionCase{"win2008",
                        "platform 2\nversion 6.0\nservice Service Pack 2\nextended 1\n"
                        "service pack 2\nproduct type 3\nx86 0\nr2 0\n",
                        "Windows Server \"Longhorn\" SP2]"},
        // Without a manifest that says otherwise, newer systems answer 6.2,
        // which has no name: the description begins with the blank.
        WineVersionCase{"win10",
                        "platform 2\nversion 6.2\nservice \nextended 1\n"
                        "service pack 0\nproduct type 1\nx86 0\nr2 0\n",
                        " "}),
    [](const auto& info) { return std::string(info.param.setting); });

}  // namespace
