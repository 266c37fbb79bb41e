#include "UsbTransport.h"
#include "WinDriverTransport.h"

namespace pavok {

// On Windows the adapter is reached through its driver, not through libusb;
// the USB id is the driver's business there.
std::unique_ptr<Transport> MakeUsbTransport(UsbId, std::string&) { return std::make_unique<WinDriverTransport>(); }

}  // namespace pavok
