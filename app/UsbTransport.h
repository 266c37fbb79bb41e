#pragma once
// The transports to the real adapters on this platform, one maker per kind
// of adapter (AdapterKinds.h lists them).

#include <memory>
#include <string>

#include "Transport.h"
#include "UsbId.h"

namespace pavok {

// What a maker needs to know of the adapter.
struct UsbAdapterSettings {
  UsbId ids;
  unsigned i2cSpeedKhz = 100;  // the I2C clock, where the adapter lets the program choose it
};

// Each gives the adapter, or nothing with the reason in `error` when this
// build has no way to reach it.
std::unique_ptr<Transport> MakeAvr309Transport(const UsbAdapterSettings& settings, std::string& error);
std::unique_ptr<Transport> MakeCh341aTransport(const UsbAdapterSettings& settings, std::string& error);

}  // namespace pavok
