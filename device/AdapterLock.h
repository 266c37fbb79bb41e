#pragma once
// An exclusive lock that keeps other programs off one adapter while this
// one uses it. It is an advisory lock on a small file in the system's lock
// directory, the same for every program on the machine whatever its
// environment, or on a file of the adapter's own; taken without waiting.
// The system drops it when the program ends, however it ends, so a lock
// file left behind never blocks a later run. A lock that cannot be taken
// at all fails rather than let the transfer go ahead unlocked.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pavok {

class AdapterLock {
 public:
  // Tries to take the lock called `name` (letters, digits and '-'), or
  // one made by FileLockName.
  explicit AdapterLock(std::string_view name);
  ~AdapterLock();
  AdapterLock(const AdapterLock&) = delete;
  AdapterLock& operator=(const AdapterLock&) = delete;

  // Whether another program holds the lock; this one then holds nothing.
  bool refused() const { return refused_; }
  // The holder's process id, where the system or the lock file names it.
  std::optional<long> holder() const { return holder_; }
  // Why no lock could be taken at all, the lock file and the system's
  // reason; empty when the lock is held or refused.
  const std::string& failure() const { return failure_; }

 private:
  std::uintptr_t handle_ = 0;  // the open lock file; 0 when none
  bool ownsFile_ = false;      // the lock file is the lock's own, to empty
  bool refused_ = false;
  std::optional<long> holder_;
  std::string failure_;
};

// Where lock files live: /run/lock, else (on a system without it) /tmp;
// the temporary directory on Windows.
std::filesystem::path LockDirectory();

// The name of the lock taken on `file` itself, so that every name of the
// file (links, bind mounts) meets at the same lock.
std::string FileLockName(const std::filesystem::path& file);

// The lock file of the lock `name`.
std::filesystem::path LockFilePath(std::string_view name);

}  // namespace pavok
