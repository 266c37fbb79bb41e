// Built where libusb was found.

#include "LibusbTransport.h"
#include "UsbTransport.h"

namespace pavok {

std::unique_ptr<Transport> MakeUsbTransport(UsbId id, std::string&) {
  return std::make_unique<LibusbTransport>(id.vendor, id.product);
}

}  // namespace pavok
