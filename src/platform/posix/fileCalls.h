#pragma once

// The system calls through which the POSIX layer reads and writes the data
// of files.  They go through one table so that tests can make them fail, or
// do less than asked, at the level where real failures happen: a read or a
// write cut short, an interrupted call, a full disk, a failed flush, close,
// rename or deletion.

#include <sys/types.h>

namespace brimlow::platform {

struct FileCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t count);
  ssize_t (*write)(int fd, const void* buffer, size_t count);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};

// The calls of the system itself.
const FileCalls& systemFileCalls();

// The calls in use: the system's, unless a test has put others in.
FileCalls& fileCalls();

}  // namespace brimlow::platform
