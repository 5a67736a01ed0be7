#pragma once

// A host's profile in a temporary folder for the tests of clean and restore:
// the list, its category file, the downloads' files and the program's backup
// folder, behind a fake platform that answers the date, the program file,
// the registry and the processes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "../workflow/fakePlatform.h"
#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "data/downloadsList.h"

namespace brimlow::cli {
void runClean(const Arguments& arguments, std::ostream& out);
void runRestore(const Arguments& arguments, std::ostream& out);
}  // namespace brimlow::cli

namespace brimlow::test {

namespace fs = std::filesystem;

inline std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A text as the command prints it, quotes included.
inline std::string Json(const std::string& text) {
  std::ostringstream out;
  cli::writeJsonString(out, text);
  return out.str();
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A host that, asked to exit, does what the test says (saves its list).
class HostPlatform : public FakePlatform {
 public:
  std::function<void()> onExitRequest = [] {};
  void startCommandLine(const std::string& commandLine) override {
    FakePlatform::startCommandLine(commandLine);
    onExitRequest();
  }
};

class ProfileTest : public ::testing::Test {
 protected:
  ProfileTest() {
    fs::remove_all(folder);
    fs::create_directories(folder / "lists");
    fs::create_directories(folder / "program");
    fake.programFile = (folder / "program" / "brimlow-cli").string();
    fake.today = platform::LocalDate{2009, 3, 7};
    WriteBytes(folder / "nodelist.xml",
               "<NodeList><MyNode><ID>5</ID><Name>Programs</Name><ImageIndex>1</ImageIndex>"
               "<ParentID>2</ParentID></MyNode></NodeList>");
    WriteStandardList();
  }
  ~ProfileTest() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  std::string List() const { return (folder / "lists" / "default.xml").string(); }
  fs::path BackupDir() const { return folder / "program" / "backup"; }
  std::string Backup(const std::string& name) const { return (BackupDir() / name).string(); }

  // One download per entry: ID, state, size in bytes, NodeID, file name.
  struct Entry {
    int id, state, size, nodeId;
    std::string fileName;
  };
  std::string ListText(const std::vector<Entry>& entries) const {
    std::string text = "<?xml version=\"1.0\"?>\r\n<DownloadList Version=\"4\">\r\n";
    for (const Entry& e : entries)
      text += "<DownloadFile><ID>" + std::to_string(e.id) + "</ID><URL>http://example.com/" +
              std::to_string(e.id) + "</URL><FileName>" + Path(e.fileName) + "</FileName><State>" +
              std::to_string(e.state) + "</State><Size>" + std::to_string(e.size) +
              "</Size><Date>03/01/2008 10:00:00</Date><NodeID>" + std::to_string(e.nodeId) +
              "</NodeID></DownloadFile>\r\n";
    return text + "</DownloadList>\r\n";
  }
  // Downloads 1 and 3 are finished, 2 failed; 3's file is not on disk.
  void WriteStandardList() {
    listText = ListText(
        {{1, 2, 1024, 5, "a.bin"}, {2, 4, 4096, 9, "b.bin"}, {3, 2, 100000, 9, "missing.bin"}});
    WriteBytes(List(), listText);
    for (const char* name : {"a.bin", "b.bin"})
      WriteBytes(folder / name, name);
  }

  std::vector<uint32_t> Ids(const std::string& listFile) const {
    const TDownloadsList list(listFile);
    std::vector<uint32_t> ids;
    for (int i = 0; i < list.Count(); ++i)
      ids.push_back(list[i].ID);
    return ids;
  }

  std::string Run(void (*command)(const cli::Arguments&, std::ostream&),
                  const cli::Arguments& arguments) {
    platform::ScopedPlatform scoped(fake);
    std::ostringstream out;
    command(arguments, out);
    return out.str();
  }

  // A running host that has ended by the next look.
  void HostRunning() {
    fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", List()},
                                                   {"ExeFile", "/opt/t/tarvolt.exe"}};
    fake.processSnapshots = {std::vector<std::string>{"tarvolt.exe"}, std::vector<std::string>{}};
  }

  const fs::path folder =
      fs::temp_directory_path() /
      (std::string("brimlow-cli-") +
       ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  HostPlatform fake;
  std::string listText;
};

}  // namespace brimlow::test
