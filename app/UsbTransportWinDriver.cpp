#include "Ch341aDll.h"
#include "UsbTransport.h"
#include "WinDriverTransport.h"

namespace pavok {

// On Windows the adapter is reached through its driver, not through libusb;
// the USB id is the driver's business there.
std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings&, std::string&) {
  return std::make_unique<WinDriverTransport>();
}

bool AutoLooksForCh341aFirst() { return true; }

// Through its maker's DLL, which numbers the CH341As plugged in.
std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings& settings, std::string& error) {
  const auto speed = Ch341aSpeedOf(settings, error);
  if (!speed) return nullptr;
  return MakeCh341aDllTransport(settings.ch341Index, *speed);
}

}  // namespace pavok
