#include "UsbTestbed.h"

#include <sys/stat.h>
#include <umockdev.h>

namespace pavok::test {

UsbTestbed::UsbTestbed() : testbed_(umockdev_testbed_new()) {}

// The testbed goes first: it stops answering before the devices whose
// handlers it calls are destroyed.
UsbTestbed::~UsbTestbed() {
  g_object_unref(testbed_);
  devices_.clear();
}

EmulatedUsbAdapter& UsbTestbed::PlugAdapter(UsbDeviceIds ids, EepromModel chip, const FaultPlan& faults) {
  EmulatedAdapter adapter(std::move(chip));
  adapter.SetFaultPlan(faults);
  const UsbDevicePlace place{kEmulatedBus, static_cast<std::uint8_t>(devices_.size() + 2)};
  devices_.push_back(std::make_unique<EmulatedUsbAdapter>(testbed_, ids, place, std::move(adapter)));
  return *devices_.back();
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

}  // namespace pavok::test
