// Built where no USB library was found: only the emulated adapter remains.

#include "UsbTransport.h"

namespace pavok {

std::unique_ptr<Transport> MakeUsbTransport(UsbId, std::string& error) {
  error = "this build has no USB transport (libusb was not found when it was built); use --emulate";
  return nullptr;
}

}  // namespace pavok
