#include "workflow/listLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "data/convert.h"
#include "platform/platform.h"

namespace brimlow {
namespace {

using namespace std::chrono_literals;

// A window in miniature: each pump is one round of painting.
struct TWindow {
  std::atomic<int> pumps = 0;
  std::atomic<int> wakes = 0;
  std::thread::id waker;
  TListLoader Loader() {
    const auto pump = [this] {
      ++pumps;
      std::this_thread::sleep_for(1ms);
    };
    const auto wake = [this] {
      waker = std::this_thread::get_id();
      ++wakes;
    };
    return TListLoader(pump, wake);
  }
};

TEST(ListLoader, TheWindowPaintsWhileTheReadingRunsAndGetsItComplete) {
  // The reading ends only after the window has painted three times: a
  // loader that waited without pumping would never return.
  TWindow window;
  std::thread::id reader;
  int records = 0;
  window.Loader().Run([&] {
    reader = std::this_thread::get_id();
    while (window.pumps < 3)
      std::this_thread::yield();
    records = 100000;
  });
  EXPECT_EQ(records, 100000);
  EXPECT_NE(reader, std::this_thread::get_id());
  EXPECT_EQ(window.wakes, 1);
  EXPECT_EQ(window.waker, reader) << "the reading thread wakes the window";
}

TEST(ListLoader, WhatTheReadingThrowsComesOutOnTheWindowsThreadWithItsClass) {
  TWindow window;
  EXPECT_THROW(window.Loader().Run([] { ThrowInvalidInteger("x"); }), EConvertError);
  try {
    window.Loader().Run([] { throw platform::EFOpenError("a.xml", "Access denied"); });
    ADD_FAILURE() << "nothing thrown";
  } catch (const platform::EFOpenError& error) {
    EXPECT_STREQ(error.what(), "Cannot open file \"a.xml\". Access denied");
  }
}

TEST(ListLoader, APumpThatFailsStillWaitsForTheReadingToEnd) {
  std::atomic<bool> ended = false;
  const TListLoader loader([] { throw std::runtime_error("window gone"); }, [] {});
  EXPECT_THROW(loader.Run([&] {
    std::this_thread::sleep_for(20ms);
    ended = true;
  }),
               std::runtime_error);
  EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace brimlow
