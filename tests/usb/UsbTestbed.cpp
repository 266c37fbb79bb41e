#include "UsbTestbed.h"

#include <sys/stat.h>
#include <umockdev.h>

#include <cstdio>

namespace pavok::test {

UsbTestbed::UsbTestbed() : testbed_(umockdev_testbed_new()) {}

// The testbed goes first: it stops answering before the devices whose
// handlers it calls are destroyed.
UsbTestbed::~UsbTestbed() {
  g_object_unref(testbed_);
  devices_.clear();
}

UsbDevicePlace UsbTestbed::NextPlace() const {
  return {kEmulatedBus, static_cast<std::uint8_t>(devices_.size() + 2)};
}

EmulatedUsbAdapter& UsbTestbed::PlugAdapter(UsbDeviceIds ids, EepromModel chip, const FaultPlan& faults) {
  EmulatedAdapter adapter(std::move(chip));
  adapter.SetFaultPlan(faults);
  auto device = std::make_unique<EmulatedUsbAdapter>(testbed_, ids, NextPlace(), std::move(adapter));
  EmulatedUsbAdapter& plugged = *device;
  devices_.push_back(std::move(device));
  return plugged;
}

EmulatedCh341a& UsbTestbed::PlugCh341a(EepromModel chip, const FaultPlan& faults, UsbDeviceIds ids) {
  auto device = std::make_unique<EmulatedCh341a>(testbed_, ids, NextPlace(), std::move(chip), faults);
  EmulatedCh341a& plugged = *device;
  devices_.push_back(std::move(device));
  return plugged;
}

bool UsbTestbed::SeenByThisProcess() const {
  gchar* sysDir = umockdev_testbed_get_sys_dir(testbed_);
  struct stat testbedSys {};
  struct stat seenSys {};
  const bool same = stat(sysDir, &testbedSys) == 0 && stat("/sys", &seenSys) == 0 &&
                    testbedSys.st_dev == seenSys.st_dev && testbedSys.st_ino == seenSys.st_ino;
  g_free(sysDir);
  return same;
}

bool UnderUmockdevPreload(const char* program) {
  if (UsbTestbed().SeenByThisProcess()) return true;
  std::fprintf(stderr,
               "%s must run under umockdev's preload library: run it with ctest, or as\n"
               "  umockdev-wrapper %s\n"
               "umockdev comes with scripts/install-deps.sh (Debian packages umockdev, libumockdev-dev,\n"
               "gir1.2-umockdev-1.0).\n",
               program, program);
  return false;
}

}  // namespace pavok::test
