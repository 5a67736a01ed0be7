// The file layer under failing and cut-short system calls: whatever the
// calls do, a read gives every byte or an error, and a replacement leaves
// either the old file or the complete new one, never a temporary.
#include <gtest/gtest.h>

#include <string>

#include "fileFaults.h"
#include "platform/platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::FileFaults;
using brimlow::platform::testing::TempFolder;

namespace {

// Bytes of every value, longer than one read buffer, so that a read of
// whatever size ends somewhere inside it.
std::string Content(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(seed >> 16);
  }
  return bytes;
}

constexpr size_t kSize = 200'003;

struct Shortening {
  const char* label;
  size_t chunk;
  bool interrupt;
};
const Shortening kShortenings[] = {
    {"one byte per call", 1, false},
    {"an odd size per call", 4097, false},
    {"interrupted calls", 0, true},
    {"interrupted calls of three bytes", 3, true},
};

TEST(ReadFaults, ShortAndInterruptedReadsStillGiveEveryByte) {
  TempFolder folder;
  const std::string bytes = Content(kSize, 1);
  folder.write("list.xml", bytes);
  for (const Shortening& row : kShortenings) {
    SCOPED_TRACE(row.label);
    FileFaults faults;
    faults.readChunk = row.chunk;
    faults.interrupt = row.interrupt;
    EXPECT_TRUE(system().readFile(folder.path("list.xml")) == bytes);
    EXPECT_GT(faults.reads, kSize / 65536 + 1);
    EXPECT_EQ(faults.interruptions > 0, row.interrupt);
  }
}

TEST(ReadFaults, AFailingReadIsAnOpenErrorWhereverItComes) {
  TempFolder folder;
  folder.write("list.xml", Content(kSize, 2));
  const std::string path = folder.path("list.xml");
  const struct {
    const char* label;
    std::optional<size_t> readFailsAfter;
    int error;
    int openError;
    const char* reason;
  } rows[] = {
      {"the first read", 0, EIO, 0, "Input/output error"},
      {"inside the first buffer", 100, EIO, 0, "Input/output error"},
      {"after a whole buffer", 65536, EIO, 0, "Input/output error"},
      {"just before the end", kSize - 1, EIO, 0, "Input/output error"},
      {"the open", std::nullopt, 0, EACCES, "Permission denied"},
      {"the open, out of descriptors", std::nullopt, 0, EMFILE, "Too many open files"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    FileFaults faults;
    faults.readFailsAfter = row.readFailsAfter;
    faults.readError = row.error;
    faults.openError = row.openError;
    try {
      system().readFile(path);
      ADD_FAILURE() << "read without an error";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". " + row.reason);
    }
  }
}

TEST(WriteFaults, ShortAndInterruptedWritesStillWriteEveryByte) {
  TempFolder folder;
  const std::string path = folder.path("list.xml");
  for (const Shortening& row : kShortenings) {
    SCOPED_TRACE(row.label);
    folder.write("list.xml", "old");
    const std::string bytes = Content(kSize, 3);
    {
      FileFaults faults;
      faults.writeChunk = row.chunk;
      faults.interrupt = row.interrupt;
      replaceFileContents(path, bytes);
      EXPECT_GT(faults.writes, 1u);
    }
    EXPECT_TRUE(folder.read("list.xml") == bytes);
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary stays";
  }
}

// Every way the replacement can fail after the temporary exists, each
// ending in a create error that names the reason, the old file untouched
// and the temporary gone.
TEST(WriteFaults, AFailedReplacementLeavesTheOldFileAndNoTemporary) {
  const struct {
    const char* label;
    void (*arrange)(FileFaults&);
    const char* reason;
  } rows[] = {
      {"a full disk at once", [](FileFaults& f) { f.diskFullAfter = 0; },
       "No space left on device"},
      {"a full disk inside the content", [](FileFaults& f) { f.diskFullAfter = 70'000; },
       "No space left on device"},
      {"a full disk before the last byte", [](FileFaults& f) { f.diskFullAfter = kSize - 1; },
       "No space left on device"},
      {"a disk that takes nothing more",
       [](FileFaults& f) {
         f.diskFullAfter = 4096;
         f.fullDiskTakesNothing = true;
       },
       "No space left on device"},
      {"a write error",
       [](FileFaults& f) {
         f.diskFullAfter = 1000;
         f.writeError = EIO;
       },
       "Input/output error"},
      {"a quota",
       [](FileFaults& f) {
         f.diskFullAfter = 1000;
         f.writeError = EDQUOT;
       },
       "Disk quota exceeded"},
      {"the flush", [](FileFaults& f) { f.fsyncError = EIO; }, "Input/output error"},
      {"the close", [](FileFaults& f) { f.closeError = EIO; }, "Input/output error"},
      {"the rename", [](FileFaults& f) { f.renameError = EACCES; }, "Permission denied"},
      {"the temporary's creation", [](FileFaults& f) { f.openError = ENOSPC; },
       "No space left on device"},
  };
  TempFolder folder;
  const std::string path = folder.path("list.xml");
  const std::string old = Content(5000, 4);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    folder.write("list.xml", old);
    FileFaults faults;
    faults.pathsContaining = "list.xml";
    row.arrange(faults);
    try {
      replaceFileContents(path, Content(kSize, 5));
      ADD_FAILURE() << "replaced without an error";
    } catch (const EFCreateError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + path + "\". " + row.reason);
    }
    EXPECT_TRUE(folder.read("list.xml") == old);
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary stays";
  }
}

TEST(WriteFaults, ANewFileThatCannotBeWrittenIsNotLeftHalfWritten) {
  TempFolder folder;
  FileFaults faults;
  faults.diskFullAfter = 10'000;
  EXPECT_THROW(replaceFileContents(folder.path("new.xml"), Content(kSize, 6)), EFCreateError);
  EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(DeleteFaults, AFileThatCannotBeDeletedIsReportedAndStays) {
  TempFolder folder;
  folder.write("film.avi", "frames");
  {
    FileFaults faults;
    faults.unlinkError = EBUSY;
    EXPECT_FALSE(system().deleteFile(folder.path("film.avi")));
  }
  EXPECT_EQ(folder.read("film.avi"), "frames");
  EXPECT_TRUE(system().deleteFile(folder.path("film.avi")));
}

}  // namespace
