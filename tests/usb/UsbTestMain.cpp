// The USB tests run under umockdev's preload library (CTest starts them
// through umockdev-wrapper). Without it libusb would see the machine's own
// bus, so they stop at once and say how to run them.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include "UsbTestbed.h"

namespace {

// USB adapters are locked in the system's lock folder, where test runs side
// by side would meet. As root the tests and the programs they start get a
// folder of their own in its place, in a mount namespace of their own.
void OwnLockFolder() {
  if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0) return;
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return;
  ::mount("pavok-test-locks", "/run/lock", "tmpfs", 0, "mode=1777");
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!pavok::test::UnderUmockdevPreload(argv[0])) return 1;
  OwnLockFolder();
  return RUN_ALL_TESTS();
}
