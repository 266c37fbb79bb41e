#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "AdapterLock.h"

namespace pavok {

namespace {

// A lock file made by another user must still be usable, so it is made
// writable by all; a link planted in its place is never followed.
int OpenLockFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0) {
    static_cast<void>(::fchmod(fd, 0666));  // past the umask; fails harmlessly on another's file
    return fd;
  }
  // Someone else's file that is not writable still takes a lock.
  return errno == EACCES ? ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC) : -1;
}

std::optional<long> ReadHolder(int fd) {
  char text[32] = {};
  const ssize_t count = ::pread(fd, text, sizeof text - 1, 0);
  if (count <= 0) return std::nullopt;
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  if (end == text || pid <= 0) return std::nullopt;
  return pid;
}

// The holder's name is a courtesy to the others: a file that cannot take it
// still holds the lock. (A cast to void does not quiet the warning glibc's
// fortified headers give for an unread result.)
void WriteHolder(int fd) {
  const std::string text = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0) return;
  [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
}

}  // namespace

std::filesystem::path LockDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && ::access(runtime, W_OK) == 0) return runtime;
  if (::access("/run/lock", W_OK) == 0) return "/run/lock";
  return std::filesystem::temp_directory_path();
}

// A lock that cannot be taken for want of a lock file (no directory to put
// it in) holds nothing and refuses nothing: the adapter is then used as it
// always was.
AdapterLock::AdapterLock(std::string_view name) {
  const int fd = OpenLockFile(LockFilePath(name));
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    refused_ = errno == EWOULDBLOCK;
    if (refused_) holder_ = ReadHolder(fd);
    ::close(fd);
    return;
  }
  WriteHolder(fd);
  handle_ = static_cast<std::uintptr_t>(fd);
}

AdapterLock::~AdapterLock() {
  if (handle_ == 0) return;
  const int fd = static_cast<int>(handle_);
  [[maybe_unused]] const int emptied = ::ftruncate(fd, 0);  // the holder is gone
  ::close(fd);                                              // and with the file its lock
}

}  // namespace pavok
