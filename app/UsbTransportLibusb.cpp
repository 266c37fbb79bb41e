// Built where libusb was found.

#include "Ch341aTransport.h"
#include "LibusbTransport.h"
#include "Translation.h"
#include "UsbTransport.h"

namespace pavok {

std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings& settings, std::string&) {
  return std::make_unique<LibusbTransport>(settings.ids.vendor, settings.ids.product);
}

bool AutoLooksForCh341aFirst() { return false; }

// The USB ids name the CH341A here.
std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings& settings, std::string& error) {
  if (settings.ch341Index != 0) {
    error = Tr("--ch341-index counts the CH341As on Windows only; here --usb-id names the adapter");
    return nullptr;
  }
  const auto speed = Ch341aSpeedOf(settings, error);
  if (!speed) return nullptr;
  return std::make_unique<Ch341aTransport>(UsbDeviceIds{settings.ids.vendor, settings.ids.product}, *speed);
}

}  // namespace pavok
