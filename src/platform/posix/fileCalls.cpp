#include "platform/posix/fileCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace brimlow::platform {

const FileCalls& systemFileCalls() {
  static const FileCalls calls{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      ::read,
      ::write,
      ::fsync,
      ::close,
      ::rename,
      ::unlink,
  };
  return calls;
}

FileCalls& fileCalls() {
  static FileCalls calls = systemFileCalls();
  return calls;
}

}  // namespace brimlow::platform
