#pragma once

// Faults put into the POSIX layer's file calls for as long as one FileFaults
// object lives: reads and writes cut short or interrupted, a read error, a
// disk that fills after so many bytes, and failing opens, flushes, closes,
// renames and deletions.  The real calls do the work; the faults only shorten
// or refuse them, so every file the code under test touches is a real one.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "platform/posix/fileCalls.h"

namespace brimlow::platform::testing {

class FileFaults {
 public:
  // Only files whose POSIX path contains this are touched; all when empty.
  std::string pathsContaining;

  size_t readChunk = 0;                  // the most one read gives; 0: as much as asked
  size_t writeChunk = 0;                 // the most one write takes; 0: as much as asked
  bool interrupt = false;                // every other read and write fails with EINTR first
  std::optional<size_t> readFailsAfter;  // bytes read from one file, then readError
  int readError = EIO;
  std::optional<size_t> diskFullAfter;  // bytes written to one file, then writeError
  int writeError = ENOSPC;
  bool fullDiskTakesNothing = false;  // a full disk answers 0 instead of an error
  int openError = 0;                  // for opens of the files touched
  int fsyncError = 0;
  int closeError = 0;
  int renameError = 0;  // for renames onto a file touched
  int unlinkError = 0;

  // What was asked of the files touched.
  size_t reads = 0;
  size_t writes = 0;
  size_t interruptions = 0;

  FileFaults() : saved_(fileCalls()) {
    active_ = this;
    fileCalls() = {Open, Read, Write, Fsync, Close, Rename, Unlink};
  }
  ~FileFaults() {
    fileCalls() = saved_;
    active_ = nullptr;
  }
  FileFaults(const FileFaults&) = delete;
  FileFaults& operator=(const FileFaults&) = delete;

 private:
  struct Opened {
    int fd;
    mutable size_t moved;  // bytes read or written so far
    bool operator<(const Opened& other) const { return fd < other.fd; }
  };

  static const FileCalls& Real() { return systemFileCalls(); }
  bool Touches(const char* path) const {
    return pathsContaining.empty() || std::string(path).find(pathsContaining) != std::string::npos;
  }
  const Opened* Find(int fd) const {
    const auto found = files_.find(Opened{fd, 0});
    return found == files_.end() ? nullptr : &*found;
  }
  bool Interrupts() {
    if (!interrupt || (interruptToggle_ = !interruptToggle_) == false) return false;
    ++interruptions;
    errno = EINTR;
    return true;
  }

  static int Open(const char* path, int flags, mode_t mode) {
    FileFaults& self = *active_;
    if (!self.Touches(path)) return Real().open(path, flags, mode);
    if (self.openError != 0) {
      errno = self.openError;
      return -1;
    }
    const int fd = Real().open(path, flags, mode);
    if (fd >= 0) self.files_.insert(Opened{fd, 0});
    return fd;
  }
  static ssize_t Read(int fd, void* buffer, size_t count) {
    FileFaults& self = *active_;
    const Opened* file = self.Find(fd);
    if (file == nullptr) return Real().read(fd, buffer, count);
    ++self.reads;
    if (self.Interrupts()) return -1;
    if (self.readFailsAfter && file->moved >= *self.readFailsAfter) {
      errno = self.readError;
      return -1;
    }
    if (self.readChunk != 0) count = std::min(count, self.readChunk);
    if (self.readFailsAfter) count = std::min(count, *self.readFailsAfter - file->moved);
    const ssize_t n = Real().read(fd, buffer, count);
    if (n > 0) file->moved += static_cast<size_t>(n);
    return n;
  }
  static ssize_t Write(int fd, const void* buffer, size_t count) {
    FileFaults& self = *active_;
    const Opened* file = self.Find(fd);
    if (file == nullptr) return Real().write(fd, buffer, count);
    ++self.writes;
    if (self.Interrupts()) return -1;
    if (self.diskFullAfter && file->moved >= *self.diskFullAfter) {
      if (self.fullDiskTakesNothing) return 0;
      errno = self.writeError;
      return -1;
    }
    if (self.writeChunk != 0) count = std::min(count, self.writeChunk);
    if (self.diskFullAfter) count = std::min(count, *self.diskFullAfter - file->moved);
    const ssize_t n = Real().write(fd, buffer, count);
    if (n > 0) file->moved += static_cast<size_t>(n);
    return n;
  }
  static int Fsync(int fd) {
    FileFaults& self = *active_;
    if (self.Find(fd) == nullptr || self.fsyncError == 0) return Real().fsync(fd);
    errno = self.fsyncError;
    return -1;
  }
  static int Close(int fd) {
    FileFaults& self = *active_;
    const bool touched = self.Find(fd) != nullptr;
    self.files_.erase(Opened{fd, 0});
    const int closed = Real().close(fd);  // the descriptor goes in any case, as on Linux
    if (!touched || self.closeError == 0) return closed;
    errno = self.closeError;
    return -1;
  }
  static int Rename(const char* from, const char* to) {
    FileFaults& self = *active_;
    if (!self.Touches(to) || self.renameError == 0) return Real().rename(from, to);
    errno = self.renameError;
    return -1;
  }
  static int Unlink(const char* path) {
    FileFaults& self = *active_;
    if (!self.Touches(path) || self.unlinkError == 0) return Real().unlink(path);
    errno = self.unlinkError;
    return -1;
  }

  inline static FileFaults* active_ = nullptr;
  FileCalls saved_;
  std::set<Opened> files_;
  bool interruptToggle_ = false;
};

}  // namespace brimlow::platform::testing
