// The USB tests run under umockdev's preload library (CTest starts them
// through umockdev-wrapper). Without it libusb would see the machine's own
// bus, so they stop at once and say how to run them.

#include <gtest/gtest.h>

#include "UsbTestbed.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!pavok::test::UnderUmockdevPreload(argv[0])) return 1;
  return RUN_ALL_TESTS();
}
