// Loading and saving a C16 image in every file format: the whole command
// (file read, decode, buffer) and the save (encode, the file replaced whole),
// and the codecs alone.

#include <benchmark/benchmark.h>

#include <numeric>

#include "BenchSupport.h"
#include "ImageFiles.h"

namespace pavok::bench {
namespace {

constexpr std::size_t kC16 = 2048;

// Fills a C16 buffer with bytes that differ from their neighbours, answers
// the file dialogs with a name in the format the benchmark's argument
// selects, and returns that format.
const ImageFormat& Prepare(benchmark::State& state, BenchEnvironment& env) {
  const ImageFormat& format = kImageFormats[static_cast<std::size_t>(state.range(0))];
  std::iota(Buffer().workImage.begin(), Buffer().workImage.begin() + kC16, std::uint8_t{7});
  env.window.filePath = "image." + std::string(format.saveExtension);
  state.SetLabel(std::string(format.name));
  return format;
}

void EveryFormat(benchmark::internal::Benchmark* benchmark) {
  benchmark->DenseRange(0, kImageFormats.size() - 1)->Unit(benchmark::kMicrosecond);
}

std::span<const std::uint8_t> ChipBytes() { return std::span<const std::uint8_t>(Buffer().workImage).first(kC16); }

void BM_SaveImageFileC16(benchmark::State& state) {
  BenchEnvironment env;
  Prepare(state, env);
  for (auto _ : state) {
    if (RunSaveImageFile() != FileOutcome::Completed) state.SkipWithError("the save failed");
  }
}
BENCHMARK(BM_SaveImageFileC16)->Apply(EveryFormat);

void BM_LoadImageFileC16(benchmark::State& state) {
  BenchEnvironment env;
  Prepare(state, env);
  RunSaveImageFile();
  for (auto _ : state) {
    if (RunLoadImageFile() != FileOutcome::Completed) state.SkipWithError("the load failed");
  }
}
BENCHMARK(BM_LoadImageFileC16)->Apply(EveryFormat);

void BM_EncodeC16(benchmark::State& state) {
  BenchEnvironment env;
  const ImageFormat& format = Prepare(state, env);
  for (auto _ : state) benchmark::DoNotOptimize(format.encode(ChipBytes()));
}
BENCHMARK(BM_EncodeC16)->Apply(EveryFormat);

void BM_DecodeC16(benchmark::State& state) {
  BenchEnvironment env;
  const ImageFormat& format = Prepare(state, env);
  const std::vector<std::uint8_t> file = format.encode(ChipBytes());
  for (auto _ : state) {
    const DecodeResult decoded = format.decode(file, kC16);
    if (decoded.fault) state.SkipWithError("the decode failed");
    benchmark::DoNotOptimize(decoded.image.count);
  }
}
BENCHMARK(BM_DecodeC16)->Apply(EveryFormat);

}  // namespace
}  // namespace pavok::bench
