#pragma once

// Everything Brimlow asks of the operating system goes through this header:
// files and folders, the registry, the environment, processes, the desktop
// shell, the 8-bit code page and the locale.  The system's implementation
// (posix/ or win32/, chosen by the build) is reached through current(); tests
// install a fake with ScopedPlatform to replace answers or inject failures.
//
// Paths are the program's own 8-bit texts.  On POSIX, a Windows path (a drive
// letter and a colon, or a share's "\\server\share") is mapped onto the Wine
// prefix's drives and shares whenever the file system is touched; the text
// itself is never changed, and errors name it as the caller gave it.  Names
// are matched exactly first and, when missing, without regard to letter case,
// as on Windows (see winePath.h).  A relative path with "\" and no "/" is
// relative to the current folder.  The prefix is $WINEPREFIX, or else
// $HOME/.wine.
//
// On POSIX the registry is the prefix's user.reg (current user) and system.reg
// (local machine), read only; the code page is chosen from LC_ALL, LC_CTYPE
// and LANG at first use (posix/posixCodePage.h).
//
// On Windows every answer is the system's own (win32/win32Platform.h); error
// reasons are the system's message texts, in the user's language.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow::platform {

class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Cannot open file "%s". %s": the path and the system's reason.
class EFOpenError : public EPlatformError {
 public:
  EFOpenError(const std::string& path, const std::string& reason);
};

// "Cannot create file "%s". %s": the path and the system's reason.
class EFCreateError : public EPlatformError {
 public:
  EFCreateError(const std::string& path, const std::string& reason);
};

// "Invalid data type for '%s'": a registry value that is not text.
class ERegistryException : public EPlatformError {
 public:
  explicit ERegistryException(const std::string& valueName);
};

struct LocalDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// What the version query of the running system answers; the operating-system
// description of the support page is built from it.
struct OsVersionInfo {
  uint32_t platformId = 0;  // 1 for the 9x family, 2 for NT, 0 elsewhere
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  std::string serviceText;  // as the system reports it, untrimmed
  bool hasExtendedInfo = false;
  uint32_t servicePackMajor = 0;
  uint8_t productType = 0;  // 1 for a workstation
  bool nativeArchitectureIsX86 = true;
  int serverR2Metric = 0;
  uint32_t kernel32Major = 0;
  uint32_t kernel32Minor = 0;
};

// An open file being written; only the implementation that opened it knows
// what the handle means.
// Where the recycle bin put a file, so that it can be put back: the path the
// caller gave, and the system's own texts for its place in the bin (on POSIX
// the trashed file and its ".trashinfo"; on Windows the bin item's parsing
// name, with `info` empty).
struct RecycledFile {
  std::string originalPath;
  std::string binPath;
  std::string info;
  bool operator==(const RecycledFile&) const = default;
};

enum class RecycleOutcome {
  Recycled,      // the file is in the bin, at `file`
  NoRecycleBin,  // its volume or share has no bin, or the bin refuses it
  Failed,        // the file could not be moved (locked, gone, no right)
};

struct RecycleResult {
  RecycleOutcome outcome = RecycleOutcome::Failed;
  RecycledFile file;
};

enum class PutBackOutcome {
  PutBack,     // the file is where it was
  PlaceTaken,  // another file lies there now; the file stays in the bin
  NotInBin,    // the bin no longer holds it (emptied, or put back already)
  Failed,
};

struct WriteHandle {
  intptr_t value = -1;
  std::string path;  // the temporary file's own path, for removal
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Files and folders.
  // The whole file as bytes, opened so that others may read and write it
  // meanwhile.  Throws EFOpenError.
  virtual std::string readFile(const std::string& path) = 0;
  // The same, with capacity reserved for the text to grow afterwards by
  // `growth` times its size without being copied.  Room never written costs
  // address space only, not memory.
  virtual std::string readFileWithRoom(const std::string& path, double /*growth*/) {
    return readFile(path);
  }
  // True when the path names an existing file that is not a folder.
  virtual bool fileExists(const std::string& path) = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  // Creates one folder level; false when it could not be created.
  virtual bool createDirectory(const std::string& path) = 0;
  // Names of every entry of a folder, without "." and "..", in the order the
  // system lists them; empty when the folder cannot be listed.
  virtual std::vector<std::string> listDirectory(const std::string& path) = 0;
  // Deletes a file for good; false when it could not be deleted (a folder is
  // never deleted).
  virtual bool deleteFile(const std::string& path) = 0;

