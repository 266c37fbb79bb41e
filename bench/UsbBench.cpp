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

// One adapter of the kind on a bus of its own with a chip of `chipSize`
// bytes holding data, its transport current, and how to read what went
// over the bus.
class UsbBed {
 public:
  explicit UsbBed(Adapter kind, int chipSize = 2048) {
    EepromModel chip(chipSize);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(chipSize));
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    chip.Load(data);
    Buffer().chipSize = chipSize;
    if (kind == Adapter::Avr309) {
      const EmulatedUsbAdapter& adapter = testbed_.PlugAdapter({kAdapterVendorId, kAdapterProductId}, chip);
      transfers_ = [&adapter] { return adapter.setupPackets().size(); };
      transport_ = std::make_unique<LibusbTransport>();
    } else {
      const EmulatedCh341a& ch341a = testbed_.PlugCh341a(chip);
      transfers_ = [&ch341a] { return ch341a.urbs().size(); };
      busTime_ = [&ch341a] { return ch341a.busTime(); };
      chipWrites_ = [&ch341a] { return ch341a.chipWrites(); };
      transport_ = std::make_unique<Ch341aTransport>();
    }
    scope_ = std::make_unique<TransportScope>(*transport_);
  }

  std::size_t transfers() const { return transfers_(); }
  // Nothing for the adapter, whose firmware drives the bus out of sight.
  std::optional<std::chrono::nanoseconds> busTime() const { return busTime_ ? std::optional(busTime_()) : std::nullopt; }
  // The writes the chip took, where the bed counts them.
  std::optional<int> chipWrites() const { return chipWrites_ ? std::optional(chipWrites_()) : std::nullopt; }

 private:
  UsbTestbed testbed_;
  std::function<std::size_t()> transfers_;
  std::function<std::chrono::nanoseconds()> busTime_;
  std::function<int()> chipWrites_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<TransportScope> scope_;
};

// Per iteration: USB transfers, and for the CH341A the milliseconds its bus
// was busy and the writes its chip took.
struct Snapshot {
  std::size_t transfers;
  std::optional<std::chrono::nanoseconds> busTime;
  std::optional<int> chipWrites;
};
Snapshot Take(const UsbBed& bed) { return {bed.transfers(), bed.busTime(), bed.chipWrites()}; }

void Count(benchmark::State& state, const UsbBed& bed, const Snapshot& before) {
  const auto iterations = static_cast<double>(state.iterations());
  const Snapshot now = Take(bed);
  state.counters["usb_transfers"] = static_cast<double>(now.transfers - before.transfers) / iterations;
  if (now.busTime) {
    state.counters["i2c_bus_ms"] =
        std::chrono::duration<double, std::milli>(*now.busTime - *before.busTime).count() / iterations;
  }
  if (now.chipWrites) state.counters["chip_writes"] = (*now.chipWrites - *before.chipWrites) / iterations;
}

// One request of the kind, open and close included.
void BM_UsbRequest(benchmark::State& state, Adapter adapter, std::uint8_t code) {
  BenchEnvironment env;
  const UsbBed bed(adapter);
  const std::int32_t replySize = code == REQ_READ_BLOCK ? 32 : 1;
  const Snapshot before = Take(bed);
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

// A whole transfer on a chip of the size, once: over umockdev a write
// takes seconds.
void BM_UsbTransfer(benchmark::State& state, Adapter adapter, Transfer transfer, int chipSize) {
  BenchEnvironment env;
  const UsbBed bed(adapter, chipSize);
  const Snapshot before = Take(bed);
  for (auto _ : state) {
    if (!Run(transfer)) state.SkipWithError("the transfer failed");
  }
  Count(state, bed, before);
}

// A fast write of one changed line of a C16 read just before.
void BM_UsbFastWriteOneLine(benchmark::State& state, Adapter adapter) {
  BenchEnvironment env;
  const UsbBed bed(adapter);
  if (!Run(Transfer::Read)) state.SkipWithError("the read failed");
  for (int i = 0; i < kLineSize; ++i) Buffer().workImage[static_cast<std::size_t>(0x120 + i)] ^= 0xFF;
  env.window.fastWrite = true;
  const Snapshot before = Take(bed);
  for (auto _ : state) {
    if (!Run(Transfer::Write)) state.SkipWithError("the transfer failed");
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

// BM_UsbRequest/ch341a/write_data, BM_UsbTransferC16/avr309/read,
// BM_UsbTransferC02/ch341a/write, BM_UsbFastWriteOneLineC16/ch341a/, ...
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
      benchmark::RegisterBenchmark(("BM_UsbTransferC16" + prefix + transfer.name).c_str(), BM_UsbTransfer, kind,
                                   static_cast<Transfer>(transfer.value), 2048)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
    }
    benchmark::RegisterBenchmark(("BM_UsbTransferC02" + prefix + "write").c_str(), BM_UsbTransfer, kind,
                                 Transfer::Write, 256)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark(("BM_UsbFastWriteOneLineC16" + prefix).c_str(), BM_UsbFastWriteOneLine, kind)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
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
