// The host in the window: the start-up asks it to exit, closing starts it,
// and the window stays alive while it waits for the host to end.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

#include "windowTestSupport.h"

namespace brimlow {
namespace {

using namespace std::chrono_literals;
using test::WindowTest;
using Texts = std::vector<std::string>;

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";

class HostTest : public WindowTest {
 protected:
  HostTest() {
    window->SetHostExitWait(2000ms, 5ms);
    fake.registry[kHostKey] = {{"ExeFile", "D:\\t\\tarvolt.exe"}};
  }
};

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

TEST_F(HostTest, TheWindowKeepsHandlingItsEventsWhileItWaits) {
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
  EXPECT_GT(paints, 0) << "the window kept handling its events";
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace brimlow
