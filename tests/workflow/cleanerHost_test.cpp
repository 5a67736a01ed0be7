// The host process: recognising it, asking it to exit and waiting for it to
// end before anything is written, and starting it again.
#include <gtest/gtest.h>

#include <chrono>

#include "cleanerTestSupport.h"
#include "workflow/hostProcess.h"
#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "../platform/testSupport.h"

extern char** environ;
#endif

namespace brimlow {
namespace {

using namespace std::chrono_literals;
using test::CleanerTest;
using Texts = std::vector<std::string>;

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";

TEST(IsProcessRunning, MatchesTheFileNamePartOrTheWholeText) {
  const struct {
    const char* label;
    std::optional<Texts> processes;
    bool running;
  } cases[] = {
      {"no processes", Texts{}, false},
      {"the name as it is", Texts{"bash", "tarvolt.exe"}, true},
      {"in capitals", Texts{"TARVOLT.EXE"}, true},
      {"a Windows path, as Wine shows it", Texts{"C:\\Program Files\\Tarvolt\\tarvolt.exe"}, true},
      {"a POSIX path", Texts{"/opt/t/Tarvolt.Exe"}, true},
      {"a longer name", Texts{"tarvolt.exe.bak"}, false},
      {"a name that only ends alike", Texts{"xtarvolt.exe"}, false},
      {"without the extension", Texts{"tarvolt"}, false},
      {"after another match, the walk goes on", Texts{"tarvolt.exe", "other"}, true},
      {"no snapshot", std::nullopt, false},
  };
  for (const auto& c : cases) {
    test::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    fake.processSnapshots = {c.processes};
    EXPECT_EQ(IsProcessRunning("tarvolt.exe"), c.running) << c.label;
  }
}

TEST(IsProcessRunning, OnlyLettersAToZChangeCase) {
  test::FakePlatform fake;
  platform::ScopedPlatform scoped(fake);
  fake.processSnapshots = {Texts{"\xE0.exe"}};  // a code-page letter
  EXPECT_TRUE(IsProcessRunning("\xE0.EXE"));
  EXPECT_FALSE(IsProcessRunning("\xC0.EXE"));
}

class HostTest : public CleanerTest {
 protected:
  HostTest() {
    cleaner.SetHostExitWait(2000ms, 1ms);
    fake.registry[kHostKey] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
    cleaner.GetDefaultListName();
  }
};

TEST_F(HostTest, ExitRequestAndRestart) {
  const struct {
    const char* label;
    bool running;
    bool hasExe;
    bool control;
    bool restart;
    std::vector<std::string> started;
  } cases[] = {
      {"running: asked to exit", true, true, true, false, {"D:\\t\\tarvolt.exe -exit"}},
      {"not running: nothing", false, true, true, false, {}},
      {"restart, not running", false, true, true, true, {"D:\\t\\tarvolt.exe"}},
      {"restart, running", true, true, true, true, {"D:\\t\\tarvolt.exe"}},
      {"no ExeFile: nothing to exit", true, false, true, false, {}},
      {"no ExeFile: nothing to start", false, false, true, true, {}},
      {"host control off: no exit request", true, true, false, false, {}},
      {"host control off: no start", false, true, false, true, {}},
  };
  for (const auto& c : cases) {
    TCleaner fresh;
    fresh.SetHostExitWait(0ms, 1ms);
    fresh.SetHostControl(c.control);
    fake.registry[kHostKey] = {};
    if (c.hasExe) fake.registry[kHostKey]["ExeFile"] = "D:\\t\\tarvolt.exe";
    fresh.GetDefaultListName();
    fake.processSnapshots = {c.running ? Texts{"tarvolt.exe"} : Texts{}};
    fake.startedCommands.clear();
    fresh.ControlHost(c.restart);
    EXPECT_EQ(fake.startedCommands, c.started) << c.label;
  }
}

TEST_F(HostTest, TheExitRequestWaitsForTheHostToEnd) {
  fake.processSnapshots = {Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"},
                           Texts{"tarvolt.exe"}, Texts{}};
  cleaner.ControlHost(false);
  EXPECT_EQ(fake.snapshotsTaken, 5u) << "polled until the host was gone";
  EXPECT_EQ(frontEnd.waits,
            (std::vector<std::string>{"started", "pause", "pause", "pause", "ended"}));
}

TEST_F(HostTest, TheWaitEndsAfterItsTime) {
  fake.processSnapshots = {Texts{"tarvolt.exe"}};
  frontEnd.pausesSleep = true;
  cleaner.SetHostExitWait(150ms, 10ms);
  const auto start = std::chrono::steady_clock::now();
  cleaner.ControlHost(false);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 150ms);
  EXPECT_LT(elapsed, 1500ms);
  EXPECT_EQ(frontEnd.waits.back(), "ended");
}

TEST_F(HostTest, TheExecutionWritesOnlyAfterTheHostHasEnded) {
  cleaner.InitBackups();
  cleaner.LoadList(Path("list.xml"));
  fake.processSnapshots = {Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"}, Texts{}};
  fake.log.clear();
  ASSERT_TRUE(cleaner.Execute({}));
  const std::vector<std::string>& log = fake.log;
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], "snapshot running");
  EXPECT_EQ(log[1], "start D:\\t\\tarvolt.exe -exit");
  EXPECT_EQ(log[2], "snapshot running");
  EXPECT_EQ(log[3], "snapshot clear");
  EXPECT_EQ(log[4], "write " + BackupPath("default_2009_03_07.xml"))
      << "the backup copy comes after the wait";
  EXPECT_EQ(log.back(), "write " + Path("list.xml"));
}

