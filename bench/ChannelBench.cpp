// One request through the channel into the emulated adapter: open, exchange
// and close, as every transfer pays for each request.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "DeviceChannel.h"

namespace pavok::bench {
namespace {

void BM_BlockReadRequest(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    const bool ok = SendDeviceRequest(REQ_READ_BLOCK, 0xE0, 0xAE, replyBuffer, 32);
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_BlockReadRequest);

void BM_WriteRequestPair(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SendDeviceRequest(REQ_LOAD_DATA, 0x2211, 0x4433, replyBuffer, 1));
    benchmark::DoNotOptimize(SendDeviceRequest(REQ_WRITE_DATA, 0xFC, 0xAE, replyBuffer, 1));
  }
}
BENCHMARK(BM_WriteRequestPair);

}  // namespace
}  // namespace pavok::bench
