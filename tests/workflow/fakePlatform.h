#pragma once

// A platform for the window's tests: the system's own answers, except for the
// registry, the environment, the files it is told about and the code page.

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace brimlow::test {

class FakePlatform : public platform::Platform {
 public:
  // What the fake answers instead of the system.
  std::map<std::string, std::map<std::string, std::string>> registry;  // key -> value -> text
  std::set<std::pair<std::string, std::string>> nonTextValues;         // (key, value)
  std::map<std::string, std::string> environment;
  std::set<std::string> existingFiles;  // besides those on disk
  std::set<std::string> unreadableFiles;
  std::set<std::string> unwritableFiles;   // writing them fails as a full disk would
  std::set<std::string> undeletableFiles;  // exist, but deleting them fails
  std::vector<std::string> deletedFiles;   // every deletion asked for, in order
  unsigned codePage = 0;                   // 0: the system's
  std::optional<std::string> programFile;  // none: the system's
  std::optional<platform::LocalDate> today;
  // The processes seen by each snapshot in turn; the last stays.  None in an
  // entry: no snapshot can be taken.
  std::vector<std::optional<std::vector<std::string>>> processSnapshots;
  size_t snapshotsTaken = 0;
  std::optional<uint32_t> csdVersion;  // under the local machine's key
  std::optional<platform::OsVersionInfo> version;
  // What happened, in order: "start <command line>", "write <path>",
  // "snapshot running" or "snapshot clear".
  std::vector<std::string> log;

  std::string readFile(const std::string& path) override {
    if (unreadableFiles.count(path))
      throw platform::EFOpenError(path, "The process cannot access the file.");
    return os().readFile(path);
  }
  bool fileExists(const std::string& path) override {
    return existingFiles.count(path) || unreadableFiles.count(path) || os().fileExists(path);
  }
  bool directoryExists(const std::string& path) override { return os().directoryExists(path); }
  bool createDirectory(const std::string& path) override { return os().createDirectory(path); }
  std::vector<std::string> listDirectory(const std::string& path) override {
    return os().listDirectory(path);
  }
  bool deleteFile(const std::string& path) override {
    deletedFiles.push_back(path);
    if (undeletableFiles.count(path)) return false;
    return os().deleteFile(path);
  }
  platform::WriteHandle createTemporaryBeside(const std::string& target) override {
    log.push_back("write " + target);
    if (unwritableFiles.count(target))
      throw platform::EFCreateError(target, "There is not enough space on the disk.");
    return os().createTemporaryBeside(target);
  }
  void writeAll(platform::WriteHandle& file, std::string_view bytes,
                const std::string& target) override {
    os().writeAll(file, bytes, target);
  }
  void commitAndClose(platform::WriteHandle& file, const std::string& target) override {
    os().commitAndClose(file, target);
  }
  void replaceWith(platform::WriteHandle& file, const std::string& target) override {
    os().replaceWith(file, target);
  }
  void discard(platform::WriteHandle& file) noexcept override { os().discard(file); }
  std::string programFilePath() override {
    return programFile ? *programFile : os().programFilePath();
  }
  platform::LocalDate localDate() override { return today ? *today : os().localDate(); }

  bool registryKeyExists(const std::string& key) override { return registry.count(key) != 0; }
  std::optional<std::string> readRegistryText(const std::string& key,
                                              const std::string& valueName) override {
    if (nonTextValues.count({key, valueName})) throw platform::ERegistryException(valueName);
    const auto found = registry.find(key);
    if (found == registry.end()) return std::nullopt;
    const auto value = found->second.find(valueName);
    if (value == found->second.end()) return std::nullopt;
    return value->second;
  }
  std::optional<uint32_t> readLocalMachineInteger(const std::string& key,
                                                  const std::string& valueName) override {
    if (key == "SYSTEM\\CurrentControlSet\\Control\\Windows" && valueName == "CSDVersion")
      return csdVersion;
    return std::nullopt;
  }
  std::optional<std::string> environmentVariable(const std::string& name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }

  std::optional<std::vector<std::string>> runningProcessTexts() override {
    if (processSnapshots.empty()) return std::vector<std::string>();
    const size_t index = std::min(snapshotsTaken++, processSnapshots.size() - 1);
    const auto& snapshot = processSnapshots[index];
    log.push_back(snapshot && !snapshot->empty() ? "snapshot running" : "snapshot clear");
    return snapshot;
  }
  void startCommandLine(const std::string& commandLine) override {
    startedCommands.push_back(commandLine);
    log.push_back("start " + commandLine);
  }
  std::vector<std::string> startedCommands;
  void shellOpen(const std::string& target) override { openedTargets.push_back(target); }
  std::vector<std::string> openedTargets;
  platform::OsVersionInfo osVersion() override { return version ? *version : os().osVersion(); }

  // Drives and shares: the roots that do not answer, and every probe.
  std::set<std::string> unreachableRoots;
  std::vector<std::string> probedRoots;
  bool driveRootReachable(const std::string& root) override {
    probedRoots.push_back(root);
    return !unreachableRoots.count(root);
  }

  // A recycle bin in a folder of the test's own: recycling moves the file
  // there under a number.  None: no bin would take any file.
  std::optional<std::filesystem::path> recycleBin;
  std::set<std::string> lockedFiles;  // recycling them fails
  platform::RecycleResult recycleFile(const std::string& path) override {
    if (!recycleBin) return {platform::RecycleOutcome::NoRecycleBin, {}};
    std::error_code error;
    const std::filesystem::path target = *recycleBin / std::to_string(++binned);
    if (!lockedFiles.count(path)) std::filesystem::rename(path, target, error);
    if (lockedFiles.count(path) || error) return {platform::RecycleOutcome::Failed, {}};
    return {platform::RecycleOutcome::Recycled, {path, target.string(), "info"}};
  }
  platform::PutBackOutcome putBackRecycled(const platform::RecycledFile& file) override {
    if (!std::filesystem::exists(file.binPath)) return platform::PutBackOutcome::NotInBin;
    if (std::filesystem::exists(file.originalPath)) return platform::PutBackOutcome::PlaceTaken;
    std::filesystem::rename(file.binPath, file.originalPath);
    return platform::PutBackOutcome::PutBack;
  }
  int binned = 0;

  // A code page of ASCII alone, in which every other character is "?".
  bool asciiOnly = false;
  std::string wideToAnsi(std::u16string_view text) override {
    if (!asciiOnly) return os().wideToAnsi(text);
    std::string out;
    for (const char16_t c : text)
      out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  }
  std::u16string ansiToWide(std::string_view text) override {
    if (!asciiOnly) return os().ansiToWide(text);
    return std::u16string(text.begin(), text.end());
  }
  std::string lowerCase(std::string_view text) override { return os().lowerCase(text); }
  unsigned activeCodePage() override { return codePage ? codePage : os().activeCodePage(); }
  char decimalSeparator() override { return os().decimalSeparator(); }

 private:
  static platform::Platform& os() { return platform::system(); }
};

}  // namespace brimlow::test
