#include "platform/temporaryName.h"

#include <gtest/gtest.h>

using namespace brimlow::platform;

namespace {

TEST(TemporaryName, IsHiddenBesideItsTarget) {
  EXPECT_EQ(temporaryName("default.xml", 4711, 3), ".default.xml.4711-3.tmp");
  EXPECT_EQ(temporaryName("list", 1, 0, ".old"), ".list.1-0.old");
}

TEST(TemporaryName, TheWriterIsReadBackFromItsOwnName) {
  const std::string name = temporaryName("list.xml", 123456, 42);
  const std::string prefix = temporaryPrefix("list.xml");
  ASSERT_EQ(name.rfind(prefix, 0), 0u);
  EXPECT_EQ(temporaryOwner(std::string_view(name).substr(prefix.size())), 123456u);
}

// Everything after ".<name>." that is not exactly what a writer makes belongs
// to someone else and must never be taken for a stale temporary.
TEST(TemporaryName, OnlyTheExactPatternHasAnOwner) {
  const struct {
    const char* rest;
    std::optional<uint64_t> owner;
  } cases[] = {
      {"77-0.tmp", 77},
      {"18446744073709551615-9.tmp", UINT64_MAX},  // the largest number
      {"18446744073709551616-0.tmp", {}},          // one more overflows
      {"77-0.tmp.bak", {}},                        // more after the ending
      {"77-0.TMP", {}},                            // the ending's letter case
      {"77-0.old", {}},                            // a replace call's backup name
      {"77.tmp", {}},                              // no counter
      {"77-.tmp", {}},
      {"-0.tmp", {}},     // no process
      {"077-0.tmp", {}},  // a leading zero the writer never puts
      {"77-00.tmp", {}},
      {"+77-0.tmp", {}},
      {"7 7-0.tmp", {}},
      {"77-0tmp", {}},
      {"", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(temporaryOwner(c.rest), c.owner) << c.rest;
}

}  // namespace
