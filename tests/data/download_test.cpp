#include "data/download.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "forwardingPlatform.h"
#include "platform/platform.h"

using namespace brimlow;

namespace {

constexpr int64_t KB = 1024;
constexpr int64_t MB = 1024 * KB;
constexpr int64_t GB = 1024 * MB;

class SizeToTextTest : public ::testing::Test {
 protected:
  // The tests run under locales whose separator is a comma too.
  void SetUp() override { platform::setDecimalSeparator('.'); }
  void TearDown() override { platform::setDecimalSeparator('.'); }
};

struct SizeCase {
  const char* label;
  int64_t bytes;
  const char* expected;
};

const SizeCase kSizeCases[] = {
    {"nothing", 0, "0.00 KB"},
    {"below 1 KB still counts kilobytes", 500, "0.49 KB"},
    {"a half rounds away from zero", 128, "0.13 KB"},
    {"a little less than a half rounds down", 5, "0.00 KB"},
    {"a little more than a half rounds up", 6, "0.01 KB"},
    {"one and a half kilobytes", 1536, "1.50 KB"},
    {"rounding up to the next whole", 1023, "1.00 KB"},
    {"one byte below 1 MB stays in KB", MB - 1, "1024.00 KB"},
    {"1 MB changes the unit", MB, "1.00 MB"},
    {"a half in megabytes", MB + MB / 8, "1.13 MB"},
    {"one byte below 1 GB stays in MB", GB - 1, "1024.00 MB"},
    {"1 GB changes the unit", GB, "1.00 GB"},
    {"five gigabytes", 5 * GB, "5.00 GB"},
    {"no unit above GB", 2048 * GB, "2048.00 GB"},
    {"largest count", std::numeric_limits<int64_t>::max(), "8589934592.00 GB"},
    {"negative counts are kilobytes", -1536, "-1.50 KB"},
    {"negative half rounds away from zero", -128, "-0.13 KB"},
    {"a negative count that rounds to zero has no sign", -1, "0.00 KB"},
    {"smallest count", std::numeric_limits<int64_t>::min(), "-9007199254740992.00 KB"},
};

TEST_F(SizeToTextTest, TwoDecimalsInTheLargestUnitReached) {
  for (const SizeCase& row : kSizeCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(SizeToText(row.bytes), row.expected);
  }
}

TEST_F(SizeToTextTest, UsesTheLocaleDecimalSeparator) {
  platform::setDecimalSeparator(',');
  EXPECT_EQ(SizeToText(1536), "1,50 KB");
  Tdownload record;
  record.Size = 5 * GB;
  EXPECT_EQ(record.SizeText(), "5,00 GB");
}

Tdownload FullRecord() {
  Tdownload record;
  record.FileName = "C:\\Downloads\\a.zip";
  record.DownloadedSize = 1000;
  record.LastModified = "Tue, 04 Mar 2008 10:00:00 GMT";
  record.State = 5;
  record.ID = 4000000000u;
  record.SaveDir = "C:\\Downloads";
  record.ResumeMode = 1;
  record.Size = 5 * GB;
  record.URL = "http://example.com/a.zip?x=1&y=2";
  record.Date = 39813.5;
  record.DownloadTime = 42;
  record.ContentType = "application/zip";
  record.NodeID = 7;
  record.Comment = "keep";
  record.ExtraElements = {"Foo;bar", "Baz;"};
  return record;
}

TEST(Tdownload, StartsEmpty) {
  const Tdownload record;
  EXPECT_TRUE(record.FileName.empty());
  EXPECT_EQ(record.ID, 0u);
  EXPECT_EQ(record.Date, 0.0);
  EXPECT_TRUE(record.ExtraElements.empty());
}

// Regression: a download moved to the trash and back lost its comment and
// its extra elements, and so did a saved trash.
TEST(Tdownload, AssignFromKeepsCommentAndExtraElements) {
  const Tdownload source = FullRecord();
  Tdownload copy;
  copy.ExtraElements = {"Old;entry"};
  copy.AssignFrom(source);
  EXPECT_EQ(copy, source);
  EXPECT_EQ(copy.Comment, "keep");
  EXPECT_EQ(copy.ExtraElements, (std::vector<std::string>{"Foo;bar", "Baz;"}));
}

// Answers the existence query from a fixed path, so the test does not
// depend on what lies on the disk.
class OneFilePlatform final : public test::ForwardingPlatform {
 public:
  bool fileExists(const std::string& path) override {
    ++queries;
    return path == "/data/present.bin";
  }
  int queries = 0;
};

TEST(Tdownload, FileExistsOnDiskAsksThePlatform) {
  OneFilePlatform fake;
  platform::ScopedPlatform installed(fake);
  Tdownload record;
  record.FileName = "/data/present.bin";
  EXPECT_TRUE(record.FileExistsOnDisk());
  record.FileName = "/data/missing.bin";
  EXPECT_FALSE(record.FileExistsOnDisk());
  record.FileName.clear();
  EXPECT_FALSE(record.FileExistsOnDisk());
  EXPECT_EQ(fake.queries, 2) << "an empty name needs no query";
}

TEST(Tdownload, FileExistsOnDiskIsFalseForAFolder) {
  Tdownload record;
  record.FileName = BRIMLOW_TEST_DATA;
  EXPECT_FALSE(record.FileExistsOnDisk());
  record.FileName = std::string(BRIMLOW_TEST_DATA) + "/list_crlf.xml";
  EXPECT_TRUE(record.FileExistsOnDisk());
}

}  // namespace
