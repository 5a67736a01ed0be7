// The host process: recognising it, asking it to exit and waiting for it,
// and starting it again when the window closes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <thread>

#include "windowTestSupport.h"
#include "workflow/hostProcess.h"

extern char** environ;

namespace brimlow {
namespace {

using namespace std::chrono_literals;
using test::WindowTest;
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

class HostTest : public WindowTest {
 protected:
  HostTest() {
    window->SetHostExitWait(2000ms, 5ms);
    fake.registry[kHostKey] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
  }
  void HostRuns() { fake.processSnapshots = {Texts{"tarvolt.exe"}}; }
};

TEST_F(HostTest, ExitRequestAndRestart) {
  const struct {
    const char* label;
    bool running;
    bool hasExe;
    bool restart;
    std::vector<std::string> started;
  } cases[] = {
      {"running: asked to exit", true, true, false, {"D:\\t\\tarvolt.exe -exit"}},
      {"not running: nothing", false, true, false, {}},
      {"restart, not running", false, true, true, {"D:\\t\\tarvolt.exe"}},
      {"restart, running", true, true, true, {"D:\\t\\tarvolt.exe"}},
      {"no ExeFile: nothing to exit", true, false, false, {}},
      {"no ExeFile: nothing to start", false, false, true, {}},
  };
  for (const auto& c : cases) {
    window = std::make_unique<TForm2>();
    window->SetHostExitWait(0ms, 1ms);
    fake.registry[kHostKey] =
        c.hasExe ? std::map<std::string, std::string>{{"ExeFile", "D:\\t\\tarvolt.exe"}}
                 : std::map<std::string, std::string>{};
    window->GetDefaultListName();
    fake.processSnapshots = {c.running ? Texts{"tarvolt.exe"} : Texts{}};
    fake.startedCommands.clear();
    window->ControlHost(c.restart);
    EXPECT_EQ(fake.startedCommands, c.started) << c.label;
  }
}

TEST_F(HostTest, StartUpAsksARunningHostToExitAndClosingStartsIt) {
  fake.processSnapshots = {Texts{"C:\\t\\tarvolt.exe"}, Texts{}};
  window->FormCreate();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(fake.startedCommands, (std::vector<std::string>{"D:\\t\\tarvolt.exe -exit"}));
  window->show();
  window->close();
  EXPECT_EQ(fake.startedCommands,
            (std::vector<std::string>{"D:\\t\\tarvolt.exe -exit", "D:\\t\\tarvolt.exe"}));
}

TEST_F(HostTest, ClosingStartsTheHostEvenIfItDidNotRunAtStartUp) {
  window->FormCreate();
  EXPECT_TRUE(fake.startedCommands.empty());
  window->show();
  window->close();
  EXPECT_EQ(fake.startedCommands, (std::vector<std::string>{"D:\\t\\tarvolt.exe"}));
}

TEST_F(HostTest, TheExitRequestWaitsForTheHostToEnd) {
  fake.processSnapshots = {Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"},
                           Texts{"tarvolt.exe"}, Texts{}};
  window->GetDefaultListName();
  window->show();
  int paints = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++paints; });
  ticker.start(0);
  window->ControlHost(false);
  ticker.stop();
  EXPECT_EQ(fake.snapshotsTaken, 5u) << "polled until the host was gone";
  EXPECT_GT(paints, 0) << "the window kept handling its events";
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(HostTest, TheWaitEndsAfterItsTime) {
  HostRuns();
  window->SetHostExitWait(150ms, 10ms);
  window->GetDefaultListName();
  QElapsedTimer elapsed;
  elapsed.start();
  window->ControlHost(false);
  EXPECT_GE(elapsed.elapsed(), 150);
  EXPECT_LT(elapsed.elapsed(), 1500);
}

TEST_F(HostTest, TheExecutionWritesOnlyAfterTheHostHasEnded) {
  window->InitBackups();
  window->LoadList(Path("list.xml"));
  window->GetDefaultListName();
  window->SetDialogRunner([](QDialog&) { return true; });
  fake.processSnapshots = {Texts{"tarvolt.exe"}, Texts{"tarvolt.exe"}, Texts{}};
  fake.log.clear();
  Find<QPushButton>("Button2")->click();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  const std::vector<std::string>& log = fake.log;
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], "snapshot running");
  EXPECT_EQ(log[1], "start D:\\t\\tarvolt.exe -exit");
  EXPECT_EQ(log[2], "snapshot running");
  EXPECT_EQ(log[3], "snapshot clear");
  EXPECT_EQ(log[4].rfind("write ", 0), 0u) << "the backup copy comes after the wait";
  EXPECT_EQ(log.back(), "write " + Path("list.xml"));
}

