// A list is read while the window paints: the hourglass and a running
// progress bar show meanwhile, and a failure still reaches the user.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <atomic>
#include <fstream>
#include <thread>

#include "windowTestSupport.h"

namespace brimlow {
namespace {

// Reads as the system does, and notes what the window showed meanwhile.
class WatchedReads : public test::FakePlatform {
 public:
  std::string readFile(const std::string& path) override {
    readOnAnotherThread = std::this_thread::get_id() != windowThread;
    busyShown = progress && progress->isVisible() && progress->maximum() == 0;
    return FakePlatform::readFile(path);
  }
  std::thread::id windowThread = std::this_thread::get_id();
  const QProgressBar* progress = nullptr;
  std::atomic<bool> readOnAnotherThread = false;
  std::atomic<bool> busyShown = false;
};

class LoadingTest : public test::WindowTest {
 protected:
  LoadingTest() : scopedWatch(watched) {
    watched.programFile = fake.programFile;
    watched.progress = Find<QProgressBar>("filterProgress");
  }
  WatchedReads watched;
  platform::ScopedPlatform scopedWatch;
};

TEST_F(LoadingTest, TheListIsReadBesideAPaintingWindow) {
  const std::string list = Path("list.xml");
  std::ofstream(list) << "<DownloadList><DownloadFile><ID>7</ID></DownloadFile></DownloadList>";
  window->show();
  window->LoadList(list);
  EXPECT_TRUE(watched.readOnAnotherThread);
  EXPECT_TRUE(watched.busyShown) << "a running bar while the file is read";
  EXPECT_FALSE(Find<QProgressBar>("filterProgress")->isVisible()) << "and gone afterwards";
  EXPECT_EQ(Label("labZak"), "1");
  EXPECT_TRUE(window->isEnabled());
}

TEST_F(LoadingTest, AFailedReadReachesTheUserAndLeavesTheWindowAsItWas) {
  const std::string list = Path("list.xml");
  std::ofstream(list) << "<DownloadList/>";
  watched.unreadableFiles.insert(list);
  window->show();
  window->openDefaultExecute();  // an empty list of the default name
  const QString title = window->windowTitle();
  EXPECT_THROW(window->LoadList(list), platform::EFOpenError);
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_FALSE(Find<QProgressBar>("filterProgress")->isVisible());
  EXPECT_TRUE(window->close()) << "the window is no longer busy";
}

}  // namespace
}  // namespace brimlow