#ifndef _WIN32
// The cleaner on the system's own platform: a Wine prefix whose registry
// names the host, a fake `wine` that records how it was started, and a
// process that looks like the host under Wine.
class HostUnderWineTest : public ::testing::Test {
 protected:
  HostUnderWineTest() {
    temp.write("prefix/user.reg",
               "WINE REGISTRY Version 2\n\n[Software\\\\Kelvane\\\\Tarvolt] 1700000001\n"
               "\"ExeFile\"=\"C:\\\\t\\\\tarvolt.exe\"\n");
    temp.write("bin/wine",
               "#!/bin/sh\n"
               "printf '%s\\n' \"wine $*\" >> \"$BRIMLOW_RECORD\"\n"
               "for a in \"$@\"; do [ \"$a\" = -exit ] && kill \"$BRIMLOW_HOST\"; done\n"
               "exit 0\n");
    std::filesystem::permissions(temp.path("bin/wine"), std::filesystem::perms::owner_all);
  }
  ~HostUnderWineTest() override {
    if (host > 0) {
      ::kill(host, SIGKILL);
      ::waitpid(host, nullptr, 0);
    }
  }
  std::string Record() const { return temp.path("record.txt"); }

  // A process whose first argument is the host's Windows path, as under Wine.
  void StartHost() {
    std::string name = "C:\\t\\tarvolt.exe";
    std::string seconds = "60";
    char* argv[] = {name.data(), seconds.data(), nullptr};
    ASSERT_EQ(::posix_spawn(&host, "/bin/sleep", nullptr, nullptr, argv, environ), 0);
    hostVariable.emplace("BRIMLOW_HOST", std::to_string(host));
    for (int tries = 0; tries < 200 && !IsProcessRunning("tarvolt.exe"); ++tries)
      std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(IsProcessRunning("tarvolt.exe"));
  }

  // The recorded lines once `count` of them are there (or after five seconds).
  std::vector<std::string> Recorded(size_t count) const {
    std::vector<std::string> lines;
    for (int tries = 0; tries < 500; ++tries) {
      lines.clear();
      std::ifstream in(Record());
      for (std::string line; std::getline(in, line);)
        lines.push_back(line);
      if (lines.size() >= count) break;
      std::this_thread::sleep_for(10ms);
    }
    return lines;
  }

  platform::testing::TempFolder temp;
  platform::testing::ScopedEnvironment prefix{"WINEPREFIX", temp.path("prefix")};
  platform::testing::ScopedEnvironment path{"PATH", temp.path("bin") + ":/usr/bin:/bin"};
  platform::testing::ScopedEnvironment record{"BRIMLOW_RECORD", Record()};
  std::optional<platform::testing::ScopedEnvironment> hostVariable;
  pid_t host = 0;
};

TEST_F(HostUnderWineTest, TheExitRequestEndsTheHostAndARestartStartsIt) {
  StartHost();
  TCleaner cleaner;
  cleaner.SetHostExitWait(8000ms, 20ms);
  cleaner.GetDefaultListName();
  const auto start = std::chrono::steady_clock::now();
  cleaner.ControlHost(false);
  EXPECT_EQ(Recorded(1), (std::vector<std::string>{"wine C:\\t\\tarvolt.exe -exit"}));
  EXPECT_FALSE(IsProcessRunning("tarvolt.exe")) << "the request waited for the host to end";
  EXPECT_LT(std::chrono::steady_clock::now() - start, 8000ms) << "and went on as soon as it had";
  cleaner.ControlHost(true);
  EXPECT_EQ(Recorded(2),
            (std::vector<std::string>{"wine C:\\t\\tarvolt.exe -exit", "wine C:\\t\\tarvolt.exe"}));
}
#endif

}  // namespace
}  // namespace brimlow
