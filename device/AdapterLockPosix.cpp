#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "AdapterLock.h"

namespace pavok {

namespace {

namespace fs = std::filesystem;

// Debian makes it writable by all, with the sticky bit, on every machine.
constexpr const char* kSystemLockDirectory = "/run/lock";

int OpenExisting(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  // A file this user may not write still takes a lock, opened for reading.
  if (fd < 0 && errno == EACCES) return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  return fd;
}

// The lock file, made when missing, writable by all so that another user's
// program can take it too. A link planted in its place is never followed.
int OpenLockFile(const fs::path& path) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = OpenExisting(path);
    if (fd >= 0 || errno != ENOENT) return fd;
    const int created = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (created >= 0) {
      static_cast<void>(::fchmod(created, 0666));  // past the umask
      return created;
    }
    if (errno != EEXIST) return -1;  // else made by another program just now: open that
  }
  return -1;
}

// An exclusive lock in the system's table of locks.
struct HeldLock {
  long pid = 0;
  std::string file;  // "major:minor:inode", in the table's own notation
};

std::string FileInTable(const struct stat& status) {
  char file[64];
  std::snprintf(file, sizeof file, "%02x:%02x:%llu", major(status.st_dev), minor(status.st_dev),
                static_cast<unsigned long long>(status.st_ino));
  return file;
}

std::vector<HeldLock> ExclusiveLocks() {
  std::vector<HeldLock> held;
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream words(line);
    std::string number, kind, advisory, mode;
    HeldLock lock;
    if (!(words >> number >> kind >> advisory >> mode >> lock.pid >> lock.file)) continue;
    if (kind == "FLOCK" && mode == "WRITE" && lock.pid > 0) held.push_back(lock);
  }
  return held;
}

// The process holding an exclusive lock on the file `fd` is open on, as the
// system's table of locks names it: known from the moment the lock is
// taken, unlike anything written into the file.
std::optional<long> HolderFromSystem(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) return std::nullopt;
  const std::string file = FileInTable(status);
  for (const HeldLock& lock : ExclusiveLocks()) {
    if (lock.file == file && lock.pid != ::getpid()) return lock.pid;
  }
  return std::nullopt;
}

// A process still holding the lock on a lock file that was deleted, which
// a new lock file of the same name would not meet: its open files show the
// old file under its name, marked deleted. Seen where this user may look
// at the holder's open files (its own programs; all, as root).
std::optional<long> HolderOfDeleted(const fs::path& path) {
  const fs::path deleted = path.string() + " (deleted)";
  for (const HeldLock& lock : ExclusiveLocks()) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(lock.pid) + "/fd", ec)) {
      std::error_code ignored;
      struct stat status {};
      if (fs::read_symlink(entry.path(), ignored) == deleted && ::stat(entry.path().c_str(), &status) == 0 &&
          FileInTable(status) == lock.file) {
        return lock.pid;
      }
    }
  }
  return std::nullopt;
}

std::optional<long> HolderFromFile(int fd) {
  char text[32] = {};
  const ssize_t count = ::pread(fd, text, sizeof text - 1, 0);
  if (count <= 0) return std::nullopt;
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  if (end == text || pid <= 0) return std::nullopt;
  return pid;
}

// The holder's name in the file is for those who cannot read the system's
// table: a file that cannot take it still holds the lock. (A cast to void
// does not quiet the warning glibc's fortified headers give for an unread
// result.)
void WriteHolder(int fd) {
  const std::string text = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0) return;
  [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
}

bool IsFileLock(std::string_view name) { return name.starts_with('/'); }

}  // namespace

fs::path LockDirectory() {
  std::error_code ec;
  if (fs::is_directory(kSystemLockDirectory, ec)) return kSystemLockDirectory;
  return "/tmp";
}

std::string FileLockName(const fs::path& file) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec);
  return ec ? file.string() : absolute.string();
}

// A lock on a file of its own (a name starting with '/') is taken on that
// file, which is never written. When no lock can be taken the lock fails,
// and the transfer with it: going ahead unlocked could lose another
// program's write.
AdapterLock::AdapterLock(std::string_view name) {
  const fs::path path = IsFileLock(name) ? fs::path(name) : LockFilePath(name);
  const int fd = IsFileLock(name) ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC) : OpenLockFile(path);
  if (fd < 0) {
    failure_ = path.string() + ": " + std::generic_category().message(errno);
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    refused_ = errno == EWOULDBLOCK;
    if (refused_) holder_ = HolderFromSystem(fd);
    if (refused_ && !holder_ && !IsFileLock(name)) holder_ = HolderFromFile(fd);
    if (!refused_) failure_ = path.string() + ": " + std::generic_category().message(errno);
    ::close(fd);
    return;
  }
  if (!IsFileLock(name)) {
    holder_ = HolderOfDeleted(path);
    refused_ = holder_.has_value();
    if (refused_) {
      ::close(fd);
      return;
    }
    WriteHolder(fd);
  }
  handle_ = static_cast<std::uintptr_t>(fd);
  ownsFile_ = !IsFileLock(name);
}

AdapterLock::~AdapterLock() {
  if (handle_ == 0) return;
  const int fd = static_cast<int>(handle_);
  if (ownsFile_) {
    [[maybe_unused]] const int emptied = ::ftruncate(fd, 0);  // the holder is gone
  }
  ::close(fd);  // and with the file its lock
}

}  // namespace pavok
