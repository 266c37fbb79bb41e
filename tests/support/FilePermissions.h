#pragma once
// Lets the calling thread meet file permissions as a user does, even when the
// tests run as root: while the object lives, the thread's effective
// capabilities lack the two that override permission checks on files. Other
// threads keep theirs.

#include <cstdint>

namespace pavok::test {

class FilePermissionsEnforced {
 public:
  FilePermissionsEnforced();
  ~FilePermissionsEnforced();
  FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
  FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;

  // False when the capabilities could not be lowered.
  bool enforced() const { return enforced_; }

 private:
  bool enforced_ = false;
  bool changed_ = false;
  std::uint32_t savedEffective_ = 0;
};

}  // namespace pavok::test
