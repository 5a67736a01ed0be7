// Writes of clean and restore that fail halfway, through the POSIX layer's
// file calls: the list file is always the old one or the complete new one.

#include <gtest/gtest.h>

#include "../platform/fileFaults.h"
#include "cliTestSupport.h"

using namespace brimlow;
using namespace brimlow::test;
using brimlow::platform::testing::FileFaults;

namespace {

class CliFaults : public ProfileTest {};

TEST_F(CliFaults, TheListIsTheOldFileOrTheCompleteNewOne) {
  const struct {
    const char* label;
    void (*arrange)(FileFaults&);
    bool completes;
  } faults[] = {
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
  const std::string copy = ListText({{9, 2, 1, 0, "a.bin"}});
  WriteBytes(folder / "copy.xml", copy);
  const cli::Arguments clean = {List(), "--state", "error", "--no-backup"};
  const cli::Arguments restore = {Path("copy.xml"), List()};
  for (const auto& fault : faults) {
    for (const cli::Arguments* arguments : {&clean, &restore}) {
      SCOPED_TRACE(fault.label + std::string(arguments == &clean ? ", clean" : ", restore"));
      WriteStandardList();
      const std::string before = FileBytes(List());
      bool failed = false;
      {
        FileFaults injected;
        injected.pathsContaining = "default.xml";
        fault.arrange(injected);
        try {
          Run(arguments == &clean ? cli::runClean : cli::runRestore, *arguments);
        } catch (const platform::EFCreateError&) {
          failed = true;
        }
      }
      EXPECT_EQ(failed, !fault.completes);
      if (!fault.completes) {
        EXPECT_EQ(FileBytes(List()), before);
      } else if (arguments == &clean) {
        EXPECT_EQ(Ids(List()), (std::vector<uint32_t>{1, 3}));
      } else {
        EXPECT_EQ(FileBytes(List()), copy);
      }
    }
  }
}

}  // namespace
