#include "TestEnvironment.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace pavok::test {

namespace {

// Null removes it.
void SetRuntimeDirectory(const char* path) {
#ifdef _WIN32
  _putenv_s("XDG_RUNTIME_DIR", path != nullptr ? path : "");
#else
  if (path != nullptr) {
    setenv("XDG_RUNTIME_DIR", path, 1);
  } else {
    unsetenv("XDG_RUNTIME_DIR");
  }
#endif
}

}  // namespace

TemporaryDirectory::TemporaryDirectory() : previous_(std::filesystem::current_path()) {
  static const unsigned run = std::random_device{}();
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("pavok-test-" + std::to_string(run) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all);  // as a runtime directory is
  std::filesystem::current_path(path_);
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) previousRuntime_ = runtime;
  SetRuntimeDirectory(path_.string().c_str());
}

TemporaryDirectory::~TemporaryDirectory() {
  SetRuntimeDirectory(previousRuntime_ ? previousRuntime_->c_str() : nullptr);
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

TestEnvironment::TestEnvironment(int emulatedChipSize)
    : adapter(EepromModel(emulatedChipSize)), windowScope_(&window), transportScope_(adapter) {
  Buffer() = BufferState{};
  ResetBuffer(Buffer());
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace pavok::test
