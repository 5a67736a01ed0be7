#pragma once

// The Windows implementation of the platform interface.  Its operations are
// spread over the files of this folder by job: files, all-or-nothing
// replacement, registry and environment, processes and the shell, version
// information, code page and locale, the recycle bin and drives.
//
// Paths handed to the system go through its 8-bit ("A") calls, which read them
// in the active code page; where only a wide call exists the path is widened
// the same way (widenAnsi).  Texts the system hands back in UTF-16 (folder
// entries, the program's path, registry values, the environment) are narrowed
// with wideToAnsi, so that every text reaches the program by the one rule.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace brimlow::platform {

class Win32Platform final : public Platform {
 public:
  std::string readFile(const std::string& path) override;
  std::string readFileWithRoom(const std::string& path, double growth) override;
  bool fileExists(const std::string& path) override;
  bool directoryExists(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  std::vector<std::string> listDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;

  WriteHandle createTemporaryBeside(const std::string& target) override;
  void writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) override;
  void commitAndClose(WriteHandle& file, const std::string& target) override;
  void replaceWith(WriteHandle& file, const std::string& target) override;
  void discard(WriteHandle& file) noexcept override;

  std::string programFilePath() override;
  LocalDate localDate() override;

  bool registryKeyExists(const std::string& key) override;
  std::optional<std::string> readRegistryText(const std::string& key,
                                              const std::string& valueName) override;
  std::optional<uint32_t> readLocalMachineInteger(const std::string& key,
                                                  const std::string& valueName) override;
  std::optional<std::string> environmentVariable(const std::string& name) override;

  std::optional<std::vector<std::string>> runningProcessTexts() override;
  void startCommandLine(const std::string& commandLine) override;
  void shellOpen(const std::string& target) override;
  OsVersionInfo osVersion() override;

  std::string wideToAnsi(std::u16string_view text) override;
  std::u16string ansiToWide(std::string_view text) override;
  std::string lowerCase(std::string_view text) override;
  unsigned activeCodePage() override;
  char decimalSeparator() override;

  RecycleResult recycleFile(const std::string& path) override;
  PutBackOutcome putBackRecycled(const RecycledFile& file) override;
  bool driveRootReachable(const std::string& root) override;
};

// The system's own text for an error code (FormatMessage), without the line
// break it ends with; "System error N." when the system has none.
std::string systemMessage(uint32_t error);

// An 8-bit text read in the active code page, as the system's "A" calls read
// their arguments.
std::wstring widenAnsi(std::string_view text);

// The same UTF-16 units seen as the program's wide text type.
inline std::u16string_view asUtf16(std::wstring_view text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

}  // namespace brimlow::platform
