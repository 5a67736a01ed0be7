#pragma once

// A platform for the window's tests: the system's own answers, except for the
// registry, the environment, the files it is told about and the code page.

#include <map>
#include <set>
#include <string>

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
  unsigned codePage = 0;  // 0: the system's

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
  bool deleteFile(const std::string& path) override { return os().deleteFile(path); }
  platform::WriteHandle createTemporaryBeside(const std::string& target) override {
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
  std::string programFilePath() override { return os().programFilePath(); }
  platform::LocalDate localDate() override { return os().localDate(); }

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
  std::optional<uint32_t> readLocalMachineInteger(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> environmentVariable(const std::string& name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }

  std::optional<std::vector<std::string>> runningProcessTexts() override {
    return std::vector<std::string>();
  }
  void startCommandLine(const std::string& commandLine) override {
    startedCommands.push_back(commandLine);
  }
  std::vector<std::string> startedCommands;
  platform::OsVersionInfo osVersion() override { return os().osVersion(); }

  std::string wideToAnsi(std::u16string_view text) override { return os().wideToAnsi(text); }
  std::u16string ansiToWide(std::string_view text) override { return os().ansiToWide(text); }
  std::string lowerCase(std::string_view text) override { return os().lowerCase(text); }
  unsigned activeCodePage() override { return codePage ? codePage : os().activeCodePage(); }
  char decimalSeparator() override { return os().decimalSeparator(); }

 private:
  static platform::Platform& os() { return platform::system(); }
};

}  // namespace brimlow::test
