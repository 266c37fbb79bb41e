#pragma once
// The transports to the real adapters on this platform, one maker per kind
// of adapter (AdapterKinds.h lists them).

#include <memory>
#include <optional>
#include <string>

#include "Ch341aStream.h"
#include "Transport.h"
#include "UsbId.h"

namespace pavok {

// What a maker needs to know of the adapter.
struct UsbAdapterSettings {
  UsbId ids;
  unsigned i2cSpeedKhz = 100;  // the I2C clock, where the adapter lets the program choose it
  unsigned ch341Index = 0;     // which CH341A, where its driver numbers them (Windows)
};

// Whether auto looks for the CH341A before the other adapter: on Windows,
// where most CH341A owners are, and where its driver's DLL says at once
// whether one is plugged in.
bool AutoLooksForCh341aFirst();

// Each gives the adapter, or nothing with the reason in `error` when this
// build has no way to reach it.
std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings& settings, std::string& error);
std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings& settings, std::string& error);

// The CH341A's clock for the settings' rate, or nothing with the reason in
// `error`.
std::optional<Ch341aSpeed> Ch341aSpeedOf(const UsbAdapterSettings& settings, std::string& error);

}  // namespace pavok
