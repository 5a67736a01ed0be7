// Writes of clean and restore that fail halfway, through the POSIX layer's
// file calls: the list file is always the old one or the complete new one.

#include <gtest/gtest.h>

#include "../platform/fileFaults.h"
#include "cli/commands.h"
#include "cliTestSupport.h"

using namespace brimlow;
using brimlow::platform::testing::FileFaults;
using namespace brimlow::test;

namespace {

struct Fault {
  const char* label;
  void (*arrange)(FileFaults&);
  bool completes;
};

const Fault kFaults[] = {
    {"the disk is full at once", [](FileFaults& f) { f.diskFullAfter = 0; }, false},
    {"the disk fills halfway", [](FileFaults& f) { f.diskFullAfter = 100; }, false},
    {"the flush fails", [](FileFaults& f) { f.fsyncError = EIO; }, false},
    {"the rename fails", [](FileFaults& f) { f.renameError = EACCES; }, false},
    {"short, interrupted writes",
     [](FileFaults& f) {
       f.writeChunk = 7;
       f.interrupt = true;
     },
     true},
};

class CliFaults : public test::ProfileTest {};

TEST_F(CliFaults, CleanLeavesTheOldListOrTheCompleteNewOne) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.label);
    WriteStandardList();
    bool failed = false;
    {
      FileFaults faults;
      faults.pathsContaining = "default.xml";
      fault.arrange(faults);
      try {
        Run(cli::runClean, {List(), "--state", "error", "--no-backup"});
      } catch (const platform::EFCreateError&) {
        failed = true;
      }
    }
    EXPECT_EQ(failed, !fault.completes);
    const std::vector<uint32_t> expected =
        fault.completes ? std::vector<uint32_t>{1, 3} : std::vector<uint32_t>{1, 2, 3};
    EXPECT_EQ(Ids(List()), expected);
    if (!fault.completes) {
      EXPECT_EQ(FileBytes(List()), listText);
    }
  }
}

TEST_F(CliFaults, RestoreLeavesTheOldListOrTheCopy) {
  const std::string copy = ListText({{9, 2, 1, 0, "a.bin"}});
  WriteBytes(folder / "copy.xml", copy);
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.label);
    WriteStandardList();
    bool failed = false;
    {
      FileFaults faults;
      faults.pathsContaining = "default.xml";
      fault.arrange(faults);
      try {
        Run(cli::runRestore, {Path("copy.xml"), List(), "--no-host-control"});
      } catch (const platform::EFCreateError&) {
        failed = true;
      }
    }
    EXPECT_EQ(failed, !fault.completes);
    EXPECT_EQ(FileBytes(List()), fault.completes ? copy : listText);
  }
}

}  // namespace
