#include "TransportOptions.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>

#include "ChipType.h"
#include "EmulatedAdapter.h"
#include "OptionValidators.h"
#include "TracingTransport.h"
#include "UsbId.h"
#include "UsbTransport.h"
#include "Utf8Path.h"

namespace pavok {

namespace {

// The longest time an emulated request may take: a full write of the
// largest chip at this delay already lasts about seventeen minutes.
constexpr int kMaxEmulatedDelayMicroseconds = 1'000'000;

std::unique_ptr<Transport> MakeEmulatedAdapter(const TransportOptions& options, std::string& error) {
  const auto type = FindChipType(options.emulatedChip);
  if (!type) {
    error = "\"" + options.emulatedChip + "\" is not a chip type: expected C02, C04, C08 or C16";
    return nullptr;
  }
  std::unique_ptr<EmulatedAdapter> adapter;
  if (options.chipImage.empty()) {
    adapter = std::make_unique<EmulatedAdapter>(EepromModel(type->size));
  } else {
    auto withFile = EmulatedAdapter::WithImageFile(type->size, Utf8Path(options.chipImage), &error);
    if (!withFile) return nullptr;
    adapter = std::make_unique<EmulatedAdapter>(std::move(*withFile));
  }
  adapter->SetRequestDelay(std::chrono::microseconds(options.emulatedDelayMicroseconds));
  // A program runs for as long as the user likes: keeping every request
  // would only grow.
  adapter->SetRecording(false);
  return adapter;
}

}  // namespace

void AddTransportOptions(CLI::App& app, TransportOptions& options) {
  CLI::Option* emulate =
      app.add_flag("--emulate", options.emulate, "Use the emulated adapter instead of the USB adapter");
  app.add_option("--emulated-chip", options.emulatedChip, "Type of the emulated chip: C02, C04, C08 or C16")
      ->type_name("TYPE")
      ->transform(ChipTypeValidator())
      ->capture_default_str()
      ->needs(emulate);
  app.add_option("--chip-image", options.chipImage,
                 "File holding the emulated chip's contents; created full of 0xFF when missing")
      ->type_name("PATH")
      ->needs(emulate);
  app.add_option("--emulated-delay-us", options.emulatedDelayMicroseconds,
                 "Time each emulated request takes, in microseconds")
      ->type_name("N")
      ->check(WholeNumberValidator(0, kMaxEmulatedDelayMicroseconds))
      ->capture_default_str()
      ->needs(emulate);
  app.add_option("--usb-id", options.usbId, "USB vendor and product id of the adapter, in hexadecimal")
      ->type_name("VID:PID")
      ->check(UsbIdValidator())
      ->capture_default_str();
  app.add_flag("--trace", options.trace, "Print every device request on the standard error stream");
}

std::unique_ptr<Transport> MakeTransport(const TransportOptions& options, std::string& error) {
  error.clear();
  std::unique_ptr<Transport> transport;
  if (options.emulate) {
    transport = MakeEmulatedAdapter(options, error);
  } else if (const auto id = ParseUsbId(options.usbId, &error)) {
    transport = MakeUsbTransport(*id, error);
  }
  if (!transport || !options.trace) return transport;
  return std::make_unique<TracingTransport>(std::move(transport), stderr);
}

}  // namespace pavok
