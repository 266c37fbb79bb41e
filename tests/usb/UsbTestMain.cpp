// The USB tests run under umockdev's preload library (CTest starts them
// through umockdev-wrapper). Without it libusb would see the machine's own
// bus, so they stop at once and say how to run them.

#include <gtest/gtest.h>

#include <cstdio>

#include "UsbTestbed.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool underPreload = false;
  {
    const pavok::test::UsbTestbed testbed;
    underPreload = testbed.SeenByThisProcess();
  }
  if (!underPreload) {
    std::fprintf(stderr,
                 "The USB tests must run under umockdev's preload library: run them with ctest, or as\n"
                 "  umockdev-wrapper %s\n"
                 "umockdev comes with scripts/install-deps.sh (Debian packages umockdev, libumockdev-dev,\n"
                 "gir1.2-umockdev-1.0).\n",
                 argv[0]);
    return 1;
  }
  return RUN_ALL_TESTS();
}
