#pragma once

// A cleaner under a fake platform in a folder of the test's own, with a
// front-end that answers in the user's place and records what it was shown.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/downloadsList.h"
#include "fakePlatform.h"
#include "workflow/cleaner.h"

namespace brimlow::test {

class RecordingFrontEnd : public TCleanerFrontEnd {
 public:
  std::optional<std::string> separateListName;  // the user's answer; none: declined
  int namesAsked = 0;
  std::vector<TStatistics> statistics;  // every hand-over, in order
  int backupNamesChanges = 0;
  std::vector<std::string> waits;  // "started", "pause", "ended"
  bool pausesSleep = false;        // else a pause returns at once

  std::optional<std::string> AskSeparateListName() override {
    ++namesAsked;
    return separateListName;
  }
  void ShowStatistics(const TStatistics& shown) override { statistics.push_back(shown); }
  void BackupNamesChanged() override { ++backupNamesChanges; }
  void HostWaitStarted() override { waits.push_back("started"); }
  void HostWaitPause(std::chrono::milliseconds pause) override {
    waits.push_back("pause");
    if (pausesSleep) TCleanerFrontEnd::HostWaitPause(pause);
  }
  void HostWaitEnded() override { waits.push_back("ended"); }
};

template <typename Fake = FakePlatform>
class CleanerTestWith : public ::testing::Test {
 protected:
  CleanerTestWith() : scoped(fake) {
    folder = std::filesystem::temp_directory_path() /
             ("brimlow_cleaner_" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder / "bin");
    fake.programFile = (folder / "bin" / "brimlow").string();
    fake.today = platform::LocalDate{2009, 3, 7};
  }
  ~CleanerTestWith() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  std::string BackupPath(const std::string& name) const {
    return (folder / "bin" / "backup" / name).string();
  }
  std::string FileOf(int id) const {
    return (folder / "files" / ("file" + std::to_string(id) + ".bin")).string();
  }

  // A list file of `count` downloads with IDs 1, 2, ..., sizes of 1000 bytes
  // a step and a file each under files/, written with LF line ends.
  std::string WriteList(int count, const std::string& name = "list.xml") {
    std::filesystem::create_directories(folder / "files");
    std::ostringstream text;
    text << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DownloadList Version=\"4\" NextID=\""
         << count + 1 << "\">\n";
    for (int id = 1; id <= count; ++id) {
      std::ofstream(FileOf(id)) << "content " << id;
      text << "  <DownloadFile>\n    <ID>" << id << "</ID>\n    <FileName>" << FileOf(id)
           << "</FileName>\n    <Size>" << id * 1000 << "</Size>\n  </DownloadFile>\n";
    }
    text << "</DownloadList>\n";
    listText = text.str();
    std::ofstream(Path(name), std::ios::binary) << listText;
    return Path(name);
  }
  void Load(int count) {
    listFile = WriteList(count);
    cleaner.LoadList(listFile);
    ASSERT_EQ(cleaner.Downloads().Count(), count);
  }
  // Opens a missing file and fills the list with downloads of these sizes,
  // IDs 1, 2, ...
  void Fill(std::initializer_list<int64_t> sizes) {
    cleaner.LoadList(Path("filled.xml"));
    TDownloadsList& list = cleaner.Downloads().List();
    for (int64_t size : sizes) {
      Tdownload& d = list.Add();
      d.ID = static_cast<uint32_t>(list.Count());
      d.Size = size;
    }
    cleaner.Downloads().Reset();
    cleaner.UpdateStatistics();
  }

  static void Mark(TMarkedList& list, std::initializer_list<int> rows) {
    for (int row : rows)
      list.SetChecked(row, true);
  }
  static std::vector<uint32_t> Ids(const TDownloadsList& list) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < list.Count(); ++i)
      ids.push_back(list[i].ID);
    return ids;
  }
  static std::vector<uint32_t> Ids(const TMarkedList& list) { return Ids(list.List()); }
  static std::vector<uint32_t> IdsOnDisk(const std::string& file) {
    return Ids(TDownloadsList(file));
  }
  static std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
      if (c == '\n') result += '\r';
      result += c;
    }
    return result;
  }

  Fake fake;
  platform::ScopedPlatform scoped;
  std::filesystem::path folder;
  RecordingFrontEnd frontEnd;
  TCleaner cleaner{&frontEnd};
  std::string listFile;
  std::string listText;
};

using CleanerTest = CleanerTestWith<>;

}  // namespace brimlow::test