  // The steps of an all-or-nothing replacement, each of which tests can make
  // fail; replaceFileContents() below puts them together.  Each throws
  // EFCreateError naming the target path.
  // Opens a new temporary file in the folder of the file that `target` names
  // (following a symbolic link), with the permission bits of that file when it
  // exists.
  virtual WriteHandle createTemporaryBeside(const std::string& target) = 0;
  virtual void writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) = 0;
  // Flushes to disk and closes the file; the handle is closed even when this
  // throws.
  virtual void commitAndClose(WriteHandle& file, const std::string& target) = 0;
  // Puts the finished temporary file in place of the file `target` names; a
  // symbolic link stays a link and the file it leads to is replaced.  The new
  // file has the old one's permission bits (a new file: 0666 less the umask).
  // On Windows the temporary lies beside the path as given, and the system's
  // replace call gives the new file the old one's attributes and security.
  virtual void replaceWith(WriteHandle& file, const std::string& target) = 0;
  // Closes (if open) and removes a temporary file after a failure; never throws.
  virtual void discard(WriteHandle& file) noexcept = 0;

  // The program and the clock.
  virtual std::string programFilePath() = 0;
  virtual LocalDate localDate() = 0;

  // Registry values under the current user, and the environment.
  virtual bool registryKeyExists(const std::string& key) = 0;
  // The text of a value; none when the key or the value is absent.  Throws
  // ERegistryException for a value that is not text.
  virtual std::optional<std::string> readRegistryText(const std::string& key,
                                                      const std::string& valueName) = 0;
  // An integer value under the local machine's hive; none when absent.
  virtual std::optional<uint32_t> readLocalMachineInteger(const std::string& key,
                                                          const std::string& valueName) = 0;
  // The process environment.  On POSIX an unset "APPDATA" is answered with
  // the Wine prefix's application-data folder from the registry, if it has one.
  virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;

  // Processes and the desktop shell.
  // The executable texts of every running process (several per process where
  // the system knows more than one); none when no snapshot can be taken.  On
  // POSIX: the file name of the executable, the command name and the first
  // argument whole (under Wine, the Windows path of the program); callers
  // match on the part after the last "/" or "\" (executableFileNamePart).
  virtual std::optional<std::vector<std::string>> runningProcessTexts() = 0;
  // Starts a command line without waiting; the outcome is not looked at.  The
  // program is found as Windows finds it (commandLine.h); on POSIX a Windows
  // program (a Windows path, or a name ending in ".exe") is started as `wine`
  // from PATH with the program's text and the arguments, anything else
  // directly.  The program runs in a session of its own with this process's
  // environment and current folder, and standard input from /dev/null.
  virtual void startCommandLine(const std::string& commandLine) = 0;
  // Asks the desktop shell to open a document or a web address with the verb
  // "open", without waiting; the outcome is not looked at.  On POSIX the
  // desktop's opener (xdg-open from PATH) is started with the target, a
  // Windows path being given as the POSIX path of its file.
  virtual void shellOpen(const std::string& target) = 0;
  virtual OsVersionInfo osVersion() = 0;

  // Text and locale.
  // UTF-16 to the active 8-bit code page; a character the code page lacks
  // becomes "?", and so does an unpaired surrogate.
  virtual std::string wideToAnsi(std::u16string_view text) = 0;
  // With UTF-8 as the code page, a byte that is not part of well-formed UTF-8
  // becomes the character of its own value (its Latin-1 reading), so that no
  // byte is lost.
  virtual std::u16string ansiToWide(std::string_view text) = 0;
  // Lower case, character by character, by the active code page (Cyrillic and
  // Latin alike); bytes that are not characters of it pass unchanged.
  virtual std::string lowerCase(std::string_view text) = 0;
  // The active code page as a Windows code-page number: 65001 for UTF-8,
  // 1251 for Cyrillic, 0 when it has no such number.
  virtual unsigned activeCodePage() = 0;
  // The locale's decimal separator; see setDecimalSeparator().  On POSIX the
  // radix character of the LC_ALL / LC_NUMERIC / LANG locale, "." when that
  // locale is not installed.
  virtual char decimalSeparator() = 0;

  // The system's recycle bin.  A file is moved to the bin of its own volume,
  // with what the desktop needs to put it back; it is never erased, so a file
  // that cannot go to a bin stays where it was.  The base answers that there
  // is no bin.
  virtual RecycleResult recycleFile(const std::string& path);
  // Moves a file the bin holds back to its original path, unless another file
  // lies there now.
  virtual PutBackOutcome putBackRecycled(const RecycledFile& file);

  // Drives and shares.  True when the root that driveRootOf() gave can be
  // reached now: a drive letter with a volume and its medium, a share that
  // answers (on POSIX, a drive of the Wine prefix whose target folder exists).
  // The base answers true.
  virtual bool driveRootReachable(const std::string& root);
};

// The platform in use: the system's own unless a test installed another.
Platform& current();
// The system's own implementation, for fakes that pass most calls through.
Platform& system();

// Installs a platform for the lifetime of the object (tests only).
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& replacement);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// Makes decimalSeparator() answer `separator` from now on: the window takes
// it from its toolkit's locale on systems where that is the user's setting.
void setDecimalSeparator(char separator);

// The user's own folder for a program's data, read through current()'s
// environment: %LOCALAPPDATA%\<windowsName> on Windows; elsewhere
// $XDG_DATA_HOME/<posixName>, or $HOME/.local/share/<posixName> when that
// variable is unset or not absolute.  None when the environment names no
// such place.  The folder may not exist yet.
std::optional<std::string> userDataFolder(const std::string& windowsName,
                                          const std::string& posixName);

// The path as this system's own dialogs and tools take it: on POSIX a
// Windows path is mapped onto the Wine prefix's drives; elsewhere, and for
// any other path, the path as it is.
std::string localPathOf(const std::string& path);

// The root of the drive or share that a Windows path lies on, the same text
// for every path on it whatever its letter case: "C:" for "c:\x\y", and
// "\\server\share" for a UNC path.  Empty for a path with no such root (a
// relative or a POSIX path), which is always taken as reachable.
std::string driveRootOf(std::string_view path);

// Replaces the file that `path` names with `bytes`, all or nothing: the old
// file stays exactly as it was unless the complete new content is in place.
// Throws EFCreateError.
void replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace brimlow::platform
