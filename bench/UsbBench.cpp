// The real USB path on the test bed of tests/usb: what each kind of request
// and each whole C16 transfer costs over the adapter and over the CH341A, as
// USB transfers (counted by the emulated devices, the same on hardware) and
// as time through libusb and umockdev (which says little of hardware). For
// the CH341A also the time its I2C bus is busy, waits included, which on
// hardware is most of a transfer's time. Runs under umockdev's preload
// library: umockdev-wrapper build/bench/pavok_usb_bench.

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "BenchSupport.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "LibusbTransport.h"
#include "UsbTestbed.h"

namespace pavok::bench {
namespace {

using test::EmulatedCh341a;
using test::EmulatedUsbAdapter;
using test::UsbTestbed;

enum class Adapter { Avr309, Ch341a };

// One adapter of the kind on a bus of its own, its transport current, and
// how to read what went over the bus.
class UsbBed {
 public:
  explicit UsbBed(Adapter kind) {
    if (kind == Adapter::Avr309) {
      const EmulatedUsbAdapter& adapter = testbed_.PlugAdapter({kAdapterVendorId, kAdapterProductId}, EepromModel(2048));
      transfers_ = [&adapter] { return adapter.setupPackets().size(); };
      transport_ = std::make_unique<LibusbTransport>();
    } else {
      const EmulatedCh341a& ch341a = testbed_.PlugCh341a(EepromModel(2048));
      transfers_ = [&ch341a] { return ch341a.urbs().size(); };
      busTime_ = [&ch341a] { return ch341a.busTime(); };
      transport_ = std::make_unique<Ch341aTransport>();
    }
    scope_ = std::make_unique<TransportScope>(*transport_);
  }

  std::size_t transfers() const { return transfers_(); }
  // Nothing for the adapter, whose firmware drives the bus out of sight.
  std::optional<std::chrono::nanoseconds> busTime() const { return busTime_ ? std::optional(busTime_()) : std::nullopt; }

 private:
  UsbTestbed testbed_;
  std::function<std::size_t()> transfers_;
  std::function<std::chrono::nanoseconds()> busTime_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<TransportScope> scope_;
};

// Per iteration: USB transfers, and for the CH341A the milliseconds its bus
// was busy.
void Count(benchmark::State& state, const UsbBed& bed, std::size_t transfersBefore) {
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["usb_transfers"] = static_cast<double>(bed.transfers() - transfersBefore) / iterations;
  if (const auto busTime = bed.busTime()) {
    state.counters["i2c_bus_ms"] = std::chrono::duration<double, std::milli>(*busTime).count() / iterations;
  }
}

// One request of the kind, open and close included.
void BM_UsbRequest(benchmark::State& state, Adapter adapter, std::uint8_t code) {
  BenchEnvironment env;
  const UsbBed bed(adapter);
  const std::int32_t replySize = code == REQ_READ_BLOCK ? 32 : 1;
  const std::size_t before = bed.transfers();
  for (auto _ : state) {
    if (!SendDeviceRequest(code, 0xE0, 0xAE, replyBuffer, replySize)) state.SkipWithError("the request failed");
  }
  Count(state, bed, before);
}

enum class Transfer { Read, Write, Erase, Compare };

bool Run(Transfer transfer) {
  switch (transfer) {
    case Transfer::Read:
      return RunReadChip() == ReadOutcome::Completed;
    case Transfer::Write:
    case Transfer::Erase:
      return RunWriteChip(transfer == Transfer::Erase) == WriteOutcome::Completed;
    case Transfer::Compare:
      break;
  }
  return RunCompareChecksums().has_value();
}

// A whole C16 transfer, once: over umockdev a write takes seconds.
void BM_UsbTransferC16(benchmark::State& state, Adapter adapter, Transfer transfer) {
  BenchEnvironment env;
  const UsbBed bed(adapter);
  const std::size_t before = bed.transfers();
  for (auto _ : state) {
    if (!Run(transfer)) state.SkipWithError("the transfer failed");
  }
  Count(state, bed, before);
}

struct Named {
  const char* name;
  int value;
};
constexpr Named kAdapters[] = {{"avr309", static_cast<int>(Adapter::Avr309)}, {"ch341a", static_cast<int>(Adapter::Ch341a)}};
constexpr Named kRequests[] = {{"read_block", REQ_READ_BLOCK}, {"load_data", REQ_LOAD_DATA}, {"write_data", REQ_WRITE_DATA}};
constexpr Named kTransfers[] = {{"read", static_cast<int>(Transfer::Read)},
                                {"write", static_cast<int>(Transfer::Write)},
                                {"erase", static_cast<int>(Transfer::Erase)},
                                {"compare", static_cast<int>(Transfer::Compare)}};

// BM_UsbRequest/ch341a/write_data, BM_UsbTransferC16/avr309/read, ...
void RegisterAll() {
  for (const Named& adapter : kAdapters) {
    const auto kind = static_cast<Adapter>(adapter.value);
    const std::string prefix = std::string("/") + adapter.name + "/";
    for (const Named& request : kRequests) {
      benchmark::RegisterBenchmark(("BM_UsbRequest" + prefix + request.name).c_str(), BM_UsbRequest, kind,
                                   static_cast<std::uint8_t>(request.value))
          ->Unit(benchmark::kMicrosecond);
    }
    for (const Named& transfer : kTransfers) {
      benchmark::RegisterBenchmark(("BM_UsbTransferC16" + prefix + transfer.name).c_str(), BM_UsbTransferC16, kind,
                                   static_cast<Transfer>(transfer.value))
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
    }
  }
}

}  // namespace
}  // namespace pavok::bench

int main(int argc, char** argv) {
  if (!pavok::test::UnderUmockdevPreload(argv[0])) return 1;
  pavok::bench::RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
