// Built where no USB library was found: only the emulated adapter remains.

#include "Translation.h"
#include "UsbTransport.h"

namespace pavok {

namespace {
std::unique_ptr<Transport> NoUsb(std::string& error) {
  error = Tr("this build has no USB transport (libusb was not found when it was built); use --emulate");
  return nullptr;
}
}  // namespace

bool AutoLooksForCh341aFirst() { return false; }

std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings&, std::string& error) { return NoUsb(error); }

std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings&, std::string& error) { return NoUsb(error); }

}  // namespace pavok
