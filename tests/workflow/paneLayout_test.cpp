#include "workflow/paneLayout.h"

#include <gtest/gtest.h>

namespace brimlow {
namespace {

TEST(PaneLayout, WidthsAskedForByEachEvent) {
  const struct {
    const char* label;
    TPaneWidths asked;
    TPaneWidths expected;
  } cases[] = {
      {"resize to 801: sides of 315", WidthsAfterResize(801), {315, 170, 315}},
      {"resize to 800: sides of 315 too", WidthsAfterResize(800), {315, 170, 315}},
      {"resize to the design width", WidthsAfterResize(801 - 8), {311, 170, 311}},
      {"narrower than the middle: toward zero", WidthsAfterResize(167), {-1, 170, -1}},
      {"left splitter to 300 in 801", WidthsAfterLeftSplitter(801, 300), {300, 165, 336}},
      {"right splitter to 336 in 801", WidthsAfterRightSplitter(801, 336), {300, 165, 336}},
      {"right splitter to 100 in 500", WidthsAfterRightSplitter(500, 100), {235, 165, 100}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.asked, c.expected) << c.label;
}

TEST(PaneLayout, FittingIntoTheSplittersRoom) {
  using Sizes = std::array<int, 3>;
  const struct {
    const char* label;
    TPaneWidths asked;
    TPaneAnchor anchor;
    int room;
    Sizes sizes;
  } cases[] = {
      {"both sides share the rest", {315, 170, 315}, TPaneAnchor::Both, 790, {310, 170, 310}},
      {"an odd rest gives the right one more",
       {0, 170, 0},
       TPaneAnchor::Both,
       791,
       {310, 170, 311}},
      {"the dragged left pane keeps its width",
       {300, 165, 336},
       TPaneAnchor::Left,
       790,
       {300, 165, 325}},
      {"the dragged right pane keeps its width",
       {300, 165, 336},
       TPaneAnchor::Right,
       790,
       {289, 165, 336}},
      {"a side wider than the rest is cut", {900, 165, 0}, TPaneAnchor::Left, 500, {335, 165, 0}},
      {"a negative side counts as none", {-5, 165, 0}, TPaneAnchor::Left, 500, {0, 165, 335}},
      {"a room smaller than the middle", {0, 170, 0}, TPaneAnchor::Both, 100, {0, 100, 0}},
      {"no room at all", {10, 170, 10}, TPaneAnchor::Both, -4, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitPanes(c.asked, c.anchor, c.room), c.sizes) << c.label;
  }
}

}  // namespace
}  // namespace brimlow
