#include "UsbTransport.h"
#include "WinDriverTransport.h"

namespace pavok {

// On Windows the adapter is reached through its driver, not through libusb;
// the USB id is the driver's business there.
std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings&, std::string&) {
  return std::make_unique<WinDriverTransport>();
}

std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings&, std::string& error) {
  error = "this build reaches the CH341A through libusb, which the Windows build does not use";
  return nullptr;
}

}  // namespace pavok
