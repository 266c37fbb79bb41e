#pragma once
// Per-test set-up: a fresh buffer, a scripted active window, an emulated
// adapter as the current transport, and a temporary working directory (so
// "temp.bin" and image files never land in the source tree).

#include <filesystem>
#include <optional>
#include <string>

#include "BufferState.h"
#include "EmulatedAdapter.h"
#include "ScriptedWindow.h"
#include "Transport.h"
#include "WindowOperations.h"

namespace pavok::test {

// A directory of its own that the process works in while the object lives.
// It is also the runtime directory (XDG_RUNTIME_DIR), as in a desktop
// session, which the adapter locks must not depend on.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
  std::optional<std::string> previousRuntime_;
};

// Everything a core test needs. The buffer is back at its start-up state
// with ResetBuffer applied, as after the program opened.
class TestEnvironment {
 public:
  explicit TestEnvironment(int emulatedChipSize = 2048);

  ScriptedWindow window;
  EmulatedAdapter adapter;
  TemporaryDirectory directory;

  BufferState& buffer() { return Buffer(); }

 private:
  ActiveWindowScope windowScope_;
  TransportScope transportScope_;
};

// Bytes of a file, or empty when it does not exist.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace pavok::test