// The window on the system's own platform: a Wine prefix whose registry names
// the host, a fake `wine` that records how it was started, and a process that
// looks like the host under Wine.
class HostUnderWineTest : public test::WithApplication, public ::testing::Test {
 protected:
  HostUnderWineTest()
      : folder(std::filesystem::temp_directory_path() /
               ("brimlow_wine_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder / "prefix");
    std::filesystem::create_directories(folder / "bin");
    std::filesystem::create_directories(folder / "AppData");
    std::ofstream(folder / "prefix" / "user.reg")
        << "WINE REGISTRY Version 2\n\n[Software\\\\Kelvane\\\\Tarvolt] 1700000001\n"
        << "\"ExeFile\"=\"C:\\\\t\\\\tarvolt.exe\"\n";
    const std::filesystem::path wine = folder / "bin" / "wine";
    std::ofstream(wine)
        << "#!/bin/sh\n"
           "printf '%s\\n' \"wine $*\" >> \"$BRIMLOW_RECORD\"\n"
           "for a in \"$@\"; do [ \"$a\" = -exit ] && kill \"$BRIMLOW_HOST\"; done\n"
           "exit 0\n";
    std::filesystem::permissions(wine, std::filesystem::perms::owner_all);
    Set("WINEPREFIX", (folder / "prefix").string());
    Set("APPDATA", (folder / "AppData").string());
    Set("PATH", (folder / "bin").string() + ":/usr/bin:/bin");
    Set("BRIMLOW_RECORD", Record());
    previousPresenter = SetErrorPresenter([this](const QString& message) { errors << message; });
  }
  ~HostUnderWineTest() override {
    if (host > 0) {
      ::kill(host, SIGKILL);
      ::waitpid(host, nullptr, 0);
    }
    SetErrorPresenter(previousPresenter);
    for (const auto& [name, value] : saved) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
    std::filesystem::remove_all(folder);
  }
  void Set(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::string Record() const { return (folder / "record.txt").string(); }

  // A process whose first argument is the host's Windows path, as under Wine.
  void StartHost() {
    std::string name = "C:\\t\\tarvolt.exe";
    std::string seconds = "60";
    char* argv[] = {name.data(), seconds.data(), nullptr};
    ASSERT_EQ(::posix_spawn(&host, "/bin/sleep", nullptr, nullptr, argv, environ), 0);
    Set("BRIMLOW_HOST", std::to_string(host));
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

  std::filesystem::path folder;
  pid_t host = 0;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
  TErrorPresenter previousPresenter;
  QStringList errors;
};

TEST_F(HostUnderWineTest, StartUpEndsTheHostAndClosingStartsItAgain) {
  StartHost();
  {
    TForm2 window;
    window.SetHostExitWait(8000ms, 20ms);
    QElapsedTimer elapsed;
    elapsed.start();
    window.FormCreate();
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(Recorded(1), (std::vector<std::string>{"wine C:\\t\\tarvolt.exe -exit"}));
    EXPECT_FALSE(IsProcessRunning("tarvolt.exe")) << "start-up waited for the host to end";
    EXPECT_LT(elapsed.elapsed(), 8000) << "and went on as soon as it had";

    window.show();
    window.close();
  }
  EXPECT_EQ(Recorded(2),
            (std::vector<std::string>{"wine C:\\t\\tarvolt.exe -exit", "wine C:\\t\\tarvolt.exe"}));
}

}  // namespace
}  // namespace brimlow
