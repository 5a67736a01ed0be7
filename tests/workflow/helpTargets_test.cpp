#include "workflow/helpTargets.h"

#include <gtest/gtest.h>

#include <set>

#include "fakePlatform.h"

namespace brimlow {
namespace {

#ifdef _WIN32
const std::string kProgramFolder = "C:\\b\\bin\\";
const std::string kCompiled = "C:\\b\\bin\\brimlow.chm";
const std::string kBeside = "C:\\b\\bin\\brimlow.html";
const std::string kInstalled = "C:\\b\\bin\\..\\share\\doc\\brimlow\\brimlow.html";
const std::string kFirstChoice = kCompiled;
#else
const std::string kProgramFolder = "/b/bin/";
const std::string kBeside = "/b/bin/brimlow.html";
const std::string kInstalled = "/b/bin/../share/doc/brimlow/brimlow.html";
const std::string kFirstChoice = kBeside;
#endif

TEST(HelpFilePath, TheGuideBesideTheProgramOrWhereAnInstallationPutsIt) {
  const struct {
    const char* label;
    std::set<std::string> existing;
    std::string path;
  } cases[] = {
      {"beside the program", {kBeside, kInstalled}, kBeside},
      {"only the installed one", {kInstalled}, kInstalled},
      {"none: the first choice beside the program", {}, kFirstChoice},
#ifdef _WIN32
      {"the compiled help before the page", {kCompiled, kBeside}, kCompiled},
#endif
  };
  for (const auto& c : cases) {
    test::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    fake.programFile = kProgramFolder + "brimlow";
    fake.existingFiles = c.existing;
    EXPECT_EQ(HelpFilePath(), c.path) << c.label;
  }
}

TEST(HelpTargetOf, OnlyTheHelpMenusPagesOpenAnything) {
  test::FakePlatform fake;
  platform::ScopedPlatform scoped(fake);
  fake.programFile = kProgramFolder + "brimlow";
  EXPECT_EQ(HelpTargetOf(TCommand::N10), kFirstChoice);
  EXPECT_EQ(HelpTargetOf(TCommand::N11), HomePageAddress());
  EXPECT_EQ(HelpTargetOf(TCommand::N13), SupportPageAddress());
  EXPECT_EQ(HelpTargetOf(TCommand::online1), SupportPageAddress());
  EXPECT_EQ(HelpTargetOf(TCommand::N14), ForumAddress());
  for (const TCommand other : {TCommand::move, TCommand::N16, TCommand::N6})
    EXPECT_EQ(HelpTargetOf(other), "") << static_cast<int>(other);
}

}  // namespace
}  // namespace brimlow
