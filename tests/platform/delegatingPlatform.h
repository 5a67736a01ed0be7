#pragma once

// A platform that passes every call to the system's own; tests derive from it
// and replace the one answer they need to change.

#include "platform/platform.h"

namespace brimlow::platform::testing {

class DelegatingPlatform : public Platform {
 public:
  std::string readFile(const std::string& path) override { return os().readFile(path); }
  bool fileExists(const std::string& path) override { return os().fileExists(path); }
  bool directoryExists(const std::string& path) override { return os().directoryExists(path); }
  bool createDirectory(const std::string& path) override { return os().createDirectory(path); }
  std::vector<std::string> listDirectory(const std::string& path) override {
    return os().listDirectory(path);
  }
  bool deleteFile(const std::string& path) override { return os().deleteFile(path); }
  WriteHandle createTemporaryBeside(const std::string& target) override {
    return os().createTemporaryBeside(target);
  }
  void writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) override {
    os().writeAll(file, bytes, target);
  }
  void commitAndClose(WriteHandle& file, const std::string& target) override {
    os().commitAndClose(file, target);
  }
  void replaceWith(WriteHandle& file, const std::string& target) override {
    os().replaceWith(file, target);
  }
  void discard(WriteHandle& file) noexcept override { os().discard(file); }
  std::string programFilePath() override { return os().programFilePath(); }
  LocalDate localDate() override { return os().localDate(); }
  bool registryKeyExists(const std::string& key) override { return os().registryKeyExists(key); }
  std::optional<std::string> readRegistryText(const std::string& key,
                                              const std::string& valueName) override {
    return os().readRegistryText(key, valueName);
  }
  std::optional<uint32_t> readLocalMachineInteger(const std::string& key,
                                                  const std::string& valueName) override {
    return os().readLocalMachineInteger(key, valueName);
  }
  std::optional<std::string> environmentVariable(const std::string& name) override {
    return os().environmentVariable(name);
  }
  std::optional<std::vector<std::string>> runningProcessTexts() override {
    return os().runningProcessTexts();
  }
  void startCommandLine(const std::string& commandLine) override {
    os().startCommandLine(commandLine);
  }
  void shellOpen(const std::string& target) override { os().shellOpen(target); }
  OsVersionInfo osVersion() override { return os().osVersion(); }
  std::string wideToAnsi(std::u16string_view text) override { return os().wideToAnsi(text); }
  std::u16string ansiToWide(std::string_view text) override { return os().ansiToWide(text); }
  std::string lowerCase(std::string_view text) override { return os().lowerCase(text); }
  unsigned activeCodePage() override { return os().activeCodePage(); }
  char decimalSeparator() override { return os().decimalSeparator(); }
  RecycleResult recycleFile(const std::string& path) override { return os().recycleFile(path); }
  PutBackOutcome putBackRecycled(const RecycledFile& file) override {
    return os().putBackRecycled(file);
  }
  bool driveRootReachable(const std::string& root) override {
    return os().driveRootReachable(root);
  }

 private:
  static Platform& os() { return brimlow::platform::system(); }
};

}  // namespace brimlow::platform::testing
