#include "TransportOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

#include "AdapterKinds.h"
#include "ChipDump.h"
#include "ChipType.h"
#include "EmulatedAdapter.h"
#include "FirstPresentTransport.h"
#include "OptionValidators.h"
#include "TracingTransport.h"
#include "Translation.h"
#include "UsbId.h"
#include "Utf8Path.h"

namespace pavok {

namespace {

// The longest time an emulated request may take: a full write of the
// largest chip at this delay already lasts about seventeen minutes.
constexpr int kMaxEmulatedDelayMicroseconds = 1'000'000;
// The most CH341As the driver numbers at once.
constexpr int kMaxCh341aIndex = 15;

}  // namespace

// The same file, under any name: a link, a hard link, a bind mount.
bool IsChipImage(const TransportOptions& options, const std::string& file) {
  if (options.chipImage.empty() || file.empty()) return false;
  const std::filesystem::path image = Utf8Path(options.chipImage), other = Utf8Path(file);
  std::error_code ec, ignored;
  // Names that do not exist yet are the same file once made.
  return std::filesystem::equivalent(image, other, ec) ||
         std::filesystem::weakly_canonical(image, ignored) == std::filesystem::weakly_canonical(other, ignored);
}

namespace {

std::unique_ptr<Transport> MakeEmulatedAdapter(const TransportOptions& options, std::string& error) {
  const auto type = FindChipType(options.emulatedChip);
  if (!type) {
    error = FormatText(Tr("\"%1\" is not a chip type: expected C02, C04, C08 or C16"), {options.emulatedChip});
    return nullptr;
  }
  std::unique_ptr<EmulatedAdapter> adapter;
  if (options.chipImage.empty()) {
    adapter = std::make_unique<EmulatedAdapter>(EepromModel(type->size));
  } else {
    // Every read would replace the chip with its own dump.
    if (IsChipImage(options, std::string(kDumpFileName))) {
      error = FormatText(Tr("the emulated chip image %1 is the dump %2, which every read replaces; give the chip "
                            "image another name"),
                         {options.chipImage, kDumpFileName});
      return nullptr;
    }
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

// The adapter --adapter names, or for auto the first of the kinds that is
// plugged in. --usb-id names one device, and one device is of one kind: with
// auto it is taken for the first kind, as the option always meant.
std::unique_ptr<Transport> MakeUsbAdapter(const TransportOptions& options, std::string& error) {
  std::optional<UsbId> ids;
  if (!options.usbId.empty() && !(ids = ParseUsbId(options.usbId, &error))) return nullptr;
  std::span<const AdapterKind> kinds = kAdapterKinds;
  if (options.adapter != kAutoAdapter) {
    const AdapterKind* kind = FindAdapterKind(options.adapter);
    if (kind == nullptr) {
      error = FormatText(Tr("\"%1\" is not an adapter"), {options.adapter});
      return nullptr;
    }
    kinds = std::span(kind, 1);
  } else if (ids) {
    kinds = kinds.first(1);
  }
  // A kind this build cannot reach is left out of auto's search.
  std::vector<std::unique_ptr<Transport>> candidates;
  std::string unreachable;
  for (const AdapterKind& kind : kinds) {
    const UsbAdapterSettings settings{ids.value_or(kind.defaultIds), options.i2cSpeedKhz, options.ch341Index};
    if (auto transport = kind.make(settings, unreachable)) {
      candidates.push_back(std::move(transport));
    } else if (error.empty() || options.ch341Index != 0) {
      error = unreachable;
    }
  }
  // --ch341-index asks for a CH341A: where none can be numbered, auto says
  // so too instead of looking for the other adapter alone.
  if (candidates.empty() || (options.ch341Index != 0 && candidates.size() < kinds.size())) return nullptr;
  if (AutoLooksForCh341aFirst()) std::ranges::reverse(candidates);
  error.clear();
  if (candidates.size() == 1) return std::move(candidates.front());
  return std::make_unique<FirstPresentTransport>(std::move(candidates));
}

// "... (default: the kind's own, avr309 03EB:21FF, ch341a 1A86:5512; with
// auto, an avr309 adapter with these ids)"
std::string UsbIdHelp() {
  std::string defaults;
  for (const AdapterKind& kind : kAdapterKinds) {
    defaults += ", " + std::string(kind.name) + " " + FormatUsbId(kind.defaultIds);
  }
  return FormatText(Tr("USB vendor and product id of the adapter, in hexadecimal (default: the kind's own%1; with "
                       "auto, an %2 adapter with these ids)"),
                    {defaults, kAdapterKinds.front().name});
}

}  // namespace

void AddTransportOptions(CLI::App& app, TransportOptions& options) {
  CLI::Option* emulate =
      app.add_flag("--emulate", options.emulate, Tr("Use the emulated adapter instead of the USB adapter"));
  app.add_option("--emulated-chip", options.emulatedChip, Tr("Type of the emulated chip: C02, C04, C08 or C16"))
      ->type_name("TYPE")
      ->transform(ChipTypeValidator())
      ->capture_default_str()
      ->needs(emulate);
  app.add_option("--chip-image", options.chipImage,
                 Tr("File holding the emulated chip's contents; created full of 0xFF when missing"))
      ->type_name("PATH")
      ->needs(emulate);
  app.add_option("--emulated-delay-us", options.emulatedDelayMicroseconds,
                 Tr("Time each emulated request takes, in microseconds"))
      ->type_name("N")
      ->check(WholeNumberValidator(0, kMaxEmulatedDelayMicroseconds))
      ->capture_default_str()
      ->needs(emulate);
  app.add_option("--adapter", options.adapter,
                 Tr("Kind of USB adapter: avr309, ch341a (the CH341A programmer), or auto, the first of them "
                    "that is plugged in (on Windows the CH341A is looked for first)"))
      ->type_name("KIND")
      ->transform(AdapterKindValidator())
      ->capture_default_str()
      ->excludes(emulate);
  app.add_option("--usb-id", options.usbId, UsbIdHelp())
      ->type_name("VID:PID")
      ->check(UsbIdValidator());
  app.add_option("--i2c-speed", options.i2cSpeedKhz, Tr("I2C clock of the CH341A in kHz: 20, 100 or 400"))
      ->type_name("KHZ")
      ->check(OneOfValidator(Tr("an I2C clock"), {"20", "100", "400"}))
      ->capture_default_str()
      ->excludes(emulate);
  app.add_option("--ch341-index", options.ch341Index,
                 Tr("Which CH341A on Windows, where its driver numbers them from 0 in the order they were plugged in"))
      ->type_name("N")
      ->check(WholeNumberValidator(0, kMaxCh341aIndex))
      ->capture_default_str()
      ->excludes(emulate);
  app.add_flag("--trace", options.trace,
               Tr("Name the adapter in use and print every device request on the standard error stream"));
}

std::unique_ptr<Transport> MakeTransport(const TransportOptions& options, std::string& error) {
  error.clear();
  std::unique_ptr<Transport> transport =
      options.emulate ? MakeEmulatedAdapter(options, error) : MakeUsbAdapter(options, error);
  if (!transport || (!options.trace && !options.nameAdapter)) return transport;
  const TraceDetail detail = options.trace ? TraceDetail::EveryRequest : TraceDetail::AdapterInUse;
  return std::make_unique<TracingTransport>(std::move(transport), stderr, detail);
}

}  // namespace pavok
