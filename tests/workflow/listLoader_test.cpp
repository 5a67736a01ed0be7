#include "workflow/listLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "data/convert.h"
#include "platform/platform.h"

namespace brimlow {
namespace {

// A window's queue in miniature: the pump waits until woken (or a moment
// has passed, as a window's paint would come), the wake may come from any
// thread and is kept until the pump looks.
class TQueue {
 public:
  void Pump() {
    std::unique_lock lock(FMutex);
    FWoken.wait_for(lock, std::chrono::milliseconds(5), [this] { return FPending; });
    FPending = false;
    ++FPumps;
  }
  void Wake() {
    {
      std::lock_guard lock(FMutex);
      FPending = true;
      FWakerThread = std::this_thread::get_id();
      ++FWakes;
    }
    FWoken.notify_one();
  }
  TListLoader Loader() {
    return TListLoader([this] { Pump(); }, [this] { Wake(); });
  }

  std::atomic<int> FPumps = 0;
  int FWakes = 0;
  std::thread::id FWakerThread;

 private:
  std::mutex FMutex;
  std::condition_variable FWoken;
  bool FPending = false;
};

TEST(ListLoader, TheReadingRunsOnAnotherThreadAndIsCompleteWhenRunReturns) {
  TQueue queue;
  std::thread::id readingThread;
  int records = 0;
  queue.Loader().Run([&] {
    readingThread = std::this_thread::get_id();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    records = 100000;
  });
  EXPECT_EQ(records, 100000);
  EXPECT_NE(readingThread, std::this_thread::get_id());
  EXPECT_EQ(queue.FWakes, 1);
  EXPECT_EQ(queue.FWakerThread, readingThread) << "the reading thread wakes the window";
}

TEST(ListLoader, TheWindowKeepsPumpingWhileTheReadingRuns) {
  // The reading goes on only after the window has pumped three times: a
  // loader that waited without pumping would never return.
  TQueue queue;
  queue.Loader().Run([&] {
    while (queue.FPumps < 3)
      std::this_thread::yield();
  });
  EXPECT_GE(queue.FPumps, 3);
}

TEST(ListLoader, WhatTheReadingThrowsComesOutOnTheWindowsThread) {
  TQueue queue;
  const struct {
    const char* label;
    std::function<void()> load;
    std::string message;
  } cases[] = {
      {"a conversion message", [] { throw EConvertError("'x' is not a valid integer value"); },
       "'x' is not a valid integer value"},
      {"a file that cannot be opened",
       [] { throw platform::EFOpenError("a.xml", "Access denied"); },
       "Cannot open file \"a.xml\". Access denied"},
  };
  for (const auto& c : cases) {
    try {
      queue.Loader().Run(c.load);
      ADD_FAILURE() << c.label << ": nothing thrown";
    } catch (const std::exception& error) {
      EXPECT_EQ(error.what(), c.message) << c.label;
    }
  }
  EXPECT_THROW(queue.Loader().Run([] { throw EConvertError("x"); }), EConvertError)
      << "the error keeps its class";
}

TEST(ListLoader, APumpThatFailsStillWaitsForTheReadingToEnd) {
  std::atomic<bool> readingEnded = false;
  const TListLoader loader([] { throw std::runtime_error("window gone"); }, [] {});
  EXPECT_THROW(loader.Run([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    readingEnded = true;
  }),
               std::runtime_error);
  EXPECT_TRUE(readingEnded);
}

}  // namespace
}  // namespace brimlow
