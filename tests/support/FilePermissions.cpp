#include "FilePermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>

namespace pavok::test {

namespace {

constexpr std::uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// The thread's capability sets, through the system calls themselves: no
// library for this is installed on a plain system.
struct Capabilities {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> data{};

  bool Get() { return syscall(SYS_capget, &header, data.data()) == 0; }
  bool Set() { return syscall(SYS_capset, &header, data.data()) == 0; }
};

}  // namespace

FilePermissionsEnforced::FilePermissionsEnforced() {
  Capabilities capabilities;
  if (!capabilities.Get()) return;
  savedEffective_ = capabilities.data[0].effective;
  if ((savedEffective_ & kOverrides) == 0) {
    enforced_ = true;
    return;
  }
  capabilities.data[0].effective = savedEffective_ & ~kOverrides;
  changed_ = capabilities.Set();
  enforced_ = changed_;
}

FilePermissionsEnforced::~FilePermissionsEnforced() {
  if (!changed_) return;
  Capabilities capabilities;
  if (!capabilities.Get()) return;
  capabilities.data[0].effective = savedEffective_;
  capabilities.Set();
}

}  // namespace pavok::test
