// Reading and writing a real list while the system's file calls fail or do
// less than asked.  Whatever happens, the file on disk is the old one or the
// complete new one, and a failure is the error the user is shown.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../platform/fileFaults.h"
#include "data/downloadsList.h"
#include "platform/platform.h"

using namespace brimlow;
using platform::testing::FileFaults;
namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A list of some 200 KB, so that every fault can land before, inside and
// after each of the writer's buffers.
void WriteSampleList(const std::string& path) {
  TDownloadsList list;
  for (uint32_t id = 1; id <= 600; ++id) {
    Tdownload& record = list.Add();
    record.ID = id;
    record.URL = "http://files.example/" + std::string(id % 90, 'u') + std::to_string(id);
    record.FileName = "/home/user/Загрузки/file" + std::to_string(id) + ".bin";
    record.Size = id * 1000;
    record.Comment = id % 3 == 0 ? "a & b < c" : "";
    record.ExtraElements.push_back("Mirror;http://mirror.example/" + std::to_string(id));
  }
  list.SaveToFile(path);
}

class ListFaults : public ::testing::Test {
 protected:
  ListFaults() {
    fs::create_directories(folder);
    WriteSampleList(listFile);
    oldBytes = Bytes(listFile);
  }
  ~ListFaults() override { fs::remove_all(folder); }

  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  const fs::path folder =
      fs::temp_directory_path() / ("brimlow-list-faults-" + std::to_string(::getpid()));
  const std::string listFile = (folder / "downloads.xml").string();
  std::string oldBytes;
};

TEST_F(ListFaults, ShortAndInterruptedCallsReadAndWriteTheSameList) {
  const TDownloadsList reference(listFile);
  const std::string rewritten = (folder / "rewritten.xml").string();
  {
    TDownloadsList expected(listFile);
    expected.Delete(0);
    expected.SaveToFile(rewritten);
  }
  const struct {
    const char* label;
    size_t chunk;
    bool interrupt;
  } rows[] = {{"one byte per call", 1, false},
              {"an odd size per call", 1021, false},
              {"interrupted calls", 0, true},
              {"interrupted calls of seven bytes", 7, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    std::ofstream(listFile, std::ios::binary) << oldBytes;
    FileFaults faults;
    faults.readChunk = faults.writeChunk = row.chunk;
    faults.interrupt = row.interrupt;
    TDownloadsList list(listFile);
    ASSERT_EQ(list.Count(), reference.Count());
    for (int i = 0; i < list.Count(); ++i)
      ASSERT_EQ(list[i], reference[i]) << "record " << i;
    EXPECT_EQ(list.LoadedText(), reference.LoadedText());

    list.Delete(0);
    list.Save();
    list.SaveLoadedText((folder / "backup.xml").string());
    EXPECT_TRUE(Bytes(folder / "backup.xml") == oldBytes);
    EXPECT_TRUE(Bytes(listFile) == Bytes(rewritten));
  }
}

TEST_F(ListFaults, AReadThatFailsGivesNoListAndTheOpenError) {
  for (const size_t after : {size_t{0}, size_t{65536}, oldBytes.size() - 1}) {
    SCOPED_TRACE(after);
    FileFaults faults;
    faults.readFailsAfter = after;
    try {
      TDownloadsList list(listFile);
      ADD_FAILURE() << "loaded " << list.Count() << " downloads";
    } catch (const platform::EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()),
                "Cannot open file \"" + listFile + "\". Input/output error");
    }
  }
}

// Each way of writing a list, against each way the disk can fail it.
TEST_F(ListFaults, AFailedWriteLeavesTheOldFileWhateverWasBeingWritten) {
  enum Write { Rewrite, SaveToOther, Backup };
  const struct {
    const char* label;
    Write write;
  } writes[] = {{"the list rewritten", Rewrite},
                {"the list saved over another", SaveToOther},
                {"the backup copy", Backup}};
  const struct {
    const char* label;
    void (*arrange)(FileFaults&, size_t size);
    const char* reason;
  } faults[] = {
      {"full at once", [](FileFaults& f, size_t) { f.diskFullAfter = 0; },
       "No space left on device"},
      {"full after one buffer", [](FileFaults& f, size_t) { f.diskFullAfter = 65536; },
       "No space left on device"},
      {"full inside the second buffer",
       [](FileFaults& f, size_t) { f.diskFullAfter = 65536 + 4321; }, "No space left on device"},
      {"full before the last byte", [](FileFaults& f, size_t size) { f.diskFullAfter = size - 1; },
       "No space left on device"},
      {"full, taking nothing",
       [](FileFaults& f, size_t) {
         f.diskFullAfter = 100'000;
         f.fullDiskTakesNothing = true;
       },
       "No space left on device"},
      {"short writes, then full",
       [](FileFaults& f, size_t) {
         f.writeChunk = 999;
         f.interrupt = true;
         f.diskFullAfter = 150'000;
       },
       "No space left on device"},
      {"a write error",
       [](FileFaults& f, size_t) {
         f.diskFullAfter = 200;
         f.writeError = EIO;
       },
       "Input/output error"},
      {"the flush", [](FileFaults& f, size_t) { f.fsyncError = EIO; }, "Input/output error"},
      {"the close", [](FileFaults& f, size_t) { f.closeError = EIO; }, "Input/output error"},
      {"the rename", [](FileFaults& f, size_t) { f.renameError = EBUSY; },
       "Device or resource busy"},
      {"the temporary's creation", [](FileFaults& f, size_t) { f.openError = EACCES; },
       "Permission denied"},
  };
  const std::string other = (folder / "other.xml").string();
  // The size of what the rewrite and the save write.
  size_t newSize = 0;
  {
    TDownloadsList list(listFile);
    list.Delete(3);
    list.SaveToFile(other);
    newSize = Bytes(other).size();
  }
  ASSERT_GT(newSize, 3u * 65536) << "each fault lands where it is meant to";
  for (const auto& write : writes) {
    for (const auto& fault : faults) {
      SCOPED_TRACE(std::string(write.label) + ", " + fault.label);
      std::ofstream(listFile, std::ios::binary) << oldBytes;
      std::ofstream(other, std::ios::binary) << oldBytes;
      TDownloadsList list(listFile);
      list.Delete(3);
      const std::string target = write.write == Rewrite       ? listFile
                                 : write.write == SaveToOther ? other
                                                              : (folder / "backup.xml").string();
      if (write.write == Backup) std::ofstream(target, std::ios::binary) << "an older backup";
      const std::string before = Bytes(target);
      {
        FileFaults injected;
        injected.pathsContaining = fs::path(target).filename().string();
        fault.arrange(injected, write.write == Backup ? oldBytes.size() : newSize);
        try {
          if (write.write == Rewrite) list.Save();
          if (write.write == SaveToOther) list.SaveToFile(target);
          if (write.write == Backup) list.SaveLoadedText(target);
          ADD_FAILURE() << "written without an error";
        } catch (const platform::EFCreateError& error) {
          EXPECT_EQ(std::string(error.what()),
                    "Cannot create file \"" + target + "\". " + fault.reason);
        }
      }
      EXPECT_TRUE(Bytes(target) == before) << "the file on disk is the old one";
      EXPECT_EQ(Bytes(listFile), oldBytes);
      EXPECT_EQ(EntryCount(), write.write == Backup ? 3u : 2u) << "no temporary stays";
      EXPECT_EQ(list.Count(), 599) << "the list in memory is as it was";
      fs::remove(folder / "backup.xml");
    }
  }
}

}  // namespace
