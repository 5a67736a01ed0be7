#include "platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "delegatingPlatform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::DelegatingPlatform;
using brimlow::platform::testing::TempFolder;

namespace {

enum class Step { None, Create, Write, Commit, Replace };

// The system's replacement with one step made to fail, and a record of what
// the temporary file was.
class FailingStep final : public DelegatingPlatform {
 public:
  explicit FailingStep(Step failing) : failing_(failing) {}

  WriteHandle createTemporaryBeside(const std::string& target) override {
    fail(Step::Create, target);
    WriteHandle file = DelegatingPlatform::createTemporaryBeside(target);
    temporary = file.path;
    return file;
  }
  void writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) override {
    // Half the bytes reach the file before the failure, as with a full disk.
    if (failing_ == Step::Write) {
      DelegatingPlatform::writeAll(file, bytes.substr(0, bytes.size() / 2), target);
    }
    fail(Step::Write, target);
    DelegatingPlatform::writeAll(file, bytes, target);
  }
  void commitAndClose(WriteHandle& file, const std::string& target) override {
    fail(Step::Commit, target);
    DelegatingPlatform::commitAndClose(file, target);
  }
  void replaceWith(WriteHandle& file, const std::string& target) override {
    fail(Step::Replace, target);
    DelegatingPlatform::replaceWith(file, target);
  }
  void discard(WriteHandle& file) noexcept override {
    ++discards;
    DelegatingPlatform::discard(file);
  }

  std::string temporary;
  int discards = 0;

 private:
  void fail(Step step, const std::string& target) {
    if (step == failing_) throw EFCreateError(target, "No space left on device");
  }
  Step failing_;
};

struct FailureCase {
  const char* label;
  Step step;
};

class ReplaceFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReplaceFailureTest, LeavesTheOldFileAndNoTemporary) {
  TempFolder folder;
  folder.write("list.xml", "old content\r\n");
  FailingStep os(GetParam().step);
  ScopedPlatform installed(os);
  const std::string target = folder.path("list.xml");

  try {
    replaceFileContents(target, "new content that is longer\r\n");
    ADD_FAILURE() << GetParam().label << ": no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + target + "\". No space left on device")
        << GetParam().label;
  }
  EXPECT_EQ(folder.read("list.xml"), "old content\r\n") << GetParam().label;
  EXPECT_EQ(folder.entryCount(), 1u) << GetParam().label << ": temporary file left behind";
  EXPECT_EQ(os.discards, GetParam().step == Step::Create ? 0 : 1) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Steps, ReplaceFailureTest,
                         ::testing::Values(FailureCase{"creating the temporary", Step::Create},
                                           FailureCase{"writing", Step::Write},
                                           FailureCase{"flushing", Step::Commit},
                                           FailureCase{"renaming", Step::Replace}));

TEST(ReplaceFileContents, WritesTheWholeContentThroughATemporaryBeside) {
  TempFolder folder;
  folder.write("list.xml", "old");
  FailingStep os(Step::None);
  ScopedPlatform installed(os);

  replaceFileContents(folder.path("list.xml"), "new");

  EXPECT_EQ(folder.read("list.xml"), "new");
  EXPECT_EQ(folder.entryCount(), 1u);
  EXPECT_EQ(std::filesystem::path(os.temporary).parent_path(), std::filesystem::path(folder.path()))
      << "the temporary lies beside the target";
  EXPECT_EQ(os.discards, 0);
}

TEST(ReplaceFileContents, CreatesAMissingFileAndWritesEmptyContent) {
  TempFolder folder;
  replaceFileContents(folder.path("new.xml"), "");
  EXPECT_TRUE(system().fileExists(folder.path("new.xml")));
  EXPECT_EQ(folder.read("new.xml"), "");
}

TEST(ReplaceFileContents, AFolderThatDoesNotExistIsACreateError) {
  TempFolder folder;
  const std::string target = folder.path("missing/list.xml");
  try {
    replaceFileContents(target, "x");
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& error) {
    // The reason is the system's own text.
    const std::string start = "Cannot create file \"" + target + "\". ";
    EXPECT_EQ(std::string(error.what()).substr(0, start.size()), start);
    EXPECT_GT(std::string(error.what()).size(), start.size());
  }
}

TEST(ScopedPlatform, InstallsAndRestores) {
  FailingStep outer(Step::None);
  FailingStep inner(Step::None);
  EXPECT_EQ(&current(), &system());
  {
    ScopedPlatform first(outer);
    EXPECT_EQ(&current(), &outer);
    {
      ScopedPlatform second(inner);
      EXPECT_EQ(&current(), &inner);
    }
    EXPECT_EQ(&current(), &outer);
  }
  EXPECT_EQ(&current(), &system());
}

TEST(PlatformErrors, CarryTheirMessages) {
  EXPECT_STREQ(EFOpenError("C:\\x.xml", "Permission denied").what(),
               "Cannot open file \"C:\\x.xml\". Permission denied");
  EXPECT_STREQ(ERegistryException("ExeFile").what(), "Invalid data type for 'ExeFile'");
}

}  // namespace
