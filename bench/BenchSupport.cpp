#include "BenchSupport.h"

#include <unistd.h>

#include <cstdlib>

namespace pavok::bench {

namespace {

// In memory where the system offers it: on a disk file system, replacing
// "temp.bin" can make the kernel flush it at once (ext4 does so for a file
// emptied and rewritten), and that disk time would drown the program's own.
// PAVOK_BENCH_DIR chooses another place, e.g. a disk, to measure that too.
std::filesystem::path ScratchRoot() {
  if (const char* chosen = std::getenv("PAVOK_BENCH_DIR")) return chosen;
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

}  // namespace

BenchEnvironment::BenchEnvironment()
    : previousDirectory_(std::filesystem::current_path()),
      directory_(ScratchRoot() / ("pavok-bench-" + std::to_string(getpid()))) {
  std::filesystem::create_directories(directory_);
  std::filesystem::current_path(directory_);
  adapter.SetRecording(false);
  Buffer() = BufferState{};
  ResetBuffer(Buffer());
}

BenchEnvironment::~BenchEnvironment() {
  std::error_code ec;
  std::filesystem::current_path(previousDirectory_, ec);
  std::filesystem::remove_all(directory_, ec);
}

}  // namespace pavok::bench
