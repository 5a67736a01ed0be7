#pragma once

// The POSIX implementation of the platform interface.  Its operations are
// spread over the files of this folder by job: files, all-or-nothing
// replacement, registry and environment, processes, code page and locale,
// the recycle bin and the reachability of drives.

#include <string>

#include "platform/platform.h"

namespace brimlow::platform {

class PosixPlatform final : public Platform {
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

// The Wine prefix the host runs in: $WINEPREFIX, or else $HOME/.wine.
std::string winePrefix();

// The POSIX path of the file a path names (see mapHostPath): Windows paths
// lie on the Wine prefix's drives.
std::string mapToPosixPath(const std::string& path);

// The names in a POSIX folder, without "." and "..", in the order the system
// gives; empty when it cannot be listed.
std::vector<std::string> listPosixFolder(const std::string& folder);

// Reads the whole content of a POSIX file into `bytes`, which should be
// empty: 0, or the error number of the call that failed (`bytes` is then
// empty again).  Nothing is locked: others may go on reading and writing the
// file.
int readWholePosixFile(const std::string& path, std::string& bytes, double growth = 0);

// The whole content of a POSIX file; none when it cannot be read.
std::optional<std::string> readPosixFile(const std::string& path);

}  // namespace brimlow::platform
