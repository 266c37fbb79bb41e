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
  std::string usbId = "03EB:21FF";  // --usb-id VID:PID of the real adapter
  bool trace = false;               // --trace: every request on stderr
};

// Registers the options above on `app`.
void AddTransportOptions(CLI::App& app, TransportOptions& options);

// The transport the options describe (wrapped for tracing when asked), or
// nothing with a reason in `error`.
std::unique_ptr<Transport> MakeTransport(const TransportOptions& options, std::string& error);

}  // namespace pavok
