// First cut of the POSIX platform: just what the reading path needs to link
// and run.  The full implementation replaces this file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "../platform.h"

namespace brimlow::platform {

extern std::optional<char> decimalSeparatorOverride;

namespace {

std::string reason() {
  return std::strerror(errno);
}

class PosixPlatform final : public Platform {
 public:
  std::string readFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFOpenError(path, reason());
    std::string bytes;
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        const std::string why = reason();
        ::close(fd);
        throw EFOpenError(path, why);
      }
      if (n == 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
  }

  bool fileExists(const std::string& path) override {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  bool directoryExists(const std::string& path) override {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  bool createDirectory(const std::string& path) override {
    return ::mkdir(path.c_str(), 0777) == 0;
  }
  std::vector<std::string> listDirectory(const std::string&) override { return {}; }
  bool deleteFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  WriteHandle createTemporaryBeside(const std::string& target) override {
    WriteHandle file;
    file.path = target + ".tmp";
    file.value = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file.value < 0) throw EFCreateError(target, reason());
    return file;
  }

  void writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(static_cast<int>(file.value), bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EFCreateError(target, reason());
      }
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }

  void commitAndClose(WriteHandle& file, const std::string& target) override {
    const int fd = static_cast<int>(file.value);
    file.value = -1;
    if (::fsync(fd) != 0 || ::close(fd) != 0) throw EFCreateError(target, reason());
  }

  void replaceWith(WriteHandle& file, const std::string& target) override {
    if (::rename(file.path.c_str(), target.c_str()) != 0) throw EFCreateError(target, reason());
  }

  void discard(WriteHandle& file) noexcept override {
    if (file.value >= 0) ::close(static_cast<int>(file.value));
    file.value = -1;
    ::unlink(file.path.c_str());
  }

  std::string programFilePath() override {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }

  LocalDate localDate() override {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
  }

  bool registryKeyExists(const std::string&) override { return false; }
  std::optional<std::string> readRegistryText(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> readLocalMachineInteger(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> environmentVariable(const std::string& name) override {
    const char* value = ::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
  }

  std::optional<std::vector<std::string>> runningProcessTexts() override { return std::nullopt; }
  void startCommandLine(const std::string&) override {}
  OsVersionInfo osVersion() override { return {}; }

  // UTF-8 as the code page.
  std::string wideToAnsi(std::u16string_view text) override {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      char32_t c = text[i];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      } else if (c >= 0xD800 && c < 0xE000) {
        out += '?';
        continue;
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }

  std::u16string ansiToWide(std::string_view text) override {
    std::u16string out;
    for (unsigned char c : text)
      out += static_cast<char16_t>(c);  // first cut: Latin-1
    return out;
  }

  std::string lowerCase(std::string_view text) override {
    std::string out(text);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  }

  unsigned activeCodePage() override { return 65001; }
  char decimalSeparator() override { return decimalSeparatorOverride.value_or('.'); }
};

}  // namespace

Platform& system() {
  static PosixPlatform instance;
  return instance;
}

}  // namespace brimlow::platform
