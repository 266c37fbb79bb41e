// Whole transfers of a C16 chip on the emulated adapter with a window that
// draws nothing, so what is measured is the core's own work.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"

namespace pavok::bench {
namespace {

// Every block into both images, "temp.bin" replaced whole.
void BM_ReadChipC16(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    if (RunReadChip() != ReadOutcome::Completed) state.SkipWithError("the read failed");
  }
}
BENCHMARK(BM_ReadChipC16)->Unit(benchmark::kMicrosecond);

void BM_WriteChipC16(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    if (RunWriteChip(false) != WriteOutcome::Completed) state.SkipWithError("the write failed");
  }
}
BENCHMARK(BM_WriteChipC16)->Unit(benchmark::kMicrosecond);

void BM_EraseChipC16(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    if (RunWriteChip(true) != WriteOutcome::Completed) state.SkipWithError("the erase failed");
  }
}
BENCHMARK(BM_EraseChipC16)->Unit(benchmark::kMicrosecond);

void BM_CompareChecksumsC16(benchmark::State& state) {
  BenchEnvironment env;
  for (auto _ : state) {
    if (!RunCompareChecksums()) state.SkipWithError("the comparison failed");
  }
}
BENCHMARK(BM_CompareChecksumsC16)->Unit(benchmark::kMicrosecond);

// Directly after a read nothing differs: the change map is computed and no
// request is sent.
void BM_FastWriteNoChangeC16(benchmark::State& state) {
  BenchEnvironment env;
  env.window.fastWrite = true;
  RunReadChip();
  const int opensBefore = env.adapter.opens();
  for (auto _ : state) {
    if (RunWriteChip(false) != WriteOutcome::Completed) state.SkipWithError("the write failed");
  }
  if (env.adapter.opens() != opensBefore) state.SkipWithError("the fast write opened the device");
}
BENCHMARK(BM_FastWriteNoChangeC16)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pavok::bench
