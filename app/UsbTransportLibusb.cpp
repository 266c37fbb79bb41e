// Built where libusb was found.

#include "Ch341aTransport.h"
#include "LibusbTransport.h"
#include "UsbTransport.h"

namespace pavok {

std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings& settings, std::string&) {
  return std::make_unique<LibusbTransport>(settings.ids.vendor, settings.ids.product);
}

std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings& settings, std::string& error) {
  const auto speed = Ch341aSpeedFor(settings.i2cSpeedKhz);
  if (!speed) {
    error = "the CH341A has no I2C clock of " + std::to_string(settings.i2cSpeedKhz) + " kHz";
    return nullptr;
  }
  return std::make_unique<Ch341aTransport>(UsbDeviceIds{settings.ids.vendor, settings.ids.product}, *speed);
}

}  // namespace pavok
