// All-or-nothing replacement of a file: a temporary file beside the real
// target, written and flushed, then renamed over it.  A rename within one
// folder either happens completely or not at all, so the old file is never
// seen half-written.
//
// A writer that is killed halfway leaves its temporary file behind.  Before
// it writes, a replacement removes the temporaries of its target that were
// written by processes that no longer exist: it goes by Brimlow's own naming
// (temporaryName.h) and by the process number in the name, never by age, so
// a save still running in another process keeps its file.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/posix/fileCalls.h"
#include "platform/posix/posixPlatform.h"
#include "platform/temporaryName.h"

namespace brimlow::platform {

namespace {

constexpr int kMaxLinks = 40;  // as many as the system itself follows

std::string reason(int error) {
  return std::strerror(error);
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Only a process that certainly does not exist counts as gone: one of
// another user answers EPERM and is alive.
bool processIsGone(uint64_t process) {
  if (process == 0 || process > static_cast<uint64_t>(INT_MAX)) return false;
  const auto pid = static_cast<pid_t>(process);
  return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporaries of `real` whose writers are gone; what cannot be
// removed stays, as it did before.  Links and folders are never touched.
void removeStaleTemporaries(const std::string& real) {
  const std::string folder = folderOf(real);
  const std::string prefix = temporaryPrefix(nameOf(real));
  for (const std::string& entry : listPosixFolder(folder)) {
    if (!entry.starts_with(prefix)) continue;
    const std::optional<uint64_t> owner =
        temporaryOwner(std::string_view(entry).substr(prefix.size()));
    if (!owner || !processIsGone(*owner)) continue;
    const std::string path = folder + "/" + entry;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
      fileCalls().unlink(path.c_str());
  }
}

// The file a path finally names: symbolic links are followed, a relative link
// target being relative to the link's folder.  A path that names nothing (a
// new file, or a link to one) is the answer as it stands.
std::string resolveLinks(const std::string& target, const std::string& callerPath) {
  std::string path = target;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) throw EFCreateError(callerPath, reason(errno));
    link.resize(static_cast<size_t>(n));
    path = link.starts_with('/') ? link : folderOf(path) + "/" + link;
  }
  throw EFCreateError(callerPath, reason(ELOOP));
}

std::string realTarget(const std::string& target) {
  return resolveLinks(mapToPosixPath(target), target);
}

// A name in the folder of `real` that no file has yet; the file is created
// with O_EXCL, so that another writer's file is never taken over.
int createUnique(const std::string& real, std::string& name) {
  static std::atomic<unsigned> counter{0};
  const std::string base = nameOf(real);
  const std::string folder = folderOf(real);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "/" + temporaryName(base, static_cast<uint64_t>(::getpid()), counter++);
    // 0666 less the umask: the mode a new file would get.
    const int fd = fileCalls().open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

WriteHandle PosixPlatform::createTemporaryBeside(const std::string& target) {
  const std::string real = realTarget(target);
  struct stat old {};
  const bool exists = ::stat(real.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) throw EFCreateError(target, reason(EISDIR));
  removeStaleTemporaries(real);

  WriteHandle file;
  const int fd = createUnique(real, file.path);
  if (fd < 0) throw EFCreateError(target, reason(errno));
  file.value = fd;
  if (exists) {
    // The new file takes over the old one's permissions and, where we may,
    // its owner.
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
      const int error = errno;
      discard(file);
      throw EFCreateError(target, reason(error));
    }
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
  }
  return file;
}

void PosixPlatform::writeAll(WriteHandle& file, std::string_view bytes, const std::string& target) {
  const FileCalls& calls = fileCalls();
  while (!bytes.empty()) {
    const ssize_t n = calls.write(static_cast<int>(file.value), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFCreateError(target, reason(errno));
    // A file that takes nothing more has no room left; asking again would
    // wait for ever.
    if (n == 0) throw EFCreateError(target, reason(ENOSPC));
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void PosixPlatform::commitAndClose(WriteHandle& file, const std::string& target) {
  const FileCalls& calls = fileCalls();
  const int fd = static_cast<int>(file.value);
  file.value = -1;
  const int synced = calls.fsync(fd);
  const int error = errno;
  if (calls.close(fd) != 0 && synced == 0) throw EFCreateError(target, reason(errno));
  if (synced != 0) throw EFCreateError(target, reason(error));
}

void PosixPlatform::replaceWith(WriteHandle& file, const std::string& target) {
  const std::string real = realTarget(target);
  if (fileCalls().rename(file.path.c_str(), real.c_str()) != 0)
    throw EFCreateError(target, reason(errno));
  file.path.clear();
  // Makes the rename itself durable.  The new content is in place whatever
  // this answers, so a failure here is not the caller's failure.
  const int folder = ::open(folderOf(real).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

void PosixPlatform::discard(WriteHandle& file) noexcept {
  const FileCalls& calls = fileCalls();
  if (file.value >= 0) calls.close(static_cast<int>(file.value));
  file.value = -1;
  if (!file.path.empty()) calls.unlink(file.path.c_str());
  file.path.clear();
}

}  // namespace brimlow::platform
