#pragma once
// An exclusive lock that keeps other programs off one adapter while this
// one uses it. It is an advisory lock on a small file in the runtime
// directory, taken without waiting; the system drops it when the program
// ends, however it ends, so a lock file left behind never blocks a later
// run. The file holds the holder's process id, for the others to name.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace pavok {

class AdapterLock {
 public:
  // Tries to take the lock called `name` (letters, digits and '-').
  explicit AdapterLock(std::string_view name);
  ~AdapterLock();
  AdapterLock(const AdapterLock&) = delete;
  AdapterLock& operator=(const AdapterLock&) = delete;

  // Whether another program holds the lock; this one then holds nothing.
  bool refused() const { return refused_; }
  // The process id the holder wrote into the lock file, when it did.
  std::optional<long> holder() const { return holder_; }

 private:
  std::uintptr_t handle_ = 0;  // the open lock file; 0 when none
  bool refused_ = false;
  std::optional<long> holder_;
};

// Where lock files live: $XDG_RUNTIME_DIR, else /run/lock, else the
// temporary directory.
std::filesystem::path LockDirectory();

// The lock file of the lock `name`.
std::filesystem::path LockFilePath(std::string_view name);

}  // namespace pavok
