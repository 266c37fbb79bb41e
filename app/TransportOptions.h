#pragma once
// The command-line options that choose the adapter, shared by both programs,
// and the transport they describe.

#include <memory>
#include <string>

#include "Transport.h"

namespace CLI {
class App;
}

namespace pavok {

struct TransportOptions {
  bool emulate = false;             // --emulate: the emulated adapter
  std::string emulatedChip = "C16"; // --emulated-chip TYPE
  std::string chipImage;            // --chip-image PATH; empty: contents in memory only
  int emulatedDelayMicroseconds = 0;// --emulated-delay-us N: time each request takes
  std::string adapter = "auto";     // --adapter KIND: which kind of USB adapter
  std::string usbId;                // --usb-id VID:PID; empty: the kind's own ids
  unsigned i2cSpeedKhz = 100;       // --i2c-speed KHZ: the CH341A's I2C clock
  unsigned ch341Index = 0;          // --ch341-index N: which CH341A, on Windows
  bool trace = false;               // --trace: every request on stderr
  bool nameAdapter = false;         // the adapter in use on stderr (pavok-cli --verbose)
};

// Registers the options above on `app`.
void AddTransportOptions(CLI::App& app, TransportOptions& options);

// The transport the options describe (wrapped for tracing when asked), or
// nothing with a reason in `error`.
std::unique_ptr<Transport> MakeTransport(const TransportOptions& options, std::string& error);

// Whether `file` is the emulated chip's image file under any name.
bool IsChipImage(const TransportOptions& options, const std::string& file);

}  // namespace pavok
